#include "app/review/review_image_source.h"

#include "core/analysis/image_importer.h"
#include "core/detection/core_error.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::optional<QByteArray> readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

ReviewImageSource ReviewImageSource::fromBytes(QByteArray encodedBytes)
{
    ReviewImageSource source;
    source.m_encodedBytes = std::move(encodedBytes);
    return source;
}

ReviewImageSource ReviewImageSource::encode(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return fromBytes(std::move(bytes));
}

std::pair<ReviewImageSource, ImportedImage> ReviewImageSource::importFile(const QString &path)
{
    // One read: the fingerprint is of the bytes that were decoded, so a file written
    // again meanwhile reads as changed.
    ImportedFile file = ImageImporter::importFile(path);
    const QFileInfo info(path);
    ReviewImageSource source;
    source.m_filePath = path;
    source.m_fileSize = info.size();
    source.m_modified = info.lastModified();
    source.m_hash = hashOf(file.bytes);
    return {std::move(source), std::move(file.image)};
}

ImportedImage ReviewImageSource::decode() const
{
    if (!m_filePath)
        return ImageImporter::importImage(m_encodedBytes);
    const QFileInfo info(*m_filePath);
    if (!info.isFile() || info.size() != m_fileSize || info.lastModified() != m_modified)
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    const std::optional<QByteArray> bytes = readAll(*m_filePath);
    // The bytes checked are the bytes decoded: a change after the check cannot slip in.
    if (!bytes || hashOf(*bytes) != m_hash)
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    return ImageImporter::importImage(*bytes);
}

} // namespace velmora
