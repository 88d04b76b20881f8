#pragma once

#include "core/settings/settings_at_quit.h"

class QWidget;

namespace velmora {

/// Asks over `window` (shown first when it is hidden, as when Quit comes from the tray)
/// whether to save the settings once more, quit anyway or stay, saying why the last save
/// failed; waits for the answer. Escape stays.
HeldSettingsChoice askAboutHeldSettings(QWidget &window, SettingsSaveFailure failure);

} // namespace velmora
