// velmora_render_probe IN OUT x,y,w,h...
// Renders IN with the given normalised boxes (origin bottom-left) filled black, writes
// the cleaned PNG to OUT and prints the PNG's chunk list, to show that nothing of the
// source's metadata reaches the output.

#include "core/detection/core_error.h"
#include "core/redaction/redaction_renderer.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QImageReader>
#include <QSaveFile>
#include <QTextStream>
#include <QtEndian>

#include <optional>

using namespace velmora;

namespace {

std::optional<NormRect> parseBox(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return NormRect(values[0], values[1], values[2], values[3]);
}

// The chunk types in file order, a run of equal types on one line with its count and
// data bytes; false when the bytes are no well-formed PNG.
bool printChunks(const QByteArray &png, QTextStream &out)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!png.startsWith(signature))
        return false;
    QString runType;
    int runCount = 0;
    qint64 runBytes = 0;
    const auto flush = [&] {
        if (runCount > 0)
            out << runType << " x" << runCount << ", " << runBytes << " data bytes\n";
    };
    qsizetype offset = signature.size();
    while (offset + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + offset);
        const QString type = QString::fromLatin1(png.mid(offset + 4, 4));
        if (type != runType) {
            flush();
            runType = type;
            runCount = 0;
            runBytes = 0;
        }
        ++runCount;
        runBytes += length;
        offset += 12 + qsizetype(length);
    }
    flush();
    return offset == png.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        err << "usage: velmora_render_probe IN OUT x,y,w,h...\n";
        return 2;
    }

    QList<Detection> detections;
    for (const QString &text : args.mid(2)) {
        const auto box = parseBox(text);
        if (!box) {
            err << "not a box x,y,w,h: " << text << '\n';
            return 2;
        }
        Detection detection;
        detection.normalizedBounds = *box;
        detections.append(detection);
    }

    QImageReader reader(args[0]);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        err << "cannot read " << args[0] << ": " << reader.errorString() << '\n';
        return 1;
    }

    QByteArray png;
    try {
        png = RedactionRenderer::pngData(detections, image, Qt::black);
    } catch (const VelmoraCoreException &exception) {
        err << "rendering failed: " << rawValue(exception.error()) << '\n';
        return 1;
    }

    QSaveFile file(args[1]);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        err << "cannot write " << args[1] << ": " << file.errorString() << '\n';
        return 1;
    }

    out << "source text keys: " << image.textKeys().join(u' ') << '\n'
        << "source colour space: " << (image.colorSpace().isValid() ? image.colorSpace().description() : QStringLiteral("none")) << '\n'
        << "output " << args[1] << ", " << png.size() << " bytes, chunks:\n";
    if (!printChunks(png, out)) {
        err << "the output is no well-formed PNG\n";
        return 1;
    }
    return 0;
}
