#include "app/protection/clipboard_image.h"

#include "app/kit/log_categories.h"
#include "app/protection/clipboard_access.h"
#include "core/analysis/image_importer.h"
#include "core/analysis/image_input_limits.h"

#include <QMimeDatabase>
#include <QUrl>

namespace velmora {

namespace {

const QString uriListType = QStringLiteral("text/uri-list");

/// Whether the offered MIME type is `type` or an alias of it (image/pjpeg of JPEG,
/// image/heif of HEIC): the MIME database gives both one name.
bool isImageType(const QString &offered, const QString &type)
{
    if (offered == type)
        return true;
    if (!offered.startsWith(QLatin1String("image/")))
        return false;
    const QMimeDatabase database;
    const QMimeType offeredType = database.mimeTypeForName(offered);
    return offeredType.isValid() && offeredType == database.mimeTypeForName(type);
}

/// The offered formats that are image types the importer reads, in order of preference.
QStringList offeredImageTypes(const QStringList &offered)
{
    QStringList types;
    for (const QString &type : clipboardImageTypes()) {
        for (const QString &candidate : offered) {
            if (isImageType(candidate, type) && !types.contains(candidate))
                types.append(candidate);
        }
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

/// The files of the URI list whose names give a supported type. Only the names are
/// looked at: a path may name a pipe, which opening would block on.
QStringList namedImageFiles(const ClipboardAccess &clipboard, const QStringList &offered)
{
    if (!offered.contains(uriListType))
        return {};
    QStringList images;
    for (const QString &path : localFilesOfUriList(clipboard.data(uriListType))) {
        if (ImageImporter::isSupported(path))
            images.append(path);
    }
    return images;
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
    return !offeredImageTypes(offered).isEmpty() || !namedImageFiles(clipboard, offered).isEmpty();
}

ClipboardImageOffer clipboardImageOffer(const ClipboardAccess &clipboard)
{
    const QStringList offered = clipboard.types();
    for (const QString &type : offeredImageTypes(offered)) {
        if (QByteArray bytes = clipboard.data(type); !bytes.isEmpty())
            return {std::move(bytes), {}};
    }
    return {{}, namedImageFiles(clipboard, offered)};
}

std::optional<QByteArray> clipboardImageBytes(const ClipboardImageOffer &offer)
{
    if (!offer.imageBytes.isEmpty())
        return offer.imageBytes;
    for (const QString &path : offer.imageFiles) {
        ImageFileContent file = readImageFile(path);
        if (!file.refusal)
            return std::move(file.bytes);
        qCInfo(lcClipboard) << "A file the clipboard names was refused:" << rawValue(*file.refusal);
    }
    return std::nullopt;
}

} // namespace velmora
