#include "app/review/review_image_source.h"

#include "core/analysis/import/image_importer.h"
#include "core/analysis/import/image_input_limits.h"
#include "core/detection/core_error.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>

namespace velmora {

namespace {

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
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

std::pair<ReviewImageSource, ImportedImage> ReviewImageSource::importFile(const QString &path, const TaskHandle &task)
{
    ImportedFile file = ImageImporter::importFile(path, task);
    const QFileInfo info(path);
    ReviewImageSource source;
    source.m_filePath = path;
    source.m_fileSize = info.size();
    source.m_modified = info.lastModified();
    // The bytes decoded are the bytes remembered: the file is read once.
    source.m_hash = hashOf(file.bytes);
    return {std::move(source), std::move(file.image)};
}

ImportedImage ReviewImageSource::decode(const TaskHandle &task) const
{
    if (!m_filePath)
        return ImageImporter::importImage(m_encodedBytes, task);
    const QFileInfo info(*m_filePath);
    if (!info.isFile() || info.size() != m_fileSize || info.lastModified() != m_modified)
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    // Read as the importer reads a file, within its limits; the bytes checked are the
    // bytes decoded, so a change after the check cannot slip in.
    const ImageFileContent file = readImageFile(*m_filePath);
    if (file.refusal || hashOf(file.bytes) != m_hash)
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    return ImageImporter::importImage(file.bytes, task);
}

} // namespace velmora
