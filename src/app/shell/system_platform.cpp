#include "app/shell/system_platform.h"

namespace velmora {

PlatformServices SystemPlatform::services(NotificationCenter &notifications)
{
    return {m_scanEngine, m_clipboard, m_clock, m_fileDialogs, m_desktop, notifications};
}

} // namespace velmora
