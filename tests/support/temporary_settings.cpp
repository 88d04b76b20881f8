#include "support/temporary_settings.h"

namespace velmora::testing {

TemporarySettings::TemporarySettings()
    : m_settings(StoredSettings::atIniFile(m_dir.filePath(QStringLiteral("settings.ini"))))
{
}

} // namespace velmora::testing
