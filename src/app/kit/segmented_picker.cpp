#include "app/kit/segmented_picker.h"

#include "app/kit/accessible_value.h"
#include "app/kit/look.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {
constexpr int kVerticalPadding = 6;
constexpr int kHorizontalPadding = 4;
constexpr qreal kMinimumScale = 0.82;

QFont segmentFont(bool selected)
{
    return look::font(look::TextStyle::caption, selected ? QFont::DemiBold : QFont::Normal);
}
} // namespace

PickerSegment::PickerSegment(const QString &title, QWidget *parent) : QAbstractButton(parent)
{
    setSelected(false); // first: the accessible value must precede the accessible interface
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void PickerSegment::setSelected(bool selected)
{
    m_selected = selected;
    setAccessibleSelected(this, selected);
    update();
}

QSize PickerSegment::sizeHint() const
{
    const QFontMetrics metrics(segmentFont(true));
    return {metrics.horizontalAdvance(text()) + 2 * kHorizontalPadding, metrics.height() + 2 * kVerticalPadding};
}

QSize PickerSegment::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {int(hint.width() * kMinimumScale), hint.height()};
}

void PickerSegment::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_selected) {
        QPainterPath plate;
        plate.addRoundedRect(QRectF(rect()), 6, 6);
        painter.fillPath(plate, palette().color(QPalette::Base));
    }
    QFont font = segmentFont(m_selected);
    // Shrinks the title down to 82 % before it would have to be cut.
    const int available = width() - 2 * kHorizontalPadding;
    const int needed = QFontMetrics(font).horizontalAdvance(text());
    if (needed > available && needed > 0) {
        const qreal scale = qMax(kMinimumScale, qreal(available) / needed);
        font.setPixelSize(qMax(1, int(QFontInfo(font).pixelSize() * scale)));
    }
    painter.setFont(font);
    painter.setPen(m_selected ? look::primary(palette()) : look::secondary(palette()));
    const QString title = QFontMetrics(font).elidedText(text(), Qt::ElideRight, available);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, title);
    if (hasFocus()) {
        painter.setPen(QPen(look::focusRing(palette()), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
}

SegmentedPicker::SegmentedPicker(const QList<Segment> &segments, QWidget *parent) : RoundedSurface(8, parent)
{
    setFill([](const QPalette &p) { return look::withOpacity(p.color(QPalette::Button), 0.45); });
    setBorder([](const QPalette &p) { return look::withOpacity(look::secondary(p), 0.12); }, 1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(2);
    for (int i = 0; i < segments.size(); ++i) {
        auto *button = new PickerSegment(segments[i].title);
        button->setObjectName(segments[i].identifier);
        connect(button, &QAbstractButton::clicked, this, [this, i] { emit segmentChosen(i); });
        m_segments.append(button);
        row->addWidget(button, 1);
    }
}

void SegmentedPicker::setCurrentIndex(int index)
{
    m_current = index;
    for (int i = 0; i < m_segments.size(); ++i)
        m_segments[i]->setSelected(i == index);
}

} // namespace velmora
