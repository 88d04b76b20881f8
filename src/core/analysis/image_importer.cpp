#include "core/analysis/image_importer.h"

#include "core/analysis/heic_decoder.h"
#include "core/detection/core_error.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>

#include <mutex>

namespace velmora {

namespace {

// Large screenshots (several displays, or a 45-megapixel camera image) exceed Qt's
// default decoding limit of 256 MB.
constexpr int decodingAllocationLimitMegabytes = 2048;

void raiseDecodingLimitOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(decodingAllocationLimitMegabytes); });
}

struct DecodedImage
{
    QImage image;
    ImageOrientation orientation = ImageOrientation::up;
};

DecodedImage decode(const QByteArray &data)
{
    if (looksLikeHeif(data))
        return {decodeHeif(data), ImageOrientation::up};

    raiseDecodingLimitOnce();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    QImage image = reader.read(); // A multi-page file gives its first page.
    if (image.isNull())
        return {};
    return {std::move(image), imageOrientationFromTransformation(reader.transformation())};
}

// Every later step expects one pixel layout and sRGB colours at full pixel size.
QImage normalized(QImage image)
{
    image.setDevicePixelRatio(1);
    const auto format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.format() != format)
        image.convertTo(format);
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace

ImportedImage ImageImporter::importImage(const QString &filePath)
{
    if (!isSupported(filePath))
        throw VelmoraCoreException(VelmoraCoreError::unsupportedImageType);
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    return importImage(file.readAll());
}

ImportedImage ImageImporter::importImage(const QByteArray &data)
{
    const DecodedImage decoded = decode(data);
    if (decoded.image.isNull())
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    QImage upright = uprightImage(decoded.image, decoded.orientation);
    if (upright.isNull())
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    upright = normalized(std::move(upright));
    if (upright.isNull())
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    return {std::move(upright), ImageOrientation::up};
}

} // namespace velmora
