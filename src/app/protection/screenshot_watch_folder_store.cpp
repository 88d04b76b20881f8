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
    settings.setValue(Setting::screenshotWatchFolderBookmark, path);
    settings.setValue(Setting::screenshotWatchFolderDisplayName, QFileInfo(path).fileName());
    settings.setValue(Setting::screenshotWatchFolderPath, path);
    settings.setValue(Setting::isScreenshotWatchEnabled, true);
    return true;
}

void clearScreenshotWatchFolder(StoredSettings &settings)
{
    settings.setValue(Setting::isScreenshotWatchEnabled, false);
    settings.remove(Setting::screenshotWatchFolderBookmark);
    settings.remove(Setting::screenshotWatchFolderDisplayName);
    settings.remove(Setting::screenshotWatchFolderPath);
}

bool hasScreenshotWatchFolder(const StoredSettings &settings)
{
    return !settings.value(Setting::screenshotWatchFolderBookmark).isEmpty();
}

std::optional<ResolvedScreenshotWatchFolder> resolveScreenshotWatchFolder(const StoredSettings &settings)
{
    const QString stored = settings.value(Setting::screenshotWatchFolderBookmark);
    if (stored.isEmpty() || !QFileInfo(stored).isDir())
        return std::nullopt;
    const QString path = cleanAbsolutePath(stored);
    return ResolvedScreenshotWatchFolder{path, path != stored};
}

} // namespace velmora
