#pragma once

#include "core/settings/stored_settings.h"

#include <QTemporaryDir>

#include <memory>

namespace velmora::testing {

// Stored settings of one test: an INI file in a temporary folder that goes away
// with the object, so that tests never see each other's or the user's settings.
class TemporarySettings
{
public:
    TemporarySettings();

    StoredSettings &settings() { return *m_settings; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<StoredSettings> m_settings;
};

} // namespace velmora::testing
