#include "app/window/status_line.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/review/review_state.h"
#include "core/redaction/needs_review.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace velmora {

StatusTone statusTone(const ReviewState &state)
{
    if (state.errorText())
        return StatusTone::error;
    if (state.isChecking())
        return StatusTone::checking;
    if (needsReviewEntries(state.redactionPlan()) > 0)
        return StatusTone::needsReview;
    return StatusTone::neutral;
}

namespace {

QLabel *makeErrorLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFont(look::font(look::TextStyle::callout, QFont::DemiBold));
    label->setWordWrap(true);
    look::tintText(label, look::red);
    label->hide();
    return label;
}

} // namespace

StatusLine::StatusLine(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("review-status-line"));
    // The error above the note, each as wide as the line: a bold error beside the note
    // would be squeezed into a narrow column of wrapped words.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(2);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("review-status-note"));
    m_note->setFont(look::font(look::TextStyle::callout));
    m_note->setWordWrap(true);
    m_error = makeErrorLabel(QStringLiteral("review-error-text"), this);
    m_settingsError = makeErrorLabel(QStringLiteral("settings-save-failure"), this);
    layout->addWidget(m_settingsError);
    layout->addWidget(m_error);
    layout->addWidget(m_note);
    tintNote();
}

void StatusLine::showState(const ReviewState &state)
{
    m_note->setText(state.reviewStatusNote());
    m_error->setText(state.errorText().value_or(QString()));
    m_error->setVisible(state.errorText().has_value());
    m_tone = statusTone(state);
    tintNote();
    update();
}

void StatusLine::showSettingsSaveFailure(const QString &sentence)
{
    m_settingsError->setText(sentence);
    m_settingsError->setVisible(!sentence.isEmpty());
    tintNote();
    update();
}

StatusTone StatusLine::tone() const
{
    return m_settingsError->text().isEmpty() ? m_tone : StatusTone::error;
}

QColor StatusLine::toneColor() const
{
    switch (tone()) {
    case StatusTone::error: return look::red(palette());
    case StatusTone::needsReview: return look::orange(palette());
    case StatusTone::checking: return look::accent(palette());
    case StatusTone::neutral: return look::secondary(palette());
    }
    return look::secondary(palette());
}

void StatusLine::tintNote()
{
    look::tintText(m_note, tone() == StatusTone::neutral ? PaletteColor(look::secondary) : PaletteColor(look::primary));
}

void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.fillPath(path, look::withOpacity(toneColor(), 0.12));
    painter.setPen(QPen(look::withOpacity(toneColor(), 0.35), 1));
    painter.drawPath(path);
}

} // namespace velmora
