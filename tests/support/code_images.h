#pragma once

#include <ZXing/BarcodeFormat.h>

#include <QImage>

#include <string>

namespace velmora::test {

/// A QR code or barcode made by the reader library's own writer, black on white
/// without a quiet zone: `moduleSize` pixels per module, and for linear codes bars
/// `barHeight` pixels tall. The image is exactly the symbol.
QImage codeSymbol(ZXing::BarcodeFormat format, const std::string &content, int moduleSize, int barHeight = 0);

} // namespace velmora::test
