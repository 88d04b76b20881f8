#pragma once

#include "core/detection/detection.h"
#include "core/detection/norm_rect.h"
#include "core/detection/text_observation.h"

#include <QLatin1Char>
#include <QList>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace velmora::testing {

/// A cell of a drawn table or sheet that must give a finding of a rule.
struct ExpectedValue
{
    int row = 0;
    int column = 0;
    QString label;
};

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

/// How many pixels of `ink` no box of the findings covers (of the findings of `label`
/// alone, when one is given), on an image of `size`.
inline qsizetype inkOutsideFindings(const QList<QPoint> &ink, const QList<Detection> &findings, const QSize &size,
                            const QString &label = {})
{
    return std::count_if(ink.cbegin(), ink.cend(), [&](const QPoint &p) {
        return std::none_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
            return (label.isEmpty() || finding.label == label)
                && pixelBox(finding.normalizedBounds, size).contains(QPointF(p) + QPointF(0.5, 0.5));
        });
    });
}

/// Whether one finding of `label`, whose text begins with `prefix`, covers all of `ink`
/// on an image of `size`.
inline bool foundWhole(const QList<QPoint> &ink, const QList<Detection> &findings, const QSize &size, const QString &label,
                       const QString &prefix = {})
{
    return std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
        return finding.label == label && finding.matchedText.value_or(QString()).startsWith(prefix)
            && inkOutsideFindings(ink, {finding}, size) == 0;
    });
}

} // namespace velmora::testing
