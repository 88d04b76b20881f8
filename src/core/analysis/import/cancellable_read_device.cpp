#include "core/analysis/import/cancellable_read_device.h"

#include <algorithm>
#include <cstring>

namespace velmora {

CancellableReadDevice::CancellableReadDevice(const QByteArray &data, TaskHandle task, qint64 largestRead)
    : m_data(data), m_task(std::move(task)), m_largestRead(largestRead)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 CancellableReadDevice::readData(char *data, qint64 maximumSize)
{
    if (m_task.isCancelled())
        return -1;
    const qint64 wanted = m_largestRead > 0 ? std::min(maximumSize, m_largestRead) : maximumSize;
    const qint64 count = std::clamp<qint64>(m_data.size() - pos(), 0, wanted);
    std::memcpy(data, m_data.constData() + pos(), size_t(count));
    return count;
}

} // namespace velmora
