#pragma once
#include <QImage>
namespace velmora {
struct ImportedImage { QImage image; friend bool operator==(const ImportedImage &, const ImportedImage &) = default; };
}
