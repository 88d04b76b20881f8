#include "app/review/dropped_images.h"

#include <QMimeData>

namespace velmora {

std::optional<DroppedImages> DroppedImages::from(const QMimeData &data)
{
    QList<QUrl> files;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            files.append(url);
    }
    if (!files.isEmpty())
        return DroppedImages{files, {}};
    for (const QString &format : data.formats()) {
        if (format.startsWith(QLatin1String("image/")))
            return DroppedImages{{}, data.data(format)};
    }
    return std::nullopt;
}

} // namespace velmora
