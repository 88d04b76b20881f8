// Prints what the recogniser reads in an image file: each line's text, confidence and
// pixel box, and the box the line's callback gives for each word.
//
//   velmora_ocr_probe FILE [--no-language-correction]

#include "core/analysis/import/image_importer.h"
#include "core/analysis/recognition/text_recognizer.h"
#include "core/detection/core_error.h"

#include <QGuiApplication>
#include <QRect>
#include <QStringList>

#include <cstdio>

using namespace velmora;

namespace {

QRect pixelBox(const NormRect &box, const QSize &size)
{
    const double top = (1.0 - box.maxY()) * size.height();
    return QRectF(box.x * size.width(), top, box.width * size.width(), box.height * size.height()).toAlignedRect();
}

QString describe(const QRect &box)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    QStringList files;
    for (const QString &argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-')))
            files.append(argument);
    }
    if (files.size() != 1) {
        std::fprintf(stderr, "usage: velmora_ocr_probe FILE [--no-language-correction]\n");
        return 2;
    }
    try {
        const ImportedImage image = ImageImporter::importImage(files.first());
        const OCRTextRecognizer recognizer(!arguments.contains(QStringLiteral("--no-language-correction")));
        const QList<TextObservation> lines = recognizer.recognizeTextSync(image);
        const QSize size = image.image.size();
        std::printf("%s: %dx%d, %lld lines\n", qPrintable(files.first()), size.width(), size.height(),
                    qlonglong(lines.size()));
        for (const TextObservation &line : lines) {
            std::printf("%.3f %s \"%s\"\n", line.confidence(), qPrintable(describe(pixelBox(line.normalizedBounds(), size))),
                        qPrintable(line.text()));
            qsizetype start = 0;
            const QString &text = line.text();
            while (start < text.size()) {
                while (start < text.size() && text[start].isSpace())
                    ++start;
                qsizetype end = start;
                while (end < text.size() && !text[end].isSpace())
                    ++end;
                if (end > start) {
                    const TextPartBounds part = line.boundsFor(start, end);
                    std::printf("      %s %s %s\n", qPrintable(describe(pixelBox(part.bounds, size))),
                                qPrintable(rawValue(part.precision)), qPrintable(text.mid(start, end - start)));
                }
                start = end;
            }
        }
    } catch (const VelmoraCoreException &error) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(rawValue(error.error())));
        return 1;
    }
    return 0;
}
