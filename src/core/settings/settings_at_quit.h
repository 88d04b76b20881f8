#pragma once

#include "core/settings/settings_save_failure.h"

#include <functional>

namespace velmora {

class StoredSettings;

/// What the user chose when Velmora was to quit with settings changes it could not save.
enum class HeldSettingsChoice {
    tryAgain,   ///< Save once more, and ask again if that fails too.
    quitAnyway, ///< Quit, losing the changes.
    stay,       ///< Do not quit; the changes stay held and saves are tried again.
};

/// Whether Velmora may quit as far as its settings go: once everything the store holds is
/// saved, or when the user, asked through `ask` why a save failed, chose to quit anyway;
/// not when they chose to stay. Waits for each save.
bool mayQuitWithSettings(StoredSettings &settings, const std::function<HeldSettingsChoice(SettingsSaveFailure)> &ask);

} // namespace velmora
