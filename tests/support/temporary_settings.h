#pragma once

#include "core/settings/stored_settings.h"

#include <QTemporaryDir>

#include <memory>

namespace velmora::test {

// A StoredSettings over an INI file of its own in a fresh temporary folder, removed
// with the object. Each test gets stores that no other test (and no user) sees.
class TemporarySettings
{
public:
    TemporarySettings();

    StoredSettings &settings() { return *m_settings; }
    QString filePath() const;
    /// A second, independent store over the same file: what a later start would read.
    std::unique_ptr<StoredSettings> reopen() const;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<StoredSettings> m_settings;
};

} // namespace velmora::test
