#include "core/analysis/recognition/tesseract_engine.h"

#include "core/support/log_categories.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <omp.h>

#include <vector>

namespace velmora {

namespace {

struct TextDeleter { void operator()(char *text) const { delete[] text; } };
using TesseractText = std::unique_ptr<char, TextDeleter>;

QString takeText(char *text)
{
    const TesseractText owned(text);
    return owned ? QString::fromUtf8(owned.get()) : QString();
}

QRect boxAt(const tesseract::ResultIterator &it, tesseract::PageIteratorLevel level)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!it.BoundingBox(level, &left, &top, &right, &bottom))
        return {};
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

void confineOpenMpToCallingThread()
{
    omp_set_num_threads(1);
    omp_set_max_active_levels(0);
}

QString TesseractEngine::dataPath()
{
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

std::unique_ptr<TesseractEngine> TesseractEngine::create(bool usesLanguageCorrection)
{
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // Dictionaries can only be chosen when the engine starts. The LSTM engine loads its
    // own dictionaries (words, punctuation, numbers) only when it searches with them.
    std::vector<std::string> names{"lstm_use_matrix"};
    std::vector<std::string> values{usesLanguageCorrection ? "1" : "0"};
    const QByteArray path = dataPath().toLocal8Bit();
    if (api->Init(path.constData(), "eng", tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) != 0) {
        qCWarning(lcOcr) << "The English text recognition model could not be loaded from" << dataPath();
        return nullptr;
    }
    // The recogniser decides polarity itself, and Tesseract's diagnostics have no reader.
    api->SetVariable("tessedit_do_invert", "0");
    api->SetVariable("debug_file", "/dev/null");
    return std::unique_ptr<TesseractEngine>(new TesseractEngine(std::move(api), usesLanguageCorrection));
}

TesseractEngine::TesseractEngine(std::unique_ptr<tesseract::TessBaseAPI> api, bool usesLanguageCorrection)
    : m_api(std::move(api)), m_usesLanguageCorrection(usesLanguageCorrection)
{
}

TesseractEngine::~TesseractEngine()
{
    m_api->End();
}

std::optional<QList<TesseractLine>> TesseractEngine::recognize(const QImage &grey, TesseractLayout layout,
                                                               const TaskHandle &task, TesseractChoices choices)
{
    Q_ASSERT(grey.format() == QImage::Format_Grayscale8);
    m_api->SetPageSegMode(layout == TesseractLayout::singleLine ? tesseract::PSM_RAW_LINE
                                                               : tesseract::PSM_SINGLE_BLOCK);
    m_api->SetImage(grey.constBits(), grey.width(), grey.height(), 1, int(grey.bytesPerLine()));
    m_api->SetSourceResolution(300);
    // The network's other choices for each character, for the reader to weigh where
    // the likeliest one cannot stand (a letter that no token holds, say).
    m_api->SetVariable("lstm_choice_mode", choices == TesseractChoices::withAlternatives ? "2" : "0");
    tesseract::ETEXT_DESC monitor;
    monitor.cancel_this = const_cast<TaskHandle *>(&task);
    monitor.cancel = [](void *handle, int) { return static_cast<const TaskHandle *>(handle)->isCancelled(); };
    if (m_api->Recognize(&monitor) != 0) {
        m_api->Clear();
        return std::nullopt;
    }

    QList<TesseractLine> lines = readLines(choices);
    m_api->Clear();
    lines.removeIf([](const TesseractLine &line) { return line.symbols.isEmpty(); });
    return lines;
}

QList<TesseractLine> TesseractEngine::readLines(TesseractChoices choices) const
{
    QList<TesseractLine> lines;
    const std::unique_ptr<tesseract::ResultIterator> it(m_api->GetIterator());
    if (it && !it->Empty(tesseract::RIL_SYMBOL)) {
        do {
            if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE))
                lines.append(TesseractLine{boxAt(*it, tesseract::RIL_TEXTLINE), {}});
            if (lines.isEmpty())
                continue;
            TesseractSymbol symbol{takeText(it->GetUTF8Text(tesseract::RIL_SYMBOL)),
                                   boxAt(*it, tesseract::RIL_SYMBOL),
                                   it->Confidence(tesseract::RIL_SYMBOL) / 100.0,
                                   it->IsAtBeginningOf(tesseract::RIL_WORD)};
            if (symbol.text.isEmpty())
                continue;
            if (choices == TesseractChoices::withAlternatives) {
                tesseract::ChoiceIterator choice(*it);
                do {
                    const QString text = QString::fromUtf8(choice.GetUTF8Text());
                    // Tesseract gives the choices' certainties in percent, as its symbols'.
                    if (!text.isEmpty() && text != symbol.text)
                        symbol.alternatives.append({text, choice.Confidence() / 100.0});
                } while (choice.Next());
            }
            lines.last().symbols.append(std::move(symbol));
        } while (it->Next(tesseract::RIL_SYMBOL));
    }
    return lines;
}

} // namespace velmora
