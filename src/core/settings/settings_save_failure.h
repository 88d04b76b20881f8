#pragma once

#include <QString>

#include <optional>

namespace velmora {

/// Why the settings file could not be saved, as far as the user can act on it.
enum class SettingsSaveFailure {
    diskFull,       ///< The folder took a new file but not all of its bytes.
    folderReadOnly, ///< The folder takes no new file: read-only, or not the user's to write.
    other,          ///< Anything else (the settings path is a folder, the disk failed).
};

/// The sentence the window and the settings window show while saves fail: what failed,
/// why, and what the user can do to keep the changes held in memory; empty for none.
QString settingsSaveFailureText(std::optional<SettingsSaveFailure> failure);

} // namespace velmora
