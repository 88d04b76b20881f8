#include "app/protection/clipboard_image.h"

#include "app/kit/log_categories.h"
#include "app/protection/clipboard_access.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QUrl>

namespace velmora {

namespace {

const QString uriListType = QStringLiteral("text/uri-list");

// Image formats beyond the preferred ones that Qt can decode (BMP, GIF, ...).
QStringList otherDecodableImageTypes(const QStringList &offered)
{
    static const QList<QByteArray> decodable = QImageReader::supportedMimeTypes();
    QStringList types;
    for (const QString &type : offered) {
        if (type.startsWith(QLatin1String("image/")) && !clipboardImageTypes().contains(type)
            && decodable.contains(type.toLatin1()))
            types.append(type);
    }
    return types;
}

QStringList localFilesOfUriList(const QByteArray &uriList)
{
    QStringList paths;
    for (const QByteArray &line : uriList.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue;
        const QUrl url = QUrl::fromEncoded(trimmed);
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

QStringList namedImageFiles(const ClipboardAccess &clipboard, const QStringList &offered)
{
    if (!offered.contains(uriListType))
        return {};
    QStringList images;
    for (const QString &path : localFilesOfUriList(clipboard.data(uriListType))) {
        if (QImageReader(path).canRead())
            images.append(path);
    }
    return images;
}

QImage readUpright(QImageReader &reader)
{
    reader.setAutoTransform(true);
    return reader.read();
}

// The first image the clipboard can be read as: an offered format Qt decodes, then the
// files a URI list names.
QImage firstReadableImage(const ClipboardAccess &clipboard, const QStringList &offered)
{
    for (const QString &type : otherDecodableImageTypes(offered)) {
        QByteArray bytes = clipboard.data(type);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        if (QImage image = readUpright(reader); !image.isNull())
            return image;
    }
    for (const QString &path : namedImageFiles(clipboard, offered)) {
        QImageReader reader(path);
        if (QImage image = readUpright(reader); !image.isNull())
            return image;
    }
    return {};
}

std::optional<QByteArray> tiffRepresentation(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "tiff");
    if (!writer.write(image)) {
        qCWarning(lcClipboard) << "Could not encode a clipboard image as TIFF:" << writer.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace

const QStringList &clipboardImageTypes()
{
    static const QStringList types{QStringLiteral("image/png"), QStringLiteral("image/tiff"),
                                   QStringLiteral("image/jpeg"), QStringLiteral("image/heic")};
    return types;
}

bool clipboardContainsImage(const ClipboardAccess &clipboard)
{
    const QStringList offered = clipboard.types();
    for (const QString &type : clipboardImageTypes()) {
        if (offered.contains(type))
            return true;
    }
    return !otherDecodableImageTypes(offered).isEmpty() || !namedImageFiles(clipboard, offered).isEmpty();
}

std::optional<QByteArray> clipboardImageData(const ClipboardAccess &clipboard)
{
    const QStringList offered = clipboard.types();
    for (const QString &type : clipboardImageTypes()) {
        if (!offered.contains(type))
            continue;
        if (QByteArray bytes = clipboard.data(type); !bytes.isEmpty())
            return bytes;
    }
    const QImage image = firstReadableImage(clipboard, offered);
    if (image.isNull())
        return std::nullopt;
    return tiffRepresentation(image);
}

} // namespace velmora
