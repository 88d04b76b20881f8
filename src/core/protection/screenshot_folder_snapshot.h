#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>
#include <QtGlobal>

namespace velmora {

/// One image file of the watched folder as one listing saw it.
struct ScreenshotWatchCandidate
{
    QUrl url;               ///< The entry as the listing gave it.
    qint64 fileSize = 0;    ///< 0 when the file system gave no size.
    QDateTime modificationDate; ///< `distantPast()` when the file system gave none.

    /// The entry's path with `.` and `..` resolved: two listings of one file give the
    /// same id, however its URL was written.
    QString id() const;

    /// The earliest moment, for a file whose modification time is unknown.
    static QDateTime distantPast();

    friend bool operator==(const ScreenshotWatchCandidate &, const ScreenshotWatchCandidate &) = default;
};

/// Ascending by file name in the file manager's natural order; equal names keep their order.
void sortByFileName(QList<ScreenshotWatchCandidate> &candidates);

// Turns one folder into the candidates of the screenshot watch.
namespace ScreenshotFolderWatchSnapshot {

/// The supported image files directly inside the folder (no subfolders, no hidden
/// files, no symbolic links), in file-name order. A folder that cannot be listed
/// gives an empty list.
QList<ScreenshotWatchCandidate> candidates(const QString &folderPath);

} // namespace ScreenshotFolderWatchSnapshot

} // namespace velmora
