#include "core/analysis/recognition/image_without_global_pool.h"

#include <QPainter>
#include <QTransform>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

// Qt 6.4 splits a conversion into pieces of this many pixels, and never a row apart: a
// band no larger than one piece is converted on the calling thread.
constexpr qsizetype pixelsConvertedInOnePiece = 65'536;

/// The image's pixels as OpenCV reads them, without a copy.
cv::Mat viewOf(const QImage &image)
{
    return cv::Mat(image.height(), image.width(), image.depth() == 8 ? CV_8UC1 : CV_8UC4,
                   const_cast<uchar *>(image.constBits()), std::size_t(image.bytesPerLine()));
}

/// The image's pixels as OpenCV writes them.
cv::Mat canvasOf(QImage &image)
{
    return cv::Mat(image.height(), image.width(), image.depth() == 8 ? CV_8UC1 : CV_8UC4, image.bits(),
                   std::size_t(image.bytesPerLine()));
}

/// Area averaging by OpenCV, premultiplied where the image sees through, as Qt averages.
QImage averaged(const QImage &image, QSize size)
{
    const bool seeThrough = image.hasAlphaChannel();
    const QImage::Format format = image.format() == QImage::Format_Grayscale8 ? QImage::Format_Grayscale8
                                  : seeThrough                               ? QImage::Format_ARGB32_Premultiplied
                                                                             : QImage::Format_RGB32;
    const QImage source = convertedWithoutGlobalPool(image, format);
    QImage scaled(size, format);
    if (source.isNull() || scaled.isNull())
        return {};
    cv::Mat canvas = canvasOf(scaled);
    cv::resize(viewOf(source), canvas, canvas.size(), 0, 0, cv::INTER_AREA);
    return seeThrough ? convertedWithoutGlobalPool(scaled, QImage::Format_ARGB32) : scaled;
}

/// Bilinear interpolation by Qt's painter, set up as Qt's smooth scaling sets it up, a
/// band of rows at a time, each well under the 96 rows from which Qt 6.4 hands a fill to
/// its global pool in pieces.
QImage interpolated(const QImage &image, QSize size)
{
    constexpr int bandRows = 32;
    QImage scaled(size, image.format());
    if (scaled.isNull())
        return {};
    scaled.fill(0);
    QPainter painter(&scaled);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QTransform scale = QTransform::fromScale(qreal(size.width()) / image.width(), qreal(size.height()) / image.height());
    for (int top = 0; top < size.height(); top += bandRows) {
        painter.resetTransform();
        painter.setClipRect(QRect(0, top, size.width(), std::min(bandRows, size.height() - top)));
        painter.setTransform(scale);
        painter.drawImage(QPoint(0, 0), image);
    }
    return scaled;
}

} // namespace

QImage scaledWithoutGlobalPool(const QImage &image, QSize size)
{
    if (image.isNull() || size.isEmpty())
        return {};
    // Qt's smooth scaling averages areas where the image shrinks (a grey image only where
    // a side shrinks to less than half); elsewhere it interpolates.
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const bool shrinks = grey ? size.width() * 2 < image.width() || size.height() * 2 < image.height()
                              : size.width() < image.width() || size.height() < image.height();
    return shrinks ? averaged(image, size) : interpolated(image, size);
}

QImage convertedWithoutGlobalPool(const QImage &image, QImage::Format format)
{
    if (image.isNull() || image.format() == format)
        return image;
    QImage converted(image.size(), format);
    if (converted.isNull())
        return {};
    const int rows = int(std::max<qsizetype>(1, pixelsConvertedInOnePiece / image.width()));
    for (int top = 0; top < image.height(); top += rows) {
        const int height = std::min(rows, image.height() - top);
        QImage band(image.constScanLine(top), image.width(), height, image.bytesPerLine(), image.format());
        band.setColorTable(image.colorTable());
        const QImage convertedBand = band.convertToFormat(format);
        const auto rowBytes = std::size_t(std::min(converted.bytesPerLine(), convertedBand.bytesPerLine()));
        for (int y = 0; y < height; ++y)
            std::memcpy(converted.scanLine(top + y), convertedBand.constScanLine(y), rowBytes);
    }
    return converted;
}

} // namespace velmora
