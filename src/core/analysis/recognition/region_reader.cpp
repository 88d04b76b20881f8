#include "core/analysis/recognition/region_reader.h"

#include "core/analysis/ink/typography.h"
#include "core/analysis/lines/line_assembler.h"
#include "core/analysis/recognition/image_without_global_pool.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// The English model's network reads lines this many pixels tall.
constexpr int networkInputHeight = 36;
// Tesseract's layout analysis works best on lines (ascenders to descenders) about this
// many pixels tall; smaller text in a block is enlarged up to the largest factor.
constexpr double preferredLineHeight = 48;
constexpr double largestEnlargement = 4;
// Blank margin around a region, in line heights, as Tesseract's own line images have.
constexpr double marginInLineHeights = 0.35;

} // namespace

RegionReader::Prepared RegionReader::prepare(const TextRegion &region) const
{
    const QRect &box = region.box;
    const int lineHeight = m_layout.lineHeight(region);
    const int margin = std::max(2, int(std::lround(marginInLineHeights * lineHeight)));
    const QRect crop = box.adjusted(-margin, -margin, margin, margin);
    // Faint edges of the characters may lie just outside the box of their strong ink.
    const QRect kept = box.adjusted(-1, -1, 1, 1).intersected(m_ink.rect());

    // The contrast that the strong strokes of the region reach becomes full black.
    const int full = strongStrokeContrast(m_ink, box);

    QImage grey(crop.size(), QImage::Format_Grayscale8);
    grey.fill(255);
    for (int y = kept.top(); y <= kept.bottom(); ++y) {
        uchar *out = grey.scanLine(y - crop.top());
        for (int x = kept.left(); x <= kept.right(); ++x) {
            const int c = std::min(255, m_ink.contrastAt(x, y) * 255 / full);
            out[x - crop.left()] = uchar(255 - c);
        }
    }

    // A single line goes straight to the network at its input height, sparing
    // Tesseract a second scaling; a block is enlarged for Tesseract's layout analysis.
    const double scale = region.singleLine ? double(networkInputHeight) / crop.height()
                                           : std::clamp(preferredLineHeight / lineHeight, 1.0, largestEnlargement);
    if (scale != 1.0)
        grey = scaledWithoutGlobalPool(grey,
                                       QSize(int(std::lround(grey.width() * scale)), int(std::lround(grey.height() * scale))));
    const double actualScale = double(grey.width()) / crop.width();
    return {grey, QPointF(crop.topLeft()), actualScale};
}

TesseractLayout RegionReader::engineLayout(const TextRegion &region)
{
    return region.singleLine ? TesseractLayout::singleLine : TesseractLayout::block;
}

std::optional<QList<RecognizedLine>> RegionReader::read(TesseractEngine &engine, const TextRegion &region,
                                                        const TaskHandle &task) const
{
    const Prepared prepared = prepare(region);
    auto read = engine.recognize(prepared.grey, engineLayout(region), task, TesseractChoices::best);
    if (!read)
        return std::nullopt;
    QList<RecognizedLine> lines = assemble(region, prepared, *read);
    if (std::none_of(lines.begin(), lines.end(), [](const RecognizedLine &line) { return line.wantsAlternatives; }))
        return lines;
    read = engine.recognize(prepared.grey, engineLayout(region), task, TesseractChoices::withAlternatives);
    if (!read)
        return std::nullopt;
    return assemble(region, prepared, *read);
}

QList<RecognizedLine> RegionReader::assemble(const TextRegion &region, const Prepared &prepared,
                                             const QList<TesseractLine> &read) const
{
    const auto toPage = [&prepared](const QRect &box) {
        return QRectF(prepared.origin.x() + box.x() / prepared.scale, prepared.origin.y() + box.y() / prepared.scale,
                      box.width() / prepared.scale, box.height() / prepared.scale);
    };
    QList<RecognizedLine> result;
    for (const TesseractLine &line : read) {
        QList<PageSymbol> symbols;
        for (const TesseractSymbol &symbol : line.symbols)
            symbols.append({symbol.text, toPage(symbol.box), symbol.confidence, symbol.startsWord, symbol.alternatives});
        // A line of a single-line region spans the region; in a block, its own box.
        const QRect band = region.singleLine ? region.box : toPage(line.box).toAlignedRect().intersected(region.box);
        RecognizedLine recognized = LineAssembler(m_ink, band, region.bleed, region.columnEnd.cutOfInk(band)).assemble(symbols);
        if (!recognized.text.trimmed().isEmpty())
            result.append(std::move(recognized));
    }
    return result;
}

} // namespace velmora
