#include "app/shell/text_style.h"

#include <QApplication>
#include <QFontInfo>

#include <algorithm>

namespace velmora {

namespace {

struct StyleMetrics
{
    double factor;
    QFont::Weight weight;
};

StyleMetrics metricsOf(TextStyle style)
{
    switch (style) {
    case TextStyle::largeTitle: return {2.00, QFont::Normal};
    case TextStyle::title: return {1.69, QFont::Normal};
    case TextStyle::title2: return {1.31, QFont::Normal};
    case TextStyle::title3: return {1.15, QFont::Normal};
    case TextStyle::headline: return {1.00, QFont::Bold};
    case TextStyle::subheadline: return {0.85, QFont::Normal};
    case TextStyle::body: return {1.00, QFont::Normal};
    case TextStyle::callout: return {0.92, QFont::Normal};
    case TextStyle::footnote: return {0.77, QFont::Normal};
    case TextStyle::caption: return {0.77, QFont::Normal};
    case TextStyle::caption2: return {0.77, QFont::Medium};
    }
    return {1.00, QFont::Normal};
}

constexpr int kSmallestPixelSize = 9;

} // namespace

QFont textStyleFont(TextStyle style, std::optional<QFont::Weight> weight)
{
    const StyleMetrics metrics = metricsOf(style);
    const QFont base = QApplication::font();
    QFont font = base;
    if (base.pixelSize() > 0) {
        font.setPixelSize(std::max(kSmallestPixelSize, qRound(base.pixelSize() * metrics.factor)));
    } else {
        font.setPointSizeF(base.pointSizeF() * metrics.factor);
        if (QFontInfo(font).pixelSize() < kSmallestPixelSize)
            font.setPixelSize(kSmallestPixelSize);
    }
    font.setWeight(weight.value_or(metrics.weight));
    return font;
}

} // namespace velmora
