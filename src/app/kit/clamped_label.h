#pragma once

#include <QLabel>

namespace velmora {

// A wrapping label that shows at most a given number of lines, the last one ending in
// an ellipsis when the text is longer (a finding's title, the panel's title).
class ClampedLabel : public QLabel
{
    Q_OBJECT
public:
    ClampedLabel(int maximumLines, QWidget *parent = nullptr);

    void setFullText(const QString &text);

    /// The height of the lines shown at `width`, whatever the label's width now.
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    /// The text cut to the lines it takes in `textWidth`.
    QString shownText(int textWidth) const;
    void relayout();

    int m_maximumLines;
    QString m_fullText;
};

} // namespace velmora
