#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QStringList>

namespace velmora::test {

/// The image encoded as a file of `format` ("PNG", "JPEG", "BMP", ...); empty when it cannot be.
/// A JPEG in scans of a few coefficients each when `progressive`.
QByteArray encodedImage(const QImage &image, const char *format, bool progressive = false);
/// The image encoded as a PNG file.
QByteArray encodedPng(const QImage &image);

/// The chunk types of a PNG file in file order ("IHDR", "IDAT", ...); empty when the
/// signature is wrong or a chunk runs past the end.
QStringList pngChunkTypes(const QByteArray &png);

/// The second bytes of every marker of a JPEG file in file order (0xD8 for SOI, 0xE1 for
/// APP1, 0xFE for COM, ...), entropy-coded data skipped; empty when it is no JPEG.
QList<int> jpegMarkers(const QByteArray &jpeg);

} // namespace velmora::test
