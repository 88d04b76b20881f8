#pragma once

#include "app/review/review_intake.h"
#include "app/review/review_values.h"

#include <QList>
#include <QString>
#include <QToolButton>

namespace velmora {

/// One queued watched screenshot as the menu lists it.
struct WatchedAlertEntry
{
    QString key; ///< The screenshot's file: one alert per file.
    QString title;

    friend bool operator==(const WatchedAlertEntry &, const WatchedAlertEntry &) = default;
};

/// The menu's entries for the queued alerts, in queue order: file name and status.
QList<WatchedAlertEntry> watchedAlertEntries(const WatchedAlertQueue<ReviewIntakeImage> &queue);

// The menu of watched screenshots waiting for review, in the action bar: "Watched
// alerts (n)", one item per queued screenshot, newest first. Hidden while none waits.
class WatchedAlertsMenu : public QToolButton
{
    Q_OBJECT
public:
    explicit WatchedAlertsMenu(QWidget *parent = nullptr);

    void setAlerts(const QList<WatchedAlertEntry> &alerts);

signals:
    /// The user chose the screenshot to open.
    void alertChosen(const QString &key);

private:
    QList<WatchedAlertEntry> m_alerts;
};

} // namespace velmora
