#include "app/review/decoded_image_cache.h"

namespace velmora {

ScreenBitmap DecodedImageCache::find(const QUuid &itemID)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).first == itemID) {
            m_entries.move(i, 0);
            return m_entries.first().second;
        }
    }
    return ScreenBitmap();
}

void DecodedImageCache::insert(const QUuid &itemID, const ScreenBitmap &bitmap)
{
    m_entries.removeIf([&itemID](const std::pair<QUuid, ScreenBitmap> &entry) { return entry.first == itemID; });
    m_entries.prepend({itemID, bitmap});
    while (m_entries.size() > capacity)
        m_entries.removeLast();
}

} // namespace velmora
