#pragma once

// Stands in for the engine's image importer until it is merged; same behaviour for
// what the review needs: the extension table, file and byte import.
#include "app/review/imported_image_standin.h"

#include <QByteArray>
#include <QString>

namespace velmora::standin {

bool isSupportedImageFile(const QString &filePath);
/// Throws VelmoraCoreException: unsupportedImageType or invalidImageData.
ImportedImage importImageFile(const QString &filePath);
/// Throws VelmoraCoreException: invalidImageData.
ImportedImage importImageData(const QByteArray &data);

} // namespace velmora::standin
