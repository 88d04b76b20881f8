#pragma once

#include "core/support/raw_enum.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

/// The image types Velmora takes in. Raw values are the types' MIME names, which the
/// open dialog can use as filters.
enum class ImageContentType { png, jpeg, tiff, heic };

/// Every supported type, in the order the open dialog offers them: PNG, JPEG, TIFF, HEIC.
QList<ImageContentType> supportedImageContentTypes();

/// The file name extensions of a type, lower-case, without the dot.
QStringList imageFileExtensions(ImageContentType type);

/// The type a file's name extension implies (letter case ignored), or nothing. The one
/// table of extensions decides which files are offered and taken as images everywhere:
/// folder listings, the folder watch, the open dialog and the files import accepts.
/// Which decoder reads a file is the data's own affair (image_signature.h).
std::optional<ImageContentType> imageContentType(const QString &filePath);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ImageContentType,
    {velmora::ImageContentType::png, "image/png"},
    {velmora::ImageContentType::jpeg, "image/jpeg"},
    {velmora::ImageContentType::tiff, "image/tiff"},
    {velmora::ImageContentType::heic, "image/heic"});
