#include "core/analysis/import/image_orientation.h"

#include <QTransform>

namespace velmora {

ImageOrientation imageOrientationFromTransformation(QImageIOHandler::Transformations transformation)
{
    switch (QImageIOHandler::Transformation(transformation.toInt())) {
    case QImageIOHandler::TransformationNone:
        return ImageOrientation::up;
    case QImageIOHandler::TransformationMirror:
        return ImageOrientation::upMirrored;
    case QImageIOHandler::TransformationRotate180:
        return ImageOrientation::down;
    case QImageIOHandler::TransformationFlip:
        return ImageOrientation::downMirrored;
    case QImageIOHandler::TransformationFlipAndRotate90:
        return ImageOrientation::leftMirrored;
    case QImageIOHandler::TransformationRotate90:
        return ImageOrientation::right;
    case QImageIOHandler::TransformationMirrorAndRotate90:
        return ImageOrientation::rightMirrored;
    case QImageIOHandler::TransformationRotate270:
        return ImageOrientation::left;
    }
    return ImageOrientation::up;
}

QImage uprightImage(const QImage &stored, ImageOrientation orientation)
{
    // Qt's transformed() turns clockwise for positive angles, since its y axis points down.
    const auto turned = [&stored](qreal degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case ImageOrientation::up:
        return stored;
    case ImageOrientation::upMirrored:
        return stored.mirrored(true, false);
    case ImageOrientation::down:
        return turned(180);
    case ImageOrientation::downMirrored:
        return stored.mirrored(false, true);
    case ImageOrientation::leftMirrored:
        return turned(90).mirrored(true, false);
    case ImageOrientation::right:
        return turned(90);
    case ImageOrientation::rightMirrored:
        return turned(270).mirrored(true, false);
    case ImageOrientation::left:
        return turned(270);
    }
    return stored;
}

} // namespace velmora
