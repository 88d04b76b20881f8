#include "app/window/watched_alerts_menu.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"
#include "app/review/review_document.h"

#include <QMenu>

namespace velmora {

QList<WatchedAlertEntry> watchedAlertEntries(const WatchedAlertQueue<ReviewIntakeImage> &queue)
{
    QList<WatchedAlertEntry> entries;
    for (const ReviewIntakeImage &alert : queue.items) {
        const QString path = alert.filePath.value_or(QString());
        ReviewDocument item = ReviewDocument::make(QUrl::fromLocalFile(path), alert.displayLabel, alert.sourceType,
                                                   {}, alert.statusSentence);
        item.adoptOwnPlan(alert.plan.value_or(RedactionPlan::empty()), std::nullopt);
        entries.append({path, item.displayName() + QStringLiteral(" — ") + item.statusText()});
    }
    return entries;
}

WatchedAlertsMenu::WatchedAlertsMenu(QWidget *parent) : QToolButton(parent)
{
    setObjectName(QStringLiteral("watched-alerts-menu"));
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setFont(look::font(look::TextStyle::footnote, QFont::Medium));
    setIcon(SymbolIcon::icon(QStringLiteral("exclamationmark.triangle")));
    setMenu(new QMenu(this));
    setToolTip(QStringLiteral("Screenshots from the watched folder with possible leaks, newest first."));
    hide();
}

void WatchedAlertsMenu::setAlerts(const QList<WatchedAlertEntry> &alerts)
{
    if (alerts == m_alerts)
        return;
    m_alerts = alerts;
    setText(QStringLiteral("Watched alerts (%1)").arg(alerts.size()));
    setAccessibleName(text());
    menu()->clear();
    for (const WatchedAlertEntry &alert : alerts) {
        QAction *action = menu()->addAction(alert.title);
        connect(action, &QAction::triggered, this, [this, key = alert.key] { emit alertChosen(key); });
    }
    setVisible(!alerts.isEmpty());
}

} // namespace velmora
