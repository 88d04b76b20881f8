#include "app/protection/clipboard_image.h"

#include "app/kit/log_categories.h"
#include "app/protection/clipboard_access.h"
#include "core/analysis/import/image_importer.h"
#include "core/analysis/import/image_input_limits.h"

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

// A URI list is read up to this many bytes: tens of thousands of names.
constexpr qint64 kMaximumUriListBytes = 16 * 1024 * 1024;

/// Reads the files of a URI list, if one is offered, whose names give a supported type.
/// Only the names are looked at: a path may name a pipe, which opening would block on.
void readNamedImageFiles(ClipboardAccess &clipboard, const QStringList &offered, QObject *context,
                         std::function<void(const QStringList &files)> done)
{
    if (!offered.contains(uriListType)) {
        done({});
        return;
    }
    clipboard.readData(uriListType, kMaximumUriListBytes, context, [done = std::move(done)](const ClipboardData &data) {
        QStringList images;
        for (const QString &path : localFilesOfUriList(data.bytes)) {
            if (ImageImporter::isSupported(path))
                images.append(path);
        }
        done(images);
    });
}

/// Reads the offered image types from `index` on until one has bytes; without any, the
/// image files a URI list names.
void readImageOfferFrom(ClipboardAccess &clipboard, const QStringList &offered, qsizetype index, QObject *context,
                        std::function<void(const ClipboardImageOffer &offer)> done)
{
    const QStringList imageTypes = offeredImageTypes(offered);
    if (index >= imageTypes.size()) {
        readNamedImageFiles(clipboard, offered, context,
                            [done = std::move(done)](const QStringList &files) { done({{}, files, false}); });
        return;
    }
    clipboard.readData(imageTypes[index], kMaximumImageFileBytes, context,
                       [&clipboard, offered, index, context, done = std::move(done)](const ClipboardData &data) {
                           if (data.tooLarge)
                               qCInfo(lcClipboard) << "The clipboard offers an image past the size limit";
                           if (data.tooLarge || !data.bytes.isEmpty())
                               done({data.bytes, {}, data.tooLarge});
                           else
                               readImageOfferFrom(clipboard, offered, index + 1, context, done);
                       });
}

} // namespace

const QStringList &clipboardImageTypes()
{
    static const QStringList types{QStringLiteral("image/png"), QStringLiteral("image/tiff"),
                                   QStringLiteral("image/jpeg"), QStringLiteral("image/heic")};
    return types;
}

void readWhetherClipboardContainsImage(ClipboardAccess &clipboard, QObject *context, std::function<void(bool)> done)
{
    clipboard.readTypes(context, [&clipboard, context, done = std::move(done)](const QStringList &offered) {
        if (!offeredImageTypes(offered).isEmpty()) {
            done(true);
            return;
        }
        readNamedImageFiles(clipboard, offered, context, [done](const QStringList &files) { done(!files.isEmpty()); });
    });
}

void readClipboardImageOffer(ClipboardAccess &clipboard, QObject *context,
                             std::function<void(const ClipboardImageOffer &offer)> done)
{
    clipboard.readTypes(context, [&clipboard, context, done = std::move(done)](const QStringList &offered) {
        readImageOfferFrom(clipboard, offered, 0, context, done);
    });
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
