#pragma once

#include <QString>

#include <optional>

namespace velmora {

class StoredSettings;

/// The stored folder, found again.
struct ResolvedScreenshotWatchFolder
{
    QString path;         ///< Absolute and clean.
    bool isStale = false; ///< The stored text names the folder in another form: store it anew.

    friend bool operator==(const ResolvedScreenshotWatchFolder &, const ResolvedScreenshotWatchFolder &) = default;
};

/// Stores the folder for later starts and switches the watch on; false, storing
/// nothing, when the path is not an existing folder.
[[nodiscard]] bool saveScreenshotWatchFolder(StoredSettings &settings, const QString &folderPath);
/// Switches the watch off and forgets the folder.
void clearScreenshotWatchFolder(StoredSettings &settings);
/// Whether a folder is stored at all.
bool hasScreenshotWatchFolder(const StoredSettings &settings);
/// The stored folder, or nothing when none is stored or it no longer exists as a folder.
std::optional<ResolvedScreenshotWatchFolder> resolveScreenshotWatchFolder(const StoredSettings &settings);

} // namespace velmora
