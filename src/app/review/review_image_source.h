#pragma once

#include "core/analysis/import/imported_image.h"
#include "core/support/task_handle.h"

#include <QByteArray>
#include <QImage>
#include <QDateTime>
#include <QString>

#include <optional>
#include <utility>

namespace velmora {

// Where a batch item's pixels come from, kept small so that a large batch holds no
// bitmaps: the encoded bytes of an image without a file (capture, clipboard, drop,
// sample), or the file with the size, modification time and hash it had at import.
// Decoded on demand, from any thread. A file that changed or went away since import is
// never decoded again: it reads as unreadable.
class ReviewImageSource
{
public:
    ReviewImageSource() = default;
    static ReviewImageSource fromBytes(QByteArray encodedBytes);
    /// The bytes of a lossless PNG of `image`, for an image that exists only decoded.
    static ReviewImageSource encode(const QImage &image);
    /// Imports the file, as the importer does (and throws as it does), and remembers
    /// what it was: the source and the decoded image. Cancelling `task` stops the
    /// decoding early, with invalidImageData.
    static std::pair<ReviewImageSource, ImportedImage> importFile(const QString &path, const TaskHandle &task = TaskHandle());

    /// The image again. Throws VelmoraCoreException as the importer does, and
    /// invalidImageData for a file whose size, modification time or bytes changed, or
    /// once `task` is cancelled.
    ImportedImage decode(const TaskHandle &task = TaskHandle()) const;

    const std::optional<QString> &filePath() const { return m_filePath; }
    const QByteArray &encodedBytes() const { return m_encodedBytes; }

    friend bool operator==(const ReviewImageSource &, const ReviewImageSource &) = default;

private:
    QByteArray m_encodedBytes;
    std::optional<QString> m_filePath;
    qint64 m_fileSize = 0;
    QDateTime m_modified;
    QByteArray m_hash;
};

} // namespace velmora
