#include "core/analysis/recognition/text_recognizer.h"

#include "core/analysis/recognition/alpha_edge_runs.h"
#include "core/analysis/recognition/cell_edges.h"
#include "core/analysis/recognition/character_bounds.h"
#include "core/analysis/recognition/image_without_global_pool.h"
#include "core/analysis/recognition/reading_pages.h"
#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/analysis/wraps/wrapped_lines.h"
#include "core/detection/core_error.h"
#include "core/support/work_pools.h"

#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace velmora {

namespace {

// Larger images are recognised at a reduced size: beyond this, memory grows faster
// than legibility (text this large stays legible when reduced).
constexpr qint64 largestWorkingPixelCount = 16'000'000;

QImage workingImage(const QImage &upright)
{
    // Made 32-bit here, without Qt's global pool, so that the ink maps and see-through
    // parts, whose own conversions would ask that pool for help, find nothing to convert.
    const QImage page =
        convertedWithoutGlobalPool(upright, upright.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const qint64 pixels = qint64(page.width()) * page.height();
    if (pixels <= largestWorkingPixelCount)
        return page;
    const double factor = std::sqrt(double(largestWorkingPixelCount) / double(pixels));
    return scaledWithoutGlobalPool(page,
                                   QSize(std::max(1, int(page.width() * factor)), std::max(1, int(page.height() * factor))));
}

NormRect normalized(const QRectF &box, const QSize &page)
{
    const double w = page.width();
    const double h = page.height();
    return NormRect(box.x() / w, 1.0 - (box.y() + box.height()) / h, box.width() / w, box.height() / h);
}

// How surely a range was read: from the doubts of its characters and of the character
// on either side, since a character dropped or added at its edge changes it too.
TextConfidenceResolver rangeConfidenceResolver(const QList<PixelCharacter> &characters)
{
    QList<QPair<TextRange, double>> doubts;
    doubts.reserve(characters.size());
    for (const PixelCharacter &character : characters)
        doubts.append({character.range, character.doubt});
    return [doubts = std::move(doubts)](const TextRange &range) {
        qsizetype first = doubts.size(), last = -1;
        for (qsizetype k = 0; k < doubts.size(); ++k) {
            if (doubts[k].first.location < range.end() && range.location < doubts[k].first.end()) {
                first = std::min(first, k);
                last = k;
            }
        }
        if (last < 0)
            return std::numeric_limits<double>::quiet_NaN(); // the line's confidence stands
        double doubt = 0;
        for (qsizetype k = std::max<qsizetype>(0, first - 1); k <= std::min(doubts.size() - 1, last + 1); ++k)
            doubt += doubts[k].second;
        return std::exp(-doubt);
    };
}

TextObservation observation(const RecognizedLine &line, const QSize &page)
{
    QList<RecognizedCharacterBounds> characters;
    characters.reserve(line.characters.size());
    for (const PixelCharacter &character : line.characters)
        characters.append({character.range, normalized(character.box, page)});
    return TextObservation(line.text, normalized(line.box, page), line.confidence,
                           characterBoundsResolver(std::move(characters)), rangeConfidenceResolver(line.characters));
}

/// A line read on a part of the page, placed on the page.
RecognizedLine onPage(RecognizedLine line, const QPoint &origin)
{
    line.box.translate(origin);
    for (PixelCharacter &character : line.characters)
        character.box.translate(origin);
    return line;
}

/// A region passed over because the recognition was cancelled, or not read.
struct RegionSkipped
{
};

/// What became of one region: its lines, nothing when the engine failed, or skipped.
using RegionReading = std::variant<std::optional<QList<RecognizedLine>>, RegionSkipped>;

// A line as the search for wrapped lines sees it: a line of a single-line region is
// as tall as the region's ink.
PlacedLine placed(const RecognizedLine &line, const TextRegion &region)
{
    const QRectF box = region.singleLine ? QRectF(line.box.left(), region.box.top(), line.box.width(), region.box.height())
                                         : line.box;
    const qsizetype space = line.text.indexOf(QLatin1Char(' '));
    double firstWordRight = line.box.right();
    if (space > 0) {
        firstWordRight = line.box.left();
        for (const PixelCharacter &character : line.characters) {
            if (character.range.end() <= space)
                firstWordRight = std::max(firstWordRight, character.box.right());
        }
    }
    const double firstCharacterWidth = line.characters.isEmpty() ? 0.0 : line.characters.front().box.width();
    return {box, region.columnEnd, region.columnEnd.cutOfBoxes(box), firstWordRight, firstCharacterWidth, line.cellPitch, line.text};
}

/// The lines of every region read, in reading order, each knowing the line its text
/// wraps onto. Throws when an engine failed.
QList<TextObservation> observations(const ReadingPage &page, const QList<RegionReading> &readings)
{
    QList<RecognizedLine> asRead;
    QList<qsizetype> regionOf;
    for (qsizetype r = 0; r < readings.size(); ++r) {
        if (std::holds_alternative<RegionSkipped>(readings[r]))
            continue;
        const auto &lines = std::get<std::optional<QList<RecognizedLine>>>(readings[r]);
        if (!lines)
            throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
        for (const RecognizedLine &line : *lines) {
            asRead.append(line);
            regionOf.append(r);
        }
    }
    // A line that runs across the edge of a cell is two lines, each of which may wrap
    // in its own cell.
    QList<RecognizedLine> read;
    QList<PlacedLine> places;
    for (const CellLine &part : partedAtCellEdges(asRead)) {
        read.append(part.line);
        PlacedLine &place = places.emplace_back(placed(part.line, page.layout.regions()[regionOf[part.source]]));
        if (part.cellEnd && *part.cellEnd < place.columnEnd.at) {
            place.columnEnd = {*part.cellEnd, CutEdge::cellEdge};
            place.cut = place.columnEnd.cutOfBoxes(place.box);
        }
    }
    const QList<std::optional<TextWrap>> wraps = findWraps(places, page.layout);
    QList<TextObservation> found;
    found.reserve(read.size());
    for (qsizetype k = 0; k < read.size(); ++k) {
        // The first and last characters of a line cut off run on up to the cut, where
        // what shows of the glyph beyond them may be too little to read.
        TextCut cut = places[k].cut;
        QList<PixelCharacter> &characters = read[k].characters;
        if (cut.atStart() && !characters.isEmpty()) {
            characters.first().box.setLeft(0);
            read[k].box.setLeft(0);
        }
        if (cut.atEnd() && !characters.isEmpty()) {
            characters.last().box.setRight(std::max<double>(characters.last().box.right(), places[k].columnEnd.at));
            read[k].box.setRight(std::max<double>(read[k].box.right(), places[k].columnEnd.at));
        }
        cut = withSeeThrough(cut, coverWordsPastAlphaEdges(read[k], page.ink, page.alpha));
        found.append(observation(onPage(read[k], page.origin), page.pageSize));
        found.last().setWrap(wraps[k]);
        found.last().setCut(cut);
    }
    return found;
}

using Pages = ReadingPages;

/// The image as it is read: upright, capped in size, over each ground where it is read.
Pages pagesOf(const QImage &bitmap, ImageOrientation orientation)
{
    return readingPages(workingImage(uprightImage(bitmap, orientation)));
}

/// A region of one of the pages, by their indices.
struct PageRegion
{
    qsizetype page = 0;
    qsizetype region = 0;
};

/// The lines of every page, one page after the other, each knowing the line its text
/// wraps onto; `readings` holds each page's in reading order.
QList<TextObservation> observations(const Pages &pages, const QList<QList<RegionReading>> &readings)
{
    QList<TextObservation> found;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const qsizetype offset = found.size();
        for (TextObservation line : observations(*pages[p], readings[p])) {
            if (line.wrap())
                line.setWrap(TextWrap{line.wrap()->line + offset, line.wrap()->mayBreakWords});
            found.append(std::move(line));
        }
    }
    return found;
}

} // namespace

