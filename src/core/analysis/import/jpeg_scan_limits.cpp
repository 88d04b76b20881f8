#include "core/analysis/import/jpeg_scan_limits.h"

#include <QList>

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

constexpr quint8 kMarker = 0xFF;
constexpr quint8 kStartOfScan = 0xDA;
constexpr quint8 kEndOfImage = 0xD9;
// This many AC coefficients cost the decoder about as much as a block visit.
constexpr int kCoefficientsPerBlockVisit = 16;

struct Component
{
    int id = 0;
    int horizontal = 1;
    int vertical = 1;
};

struct Frame
{
    int width = 0;
    int height = 0;
    bool progressive = false;
    QList<Component> components;

    qint64 blocksOf(const Component &component) const
    {
        int maximumHorizontal = 1;
        int maximumVertical = 1;
        for (const Component &other : components) {
            maximumHorizontal = std::max(maximumHorizontal, other.horizontal);
            maximumVertical = std::max(maximumVertical, other.vertical);
        }
        const qint64 columns = (qint64(width) * component.horizontal + 8 * maximumHorizontal - 1) / (8 * maximumHorizontal);
        const qint64 rows = (qint64(height) * component.vertical + 8 * maximumVertical - 1) / (8 * maximumVertical);
        return columns * rows;
    }
    qint64 coefficientBytes() const
    {
        qint64 blocks = 0;
        for (const Component &component : components)
            blocks += blocksOf(component);
        return blocks * 64 * 2;
    }
};

quint8 byteAt(QByteArrayView data, qsizetype offset)
{
    return quint8(data[offset]);
}

int bigEndian16(QByteArrayView data, qsizetype offset)
{
    return (byteAt(data, offset) << 8) | byteAt(data, offset + 1);
}

bool isStartOfFrame(quint8 marker)
{
    // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning) share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isProgressive(quint8 startOfFrame)
{
    return startOfFrame == 0xC2 || startOfFrame == 0xC6 || startOfFrame == 0xCA || startOfFrame == 0xCE;
}

std::optional<Frame> frameOf(QByteArrayView data, qsizetype body, qsizetype end, quint8 marker)
{
    if (end - body < 6)
        return std::nullopt;
    Frame frame;
    frame.progressive = isProgressive(marker);
    frame.height = bigEndian16(data, body + 1);
    frame.width = bigEndian16(data, body + 3);
    const int count = byteAt(data, body + 5);
    if (end - body < 6 + 3 * count)
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = body + 6 + 3 * i;
        const quint8 sampling = byteAt(data, at + 1);
        frame.components.append({byteAt(data, at), std::max(1, sampling >> 4), std::max(1, sampling & 0x0F)});
    }
    return frame;
}

// The block visits one scan costs; the scan's header is `body` to `end`.
qint64 scanWork(const Frame &frame, QByteArrayView data, qsizetype body, qsizetype end)
{
    if (end - body < 1)
        return 0;
    const int count = byteAt(data, body);
    if (end - body < 1 + 2 * count + 3)
        return 0;
    const qsizetype spectral = body + 1 + 2 * count;
    const int first = byteAt(data, spectral);
    const int last = byteAt(data, spectral + 1);
    const bool refining = frame.progressive && (byteAt(data, spectral + 2) >> 4) != 0;
    // A sequential scan codes every coefficient; a progressive one the band it names.
    const int band = frame.progressive ? (first == 0 ? 0 : std::max(0, last - first + 1)) : 63;
    // A refining scan looks at every coefficient of its band in each block, even in a
    // run of blocks it codes nothing for: it costs about one more visit a block.
    const int visits = refining ? 2 : 1;
    qint64 blocks = 0;
    for (int i = 0; i < count; ++i) {
        const int id = byteAt(data, body + 1 + 2 * i);
        for (const Component &component : frame.components) {
            if (component.id == id)
                blocks += frame.blocksOf(component);
        }
    }
    return blocks * visits + blocks * band / kCoefficientsPerBlockVisit;
}

