#pragma once

#include "app/kit/palette_tint.h"

#include <QFont>
#include <QMargins>
#include <QWidget>

namespace velmora {

// A short label on a capsule: an optional tinted symbol and one line of text, with
// padding around them. The chips of a finding, the format chips of the empty state,
// the output-preview banner and the count badges are all one of these.
class CapsuleLabel : public QWidget
{
    Q_OBJECT
public:
    CapsuleLabel(const QString &text, const QFont &font, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    /// A symbol name ("eye.fill") drawn before the text at the font's pixel size; empty for none.
    void setSymbol(const QString &symbolName);
    QString symbol() const { return m_symbol; }
    void setColors(PaletteColor foreground, PaletteColor background);
    void setBorder(PaletteColor color, qreal width);
    void setPadding(int horizontal, int vertical);
    /// Room for at least this text, so that changing digits do not make the capsule jump.
    void setMinimumText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QColor foregroundColor() const; ///< As drawn now.
    QColor backgroundColor() const; ///< As drawn now.

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int symbolEdge() const;
    int contentWidth(const QString &text) const;

    QString m_text;
    QString m_minimumText;
    QString m_symbol;
    PaletteColor m_foreground;
    PaletteColor m_background;
    PaletteColor m_border;
    qreal m_borderWidth = 0;
    QMargins m_padding{8, 4, 8, 4};
};

} // namespace velmora
