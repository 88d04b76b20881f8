#pragma once

#include <QWidget>

class QLabel;

namespace velmora {

struct ReviewState;

/// What colours the status line: the most pressing state wins.
enum class StatusTone { error, needsReview, checking, neutral };
StatusTone statusTone(const ReviewState &state);

// The status line under the toolbar: the review's status sentence and, when there is
// one, its error sentence, tinted by what the review needs next.
class StatusLine : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    void showState(const ReviewState &state);
    StatusTone tone() const { return m_tone; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QColor toneColor() const;
    void applyColors();

    QLabel *m_note = nullptr;
    QLabel *m_error = nullptr;
    StatusTone m_tone = StatusTone::neutral;
};

} // namespace velmora
