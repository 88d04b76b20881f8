#include "core/analysis/image_importer.h"

#include "core/analysis/heic_decoder.h"
#include "core/analysis/image_input_limits.h"
#include "core/detection/core_error.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

#include <mutex>

namespace velmora {

namespace {

// Qt's own ceiling on one decoded image, for formats whose size cannot be read ahead:
// the pixel limit at eight bytes a pixel (16-bit channels), above Qt's default of 256 MB.
constexpr int decodingAllocationLimitMegabytes = int(kMaximumImagePixels * 8 / (1024 * 1024));

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
    // libpng takes a chunk's claimed length at its word.
    if (const auto refusal = pngChunkRefusal(data)) {
        qCWarning(lcImport) << "Image refused before decoding:" << rawValue(*refusal);
        return {};
    }

    raiseDecodingLimitOnce();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    // Reads only the header: nothing is decoded for an image that is too large.
    const QSize declared = reader.size();
    if (const auto refusal = declaredSizeRefusal(declared)) {
        qCWarning(lcImport) << "Image refused before decoding:" << rawValue(*refusal) << declared;
        return {};
    }
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
    return importFile(filePath).image;
}

ImportedFile ImageImporter::importFile(const QString &filePath)
{
    if (!isSupported(filePath))
        throw VelmoraCoreException(VelmoraCoreError::unsupportedImageType);
    ImageFileContent file = readImageFile(filePath);
    if (file.refusal) {
        qCWarning(lcImport) << "Image file refused:" << rawValue(*file.refusal);
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    }
    ImportedImage image = importImage(file.bytes);
    return {std::move(file.bytes), std::move(image)};
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
