#pragma once

#include "core/support/raw_enum.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace velmora {

/// Why the importer refused an input before decoding it. Raw values are what the log says.
enum class ImageInputRefusal {
    notRegularFile,   ///< A folder, device, pipe or socket (links are followed first).
    unreadableFile,   ///< The file could not be opened or read.
    fileTooLarge,     ///< More bytes than kMaximumImageFileBytes.
    unknownSignature, ///< The data starts like no PNG, JPEG, TIFF or HEIC file.
    decoderDisagrees, ///< The decoder its signature names does not read the data as that format.
    undeclaredSize,   ///< The header gives no valid size or pixel format.
    chunkPastEnd,     ///< A PNG chunk claims more bytes than the data holds.
    tooManyPixels,    ///< The declared size exceeds kMaximumImagePixels.
    tooManyBytes,     ///< The decoded image or the decoder's buffers would exceed their byte limits.
    tooManyScans,     ///< A JPEG's scans exceed kMaximumJpegScans or kMaximumJpegScanWork.
    cutShort,         ///< A JPEG (or a TIFF's JPEG strip) ends before its end-of-image marker.
    oldStyleJpeg,     ///< A TIFF compressed as old-style JPEG, whose decoding the limits cannot follow.
};

/// The largest image file read: far above any screenshot's compressed size, far below
/// what would strain memory.
inline constexpr qint64 kMaximumImageFileBytes = 256LL * 1024 * 1024;

/// The largest image decoded, in pixels (8192 × 8192): three 4K displays side by side
/// (11520 × 2160) and a 1920 × 30000 full-page capture fit; an image that declares more
/// is refused before any pixel memory is taken. At four bytes a pixel its decoded
/// form stays within 256 MB.
inline constexpr qint64 kMaximumImagePixels = 64LL * 1024 * 1024;

/// The most bytes an image takes decoded in the pixel format its decoder gives it
/// (kMaximumImagePixels at four bytes a pixel): an 8-bit image up to the pixel limit, a
/// 16-bit RGBA one up to half of it. The 32-bit copy made of a deeper image then keeps
/// the peak well under a gigabyte.
inline constexpr qint64 kMaximumDecodedImageBytes = kMaximumImagePixels * 4;

/// The longest side of a HEIC image. A HEIC grid image declares the size it is put
/// together at apart from the size it states for itself, and libheif bounds the former
/// only by a limit on each side: at 8192 the assembled image stays within the pixel
/// limit. Phones and cameras, which write HEIC, stay below it (8064 × 6048 at 48 MP).
inline constexpr int kMaximumHeifSide = 8192;

/// tooManyPixels when a declared size holds more than kMaximumImagePixels, undeclaredSize
/// when it is invalid (the header could not be read, or gives none).
std::optional<ImageInputRefusal> declaredSizeRefusal(QSize declared);

/// tooManyBytes when an image of the declared size takes more than
/// kMaximumDecodedImageBytes in the decoder's pixel format; undeclaredSize when the
/// format is unknown.
std::optional<ImageInputRefusal> decodedBytesRefusal(QSize declared, QImage::Format format);

/// chunkPastEnd when a chunk of PNG data claims a length that runs past the end of the
/// data (or beyond PNG's own maximum). Data that is not PNG passes.
std::optional<ImageInputRefusal> pngChunkRefusal(const QByteArray &data);

/// The whole content of an image file, or why it was not read. The path is examined
/// (following links) before it is opened, so that no device, pipe or socket is ever
/// opened or read, and its size before its bytes.
struct ImageFileContent
{
    QByteArray bytes;
    std::optional<ImageInputRefusal> refusal;
};
ImageFileContent readImageFile(const QString &path, qint64 maximumBytes = kMaximumImageFileBytes);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ImageInputRefusal,
    {velmora::ImageInputRefusal::notRegularFile, "not a regular file"},
    {velmora::ImageInputRefusal::unreadableFile, "unreadable file"},
    {velmora::ImageInputRefusal::fileTooLarge, "file too large"},
    {velmora::ImageInputRefusal::unknownSignature, "signature of no supported format"},
    {velmora::ImageInputRefusal::decoderDisagrees, "decoder does not read the format of the signature"},
    {velmora::ImageInputRefusal::undeclaredSize, "no declared size or pixel format"},
    {velmora::ImageInputRefusal::chunkPastEnd, "PNG chunk runs past the end of the data"},
    {velmora::ImageInputRefusal::tooManyPixels, "declared size above the pixel limit"},
    {velmora::ImageInputRefusal::tooManyBytes, "decoded size above the byte limit"},
    {velmora::ImageInputRefusal::tooManyScans, "JPEG scans above the work limit"},
    {velmora::ImageInputRefusal::cutShort, "JPEG data ends before its end-of-image marker"},
    {velmora::ImageInputRefusal::oldStyleJpeg, "TIFF compressed as old-style JPEG"});