// The offset of the marker that ends the entropy-coded data starting at `offset`: the
// first 0xFF followed by neither a stuffed zero, a restart marker nor another 0xFF.
qsizetype entropyCodedEnd(QByteArrayView data, qsizetype offset)
{
    const char *begin = data.constData();
    const qsizetype size = data.size();
    while (offset + 1 < size) {
        const void *found = std::memchr(begin + offset, kMarker, size_t(size - offset - 1));
        if (!found)
            return size;
        offset = static_cast<const char *>(found) - begin;
        const quint8 next = byteAt(data, offset + 1);
        if (next != 0x00 && next != kMarker && !(next >= 0xD0 && next <= 0xD7))
            return offset;
        ++offset;
    }
    return size;
}

// The offset of the 0xFF before the next marker code from `offset` on, found as the
// decoder's marker reader finds it: any other byte between segments is skipped with no
// more than a warning ("extraneous bytes before marker"), so are fill bytes (0xFF) and a
// stuffed zero (0xFF 0x00). Nothing when the data ends first.
std::optional<qsizetype> nextMarker(QByteArrayView data, qsizetype offset)
{
    const char *begin = data.constData();
    const qsizetype size = data.size();
    while (offset < size) {
        const void *found = std::memchr(begin + offset, kMarker, size_t(size - offset));
        if (!found)
            return std::nullopt;
        offset = static_cast<const char *>(found) - begin;
        while (offset + 1 < size && byteAt(data, offset + 1) == kMarker)
            ++offset;
        if (offset + 1 >= size)
            return std::nullopt;
        if (byteAt(data, offset + 1) != 0x00)
            return offset;
        offset += 2;
    }
    return std::nullopt;
}

// Segments whose reader takes a length below two as no length at all and reads on right
// after it; every other segment's reader fails on one.
bool toleratesShortLength(quint8 marker)
{
    const bool application = marker >= 0xE0 && marker <= 0xEF;
    return application || marker == 0xFE || marker == 0xDC; // APPn, COM, DNL
}

} // namespace

JpegScanCost jpegScanCost(QByteArrayView data)
{
    JpegScanCost cost;
    if (data.size() < 2 || byteAt(data, 0) != kMarker || byteAt(data, 1) != 0xD8)
        return cost;
    // Until the end-of-image marker is found, the data may end before the image does.
    cost.cutShort = true;
    std::optional<Frame> frame;
    bool severalScans = false;
    qsizetype offset = 2;
    while (cost.scans <= kMaximumJpegScans) {
        const std::optional<qsizetype> at = nextMarker(data, offset);
        if (!at)
            break;
        const quint8 marker = byteAt(data, *at + 1);
        if (marker == kEndOfImage) {
            cost.cutShort = false;
            break;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // markers without a segment
            offset = *at + 2;
            continue;
        }
        if (*at + 4 > data.size())
            break;
        const qsizetype body = *at + 4;
        const qsizetype end = *at + 2 + bigEndian16(data, *at + 2);
        if (end < body && toleratesShortLength(marker)) {
            offset = body;
            continue;
        }
        if (end < body || end > data.size())
            break; // the decoder fails here
        if (isStartOfFrame(marker) && !frame)
            frame = frameOf(data, body, end, marker);
        if (marker != kStartOfScan) {
            offset = end;
            continue;
        }
        ++cost.scans;
        if (frame) {
            cost.work += scanWork(*frame, data, body, end);
            // The decoder keeps every coefficient until the last scan unless the first one
            // codes them all.
            severalScans = severalScans || frame->progressive || cost.scans > 1
                           || (end > body && byteAt(data, body) < frame->components.size());
            if (severalScans)
                cost.coefficientBytes = frame->coefficientBytes();
        }
        offset = entropyCodedEnd(data, end);
        cost.scanEnds.append(offset);
    }
    return cost;
}

std::optional<ImageInputRefusal> jpegScanRefusal(const JpegScanCost &cost)
{
    if (cost.scans > kMaximumJpegScans || cost.work > kMaximumJpegScanWork)
        return ImageInputRefusal::tooManyScans;
    if (cost.coefficientBytes > kMaximumJpegCoefficientBytes)
        return ImageInputRefusal::tooManyBytes;
    if (cost.cutShort)
        return ImageInputRefusal::cutShort;
    return std::nullopt;
}

std::optional<ImageInputRefusal> jpegScanRefusal(QByteArrayView data)
{
    return jpegScanRefusal(jpegScanCost(data));
}

} // namespace velmora