OCRTextRecognizer::OCRTextRecognizer(bool usesLanguageCorrection)
    : OCRTextRecognizer(TesseractEnginePool::shared(usesLanguageCorrection))
{
}

OCRTextRecognizer::OCRTextRecognizer(TesseractEnginePool &engines) : m_engines(&engines) {}

bool OCRTextRecognizer::usesLanguageCorrection() const
{
    return m_engines->usesLanguageCorrection();
}

QFuture<QList<TextObservation>> OCRTextRecognizer::recognizeText(const QImage &bitmap, ImageOrientation orientation,
                                                                 const TaskHandle &task) const
{
    // No step waits for another: a pool's thread that waited for the regions would be
    // lost to every other scan meanwhile.
    TesseractEnginePool *engines = m_engines;
    return QtConcurrent::run(&WorkPools::scanning(), [bitmap, orientation] { return pagesOf(bitmap, orientation); })
        .then([engines, task](const Pages &pages) {
            // Regions are read in parallel, each by whichever engine is free, the longest
            // of each page first. Once the task is cancelled the regions being read stop at
            // their next word and those still queued are passed over without an engine, so
            // the engines are free for the next scan.
            const auto readRegion = [engines, task, pages](const PageRegion &part) -> RegionReading {
                if (task.isCancelled())
                    return RegionSkipped{};
                confineOpenMpToCallingThread();
                const auto lease = engines->acquire(task);
                const ReadingPage &page = *pages[part.page];
                auto lines = lease ? page.reader.read(lease->engine(), page.layout.regions()[part.region], task) : std::nullopt;
                if (!lines && task.isCancelled())
                    return RegionSkipped{};
                return lines;
            };
            QList<PageRegion> parts;
            for (qsizetype p = 0; p < pages.size(); ++p) {
                for (const qsizetype r : pages[p]->regionsRead)
                    parts.append({p, r});
            }
            return QtConcurrent::mapped(&TesseractEnginePool::threads(), parts, readRegion)
                .then([pages, parts](const QFuture<RegionReading> &readings) {
                    QList<QList<RegionReading>> inReadingOrder;
                    for (const auto &page : pages)
                        inReadingOrder.append(QList<RegionReading>(page->layout.regions().size(), RegionSkipped{}));
                    for (qsizetype k = 0; k < parts.size(); ++k)
                        inReadingOrder[parts[k].page][parts[k].region] = readings.resultAt(int(k));
                    return observations(pages, inReadingOrder);
                });
        })
        .unwrap();
}

QList<TextObservation> OCRTextRecognizer::recognizeTextSync(const QImage &bitmap, ImageOrientation orientation,
                                                            const TaskHandle &task) const
{
    return recognizeText(bitmap, orientation, task).result();
}

} // namespace velmora
