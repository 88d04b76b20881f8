#include "core/analysis/import/image_input_limits.h"

#include "core/support/file_descriptor.h"

#include <QFile>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velmora {

namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype kPngSignatureLength = 8;
// Length, type and CRC around each chunk's data.
constexpr qint64 kPngChunkFrame = 12;
// PNG limits a chunk's length to 2^31 - 1.
constexpr quint32 kPngLargestChunk = 0x7fffffff;

// Reads at most `limit` + 1 bytes, so that a file that grew past the limit is noticed.
std::optional<QByteArray> readUpTo(int fd, qint64 expected, qint64 limit)
{
    QByteArray bytes(qsizetype(std::min(expected, limit) + 1), Qt::Uninitialized);
    qint64 filled = 0;
    while (filled <= limit) {
        if (filled == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(bytes.size() * 2, limit + 1)));
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(qsizetype(filled));
    return bytes;
}

} // namespace

std::optional<ImageInputRefusal> declaredSizeRefusal(QSize declared)
{
    if (!declared.isValid() || declared.isEmpty())
        return ImageInputRefusal::undeclaredSize;
    if (qint64(declared.width()) * qint64(declared.height()) > kMaximumImagePixels)
        return ImageInputRefusal::tooManyPixels;
    return std::nullopt;
}

std::optional<ImageInputRefusal> decodedBytesRefusal(QSize declared, QImage::Format format)
{
    const int bitsPerPixel = QImage::toPixelFormat(format).bitsPerPixel();
    if (format == QImage::Format_Invalid || bitsPerPixel <= 0)
        return ImageInputRefusal::undeclaredSize;
    if (const auto refusal = declaredSizeRefusal(declared))
        return refusal;
    const qint64 bytes = qint64(declared.width()) * qint64(declared.height()) * bitsPerPixel / 8;
    if (bytes > kMaximumDecodedImageBytes)
        return ImageInputRefusal::tooManyBytes;
    return std::nullopt;
}

std::optional<ImageInputRefusal> pngChunkRefusal(const QByteArray &data)
{
    if (data.size() < kPngSignatureLength || std::memcmp(data.constData(), kPngSignature, kPngSignatureLength) != 0)
        return std::nullopt;
    qint64 offset = kPngSignatureLength;
    const qint64 size = data.size();
    // Fewer bytes than a chunk header left: the decoder reports the truncation itself.
    while (size - offset >= 8) {
        const quint32 length = qFromBigEndian<quint32>(data.constData() + offset);
        if (length > kPngLargestChunk || offset + kPngChunkFrame + qint64(length) > size)
            return ImageInputRefusal::chunkPastEnd;
        if (std::memcmp(data.constData() + offset + 4, "IEND", 4) == 0)
            break;
        offset += kPngChunkFrame + qint64(length);
    }
    return std::nullopt;
}

ImageFileContent readImageFile(const QString &path, qint64 maximumBytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return {{}, ImageInputRefusal::unreadableFile};
    if (!S_ISREG(info.st_mode))
        return {{}, ImageInputRefusal::notRegularFile};
    if (info.st_size > maximumBytes)
        return {{}, ImageInputRefusal::fileTooLarge};

    // The path may have been replaced since: what was opened is examined again, and a
    // pipe put in its place does not block the open.
    const FileDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0)
        return {{}, ImageInputRefusal::unreadableFile};
    if (!S_ISREG(info.st_mode))
        return {{}, ImageInputRefusal::notRegularFile};
    std::optional<QByteArray> bytes = readUpTo(file.fd(), info.st_size, maximumBytes);
    if (!bytes)
        return {{}, ImageInputRefusal::unreadableFile};
    if (bytes->size() > maximumBytes)
        return {{}, ImageInputRefusal::fileTooLarge};
    return {std::move(*bytes), std::nullopt};
}

} // namespace velmora
