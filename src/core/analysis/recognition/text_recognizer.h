#pragma once

#include "core/analysis/import/image_orientation.h"
#include "core/analysis/import/imported_image.h"
#include "core/detection/text_observation.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QImage>
#include <QList>

namespace velmora {

class TesseractEnginePool;

// A text recogniser: turns a bitmap into its recognised lines, in reading order, each
// with its box (normalised, origin bottom-left, in the coordinates of the bitmap as
// it is meant to be seen) and a callback that locates any part of the line.
class TextRecognizing
{
public:
    virtual ~TextRecognizing() = default;

    /// Recognises on the shared background pool. The future fails only with
    /// VelmoraCoreException(textRecognitionFailed); an image without text gives an
    /// empty list. Once `task` is cancelled no further part of the image is read and
    /// the future ends early with the lines read so far. The recogniser must outlive
    /// the future.
    virtual QFuture<QList<TextObservation>> recognizeText(const QImage &bitmap, ImageOrientation orientation,
                                                          const TaskHandle &task) const = 0;

    QFuture<QList<TextObservation>> recognizeText(const ImportedImage &image) const
    {
        return recognizeText(image.image, image.orientation, {});
    }
};

// The on-device recogniser: Tesseract's LSTM engine (English) over a bitmap prepared
// for screen text, with the engine's readings repaired where the pixels prove them
// wrong. A bitmap that sees through is read over white, as a viewer shows it, and
// where it sees through over black too, and gives the lines of both readings. Cheap to
// copy; engines are shared through a TesseractEnginePool, the process's own unless one
// is given.
class OCRTextRecognizer final : public TextRecognizing
{
public:
    explicit OCRTextRecognizer(bool usesLanguageCorrection = true);
    /// Reads with the engines of `engines`, which must outlive every recognition.
    explicit OCRTextRecognizer(TesseractEnginePool &engines);

    /// Whether recognised words may be corrected by language (Tesseract's word dictionaries).
    bool usesLanguageCorrection() const;

    using TextRecognizing::recognizeText;
    QFuture<QList<TextObservation>> recognizeText(const QImage &bitmap, ImageOrientation orientation,
                                                  const TaskHandle &task) const override;

    /// The same recognition, waited for on the calling thread (which must not be a
    /// thread of a pool the recognition uses). Throws VelmoraCoreException(textRecognitionFailed).
    QList<TextObservation> recognizeTextSync(const QImage &bitmap, ImageOrientation orientation = ImageOrientation::up,
                                             const TaskHandle &task = {}) const;
    QList<TextObservation> recognizeTextSync(const ImportedImage &image) const
    {
        return recognizeTextSync(image.image, image.orientation);
    }

private:
    TesseractEnginePool *m_engines;
};

} // namespace velmora
