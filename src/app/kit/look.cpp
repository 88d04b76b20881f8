#include "app/kit/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>

namespace velmora::look {

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor accent(const QPalette &palette) { return palette.color(QPalette::Highlight); }
QColor primary(const QPalette &palette) { return palette.color(QPalette::WindowText); }

QColor secondary(const QPalette &palette)
{
    return withOpacity(palette.color(QPalette::WindowText), isDark(palette) ? 0.55 : 0.5);
}

QColor orange(const QPalette &palette) { return isDark(palette) ? QColor(0xFF9F0A) : QColor(0xFF9500); }
QColor green(const QPalette &palette) { return isDark(palette) ? QColor(0x32D74B) : QColor(0x28CD41); }
QColor red(const QPalette &palette) { return isDark(palette) ? QColor(0xFF453A) : QColor(0xFF3B30); }
QColor blue(const QPalette &palette) { return isDark(palette) ? QColor(0x0A84FF) : QColor(0x007AFF); }
QColor divider(const QPalette &palette) { return withOpacity(palette.color(QPalette::WindowText), 0.10); }

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

QColor disabled(QColor color) { return withOpacity(color, 0.45); }
QColor focusRing(const QPalette &palette) { return withOpacity(accent(palette), 0.7); }

namespace {

struct StyleMetrics {
    qreal factor;
    QFont::Weight weight;
};

StyleMetrics styleMetrics(TextStyle style)
{
    switch (style) {
    case TextStyle::title2: return {1.31, QFont::Normal};
    case TextStyle::title3: return {1.15, QFont::Normal};
    case TextStyle::headline: return {1.00, QFont::Bold};
    case TextStyle::body: return {1.00, QFont::Normal};
    case TextStyle::callout: return {0.92, QFont::Normal};
    case TextStyle::footnote: return {0.77, QFont::Normal};
    case TextStyle::caption: return {0.77, QFont::Normal};
    case TextStyle::caption2: return {0.77, QFont::Medium};
    }
    return {1.0, QFont::Normal};
}

QFont scaled(QFont f, qreal factor, QFont::Weight weight)
{
    const QFont base = QApplication::font();
    if (base.pixelSize() > 0)
        f.setPixelSize(qMax(9, qRound(base.pixelSize() * factor)));
    else
        f.setPointSizeF(base.pointSizeF() * factor);
    if (QFontInfo(f).pixelSize() < 9)
        f.setPixelSize(9);
    f.setWeight(weight);
    return f;
}

} // namespace

QFont font(TextStyle style, QFont::Weight weight)
{
    return scaled(QApplication::font(), styleMetrics(style).factor, weight);
}

QFont font(TextStyle style)
{
    return font(style, styleMetrics(style).weight);
}

QFont monospaced(TextStyle style, QFont::Weight weight)
{
    return scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont), styleMetrics(style).factor, weight);
}

QWidget *makeDivider(Qt::Orientation orientation, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, divider(palette));
    line->setPalette(palette);
    return line;
}

} // namespace velmora::look
