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

// A part of the page as recognition reads it (upright, capped in size) seen over one
// ground: its ink, the text regions found in it and those of them that are read;
// shared by the readings of its regions. Once the regions are found, the ink of the
// rules and frames set aside is no glyph's. Boxes are the part's own: `origin` places
// them on the page.
struct ReadingPage
{
    /// `part` of `page` (of which `alpha` is the alpha) seen over `ground`. With
    /// `readsEveryRegion` false, only the regions that hold a pixel not wholly opaque are read.
    ReadingPage(const QImage &page, const SeeThrough &alpha, const QRect &part, QRgb ground, bool readsEveryRegion);

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

/// The page as it is read: over white, as a viewer shows it, whole; and where it sees
/// through, over black too, each part that does with the lines that reach into it,
/// reading only the regions that hold a pixel not wholly opaque. Text that is light on
/// a transparent ground, or whose ground turns partly transparent part way along a line
/// (the two grounds then differ in one of the pages), is whole on one of them; an
/// opaque page, or one with a transparent pixel, rounded corners or a shadow around its
/// window, is read once or nearly so. Throws VelmoraCoreException(textRecognitionFailed)
/// for a null page.
ReadingPages readingPages(const QImage &page);

} // namespace velmora
