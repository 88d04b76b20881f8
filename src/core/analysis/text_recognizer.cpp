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

} // namespace

QFuture<QList<TextObservation>> OCRTextRecognizer::recognizeText(const QImage &bitmap, ImageOrientation orientation) const
{
    const OCRTextRecognizer recognizer = *this;
    return QtConcurrent::run(QThreadPool::globalInstance(),
                             [recognizer, bitmap, orientation] { return recognizer.recognizeTextSync(bitmap, orientation); });
}

QList<TextObservation> OCRTextRecognizer::recognizeTextSync(const QImage &bitmap, ImageOrientation orientation) const
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
    TesseractEnginePool &engines = TesseractEnginePool::shared(m_usesLanguageCorrection);

    // Regions are read in parallel, each by whichever engine is free.
    const auto readRegion = [&](const TextRegion &region) -> std::optional<QList<RecognizedLine>> {
        confineOpenMpToCallingThread();
        const auto lease = engines.acquire();
        if (!lease)
            return std::nullopt;
        return reader.read(lease->engine(), region);
    };
    const QList<std::optional<QList<RecognizedLine>>> regionLines =
        QtConcurrent::blockingMapped(&TesseractEnginePool::threads(), layout.regions(), readRegion);

    QList<TextObservation> observations;
    for (const auto &lines : regionLines) {
        if (!lines)
            throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
        for (const RecognizedLine &line : *lines)
            observations.append(observation(line, page.size()));
    }
    return observations;
}

} // namespace velmora
