#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// The tabs of the settings window, in picker order.
enum class SettingsTab { detection, protection, privacy, help };

/// The picker label: "Detection", "Protection", "Privacy", "Help".
QString title(SettingsTab tab);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::SettingsTab,
    {velmora::SettingsTab::detection, "detection"},
    {velmora::SettingsTab::protection, "protection"},
    {velmora::SettingsTab::privacy, "privacy"},
    {velmora::SettingsTab::help, "help"});
