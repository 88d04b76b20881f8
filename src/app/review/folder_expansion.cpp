#include "app/review/folder_expansion.h"

#include "core/analysis/import/image_importer.h"
#include "core/support/natural_order.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>

namespace velmora {

namespace {

/// The supported images in the folder and its subfolders, as paths relative to it.
/// Hidden entries are not listed, and a hidden folder is not entered. Qt's own listing
/// leaves out names that are not valid UTF-8; this one keeps them (decoded with
/// replacement characters, so they name nothing that exists), so that opening them
/// fails and the user is told they were skipped.
QStringList imagesInside(const QDir &folder, const TaskHandle &task)
{
    namespace fs = std::filesystem;
    QStringList paths;
    const fs::path root(QFile::encodeName(folder.path()).toStdString());
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    for (; !error && !task.isCancelled() && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const bool isHidden = it->path().filename().string().starts_with('.');
        std::error_code typeError;
        if (isHidden && it->is_directory(typeError))
            it.disable_recursion_pending();
        if (isHidden || !it->is_regular_file(typeError))
            continue;
        const QString path = QFile::decodeName(QByteArray::fromStdString(it->path().lexically_relative(root).string()));
        if (ImageImporter::isSupported(path))
            paths.append(path);
    }
    return paths;
}

} // namespace

QList<QUrl> expandFolders(const QList<QUrl> &urls, const TaskHandle &task)
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
        QStringList paths = imagesInside(folder, task);
        std::sort(paths.begin(), paths.end(), [&](const QString &a, const QString &b) { return order.compare(a, b) < 0; });
        for (const QString &path : paths)
            expanded.append(QUrl::fromLocalFile(folder.filePath(path)));
    }
    return expanded;
}

} // namespace velmora
