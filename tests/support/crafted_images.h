#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::test {

// Files of formats other than PNG, JPEG, TIFF and HEIC, TIFFs of 16-bit or JPEG-coded
// pixels, made to test that the importer reads only what it should, within its bounds.

/// An SVG that shows the file at `path` in an <image> element.
QByteArray svgShowingFile(const QString &path);

/// An SVG of about `bytes` bytes of path data.
QByteArray svgOfPaths(qsizetype bytes);

/// The bytes in a gzip wrapper, as an .svgz file holds its SVG.
QByteArray gzipped(const QByteArray &bytes);

/// A Windows icon whose one entry holds `png` (a PNG of any size: its directory entry
/// says 256 × 256).
QByteArray icoHolding(const QByteArray &png);

/// An Apple icon file whose one entry (a 1024-pixel "ic10" icon) holds `png`.
QByteArray icnsHolding(const QByteArray &png);

/// A 1 × 1 GIF.
QByteArray tinyGif();

/// A deflate-compressed TIFF of `width` × `height` black pixels with `samples` samples
/// of `bitsPerSample` bits each (1 grey, 3 RGB, 4 RGBA). Every strip shares one
/// compressed block, so that even the largest image takes a few kilobytes.
QByteArray tiffDeclaring(quint32 width, quint32 height, int bitsPerSample, int samples);

/// How a crafted TIFF states its compression and where its strips are: as encoders write
/// them (Compression a SHORT, StripOffsets LONGs), or in another field type libtiff reads
/// for them too, or as old-style JPEG (Compression 6).
struct TiffTags
{
    quint16 compression = 7;      ///< New-style JPEG.
    quint16 compressionType = 3;  ///< SHORT; 1 is BYTE, 8 SSHORT.
    quint32 compressionCount = 1; ///< More: one value for each sample, as older files give it.
    quint16 stripOffsetsType = 4; ///< LONG; 9 is SLONG.
    bool yCbCr = false;           ///< Colour strips in YCbCr, halved both ways, as old-style JPEG is decoded.
};

/// A grey TIFF of `width` × `height` compressed as JPEG, in strips of `rowsPerStrip` rows
/// that all hold `jpegStrip` (a grey JPEG of `width` × `rowsPerStrip`, or a colour one
/// with `tags.yCbCr`).
QByteArray jpegTiff(quint32 width, quint32 height, quint32 rowsPerStrip, const QByteArray &jpegStrip,
                    const TiffTags &tags = {});

/// The same in one strip whose length no StripByteCounts tag gives.
QByteArray jpegTiffWithoutByteCounts(quint32 width, quint32 height, const QByteArray &jpegStrip,
                                     const TiffTags &tags = {});

/// A JPEG-compressed TIFF of `strips` one-row strips, each starting four bytes after the
/// one before and running to the end: its strips' bytes add up to about strips² × 2.
QByteArray jpegTiffOfOverlappingStrips(quint32 strips);

} // namespace velmora::test
