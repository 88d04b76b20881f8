#include "support/other_application.h"

#include "support/xdotool.h"

namespace velmora::test {

namespace {
constexpr int toolTimeoutMs = 10000;
} // namespace

OtherApplication::OtherApplication()
{
    m_client.start(QStringLiteral("xmessage"),
                   {QStringLiteral("-geometry"), QStringLiteral("+600+600"), QStringLiteral("Another application")});
}

OtherApplication::~OtherApplication()
{
    m_client.terminate();
    m_client.waitForFinished();
}

bool OtherApplication::takeFocus()
{
    if (!m_client.waitForStarted(toolTimeoutMs))
        return false;
    const QString window = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--sync"),
                                          QStringLiteral("--classname"), QStringLiteral("^xmessage$")});
    return !window.isEmpty() && focusWindow(window.section(QLatin1Char('\n'), 0, 0));
}

} // namespace velmora::test
