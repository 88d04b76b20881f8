#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/layout/text_layout.h"
#include "core/analysis/recognition/region_reader.h"
#include "core/analysis/recognition/see_through.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

namespace velmora {

/// What a reading page shows where the page sees through.
enum class ReadingGround
{
    white,   ///< The page over white, as a viewer shows it; every region is read.
    black,   ///< The page over black; only the regions that hold a pixel not wholly opaque are read.
    unfaded, ///< Each pixel in its own colour, wholly opaque; only the lines across an edge of the alpha are read.
};

// A part of the page as recognition reads it (upright, capped in size) seen over one
// ground: its ink, the text regions found in it and those of them that are read;
// shared by the readings of its regions. Once the regions are found, the ink of the
// rules and frames set aside is no glyph's. Boxes are the part's own: `origin` places
// them on the page.
struct ReadingPage
{
    /// `part` of `page` (of which `alpha` is the alpha) seen over `ground`. Regions that lie
    /// in a line of `readElsewhere` (boxes on the page) are not read.
    ReadingPage(const QImage &page, const SeeThrough &alpha, const QRect &part, ReadingGround ground,
                const QList<QRect> &readElsewhere = {});

    const ReadingGround ground;
    const QImage image;
    const QPoint origin;
    const QSize pageSize;
    const SeeThrough alpha;
    InkMap ink;
    const TextLayout layout;
    const RegionReader reader;
    /// The indexes of the regions read, those that hold the most text first.
    const QList<qsizetype> regionsRead;
};

using ReadingPages = QList<std::shared_ptr<const ReadingPage>>;

/// The page as it is read: over white, as a viewer shows it, whole; where a line runs
/// across an edge of the alpha, unfaded, reading only such lines; and where it sees
/// through, over black too, each part that does with the lines that reach into it,
/// reading only the regions that hold a pixel not wholly opaque and lie in no line read
/// unfaded. Text that is light on
/// a transparent ground is whole over black; text in a layer made partly transparent
/// part way along a line, which shows faint beyond the edge and whose ground may change
/// there, is whole unfaded. An opaque page, or one with a transparent pixel, rounded
/// corners or a shadow around its window, is read once or nearly so. Throws
/// VelmoraCoreException(textRecognitionFailed) for a null page.
ReadingPages readingPages(const QImage &page);

} // namespace velmora
