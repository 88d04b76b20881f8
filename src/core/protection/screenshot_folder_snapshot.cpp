#include "core/protection/screenshot_folder_snapshot.h"

#include "core/analysis/import/supported_image_types.h"
#include "core/support/natural_order.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace velmora {

QString ScreenshotWatchCandidate::id() const
{
    return QDir::cleanPath(url.toLocalFile());
}

QDateTime ScreenshotWatchCandidate::distantPast()
{
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
}

void sortByFileName(QList<ScreenshotWatchCandidate> &candidates)
{
    const QCollator order = naturalOrder();
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const ScreenshotWatchCandidate &a, const ScreenshotWatchCandidate &b) {
                         return order.compare(a.url.fileName(), b.url.fileName()) < 0;
                     });
}

namespace ScreenshotFolderWatchSnapshot {

QList<ScreenshotWatchCandidate> candidates(const QString &folderPath)
{
    const QDir folder(folderPath);
    // Symbolic links are left out: the watch would not see writes to their targets.
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::NoSort);
    QList<ScreenshotWatchCandidate> listed;
    for (const QFileInfo &entry : entries) {
        if (!imageContentType(entry.fileName()) || !entry.isFile() || entry.isHidden())
            continue;
        const QDateTime modified = entry.lastModified();
        listed.append({QUrl::fromLocalFile(entry.filePath()), entry.size(),
                       modified.isValid() ? modified : ScreenshotWatchCandidate::distantPast()});
    }
    sortByFileName(listed);
    return listed;
}

} // namespace ScreenshotFolderWatchSnapshot

} // namespace velmora
