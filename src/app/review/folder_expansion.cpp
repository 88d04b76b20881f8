#include "app/review/folder_expansion.h"

#include "core/analysis/image_importer.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace velmora {

QList<QUrl> expandFolders(const QList<QUrl> &urls)
{
    // The C locale's collation knows no numeric mode; the file manager's order is the
    // one of a real language.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator naturalOrder(locale);
    naturalOrder.setNumericMode(true);
    naturalOrder.setCaseSensitivity(Qt::CaseInsensitive);

    QList<QUrl> expanded;
    for (const QUrl &url : urls) {
        const QFileInfo info(url.toLocalFile());
        if (!url.isLocalFile() || !info.isDir()) {
            expanded.append(url);
            continue;
        }
        QStringList names;
        for (const QFileInfo &entry : QDir(info.filePath()).entryInfoList(QDir::Files)) {
            if (ImageImporter::isSupported(entry.fileName()))
                names.append(entry.fileName());
        }
        std::sort(names.begin(), names.end(),
                  [&](const QString &a, const QString &b) { return naturalOrder.compare(a, b) < 0; });
        for (const QString &name : names)
            expanded.append(QUrl::fromLocalFile(QDir(info.filePath()).filePath(name)));
    }
    return expanded;
}

} // namespace velmora
