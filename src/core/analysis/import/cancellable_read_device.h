#pragma once

#include "core/support/task_handle.h"

#include <QByteArray>
#include <QIODevice>

namespace velmora {

// Read-only, random-access bytes in memory that stop giving any once their task is
// cancelled: a decoder reading through it meets an error, or the end of the data, at
// its next read and ends early. Deliberately not a QBuffer, which Qt's JPEG decoder
// reads in one go, past any check.
class CancellableReadDevice final : public QIODevice
{
public:
    /// `largestRead`, when above zero, caps the bytes one read gives, for a decoder that
    /// takes short reads and does much work on few bytes: it then asks again soon.
    CancellableReadDevice(const QByteArray &data, TaskHandle task, qint64 largestRead = 0);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char *data, qint64 maximumSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray m_data;
    const TaskHandle m_task;
    const qint64 m_largestRead;
};

} // namespace velmora
