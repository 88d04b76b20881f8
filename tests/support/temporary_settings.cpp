#include "support/temporary_settings.h"

namespace velmora::test {

TemporarySettings::TemporarySettings()
    : m_settings(StoredSettings::atIniFile(filePath()))
{
}

QString TemporarySettings::filePath() const
{
    return m_folder.filePath(QStringLiteral("settings.ini"));
}

std::unique_ptr<StoredSettings> TemporarySettings::reopen() const
{
    return StoredSettings::atIniFile(filePath());
}

} // namespace velmora::test
