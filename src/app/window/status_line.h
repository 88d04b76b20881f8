#pragma once

#include <QWidget>

class QLabel;

namespace velmora {

struct ReviewState;

/// What colours the status line: the most pressing state wins.
enum class StatusTone { error, needsReview, checking, neutral };
StatusTone statusTone(const ReviewState &state);

// The status line under the toolbar: the review's status sentence and, when there is
// one, its error sentence, tinted by what the review needs next; above them, while the
// settings cannot be saved, why.
class StatusLine : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    void showState(const ReviewState &state);
    /// The sentence saying why the settings cannot be saved; empty while they can.
    void showSettingsSaveFailure(const QString &sentence);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    /// A settings failure colours the line as an error, whatever the review needs.
    StatusTone tone() const;
    QColor toneColor() const;
    /// The sentence is secondary while nothing is pressing, else primary.
    void tintNote();

    QLabel *m_note = nullptr;
    QLabel *m_error = nullptr;
    QLabel *m_settingsError = nullptr;
    StatusTone m_tone = StatusTone::neutral;
};

} // namespace velmora
