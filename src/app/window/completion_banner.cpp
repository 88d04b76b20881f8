#include "app/window/completion_banner.h"

#include "app/kit/look.h"
#include "app/kit/plain_button.h"
#include "app/kit/velmora_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

QString completionBannerActionTitle(CompletionBannerAction action)
{
    switch (action) {
    case CompletionBannerAction::revealLastExport: return QObject::tr("Show in Folder");
    case CompletionBannerAction::reviewLatestWatchedScreenshot: return QObject::tr("Review");
    case CompletionBannerAction::reviewLastAutoClean: return QObject::tr("Review");
    case CompletionBannerAction::undoLastAutoClean: return QObject::tr("Undo");
    case CompletionBannerAction::openNotificationSettings: return QObject::tr("Notification Settings");
    }
    return {};
}

CompletionBanner::CompletionBanner(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("completion-banner"));
    setAccessibleName(tr("Completion"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 8, 10, 8);
    layout->setSpacing(10);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("completion-banner-text"));
    m_text->setFont(look::font(look::TextStyle::callout, QFont::DemiBold));
    m_text->setWordWrap(true);
    layout->addWidget(m_text, 1);
    m_primary = new VelmoraButton(QString(), VelmoraControlTone::primary, std::nullopt, this);
    m_primary->setObjectName(QStringLiteral("completion-banner-primary-button"));
    m_secondary = new VelmoraButton(QString(), VelmoraControlTone::secondary, std::nullopt, this);
    m_secondary->setObjectName(QStringLiteral("completion-banner-secondary-button"));
    layout->addWidget(m_secondary);
    layout->addWidget(m_primary);
    auto *close = new PlainButton(QString(), look::font(look::TextStyle::title3), this);
    close->setObjectName(QStringLiteral("completion-banner-close-button"));
    close->setSymbol(QStringLiteral("xmark.circle"));
    close->setColor(look::secondary);
    close->setAccessibleName(tr("Close"));
    close->setToolTip(tr("Close"));
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, &CompletionBanner::closeRequested);
    connect(m_primary, &QPushButton::clicked, this, [this] {
        if (m_primaryAction)
            emit actionTriggered(*m_primaryAction);
    });
    connect(m_secondary, &QPushButton::clicked, this, [this] {
        if (m_secondaryAction)
            emit actionTriggered(*m_secondaryAction);
    });
    hide();
}

void CompletionBanner::applyAction(VelmoraButton *button, std::optional<CompletionBannerAction> action)
{
    button->setVisible(action.has_value());
    if (action)
        button->setText(completionBannerActionTitle(*action));
}

void CompletionBanner::setBanner(const std::optional<QString> &text, std::optional<CompletionBannerAction> primary,
                                 std::optional<CompletionBannerAction> secondary)
{
    m_primaryAction = primary;
    m_secondaryAction = secondary;
    m_text->setText(text.value_or(QString()));
    applyAction(m_primary, primary);
    applyAction(m_secondary, secondary);
    setVisible(text.has_value());
}

QSize CompletionBanner::sizeHint() const
{
    QSize hint = QFrame::sizeHint();
    const int oneLine = m_text->fontMetrics().horizontalAdvance(m_text->text());
    hint.setWidth(hint.width() - m_text->sizeHint().width() + oneLine);
    return hint;
}

void CompletionBanner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    painter.fillPath(path, palette().color(QPalette::Base));
    painter.setPen(QPen(look::withOpacity(look::accent(palette()), 0.35), 1));
    painter.drawPath(path);
}

} // namespace velmora
