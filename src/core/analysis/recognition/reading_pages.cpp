#include "core/analysis/recognition/reading_pages.h"

#include "core/detection/core_error.h"

#include <algorithm>

namespace velmora {

namespace {

const QImage &checked(const QImage &page)
{
    if (page.isNull())
        throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
    return page;
}

/// The box with the pixels around it: a region beside pixels that see through ends
/// where its ground turns transparent, and its text may run on past it.
QRect nextTo(const QRect &box)
{
    return box.adjusted(-1, -1, 1, 1);
}

/// The box with the ground around it as far as the ink map looks for one.
QRect withItsGround(const QRect &box)
{
    return box.adjusted(-InkMap::backgroundReach, -InkMap::backgroundReach, InkMap::backgroundReach, InkMap::backgroundReach);
}

/// Whether an edge of the alpha runs through the region or right beside it: its line
/// runs across the edge, in one piece where its ground keeps its colour across it.
bool acrossAnAlphaEdge(const TextRegion &region, const SeeThrough &alpha)
{
    return alpha.edgeWithin(nextTo(region.box));
}

/// Whether an edge of the alpha runs within a line's height of the region: its line may
/// run on across the edge, though a change of ground there parted it or nothing but
/// faint ink shows beyond.
bool nearAnAlphaEdge(const TextRegion &region, const TextLayout &layout, const SeeThrough &alpha)
{
    const int reach = layout.lineHeight(region);
    return alpha.edgeWithin(nextTo(region.box).adjusted(-reach, 0, reach, 0));
}

QList<qsizetype> regionsToRead(const TextLayout &layout, const SeeThrough &alpha, ReadingGround ground,
                               const QList<QRect> &readElsewhere)
{
    QList<qsizetype> read = layout.regionsLongestFirst();
    read.removeIf([&](qsizetype r) {
        const QRect box = layout.regions()[r].box;
        return std::any_of(readElsewhere.cbegin(), readElsewhere.cend(), [&](const QRect &line) { return nextTo(line).contains(box); });
    });
    if (ground == ReadingGround::black)
        read.removeIf([&](qsizetype r) { return !alpha.within(nextTo(layout.regions()[r].box)); });
    if (ground == ReadingGround::unfaded)
        read.removeIf([&](qsizetype r) { return !acrossAnAlphaEdge(layout.regions()[r], alpha); });
    return read;
}

/// The parts, or the whole page when they would cover as much.
QList<QRect> partsOrPage(const QList<QRect> &parts, const QRect &page)
{
    qint64 area = 0;
    for (const QRect &part : parts)
        area += qint64(part.width()) * part.height();
    if (area >= qint64(page.width()) * page.height())
        return {page};
    return parts;
}

/// What of the page is read over black: each part that sees through, with the ground
/// around it and the whole of every line of the white page that reaches into it.
QList<QRect> secondGroundParts(const SeeThrough &alpha, const TextLayout &white, const QRect &page)
{
    QList<QRect> parts;
    for (const QRect &seeThrough : alpha.parts()) {
        QRect part = withItsGround(seeThrough);
        for (const TextRegion &region : white.regions()) {
            if (nextTo(region.box).intersects(seeThrough) && alpha.within(nextTo(region.box)))
                part |= withItsGround(region.box);
        }
        parts.append(part.intersected(page));
    }
    return partsOrPage(parts, page);
}

/// What of the page is read unfaded: the rows of the lines of the white page near an
/// edge of the alpha, across the page (what shows of a line beyond the edge may be too
/// faint for the white page to see how far it runs), with the ground around them; rows
/// whose grounds overlap are one part.
QList<QRect> unfadedParts(const SeeThrough &alpha, const TextLayout &white, const QRect &page)
{
    QList<QRect> parts;
    for (const TextRegion &region : white.regions()) {
        if (!nearAnAlphaEdge(region, white, alpha))
            continue;
        QRect part = withItsGround(QRect(page.left(), region.box.top(), page.width(), region.box.height())).intersected(page);
        for (bool merged = true; merged;) {
            merged = false;
            for (qsizetype k = 0; k < parts.size(); ++k) {
                if (parts[k].intersects(part)) {
                    part |= parts.takeAt(k);
                    merged = true;
                    break;
                }
            }
        }
        parts.append(part);
    }
    return partsOrPage(parts, page);
}

QList<QRect> translated(QList<QRect> boxes, const QPoint &offset)
{
    for (QRect &box : boxes)
        box.translate(offset);
    return boxes;
}

QImage imageOf(const QImage &page, const SeeThrough &alpha, const QRect &part, ReadingGround ground)
{
    if (ground == ReadingGround::unfaded)
        return alpha.unfaded(part);
    return part == page.rect() ? checked(page) : checked(page).copy(part);
}

} // namespace

ReadingPage::ReadingPage(const QImage &page, const SeeThrough &pageAlpha, const QRect &part, ReadingGround ground,
                         const QList<QRect> &readElsewhere)
    : ground(ground)
    , image(imageOf(page, pageAlpha, part, ground))
    , origin(part.topLeft())
    , pageSize(page.size())
    , alpha(part == page.rect() ? pageAlpha : pageAlpha.part(part))
    , ink(image, ground == ReadingGround::black ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
    , layout(ink)
    , reader(ink, layout)
    , regionsRead(regionsToRead(layout, alpha, ground, translated(readElsewhere, -origin)))
{
    ink.forgetInk([this](int x, int y) { return layout.isSetAside(x, y); });
}

ReadingPages readingPages(const QImage &page)
{
    const SeeThrough alpha(page);
    ReadingPages pages{std::make_shared<const ReadingPage>(page, alpha, page.rect(), ReadingGround::white)};
    const TextLayout &white = pages.front()->layout;
    // A line read unfaded is whole there, whatever its pieces over black would read.
    ReadingPages unfaded;
    QList<QRect> readUnfaded;
    for (const QRect &part : unfadedParts(alpha, white, page.rect())) {
        unfaded.append(std::make_shared<const ReadingPage>(page, alpha, part, ReadingGround::unfaded));
        for (const qsizetype r : unfaded.last()->regionsRead)
            readUnfaded.append(unfaded.last()->layout.regions()[r].box.translated(part.topLeft()));
    }
    for (const QRect &part : secondGroundParts(alpha, white, page.rect()))
        pages.append(std::make_shared<const ReadingPage>(page, alpha, part, ReadingGround::black, readUnfaded));
    return pages + unfaded;
}

} // namespace velmora
