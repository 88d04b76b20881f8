#include "app/protection/screenshot_watch_folder_store.h"

#include "core/settings/stored_settings.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

QString cleanAbsolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

bool saveScreenshotWatchFolder(StoredSettings &settings, const QString &folderPath)
{
    const QFileInfo folder(folderPath);
    if (folderPath.isEmpty() || !folder.isDir())
        return false;
    const QString path = cleanAbsolutePath(folderPath);
    settings.setValue(screenshotWatchFolderBookmarkKey, path);
    settings.setValue(screenshotWatchFolderDisplayNameKey, QFileInfo(path).fileName());
    settings.setValue(screenshotWatchFolderPathKey, path);
    settings.setValue(screenshotWatchEnabledKey, true);
    return true;
}

void clearScreenshotWatchFolder(StoredSettings &settings)
{
    settings.setValue(screenshotWatchEnabledKey, false);
    settings.remove(screenshotWatchFolderBookmarkKey);
    settings.remove(screenshotWatchFolderDisplayNameKey);
    settings.remove(screenshotWatchFolderPathKey);
}

bool hasScreenshotWatchFolder(const StoredSettings &settings)
{
    return !settings.string(screenshotWatchFolderBookmarkKey).isEmpty();
}

std::optional<ResolvedScreenshotWatchFolder> resolveScreenshotWatchFolder(const StoredSettings &settings)
{
    const QString stored = settings.string(screenshotWatchFolderBookmarkKey);
    if (stored.isEmpty() || !QFileInfo(stored).isDir())
        return std::nullopt;
    const QString path = cleanAbsolutePath(stored);
    return ResolvedScreenshotWatchFolder{path, path != stored};
}

} // namespace velmora
