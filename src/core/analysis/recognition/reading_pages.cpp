#include "core/analysis/recognition/reading_pages.h"

#include "core/detection/core_error.h"

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

QList<qsizetype> regionsToRead(const TextLayout &layout, const SeeThrough &alpha, bool readsEveryRegion)
{
    QList<qsizetype> read = layout.regionsLongestFirst();
    if (!readsEveryRegion)
        read.removeIf([&](qsizetype r) { return !alpha.within(nextTo(layout.regions()[r].box)); });
    return read;
}

/// What of the page is read over black: each part that sees through, with the ground
/// around it as far as the ink map looks for one and the whole of every line of the
/// white page that reaches into it; the whole page when these would cover as much.
QList<QRect> secondGroundParts(const SeeThrough &alpha, const TextLayout &white, const QRect &page)
{
    const auto grown = [](const QRect &box) {
        return box.adjusted(-InkMap::backgroundReach, -InkMap::backgroundReach, InkMap::backgroundReach, InkMap::backgroundReach);
    };
    QList<QRect> parts;
    qint64 area = 0;
    for (const QRect &seeThrough : alpha.parts()) {
        QRect part = grown(seeThrough);
        for (const TextRegion &region : white.regions()) {
            if (nextTo(region.box).intersects(seeThrough) && alpha.within(nextTo(region.box)))
                part |= grown(region.box);
        }
        parts.append(part.intersected(page));
        area += qint64(parts.last().width()) * parts.last().height();
    }
    if (area >= qint64(page.width()) * page.height())
        return {page};
    return parts;
}

} // namespace

ReadingPage::ReadingPage(const QImage &page, const SeeThrough &pageAlpha, const QRect &part, QRgb ground, bool readsEveryRegion)
    : image(part == page.rect() ? checked(page) : checked(page).copy(part))
    , origin(part.topLeft())
    , pageSize(page.size())
    , alpha(part == page.rect() ? pageAlpha : pageAlpha.part(part))
    , ink(image, ground)
    , layout(ink)
    , reader(ink, layout)
    , regionsRead(regionsToRead(layout, alpha, readsEveryRegion))
{
    ink.forgetInk([this](int x, int y) { return layout.isSetAside(x, y); });
}

ReadingPages readingPages(const QImage &page)
{
    const SeeThrough alpha(page);
    ReadingPages pages{std::make_shared<const ReadingPage>(page, alpha, page.rect(), qRgb(255, 255, 255), true)};
    for (const QRect &part : secondGroundParts(alpha, pages.front()->layout, page.rect()))
        pages.append(std::make_shared<const ReadingPage>(page, alpha, part, qRgb(0, 0, 0), false));
    return pages;
}

} // namespace velmora
