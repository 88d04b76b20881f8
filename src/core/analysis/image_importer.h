#pragma once

#include "core/analysis/imported_image.h"
#include "core/analysis/supported_image_types.h"

#include <QByteArray>
#include <QString>

namespace velmora {

/// A file's bytes as they were read, and the image they decode to.
struct ImportedFile
{
    QByteArray bytes;
    ImportedImage image;
};

// Where every image enters the engine, from a file (open dialog, drop, folder, watched
// folder) or from bytes in memory (clipboard, capture). Decodes the first image of the
// file or data and returns it upright in sRGB. Stateless; callable from any thread.
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
    /// undecodable, or refused by the limits of image_input_limits.h: not a regular file,
    /// too many bytes or pixels) or imageRenderFailed (the upright copy could not be made).
    static ImportedImage importImage(const QString &filePath);
    /// The same, with the very bytes that were decoded: whoever fingerprints them knows
    /// what the image came from, even when the file is written again meanwhile.
    static ImportedFile importFile(const QString &filePath);

    /// Imports the first image of bytes, with no type test: whatever a decoder
    /// accepts within the pixel limit is imported. Throws invalidImageData or
    /// imageRenderFailed.
    static ImportedImage importImage(const QByteArray &data);
};

} // namespace velmora
