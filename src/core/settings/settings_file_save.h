#pragma once

class QSettings;

namespace velmora {

/// What a save that could not be written does with the changes it held.
enum class UnsavedChanges {
    keep, ///< Held again as changes not yet saved, for the next save.
    drop, ///< Given up: the settings read as the file again (the store is closing).
};

/// Writes the changes `settings` holds to its file whole, or puts the file back as it
/// was; false when they could not be written. QSettings alone cannot promise that:
/// Qt 6.4 writes the file through a buffered save file whose commit ignores a failed
/// flush, so a full disk leaves the settings file cut short while status() still says
/// NoError (and the settings take what they held for saved). So the old file is kept
/// under a second name (a link, which takes no room) until the new one has been read
/// back whole.
bool saveSettingsFile(QSettings &settings, UnsavedChanges unsaved);

} // namespace velmora
