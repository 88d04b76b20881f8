#pragma once

#include "core/settings/stored_settings.h"

#include <QTemporaryDir>

#include <memory>

namespace velmora::test {

// Stored settings of a test's own: an INI file in a temporary folder, gone with the test.
class TempSettings
{
public:
    TempSettings() : m_settings(StoredSettings::atIniFile(m_dir.filePath(QStringLiteral("settings.ini")))) {}

    StoredSettings &operator*() { return *m_settings; }
    StoredSettings *operator->() { return m_settings.get(); }
    StoredSettings *get() { return m_settings.get(); }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<StoredSettings> m_settings;
};

} // namespace velmora::test
