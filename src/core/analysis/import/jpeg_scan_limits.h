#pragma once

#include "core/analysis/import/image_input_limits.h"

#include <QByteArrayView>
#include <QList>

#include <optional>

namespace velmora {

/// The most scans a JPEG may hold. Encoders write about ten (libjpeg's progressive
/// script for four components, eighteen); each scan costs the decoder a pass over the
/// blocks of its components whether or not it codes anything, so that a few bytes a
/// scan buy seconds of work.
inline constexpr int kMaximumJpegScans = 100;

/// The most decoding work a JPEG's scans may ask for, in block visits: a scan visits
/// every block of its components, a refining scan about twice, and one that touches a
/// band of AC coefficients in each block another band / 16 visits a block (sixteen
/// coefficients cost about as much as a visit). The limit is 64 visits of every block
/// of the largest image: a progressive three-component image at the pixel limit asks
/// for about 50, and the costliest scans within the limit take about a second.
inline constexpr qint64 kMaximumJpegScanWork = 64 * (kMaximumImagePixels / 64);

/// The most bytes of coefficients a JPEG with more than one scan may need: the
/// decoder keeps every coefficient of the image until the last scan, two bytes each.
/// Four components at the pixel limit fit.
inline constexpr qint64 kMaximumJpegCoefficientBytes = 4 * 2 * kMaximumImagePixels;

/// What the scans of one JPEG datastream ask of its decoder, read from its marker
/// segments without decoding anything.
struct JpegScanCost
{
    int scans = 0; ///< Counted up to one past kMaximumJpegScans.
    qint64 work = 0; ///< Block visits, as kMaximumJpegScanWork counts them.
    qint64 coefficientBytes = 0; ///< Kept between scans; none for a stream of one scan.
    /// The data ends, or its structure breaks off, before the end-of-image marker: the
    /// decoder would fill what is missing with grey and call it an image.
    bool cutShort = false;
    /// Where each scan's coded data ends: the offset of the marker after it. A decoder
    /// that meets the end of the image there takes it without complaint.
    QList<qsizetype> scanEnds;
};

/// The cost of the JPEG datastream `data` starts with, walked as the decoder reads it:
/// bytes between segments that are no marker are skipped, as the decoder skips them.
/// The walk stops at the end-of-image marker, at a break in the structure the decoder
/// fails on too, or at the end of the data. Nothing for data that is not JPEG.
JpegScanCost jpegScanCost(QByteArrayView data);

/// tooManyScans when the scans are more, or ask for more work, than the limits above;
/// tooManyBytes when their coefficients would take more than kMaximumJpegCoefficientBytes;
/// cutShort when the datastream does not reach its end-of-image marker.
std::optional<ImageInputRefusal> jpegScanRefusal(const JpegScanCost &cost);
/// The same for JPEG data, walked first. Data that is not JPEG passes.
std::optional<ImageInputRefusal> jpegScanRefusal(QByteArrayView data);

} // namespace velmora
