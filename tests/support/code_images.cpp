#include "code_images.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

namespace velmora::test {

QImage codeSymbol(ZXing::BarcodeFormat format, const std::string &content, int moduleSize, int barHeight)
{
    const auto modules = ZXing::MultiFormatWriter(format).setMargin(0).encode(content, 0, 0);
    const bool linear = modules.height() == 1;
    const int height = linear ? barHeight : modules.height() * moduleSize;
    QImage image(modules.width() * moduleSize, height, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = modules.get(x / moduleSize, linear ? 0 : y / moduleSize) ? 0 : 255;
    }
    return image;
}

} // namespace velmora::test
