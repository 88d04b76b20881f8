#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <optional>

class QMimeData;

namespace velmora {

/// What a drop on the window brings, kept beyond the drop itself (the question about
/// hand-made boxes may come first): local files and folders, or else the bytes of one
/// image dragged out of another application.
struct DroppedImages
{
    QList<QUrl> files;
    QByteArray imageBytes; ///< Only without files: the image in its first image format.

    /// What `data` brings; nothing when it holds neither local files nor an image.
    static std::optional<DroppedImages> from(const QMimeData &data);

    friend bool operator==(const DroppedImages &, const DroppedImages &) = default;
};

} // namespace velmora
