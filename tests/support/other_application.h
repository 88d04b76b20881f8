#pragma once

#include <QProcess>

namespace velmora::test {

// A window of another application on the X server (xmessage), which can take the
// keyboard focus from Velmora's windows, so that Velmora is no longer in front. It
// ends with the test's scope.
class OtherApplication
{
public:
    OtherApplication();
    ~OtherApplication();
    OtherApplication(const OtherApplication &) = delete;
    OtherApplication &operator=(const OtherApplication &) = delete;

    /// Gives the application's window the input focus; false when it could not.
    bool takeFocus();

private:
    QProcess m_client;
};

} // namespace velmora::test
