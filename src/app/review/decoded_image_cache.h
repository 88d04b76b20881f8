#pragma once

#include "app/review/review_image_source.h"

#include <QImage>
#include <QList>
#include <QUuid>

#include <utility>

namespace velmora {

// The decoded bitmaps of the few batch items shown last, so that stepping back and
// forth through a batch does not decode every time while a large batch holds only
// this many bitmaps. Owned by the review controller; main thread only.
class DecodedImageCache
{
public:
    static constexpr qsizetype capacity = 3;

    /// The item's image, decoded now unless it is kept; throws as the source does.
    QImage image(const QUuid &itemID, const ReviewImageSource &source);
    /// Keeps an image decoded elsewhere (at import), as the newest.
    void insert(const QUuid &itemID, const QImage &image);
    void clear() { m_entries.clear(); }
    qsizetype size() const { return m_entries.size(); }

private:
    /// Newest first.
    QList<std::pair<QUuid, QImage>> m_entries;
};

} // namespace velmora
