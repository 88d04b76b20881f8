#include "core/analysis/import/image_signature.h"

#include "core/analysis/import/heic_decoder.h"

namespace velmora {

std::optional<ImageContentType> imageContentTypeFromSignature(const QByteArray &data)
{
    if (data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8)))
        return ImageContentType::png;
    if (data.startsWith(QByteArrayView("\xFF\xD8\xFF", 3)))
        return ImageContentType::jpeg;
    for (const QByteArrayView tiff : {QByteArrayView("II\x2a\0", 4), QByteArrayView("MM\0\x2a", 4),
                                      QByteArrayView("II\x2b\0", 4), QByteArrayView("MM\0\x2b", 4)}) {
        if (data.startsWith(tiff))
            return ImageContentType::tiff;
    }
    if (looksLikeHeic(data))
        return ImageContentType::heic;
    return std::nullopt;
}

} // namespace velmora
