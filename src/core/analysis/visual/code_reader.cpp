// The reader's text accessors change type between releases; ask for the UTF-8 form.
#define ZX_USE_UTF8

#include "core/analysis/visual/code_reader.h"
#include "core/support/log_categories.h"

#include "core/detection/core_error.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace velmora {

namespace {

// A neighbouring line of a linear code may differ from the decoded line in this share
// of its pixels (anti-aliasing, scaling) and still belong to the symbol.
constexpr int kLineMismatchPercent = 10;
// A symbol already read is blanked out with this margin before the next read.
constexpr int kMaskMargin = 2;
// The most matrix codes the reader returns from one read (its own maximum).
constexpr int kMatrixReadLimit = 255;

struct Sighting
{
    CodeSighting code;
    ZXing::BarcodeFormat format = ZXing::BarcodeFormat::None;
    ZXing::ByteArray content;
};

ZXing::Results read(const QImage &grey, ZXing::BarcodeFormats formats, int limit)
{
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    // Screenshots need no downscaled pass, and the library's merge of a linear code
    // found on two layers trips an assertion that aborts the process.
    hints.setTryDownscale(false);
    hints.setMaxNumberOfSymbols(static_cast<uint8_t>(limit));
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                grey.bytesPerLine());
    return ZXing::ReadBarcodes(view, hints);
}

/// The smallest and largest coordinates of the four corners.
struct Extent
{
    int minX, maxX, minY, maxY;
};

Extent extentOf(const ZXing::Position &position)
{
    Extent extent{position[0].x, position[0].x, position[0].y, position[0].y};
    for (const auto &corner : position) {
        extent.minX = std::min(extent.minX, corner.x);
        extent.maxX = std::max(extent.maxX, corner.x);
        extent.minY = std::min(extent.minY, corner.y);
        extent.maxY = std::max(extent.maxY, corner.y);
    }
    return extent;
}

/// The corners of a matrix code are the outer edges of its modules.
QRect cornerBounds(const ZXing::Position &position, const QRect &image)
{
    const Extent extent = extentOf(position);
    return QRect(extent.minX, extent.minY, extent.maxX - extent.minX, extent.maxY - extent.minY) & image;
}

// A linear code comes back as the scan lines that decoded it: first and last pixel
// of the bars, inclusive, over only the lines the reader sampled. A single untouched
// line of bars still scans, so the box grows across every neighbouring line that
// carries the same bars.
QRect wholeLinearSymbol(const QImage &grey, const ZXing::Result &result)
{
    const Extent extent = extentOf(result.position());
    const int minX = std::clamp(extent.minX, 0, grey.width() - 1);
    const int maxX = std::clamp(extent.maxX, 0, grey.width() - 1);
    const int minY = std::clamp(extent.minY, 0, grey.height() - 1);
    const int maxY = std::clamp(extent.maxY, 0, grey.height() - 1);

    // Along = the direction of the scan lines; across = the direction of the bars.
    const int angle = ((result.orientation() % 360) + 360) % 360;
    const bool scansColumns = angle == 90 || angle == 270;
    const int alongFirst = scansColumns ? minY : minX;
    const int alongLast = scansColumns ? maxY : maxX;
    int acrossFirst = scansColumns ? minX : minY;
    int acrossLast = scansColumns ? maxX : maxY;
    const int acrossEnd = scansColumns ? grey.width() : grey.height();
    const auto pixel = [&](int along, int across) -> int {
        return scansColumns ? grey.constScanLine(along)[across] : grey.constScanLine(across)[along];
    };

    const int reference = (acrossFirst + acrossLast) / 2;
    int darkest = 255, lightest = 0;
    for (int along = alongFirst; along <= alongLast; ++along) {
        darkest = std::min(darkest, pixel(along, reference));
        lightest = std::max(lightest, pixel(along, reference));
    }
    const int threshold = (darkest + lightest + 1) / 2;
    const int length = alongLast - alongFirst + 1;
    std::vector<bool> referenceBars(static_cast<size_t>(length));
    for (int along = alongFirst; along <= alongLast; ++along)
        referenceBars[static_cast<size_t>(along - alongFirst)] = pixel(along, reference) < threshold;

    const auto carriesSameBars = [&](int across) {
        int mismatches = 0;
        for (int along = alongFirst; along <= alongLast; ++along)
            mismatches += (pixel(along, across) < threshold) != referenceBars[static_cast<size_t>(along - alongFirst)];
        return mismatches * 100 <= length * kLineMismatchPercent;
    };
    while (acrossFirst > 0 && carriesSameBars(acrossFirst - 1))
        --acrossFirst;
    while (acrossLast + 1 < acrossEnd && carriesSameBars(acrossLast + 1))
        ++acrossLast;

    return scansColumns ? QRect(QPoint(acrossFirst, alongFirst), QPoint(acrossLast, alongLast))
                        : QRect(QPoint(alongFirst, acrossFirst), QPoint(alongLast, acrossLast));
}

