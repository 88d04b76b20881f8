#include "core/analysis/text_recognizer.h"

#include "core/analysis/character_bounds.h"
#include "core/analysis/ink_map.h"
#include "core/analysis/region_reader.h"
#include "core/analysis/tesseract_engine_pool.h"
#include "core/analysis/text_layout.h"
#include "core/detection/core_error.h"

#include <QThreadPool>
#include <QtConcurrent>

#include <cmath>
#include <variant>

namespace velmora {

namespace {

// Larger images are recognised at a reduced size: beyond this, memory grows faster
// than legibility (text this large stays legible when reduced).
constexpr qint64 largestWorkingPixelCount = 16'000'000;

QImage workingImage(const QImage &upright)
{
    const qint64 pixels = qint64(upright.width()) * upright.height();
    if (pixels <= largestWorkingPixelCount)
        return upright;
    const double factor = std::sqrt(double(largestWorkingPixelCount) / double(pixels));
    return upright.scaled(std::max(1, int(upright.width() * factor)), std::max(1, int(upright.height() * factor)),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

NormRect normalized(const QRectF &box, const QSize &page)
{
    const double w = page.width();
    const double h = page.height();
    return NormRect(box.x() / w, 1.0 - (box.y() + box.height()) / h, box.width() / w, box.height() / h);
}

TextObservation observation(const RecognizedLine &line, const QSize &page)
{
    QList<RecognizedCharacterBounds> characters;
    characters.reserve(line.characters.size());
    for (const PixelCharacter &character : line.characters)
        characters.append({character.range, normalized(character.box, page)});
    return TextObservation(line.text, normalized(line.box, page), line.confidence,
                           characterBoundsResolver(std::move(characters)));
}

/// A region passed over because the recognition was cancelled.
struct RegionSkipped
{
};

/// What became of one region: its lines, nothing when the engine failed, or skipped.
using RegionReading = std::variant<std::optional<QList<RecognizedLine>>, RegionSkipped>;

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
    const OCRTextRecognizer recognizer = *this;
    return QtConcurrent::run(QThreadPool::globalInstance(), [recognizer, bitmap, orientation, task] {
        return recognizer.recognizeTextSync(bitmap, orientation, task);
    });
}

QList<TextObservation> OCRTextRecognizer::recognizeTextSync(const QImage &bitmap, ImageOrientation orientation,
                                                            const TaskHandle &task) const
{
    const QImage upright = uprightImage(bitmap, orientation);
    if (upright.isNull())
        throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
    const QImage page = workingImage(upright);
    if (page.isNull())
        throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);

    const InkMap ink(page);
    const TextLayout layout(ink);
    const RegionReader reader(ink, layout);

    // Regions are read in parallel, each by whichever engine is free. Once the task is
    // cancelled the regions being read stop at their next word and those still queued
    // are passed over without an engine, so the engines are free for the next scan.
    const auto readRegion = [&](const TextRegion &region) -> RegionReading {
        if (task.isCancelled())
            return RegionSkipped{};
        confineOpenMpToCallingThread();
        const auto lease = m_engines->acquire(task);
        auto lines = lease ? reader.read(lease->engine(), region, task) : std::nullopt;
        if (!lines && task.isCancelled())
            return RegionSkipped{};
        return lines;
    };
    const QList<RegionReading> regionLines =
        QtConcurrent::blockingMapped(&TesseractEnginePool::threads(), layout.regions(), readRegion);

    QList<TextObservation> observations;
    for (const RegionReading &reading : regionLines) {
        if (std::holds_alternative<RegionSkipped>(reading))
            continue;
        const auto &lines = std::get<std::optional<QList<RecognizedLine>>>(reading);
        if (!lines)
            throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
        for (const RecognizedLine &line : *lines)
            observations.append(observation(line, page.size()));
    }
    return observations;
}

} // namespace velmora
