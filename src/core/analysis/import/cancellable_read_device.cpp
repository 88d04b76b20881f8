#include "core/analysis/import/cancellable_read_device.h"

#include "core/analysis/import/jpeg_scan_limits.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

// A JPEG scan can take a tenth of a second over a few dozen bytes, and Qt's JPEG decoder
// asks for 4 KB at a time: shorter reads let a cancel land between scans.
constexpr qint64 kJpegReadBytes = 256;

constexpr QByteArrayView jpegEndOfImage("\xFF\xD9", 2);

} // namespace

CancellableReadDevice::CancellableReadDevice(const QByteArray &data, ImageContentType type, TaskHandle task)
    : m_data(data), m_task(std::move(task)),
      m_quietEnds(type == ImageContentType::jpeg ? jpegScanCost(data).scanEnds : QList<qsizetype>()),
      m_largestRead(type == ImageContentType::jpeg ? kJpegReadBytes : 0)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qsizetype CancellableReadDevice::endFrom(qsizetype offset) const
{
    const auto quiet = std::lower_bound(m_quietEnds.cbegin(), m_quietEnds.cend(), offset);
    return quiet == m_quietEnds.cend() ? m_data.size() : *quiet;
}

qint64 CancellableReadDevice::readData(char *data, qint64 maximumSize)
{
    if (!m_end && m_task.isCancelled())
        m_end = endFrom(pos());
    const qsizetype end = m_end.value_or(m_data.size());
    // Ended before the data does, a JPEG goes on with its end-of-image marker.
    const QByteArrayView tail = end < m_data.size() ? jpegEndOfImage : QByteArrayView();
    const qint64 at = pos();
    const QByteArrayView rest = at < end ? QByteArrayView(m_data).sliced(at, end - at)
                                         : tail.sliced(std::min<qint64>(at - end, tail.size()));
    const qint64 wanted = m_largestRead > 0 ? std::min(maximumSize, m_largestRead) : maximumSize;
    const qint64 count = std::min<qint64>(wanted, rest.size());
    if (count > 0)
        std::memcpy(data, rest.data(), size_t(count));
    return count;
}

} // namespace velmora
