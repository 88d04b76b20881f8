#include "support/other_application.h"

#include "support/process_waits.h"
#include "support/xdotool.h"

namespace velmora::test {

OtherApplication::OtherApplication()
{
    m_client.start(QStringLiteral("xmessage"),
                   {QStringLiteral("-geometry"), QStringLiteral("+600+600"), QStringLiteral("Another application")});
}

OtherApplication::~OtherApplication()
{
    m_client.terminate();
    waitUntilEnded(m_client);
}

bool OtherApplication::takeFocus()
{
    if (!waitUntilStarted(m_client))
        return false;
    const QString window = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--sync"),
                                          QStringLiteral("--classname"), QStringLiteral("^xmessage$")});
    return !window.isEmpty() && focusWindow(window.section(QLatin1Char('\n'), 0, 0));
}

} // namespace velmora::test
