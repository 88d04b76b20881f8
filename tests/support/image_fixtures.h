#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>

namespace velmora::testing {

/// An image of four coloured quadrants (red, green / blue, yellow from the top left),
/// whose position tells any turn or mirror apart.
QImage quadrantImage(int width, int height);

/// The colour at the centre of the quadrant at (column, row), each 0 or 1.
QColor quadrantColour(const QImage &image, int column, int row);

/// JPEG bytes of an image with an EXIF orientation tag of the given value.
QByteArray jpegWithOrientation(const QImage &image, std::uint16_t orientation);

/// An uncompressed two-page RGB TIFF.
QByteArray twoPageTiff(const QImage &firstPage, const QImage &secondPage);

/// HEIC bytes written by libheif, with an orientation (EXIF numbering) that libheif
/// stores as rotation and mirror properties. Empty when the encoder is unavailable.
QByteArray heicWithOrientation(const QImage &image, int orientation);

/// The image as the EXIF orientation says it is stored when it is meant to be seen
/// as `upright` (the inverse of turning it upright), by the tag's definition.
QImage storedForOrientation(const QImage &upright, int orientation);

/// A font of the family, which must be installed (`scripts/install-deps` installs every
/// family a test draws with): fontconfig would give another typeface in its place, and
/// the test would silently test that one. Fails the test when the family is missing.
QFont installedFont(const QString &family);

/// The pixels that text drawn with Qt at a baseline covers by at least 20 %, on an
/// image of `size`.
QList<QPoint> textInk(QSize size, const QFont &font, QPointF baseline, const QString &text);

/// One piece of a rendered line: its text, and whether its ink is recorded.
struct TextPiece
{
    QString text;
    bool recordInk = false;
};

/// A line rendered by renderLines: its full text and the ink of recorded pieces.
struct RenderedLine
{
    QString text;
    QRect box;
    QList<QList<QPoint>> pieceInk; ///< Per recorded piece, the pixels with ≥ 20 % coverage.
};

/// Draws lines of text with Qt: the font family (installed) at a pixel size, in a colour
/// on a ground, one line per entry, left-aligned from a margin, the baselines `lineStep`
/// pixels apart (twice the pixel size where it is 0).
struct TextCanvas
{
    QImage image;
    QList<RenderedLine> lines;
};
TextCanvas renderLines(const QList<QList<TextPiece>> &lines, const QString &family, int pixelSize, QColor ink,
                       QColor ground, QSize size = QSize(900, 0), int lineStep = 0);

} // namespace velmora::testing
