#include "core/analysis/import/supported_image_types.h"

#include <QFileInfo>

namespace velmora {

QList<ImageContentType> supportedImageContentTypes()
{
    const auto cases = allCases<ImageContentType>();
    return QList<ImageContentType>(cases.begin(), cases.end());
}

QStringList imageFileExtensions(ImageContentType type)
{
    switch (type) {
    case ImageContentType::png:
        return {QStringLiteral("png")};
    case ImageContentType::jpeg:
        return {QStringLiteral("jpg"), QStringLiteral("jpeg")};
    case ImageContentType::tiff:
        return {QStringLiteral("tif"), QStringLiteral("tiff")};
    case ImageContentType::heic:
        return {QStringLiteral("heic")};
    }
    return {};
}

std::optional<ImageContentType> imageContentType(const QString &filePath)
{
    const QString extension = QFileInfo(filePath).suffix().toLower();
    if (extension.isEmpty())
        return std::nullopt;
    for (const ImageContentType type : supportedImageContentTypes()) {
        if (imageFileExtensions(type).contains(extension))
            return type;
    }
    return std::nullopt;
}

} // namespace velmora
