#include "app/kit/clamped_label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextLayout>

#include <algorithm>

namespace velmora {

ClampedLabel::ClampedLabel(int maximumLines, QWidget *parent) : QLabel(parent), m_maximumLines(maximumLines)
{
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ClampedLabel::setFullText(const QString &text)
{
    if (text == m_fullText && !QLabel::text().isEmpty())
        return;
    m_fullText = text;
    setAccessibleName(text);
    relayout();
}

void ClampedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    relayout();
}

void ClampedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

int ClampedLabel::heightForWidth(int width) const
{
    // A layout asks before it gives the label that width, so the text cut for the
    // width the label has now is not the one to measure.
    const QMargins margins = contentsMargins();
    const int textWidth = width - margins.left() - margins.right();
    const QString shown = shownText(textWidth);
    if (shown == text())
        return QLabel::heightForWidth(width);
    const int flags = int(alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter)) | Qt::TextWordWrap;
    const QRect lines = fontMetrics().boundingRect(0, 0, textWidth, QWIDGETSIZE_MAX, flags, shown);
    return std::max(lines.height() + margins.top() + margins.bottom(), minimumHeight());
}

QString ClampedLabel::shownText(int textWidth) const
{
    if (textWidth <= 0)
        return m_fullText;
    QTextLayout layout(m_fullText, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    qsizetype lastStart = 0;
    bool cut = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(textWidth);
        if (++lines == m_maximumLines)
            lastStart = line.textStart();
        if (lines > m_maximumLines) {
            cut = true;
            break;
        }
    }
    layout.endLayout();
    if (!cut)
        return m_fullText;
    const QString lastLine = QFontMetrics(font()).elidedText(m_fullText.mid(lastStart), Qt::ElideRight, textWidth);
    return m_fullText.left(lastStart) + lastLine;
}

void ClampedLabel::relayout()
{
    const QString shown = shownText(contentsRect().width());
    if (shown != text())
        setText(shown);
}

} // namespace velmora
