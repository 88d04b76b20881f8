#include "core/analysis/import/image_importer.h"

#include "core/analysis/import/cancellable_read_device.h"
#include "core/analysis/import/heic_decoder.h"
#include "core/analysis/import/image_input_limits.h"
#include "core/analysis/import/image_signature.h"
#include "core/analysis/import/jpeg_scan_limits.h"
#include "core/analysis/import/tiff_jpeg_limits.h"
#include "core/detection/core_error.h"
#include "core/support/log_categories.h"

#include <QColorSpace>
#include <QImageReader>

#include <mutex>

namespace velmora {

namespace {

// Qt's own ceiling on one decoded image backs up the byte limit checked ahead.
constexpr int decodingAllocationLimitMegabytes = int(kMaximumDecodedImageBytes / (1024 * 1024));

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

DecodedImage refused(ImageInputRefusal refusal)
{
    qCWarning(lcImport) << "Image refused before decoding:" << rawValue(refusal);
    return {};
}

// The Qt decoder of each type; HEIC has none.
QByteArray qtFormat(ImageContentType type)
{
    switch (type) {
    case ImageContentType::png:
        return QByteArrayLiteral("png");
    case ImageContentType::jpeg:
        return QByteArrayLiteral("jpeg");
    case ImageContentType::tiff:
        return QByteArrayLiteral("tiff");
    case ImageContentType::heic:
        break;
    }
    return {};
}

// Checks that would stop a decoder taking more than it should, before it runs.
std::optional<ImageInputRefusal> structureRefusal(const QByteArray &data, ImageContentType type)
{
    switch (type) {
    case ImageContentType::png:
        return pngChunkRefusal(data); // libpng takes a chunk's claimed length at its word
    case ImageContentType::jpeg:
        return jpegScanRefusal(data);
    case ImageContentType::tiff:
        return tiffJpegRefusal(data);
    case ImageContentType::heic:
        break;
    }
    return std::nullopt;
}

DecodedImage decodeWithQt(const QByteArray &data, ImageContentType type, const TaskHandle &task)
{
    raiseDecodingLimitOnce();
    // Cancelled, the decoding stops quietly between its steps, and within one where the
    // device can end the data without the decoder complaining.
    CancellableReadDevice device(data, type, task);
    // Only the decoder the signature names reads the data: no other is tried, whatever
    // the data looks like to it.
    QImageReader reader(&device, qtFormat(type));
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    if (task.isCancelled())
        return {};
    if (!reader.canRead())
        return refused(ImageInputRefusal::decoderDisagrees);
    // Reads only the header: nothing is decoded for an image that is too large. The
    // pixel format is asked for only once the header has been read: a decoder that
    // failed to read it may answer with garbage.
    const QSize declared = reader.size();
    if (task.isCancelled())
        return {};
    if (const auto refusal = declaredSizeRefusal(declared)) {
        qCWarning(lcImport) << "Image refused before decoding:" << rawValue(*refusal) << declared;
        return {};
    }
    if (const auto refusal = decodedBytesRefusal(declared, reader.imageFormat())) {
        qCWarning(lcImport) << "Image refused before decoding:" << rawValue(*refusal) << declared << reader.imageFormat();
        return {};
    }
    QImage image = reader.read(); // A multi-page file gives its first page.
    if (task.isCancelled())
        return {};
    if (image.isNull()) {
        // The PNG and TIFF decoders print their reason straight to the terminal, if at all.
        qCWarning(lcImport) << "Image could not be decoded:" << reader.errorString();
        return {};
    }
    if (image.size() != declared) {
        qCWarning(lcImport) << "Decoded" << image.size() << "instead of" << declared;
        return {};
    }
    return {std::move(image), imageOrientationFromTransformation(reader.transformation())};
}

DecodedImage decode(const QByteArray &data, const TaskHandle &task)
{
    // Bytes from memory (a clipboard, a drop) are held to a file's limit.
    if (data.size() > kMaximumImageFileBytes)
        return refused(ImageInputRefusal::fileTooLarge);
    const std::optional<ImageContentType> type = imageContentTypeFromSignature(data);
    if (!type)
        return refused(ImageInputRefusal::unknownSignature);
    if (const auto refusal = structureRefusal(data, *type))
        return refused(*refusal);
    if (*type == ImageContentType::heic)
        return {decodeHeif(data), ImageOrientation::up};
    return decodeWithQt(data, *type, task);
}

// Every later step expects one pixel layout, eight bits a channel, and sRGB colours at
// full pixel size. A deeper image is let go of as soon as its 32-bit copy exists.
QImage normalized(QImage image)
{
    image.setDevicePixelRatio(1);
    const auto format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.format() != format)
        image = std::move(image).convertToFormat(format);
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

ImportedFile ImageImporter::importFile(const QString &filePath, const TaskHandle &task)
{
    if (!isSupported(filePath))
        throw VelmoraCoreException(VelmoraCoreError::unsupportedImageType);
    ImageFileContent file = readImageFile(filePath);
    if (file.refusal) {
        qCWarning(lcImport) << "Image file refused:" << rawValue(*file.refusal);
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    }
    ImportedImage image = importImage(file.bytes, task);
    return {std::move(image), std::move(file.bytes)};
}

ImportedImage ImageImporter::importImage(const QByteArray &data, const TaskHandle &task)
{
    DecodedImage decoded = decode(data, task);
    if (decoded.image.isNull())
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    // Made 32-bit before it is turned, so that a turn copies four bytes a pixel, not eight.
    const QImage stored = normalized(std::exchange(decoded.image, QImage()));
    if (stored.isNull())
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    QImage upright = uprightImage(stored, decoded.orientation);
    if (upright.isNull())
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    return {std::move(upright), ImageOrientation::up};
}

} // namespace velmora
