#pragma once

#include "app/review/screen_bitmap.h"

#include <QList>
#include <QUuid>

#include <utility>

namespace velmora {

// The decoded bitmaps of the few batch items shown last, so that stepping back and
// forth through a batch does not decode every time while a large batch holds only
// this many bitmaps. Owned by ScreenImages; main thread only.
class DecodedImageCache
{
public:
    static constexpr qsizetype capacity = 3;

    /// The item's bitmap, now the newest, when it is kept; else a null one.
    ScreenBitmap find(const QUuid &itemID);
    /// Keeps a bitmap, as the newest.
    void insert(const QUuid &itemID, const ScreenBitmap &bitmap);
    void clear() { m_entries.clear(); }
    qsizetype size() const { return m_entries.size(); }

private:
    /// Newest first.
    QList<std::pair<QUuid, ScreenBitmap>> m_entries;
};

} // namespace velmora
