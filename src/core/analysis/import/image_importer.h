#pragma once

#include "core/analysis/import/imported_image.h"
#include "core/analysis/import/supported_image_types.h"
#include "core/support/task_handle.h"

#include <QByteArray>
#include <QString>

namespace velmora {

/// An image imported from a file, with the bytes it was decoded from: what the file
/// held when it was read, once and within the limits.
struct ImportedFile
{
    ImportedImage image;
    QByteArray bytes;
};

// Where every image enters the engine, from a file (open dialog, drop, folder, watched
// folder) or from bytes in memory (clipboard, capture). Decodes the first image of the
// file or data and returns it upright in sRGB. Files and bytes take the same road: the
// data's signature chooses the one decoder that reads it (PNG, JPEG, TIFF or HEIC), and
// nothing else is decoded, whatever the file's name. Stateless; callable from any thread.
class ImageImporter
{
public:
    ImageImporter() = delete;

    /// The supported types in the order the open dialog offers them.
    static QList<ImageContentType> supportedContentTypes() { return supportedImageContentTypes(); }
    /// The file's type by its name, or nothing.
    static std::optional<ImageContentType> contentType(const QString &filePath) { return imageContentType(filePath); }
    /// True when the file's name gives a supported type.
    static bool isSupported(const QString &filePath) { return contentType(filePath).has_value(); }

    /// Imports the first image of a file. Throws VelmoraCoreException with
    /// unsupportedImageType (name of no supported type), invalidImageData (unreadable,
    /// of no supported format, undecodable, or refused by the limits of
    /// image_input_limits.h and jpeg_scan_limits.h: not a regular file, too many bytes,
    /// pixels or scans, a JPEG cut short) or imageRenderFailed (the upright copy could
    /// not be made).
    static ImportedImage importImage(const QString &filePath);
    /// The same, with the bytes the image was decoded from. Once `task` is cancelled,
    /// the decoding stops quietly and invalidImageData is thrown: a JPEG's at the end of
    /// the scan it reads, a PNG's or TIFF's before or after its pixels (their decoders
    /// print an error on a read cut short), a HEIC's (which libheif decodes from memory
    /// in one go) at its end.
    static ImportedFile importFile(const QString &filePath, const TaskHandle &task = TaskHandle());

    /// Imports the first image of bytes (clipboard, capture, a source decoded again),
    /// as a file's bytes are, within the same byte limit. Throws invalidImageData or
    /// imageRenderFailed; a cancelled `task` stops the decoding as importFile does.
    static ImportedImage importImage(const QByteArray &data, const TaskHandle &task = TaskHandle());
};

} // namespace velmora
