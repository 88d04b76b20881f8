#include "app/kit/clamped_label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextLayout>

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

void ClampedLabel::relayout()
{
    const int width = contentsRect().width();
    QString shown = m_fullText;
    if (width > 0) {
        QTextLayout layout(m_fullText, font());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        qsizetype lastStart = 0;
        bool cut = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (++lines == m_maximumLines)
                lastStart = line.textStart();
            if (lines > m_maximumLines) {
                cut = true;
                break;
            }
        }
        layout.endLayout();
        if (cut) {
            const QFontMetrics metrics(font());
            const QString lastLine = metrics.elidedText(m_fullText.mid(lastStart), Qt::ElideRight, width);
            shown = m_fullText.left(lastStart) + lastLine;
        }
    }
    if (shown != text())
        setText(shown);
}

} // namespace velmora
