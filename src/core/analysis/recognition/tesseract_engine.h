#pragma once

#include "core/analysis/recognition/recognized_line.h"
#include "core/support/task_handle.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

namespace tesseract {
class TessBaseAPI;
}

namespace velmora {

/// One character as Tesseract reports it, in the pixels of the image it was given.
struct TesseractSymbol
{
    QString text;
    QRect box;
    double confidence = 0; ///< 0 to 1.
    bool startsWord = false;
    /// The other characters Tesseract considered, likeliest first.
    QList<SymbolChoice> alternatives = {};

    friend bool operator==(const TesseractSymbol &, const TesseractSymbol &) = default;
};

/// One line as Tesseract reports it, in the pixels of the image it was given.
struct TesseractLine
{
    QRect box;
    QList<TesseractSymbol> symbols;

    friend bool operator==(const TesseractLine &, const TesseractLine &) = default;
};

/// Keeps Tesseract's OpenMP work on the calling thread. Each recognising thread
/// calls this before it runs an engine: parallelism comes from running engines side
/// by side, and OpenMP teams inside each engine would only compete with them (and
/// spin when the machine is busy). Tesseract asks for its teams with an explicit
/// thread count, which overrides omp_set_num_threads; only a limit of zero active
/// parallel levels makes those teams run on the calling thread alone.
void confineOpenMpToCallingThread();

/// Whether Tesseract reports its other choices for each character: they cost about a
/// third more time, so a line is read with them only when it needs them.
enum class TesseractChoices { best, withAlternatives };

/// How Tesseract should read the image it is given.
enum class TesseractLayout {
    singleLine, ///< The image holds one line of text.
    block,      ///< The image holds a block of lines of one size.
};

// One initialised Tesseract engine (LSTM only, English). Not thread-safe: one engine
// serves one recognition at a time; TesseractEnginePool hands engines out.
class TesseractEngine
{
public:
    /// The folder of Debian's English model.
    static QString dataPath();

    /// A ready engine, or nothing when the model cannot be loaded. Without language
    /// correction the word dictionaries are not loaded.
    static std::unique_ptr<TesseractEngine> create(bool usesLanguageCorrection);

    ~TesseractEngine();
    TesseractEngine(const TesseractEngine &) = delete;
    TesseractEngine &operator=(const TesseractEngine &) = delete;

    bool usesLanguageCorrection() const { return m_usesLanguageCorrection; }

    /// Recognises an 8-bit grey image of dark text on a light ground. Nothing when
    /// Tesseract fails or stops because `task` was cancelled (it asks between words);
    /// an empty list when it finds no text.
    std::optional<QList<TesseractLine>> recognize(const QImage &grey, TesseractLayout layout,
                                                  const TaskHandle &task = {},
                                                  TesseractChoices choices = TesseractChoices::best);

private:
    TesseractEngine(std::unique_ptr<tesseract::TessBaseAPI> api, bool usesLanguageCorrection);
    QList<TesseractLine> readLines(TesseractChoices choices) const;

    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    bool m_usesLanguageCorrection;
};

} // namespace velmora
