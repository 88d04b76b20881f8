#include "app/shell/system_colors.h"

namespace velmora::SystemColors {

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor accent(const QPalette &palette)
{
    return palette.color(QPalette::Highlight);
}

QColor primary(const QPalette &palette)
{
    return palette.color(QPalette::WindowText);
}

QColor secondary(const QPalette &palette)
{
    return withOpacity(primary(palette), isDark(palette) ? 0.55 : 0.5);
}

QColor orange(const QPalette &palette)
{
    return isDark(palette) ? QColor(0xFF, 0x9F, 0x0A) : QColor(0xFF, 0x95, 0x00);
}

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

} // namespace velmora::SystemColors