/// Paints the box (with a margin) as quiet background; true when a pixel changed.
bool blankOut(QImage &work, const QRect &box)
{
    const QRect area = box.adjusted(-kMaskMargin, -kMaskMargin, kMaskMargin, kMaskMargin) & work.rect();
    bool changed = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uchar *row = work.scanLine(y) + area.left();
        changed = changed || std::any_of(row, row + area.width(), [](uchar value) { return value != 255; });
        std::memset(row, 255, static_cast<size_t>(area.width()));
    }
    return changed;
}

/// Keeps each symbol once: the same content in the same format where a box already
/// touches it only widens that box.
void addSighting(QList<Sighting> &sightings, Sighting found)
{
    for (auto &known : sightings) {
        if (known.format == found.format && known.content == found.content
            && known.code.bounds.adjusted(-1, -1, 1, 1).intersects(found.code.bounds)) {
            known.code.bounds |= found.code.bounds;
            return;
        }
    }
    sightings.append(std::move(found));
}

enum class Symbols { matrix, linear };

// Reads until nothing new turns up, blanking out each symbol once read. Debian's
// reader aborts the process when one read holds two equal linear codes, so linear
// codes are read one per read; matrix codes compare safely and come many per read.
void readExhaustively(QImage work, Symbols symbols, const TaskHandle &task, QList<Sighting> &sightings)
{
    const bool linear = symbols == Symbols::linear;
    const auto formats = linear ? ZXing::BarcodeFormat::LinearCodes : ZXing::BarcodeFormat::MatrixCodes;
    const int limit = linear ? 1 : kMatrixReadLimit;
    while (!task.isCancelled()) {
        const auto results = read(work, formats, limit);
        bool changed = false;
        for (const auto &result : results) {
            if (!result.isValid())
                continue;
            const QRect box = linear ? wholeLinearSymbol(work, result) : cornerBounds(result.position(), work.rect());
            addSighting(sightings, {{QString::fromLatin1(ZXing::ToString(result.format())), box},
                                    result.format(), result.bytes()});
            changed = blankOut(work, box) || changed;
        }
        if (static_cast<int>(results.size()) < limit || !changed)
            return;
    }
}

void readPolarity(const QImage &grey, const TaskHandle &task, QList<Sighting> &sightings)
{
    readExhaustively(grey, Symbols::matrix, task, sightings);
    readExhaustively(grey, Symbols::linear, task, sightings);
}

} // namespace

QList<CodeSighting> readCodes(const QImage &grey, const TaskHandle &task)
{
    Q_ASSERT(grey.format() == QImage::Format_Grayscale8);
    QList<Sighting> sightings;
    try {
        readPolarity(grey, task, sightings);
        if (!task.isCancelled()) {
            // The reader only sees dark modules on a light ground.
            QImage inverse = grey.copy();
            inverse.invertPixels();
            readPolarity(inverse, task, sightings);
        }
    } catch (const std::exception &error) {
        qCWarning(lcVisual) << "Code reading failed:" << error.what();
        throw VelmoraCoreException(VelmoraCoreError::visualDetectionFailed);
    }

    QList<CodeSighting> codes;
    codes.reserve(sightings.size());
    for (const auto &sighting : sightings)
        codes.append(sighting.code);
    return codes;
}

} // namespace velmora
