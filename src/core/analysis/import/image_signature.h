#pragma once

#include "core/analysis/import/supported_image_types.h"

#include <QByteArray>

#include <optional>

namespace velmora {

/// The supported type whose signature (the bytes every file of the type starts with)
/// the data starts with, or nothing: PNG's eight-byte signature, JPEG's start-of-image
/// marker followed by another marker, TIFF's byte order and version (classic or
/// BigTIFF), or a HEIF file of a HEIC brand. The signature alone chooses the decoder
/// of an import; a file's name only decides whether it is offered.
std::optional<ImageContentType> imageContentTypeFromSignature(const QByteArray &data);

} // namespace velmora
