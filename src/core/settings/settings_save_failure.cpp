#include "core/settings/settings_save_failure.h"

namespace velmora {

QString settingsSaveFailureText(std::optional<SettingsSaveFailure> failure)
{
    if (!failure)
        return {};
    switch (*failure) {
    case SettingsSaveFailure::diskFull:
        return QStringLiteral("Settings could not be saved: the disk is full. Free some space to keep your changes.");
    case SettingsSaveFailure::folderReadOnly:
        return QStringLiteral(
            "Settings could not be saved: the settings folder is read-only. Make it writable to keep your changes.");
    case SettingsSaveFailure::other:
        return QStringLiteral("Settings could not be saved. Check the settings folder to keep your changes.");
    }
    return {};
}

} // namespace velmora
