#include "core/analysis/import/tiff_jpeg_limits.h"

#include "core/analysis/import/jpeg_scan_limits.h"

#include <QHash>
#include <QList>
#include <QtEndian>

namespace velmora {

namespace {

constexpr quint16 kCompression = 259;
constexpr quint16 kStripOffsets = 273;
constexpr quint16 kStripByteCounts = 279;
constexpr quint16 kTileOffsets = 324;
constexpr quint16 kTileByteCounts = 325;
constexpr quint64 kJpegCompression = 7;
constexpr quint64 kOldStyleJpegCompression = 6;

/// The size of a value of a TIFF field type that libtiff reads as an integer for these
/// tags (BYTE, SBYTE, SHORT, SSHORT, LONG, SLONG, LONG8, SLONG8), and whether it is
/// signed; nothing for another type, which libtiff does not read for them.
struct IntegerType
{
    int size;
    bool isSigned;
};
std::optional<IntegerType> integerType(quint64 type)
{
    switch (type) {
    case 1: return IntegerType{1, false};
    case 6: return IntegerType{1, true};
    case 3: return IntegerType{2, false};
    case 8: return IntegerType{2, true};
    case 4: return IntegerType{4, false};
    case 9: return IntegerType{4, true};
    case 16: return IntegerType{8, false};
    case 17: return IntegerType{8, true};
    }
    return std::nullopt;
}

// The first image file directory of a classic or Big TIFF, read with bounds checks:
// a value that lies outside the data reads as missing.
class TiffDirectory
{
public:
    explicit TiffDirectory(const QByteArray &data) : m_data(data)
    {
        if (data.startsWith(QByteArrayView("II", 2)))
            m_bigEndian = false;
        else if (data.startsWith(QByteArrayView("MM", 2)))
            m_bigEndian = true;
        else
            return;
        const auto version = unsignedAt(2, 2);
        m_big = version == 43;
        if (version != 42 && !m_big)
            return;
        m_entries = m_big ? unsignedAt(8, 8) : unsignedAt(4, 4);
        if (m_entries && *m_entries > quint64(data.size()))
            m_entries.reset();
    }

    /// The values of a tag, of any integer type libtiff reads for it (integerType); empty
    /// when it is missing, of another type, or holds a negative value (which libtiff refuses).
    QList<quint64> values(quint16 tag) const
    {
        if (!m_entries)
            return {};
        const qint64 entrySize = m_big ? 20 : 12;
        const auto count = unsignedAt(*m_entries, m_big ? 8 : 2);
        // A count past the end of the data stops at the end.
        const quint64 room = quint64(m_data.size()) / quint64(entrySize);
        for (quint64 i = 0; count && i < std::min(*count, room); ++i) {
            const qint64 entry = qint64(*m_entries) + (m_big ? 8 : 2) + qint64(i) * entrySize;
            if (entry > m_data.size() - entrySize)
                break;
            if (unsignedAt(entry, 2) == tag)
                return entryValues(entry);
        }
        return {};
    }

private:
    std::optional<quint64> unsignedAt(qint64 offset, int size) const
    {
        if (offset < 0 || offset > m_data.size() - size)
            return std::nullopt;
        const char *at = m_data.constData() + offset;
        switch (size) {
        case 1:
            return quint8(*at);
        case 2:
            return m_bigEndian ? qFromBigEndian<quint16>(at) : qFromLittleEndian<quint16>(at);
        case 4:
            return m_bigEndian ? qFromBigEndian<quint32>(at) : qFromLittleEndian<quint32>(at);
        case 8:
            return m_bigEndian ? qFromBigEndian<quint64>(at) : qFromLittleEndian<quint64>(at);
        }
        return std::nullopt;
    }

    QList<quint64> entryValues(qint64 entry) const
    {
        const auto type = integerType(unsignedAt(entry + 2, 2).value_or(0));
        const auto count = unsignedAt(entry + 4, m_big ? 8 : 4);
        if (!count || !type || *count > quint64(m_data.size()) / quint64(type->size))
            return {};
        const int size = type->size;
        // Values that fit in the entry are in it; the others are where it points.
        const qint64 inline_ = entry + (m_big ? 12 : 8);
        const bool fits = *count * quint64(size) <= quint64(m_big ? 8 : 4);
        const auto first = fits ? std::optional<quint64>(inline_) : unsignedAt(inline_, m_big ? 8 : 4);
        if (!first || *first > quint64(m_data.size()))
            return {};
        QList<quint64> values;
        for (quint64 i = 0; i < *count; ++i) {
            const auto value = unsignedAt(qint64(*first + i * quint64(size)), size);
            if (!value || (type->isSigned && (*value >> (8 * size - 1)) != 0))
                return {};
            values.append(*value);
        }
        return values;
    }

    const QByteArray &m_data;
    bool m_bigEndian = false;
    bool m_big = false;
    std::optional<quint64> m_entries;
};

} // namespace

std::optional<ImageInputRefusal> tiffJpegRefusal(const QByteArray &data)
{
    const TiffDirectory directory(data);
    // libtiff takes the first value where there is one for each sample.
    const quint64 compression = directory.values(kCompression).value(0);
    // Old-style JPEG, replaced in 1995 and written by no screenshot tool, has its stream
    // put together by its decoder from tags and strips in ways the limits do not follow.
    if (compression == kOldStyleJpegCompression)
        return ImageInputRefusal::oldStyleJpeg;
    if (compression != kJpegCompression)
        return std::nullopt;
    const bool tiled = !directory.values(kTileOffsets).isEmpty();
    const QList<quint64> offsets = directory.values(tiled ? kTileOffsets : kStripOffsets);
    const QList<quint64> counts = directory.values(tiled ? kTileByteCounts : kStripByteCounts);
    JpegScanCost image;
    // Pieces that several strips share are walked once. Other pieces of a sound file do
    // not overlap: ones that add up to more bytes than the data holds would cost the
    // walk, and the decoder, time that grows with the square of the data.
    QHash<std::pair<quint64, quint64>, JpegScanCost> walked;
    quint64 walkedBytes = 0;
    for (qsizetype i = 0; i < offsets.size(); ++i) {
        if (offsets[i] > quint64(data.size()))
            return ImageInputRefusal::cutShort;
        const quint64 rest = quint64(data.size()) - offsets[i];
        // A byte count that is missing or zero the decoder makes up, at most to the end of
        // the data: the piece is checked as far as the decoder may read it.
        const quint64 count = i < counts.size() && counts[i] != 0 ? counts[i] : rest;
        if (count > rest)
            return ImageInputRefusal::cutShort;
        auto known = walked.constFind({offsets[i], count});
        if (known == walked.cend()) {
            walkedBytes += count;
            if (walkedBytes > quint64(data.size()))
                return ImageInputRefusal::tooManyScans;
            known = walked.insert({offsets[i], count},
                                  jpegScanCost(QByteArrayView(data).sliced(qsizetype(offsets[i]), qsizetype(count))));
        }
        const JpegScanCost &piece = *known;
        if (const auto refusal = jpegScanRefusal(piece))
            return refusal;
        image.work += piece.work;
        if (const auto refusal = jpegScanRefusal(image))
            return refusal;
    }
    return std::nullopt;
}

} // namespace velmora
