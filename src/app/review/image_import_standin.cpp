#include "app/review/image_import_standin.h"

#include "core/detection/core_error.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace velmora::standin {

bool isSupportedImageFile(const QString &filePath)
{
    static const QStringList extensions{"png", "jpg", "jpeg", "tif", "tiff", "heic"};
    return extensions.contains(QFileInfo(filePath).suffix().toLower());
}

ImportedImage importImageFile(const QString &filePath)
{
    if (!isSupportedImageFile(filePath))
        throw VelmoraCoreException(VelmoraCoreError::unsupportedImageType);
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    return importImageData(file.readAll());
}

ImportedImage importImageData(const QByteArray &data)
{
    QImage image = QImage::fromData(data);
    if (image.isNull())
        throw VelmoraCoreException(VelmoraCoreError::invalidImageData);
    image.setDevicePixelRatio(1);
    return {image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32)};
}

} // namespace velmora::standin
