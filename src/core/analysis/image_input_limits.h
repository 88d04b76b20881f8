#pragma once

#include "core/support/raw_enum.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QSize>
#include <QString>

#include <optional>

namespace velmora {

Q_DECLARE_LOGGING_CATEGORY(lcImport)

/// Why the importer refused an input before decoding it. Raw values are what the log says.
enum class ImageInputRefusal {
    notRegularFile, ///< A folder, device, pipe or socket (links are followed first).
    unreadableFile, ///< The file could not be opened or read.
    fileTooLarge,   ///< More bytes than kMaximumImageFileBytes.
    chunkPastEnd,   ///< A PNG chunk claims more bytes than the data holds.
    tooManyPixels,  ///< The declared size exceeds kMaximumImagePixels.
};

/// The largest image file read: far above any screenshot's compressed size, far below
/// what would strain memory.
inline constexpr qint64 kMaximumImageFileBytes = 256LL * 1024 * 1024;

/// The largest image decoded, in pixels (8192 × 8192): three 4K displays side by side
/// (11520 × 2160) and a 1920 × 30000 full-page capture fit; an image that declares more
/// is refused before any pixel memory is taken. At four bytes a pixel its decoded
/// form stays within 256 MB.
inline constexpr qint64 kMaximumImagePixels = 64LL * 1024 * 1024;

/// The longest side of a HEIC image. A HEIC grid image declares the size it is put
/// together at apart from the size it states for itself, and libheif bounds the former
/// only by a limit on each side: at 8192 the assembled image stays within the pixel
/// limit. Phones and cameras, which write HEIC, stay below it (8064 × 6048 at 48 MP).
inline constexpr int kMaximumHeifSide = 8192;

/// tooManyPixels when a declared size holds more than kMaximumImagePixels; an invalid
/// (unknown) size passes, for the decoder to judge.
std::optional<ImageInputRefusal> declaredSizeRefusal(QSize declared);

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
    {velmora::ImageInputRefusal::chunkPastEnd, "PNG chunk runs past the end of the data"},
    {velmora::ImageInputRefusal::tooManyPixels, "declared size above the pixel limit"});
