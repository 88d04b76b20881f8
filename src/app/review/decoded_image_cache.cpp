#include "app/review/decoded_image_cache.h"

namespace velmora {

QImage DecodedImageCache::find(const QUuid &itemID)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).first == itemID) {
            m_entries.move(i, 0);
            return m_entries.first().second;
        }
    }
    return QImage();
}

void DecodedImageCache::insert(const QUuid &itemID, const QImage &image)
{
    m_entries.removeIf([&itemID](const std::pair<QUuid, QImage> &entry) { return entry.first == itemID; });
    m_entries.prepend({itemID, image});
    while (m_entries.size() > capacity)
        m_entries.removeLast();
}

} // namespace velmora
