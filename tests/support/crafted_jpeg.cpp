#include "crafted_jpeg.h"

#include <QList>

#include <algorithm>
#include <cstdint>

namespace velmora::test {

namespace {

// Entropy-coded bits, with a zero stuffed after every 0xFF byte.
class BitWriter
{
public:
    void put(std::uint32_t bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = std::uint8_t((m_byte << 1) | ((bits >> i) & 1));
            if (++m_count == 8) {
                m_bytes.append(char(m_byte));
                if (m_byte == 0xFF)
                    m_bytes.append('\0');
                m_byte = 0;
                m_count = 0;
            }
        }
    }
    /// The bytes, the last one padded with one-bits.
    QByteArray finish()
    {
        while (m_count != 0)
            put(1, 1);
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint8_t m_byte = 0;
    int m_count = 0;
};

void appendBigEndian16(QByteArray &out, int value)
{
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

QByteArray segment(std::uint8_t marker, const QByteArray &body)
{
    QByteArray out;
    out.append(char(0xFF));
    out.append(char(marker));
    appendBigEndian16(out, int(body.size()) + 2);
    return out + body;
}

// DC table: one code, "0", for a difference of zero.
QByteArray dcTable()
{
    QByteArray body(1, '\x00');
    QByteArray counts(16, '\0');
    counts[0] = 1;
    return segment(0xC4, body + counts + QByteArray(1, '\x00'));
}

// AC table: end-of-band runs only. EOB14 (runs of 16384 to 32767 blocks) is "0"; EOB0 to
// EOB13 are five-bit codes from "10000".
QByteArray acTable()
{
    QByteArray body(1, '\x10');
    QByteArray counts(16, '\0');
    counts[0] = 1;
    counts[4] = 14;
    QByteArray symbols(1, char(0xE0));
    for (int run = 0; run < 14; ++run)
        symbols.append(char(run << 4));
    return segment(0xC4, body + counts + symbols);
}

// Codes `blocks` empty blocks as end-of-band runs.
QByteArray emptyBlocks(qint64 blocks)
{
    BitWriter bits;
    while (blocks >= 16384) {
        const qint64 run = std::min<qint64>(blocks, 32767);
        bits.put(0, 1);
        bits.put(std::uint32_t(run - 16384), 14);
        blocks -= run;
    }
    if (blocks > 0) {
        int exponent = 0;
        while ((qint64(1) << (exponent + 1)) <= blocks)
            ++exponent;
        bits.put(std::uint32_t(16 + exponent), 5);
        bits.put(std::uint32_t(blocks - (qint64(1) << exponent)), exponent);
    }
    return bits.finish();
}

QByteArray scanHeader(const QList<int> &components, int first, int last, int successive)
{
    QByteArray body(1, char(components.size()));
    for (const int component : components) {
        body.append(char(component + 1));
        body.append('\x00'); // DC and AC table 0
    }
    body.append(char(first));
    body.append(char(last));
    body.append(char(successive));
    return segment(0xDA, body);
}

} // namespace

QByteArray progressiveJpeg(const ProgressiveJpegShape &shape)
{
    QByteArray jpeg("\xFF\xD8", 2);
    jpeg += segment(0xDB, QByteArray(1, '\x00') + QByteArray(64, '\x01'));
    QByteArray frame(1, '\x08');
    appendBigEndian16(frame, shape.height);
    appendBigEndian16(frame, shape.width);
    frame.append(char(shape.components));
    QList<int> all;
    for (int component = 0; component < shape.components; ++component) {
        frame.append(char(component + 1));
        frame.append('\x11'); // full resolution
        frame.append('\x00'); // quantisation table 0
        all.append(component);
    }
    jpeg += segment(0xC2, frame) + dcTable() + acTable();

    const qint64 blocks = qint64((shape.width + 7) / 8) * ((shape.height + 7) / 8);
    BitWriter dc;
    for (qint64 block = 0; block < blocks * shape.components; ++block)
        dc.put(0, 1);
    jpeg += scanHeader(all, 0, 0, 0) + dc.finish();

    const QByteArray empty = emptyBlocks(blocks);
    for (int scan = 0; scan < shape.acScans; ++scan) {
        jpeg += scanHeader({scan % shape.components}, shape.firstCoefficient, shape.lastCoefficient,
                           shape.refining ? 0x10 : 0x00);
        jpeg += empty;
    }
    return jpeg + QByteArray("\xFF\xD9", 2);
}

} // namespace velmora::test
