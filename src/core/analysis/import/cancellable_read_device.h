#pragma once

#include "core/analysis/import/supported_image_types.h"
#include "core/support/task_handle.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

#include <optional>

namespace velmora {

// The encoded bytes of an image as its Qt decoder reads them: read-only, random access,
// and, once their task is cancelled, ending early where that decoder meets the end of
// the data without printing a complaint. A JPEG ends after the scan being read, with an
// end-of-image marker, so that a cancel lands between its scans, of which it may hold a
// hundred, each taking up to a tenth of a second (cut inside a scan, the decoder warns of
// corrupt data). The PNG and TIFF decoders print an error on any read cut short, straight
// to the terminal: those are read to their end, and the importer stops between its steps
// instead. Deliberately not a QBuffer, which Qt's JPEG decoder reads in one go, past any
// check.
class CancellableReadDevice final : public QIODevice
{
public:
    CancellableReadDevice(const QByteArray &data, ImageContentType type, TaskHandle task);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char *data, qint64 maximumSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    /// Where the data ends once the task is cancelled: the first quiet end from `offset` on.
    qsizetype endFrom(qsizetype offset) const;

    const QByteArray m_data;
    const TaskHandle m_task;
    /// Where the data may end quietly before its own end: a JPEG's scan ends.
    const QList<qsizetype> m_quietEnds;
    /// The most bytes one read gives, for a decoder that takes short reads and does much
    /// work on few bytes (a JPEG scan): it then asks again soon. None when zero.
    const qint64 m_largestRead;
    /// Where the data ends, fixed at the first read after the task was cancelled.
    std::optional<qsizetype> m_end;
};

} // namespace velmora
