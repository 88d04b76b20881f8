#include "app/review/folder_expansion.h"

#include "core/analysis/image_importer.h"
#include "core/support/natural_order.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace velmora {

namespace {

/// The supported images in the folder and its subfolders, as paths relative to it.
/// Hidden entries are not listed, and a hidden folder is not entered.
QStringList imagesInside(const QDir &folder)
{
    QStringList paths;
    QDirIterator it(folder.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        if (entry.isFile() && ImageImporter::isSupported(entry.fileName()))
            paths.append(folder.relativeFilePath(entry.filePath()));
    }
    return paths;
}

} // namespace

QList<QUrl> expandFolders(const QList<QUrl> &urls)
{
    const QCollator order = naturalOrder();
    QList<QUrl> expanded;
    for (const QUrl &url : urls) {
        const QFileInfo info(url.toLocalFile());
        if (!url.isLocalFile() || !info.isDir()) {
            expanded.append(url);
            continue;
        }
        const QDir folder(info.filePath());
        QStringList paths = imagesInside(folder);
        std::sort(paths.begin(), paths.end(), [&](const QString &a, const QString &b) { return order.compare(a, b) < 0; });
        for (const QString &path : paths)
            expanded.append(QUrl::fromLocalFile(folder.filePath(path)));
    }
    return expanded;
}

} // namespace velmora
