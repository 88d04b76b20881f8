#pragma once

#include "core/detection/norm_rect.h"
#include "core/detection/text_observation.h"

#include <QLatin1Char>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

namespace velmora::testing {

/// A recognised box in the pixels of an image of `size` (boxes are normalised, origin bottom left).
inline QRectF pixelBox(const NormRect &box, const QSize &size)
{
    return QRectF(box.x * size.width(), (1.0 - box.maxY()) * size.height(), box.width * size.width(),
                  box.height * size.height());
}

/// Every recognised line's text, one per line, for failure messages.
inline QString allText(const QList<TextObservation> &lines)
{
    QStringList texts;
    for (const TextObservation &line : lines)
        texts.append(line.text());
    return texts.join(QLatin1Char('\n'));
}

} // namespace velmora::testing
