#pragma once

#include "app/kit/palette_tint.h"

#include <QWidget>

namespace velmora {

// A container drawn as a rounded rectangle: a fill and an optional border whose line
// lies inside the shape, both taken from the palette at paint time. Rows, cards and
// placeholders hold their content in one (through an ordinary layout).
class RoundedSurface : public QWidget
{
    Q_OBJECT
public:
    explicit RoundedSurface(qreal cornerRadius, QWidget *parent = nullptr);

    void setFill(PaletteColor fill);
    /// A width of 0 draws no border.
    void setBorder(PaletteColor color, qreal width);
    void setDashPattern(const QList<qreal> &pattern); ///< In pen widths; empty for a solid line.

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius;
    PaletteColor m_fill;
    PaletteColor m_border;
    qreal m_borderWidth = 0;
    QList<qreal> m_dashes;
};

} // namespace velmora
