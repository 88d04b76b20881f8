#include "core/settings/settings_at_quit.h"

#include "core/settings/stored_settings.h"

namespace velmora {

bool mayQuitWithSettings(StoredSettings &settings, const std::function<HeldSettingsChoice(SettingsSaveFailure)> &ask)
{
    while (!settings.sync()) {
        switch (ask(settings.saveFailure().value_or(SettingsSaveFailure::other))) {
        case HeldSettingsChoice::tryAgain: break;
        case HeldSettingsChoice::quitAnyway: return true;
        case HeldSettingsChoice::stay: return false;
        }
    }
    return true;
}

} // namespace velmora
