#include "app/settings/folder_watch_section.h"

#include "app/kit/look.h"
#include "app/kit/velmora_button.h"
#include "app/protection/notification_center.h"
#include "app/protection/protection_notifications.h"
#include "app/protection/protection_runtime.h"
#include "app/protection/screenshot_watch_controller.h"
#include "app/protection/screenshot_watch_folder_store.h"
#include "app/settings/policy_file_chooser.h"
#include "core/settings/stored_settings.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>

namespace velmora {

namespace {

constexpr int stopMinimumWidth = 88;

QString permissionStatusText(NotificationPermission permission)
{
    switch (permission) {
    case NotificationPermission::authorized:
    case NotificationPermission::provisional:
        return QObject::tr("Screenshot watch enabled. Velmora will notify you when sensitive data is found.");
    case NotificationPermission::notDetermined:
        return QObject::tr("Screenshot watch enabled. Notification permission has not been decided yet.");
    case NotificationPermission::denied:
        return QObject::tr("Screenshot watch enabled. Notifications are off, so check Watched alerts in Velmora or "
                           "open your desktop's notification settings.");
    }
    return QObject::tr("Screenshot watch enabled. Check your desktop's notification settings if alerts do not appear.");
}

} // namespace

FolderWatchSection::FolderWatchSection(StoredSettings &settings, Services services, QWidget *parent)
    : SettingsSection(tr("Screenshot Folder Watch"), tr("Watch scans new images after they are saved in the selected "
                                                        "folder. Velmora never edits source screenshots."),
                      parent),
      m_settings(settings), m_services(std::move(services))
{
    setObjectName(QStringLiteral("settings-folder-watch"));
    m_toggle = new QCheckBox(tr("Watch selected folder"));
    m_toggle->setObjectName(QStringLiteral("screenshot-watch-enable-toggle"));
    connect(m_toggle, &QCheckBox::clicked, this, &FolderWatchSection::setScreenshotWatchEnabled);
    addRow(m_toggle);
    m_summary = makeSettingsCaption(QString(), QStringLiteral("screenshot-watch-folder-summary"));
    addRow(m_summary);

    auto *desktop = makeVelmoraButton(tr("Desktop"), QStringLiteral("desktopcomputer"), VelmoraControlTone::secondary,
                                      std::nullopt, QStringLiteral("screenshot-watch-desktop-button"));
    connect(desktop, &QPushButton::clicked, this, [this] {
        chooseScreenshotWatchFolder(tr("Watch Desktop"),
                                    tr("Choose Desktop to let Velmora scan new screenshots after they are saved there."),
                                    tr("Watch Desktop"), ScreenshotWatchController::desktopFolder());
    });
    auto *screenshots =
        makeVelmoraButton(tr("Screenshots"), QStringLiteral("camera.viewfinder"), VelmoraControlTone::secondary,
                          std::nullopt, QStringLiteral("screenshot-watch-screenshots-button"));
    connect(screenshots, &QPushButton::clicked, this, [this] {
        chooseScreenshotWatchFolder(tr("Watch Screenshots Folder"),
                                    tr("Choose the folder where your desktop saves screenshots so Velmora can scan new "
                                       "image files after capture."),
                                    tr("Watch Screenshots"), ScreenshotWatchController::defaultFolder());
    });
    auto *choose = makeVelmoraButton(tr("Choose Folder"), QStringLiteral("folder.badge.plus"),
                                     VelmoraControlTone::secondary, std::nullopt,
                                     QStringLiteral("screenshot-watch-choose-folder-button"));
    connect(choose, &QPushButton::clicked, this, [this] {
        chooseScreenshotWatchFolder(tr("Choose Folder to Watch"),
                                    tr("Choose one folder. Velmora will scan new supported image files after they are "
                                       "fully written."),
                                    tr("Watch Folder"), ScreenshotWatchController::defaultFolder());
    });
    m_stop = makeVelmoraButton(tr("Stop"), QStringLiteral("xmark.circle"), VelmoraControlTone::destructive,
                               stopMinimumWidth, QStringLiteral("screenshot-watch-stop-button"));
    connect(m_stop, &QPushButton::clicked, this, &FolderWatchSection::stopScreenshotWatch);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(desktop);
    buttons->addWidget(screenshots);
    buttons->addWidget(choose);
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    addRow(buttons);

    addRow(makeSettingsCaption(tr("Velmora watches screenshots after they are saved. It does not intercept the "
                                  "desktop's native screenshot shortcuts before capture, and it never modifies the "
                                  "source file."),
                               QStringLiteral("screenshot-watch-boundary-copy")));
    m_status = makeSettingsStatusLine(QStringLiteral("screenshot-watch-status"));
    addRow(m_status);
    m_recovery = makeVelmoraButton(tr("Open Notification Settings"), QStringLiteral("bell.badge"),
                                   VelmoraControlTone::secondary, std::nullopt,
                                   QStringLiteral("screenshot-watch-open-notification-settings-button"));
    connect(m_recovery, &QPushButton::clicked, this, [this] { m_services.openNotificationSettings(); });
    m_recovery->setVisible(false);
    auto *recoveryRow = new QHBoxLayout;
    recoveryRow->addWidget(m_recovery);
    recoveryRow->addStretch(1);
    addRow(recoveryRow);

    connect(&m_settings, &StoredSettings::changed, this, &FolderWatchSection::refresh);
    if (m_services.runtime)
        connect(m_services.runtime, &ProtectionRuntime::changed, this, &FolderWatchSection::refresh);
    refresh();
}

bool FolderWatchSection::hasFolder() const
{
    return !m_settings.value(Setting::screenshotWatchFolderPath).isEmpty();
}

void FolderWatchSection::refresh()
{
    const bool folder = hasFolder();
    m_toggle->setChecked(m_settings.value(Setting::isScreenshotWatchEnabled));
    m_toggle->setEnabled(folder);
    m_stop->setEnabled(folder);
    m_summary->setText(screenshotWatchFolderSummary());
    showStatus();
}

std::optional<QString> FolderWatchSection::haltSentence() const
{
    if (!m_services.runtime || !m_settings.value(Setting::isScreenshotWatchEnabled) || !hasFolder())
        return std::nullopt;
    if (const std::optional<ProtectionHalt> &halt = m_services.runtime->folderWatchHalt())
        return halt->detail;
    return std::nullopt;
}

QString FolderWatchSection::screenshotWatchFolderSummary() const
{
    if (!hasFolder())
        return tr("Choose Desktop, your Screenshots folder, or another folder to scan new images after they are "
                  "written.");
    QString name = m_settings.value(Setting::screenshotWatchFolderDisplayName);
    if (name.isEmpty())
        name = m_settings.value(Setting::screenshotWatchFolderPath);
    QString state = tr("Watching");
    if (!m_settings.value(Setting::isScreenshotWatchEnabled))
        state = tr("Paused");
    else if (haltSentence())
        state = tr("Stopped");
    return state + QStringLiteral(": ") + name;
}

void FolderWatchSection::setScreenshotWatchEnabled(bool on)
{
    if (!hasFolder()) {
        m_settings.setValue(Setting::isScreenshotWatchEnabled, false);
        setStatusText(tr("Choose a folder before enabling watch."));
        refresh(); // a refused switch shows the stored value again
        return;
    }
    m_settings.setValue(Setting::isScreenshotWatchEnabled, on);
    setStatusText(on ? tr("Screenshot watch enabled.") : tr("Screenshot watch paused."));
    setShowsRecovery(false);
    if (on)
        checkNotificationPermission();
}

void FolderWatchSection::chooseScreenshotWatchFolder(const QString &title, const QString &message,
                                                     const QString &prompt, const std::optional<QString> &startFolder)
{
    const std::optional<QString> folder =
        m_services.folders.chooseFolder({title, message, prompt, startFolder.value_or(QString()), false});
    if (!folder)
        return;
    if (!saveScreenshotWatchFolder(m_settings, *folder)) {
        setStatusText(tr("Could not save folder access. Choose the folder again."));
        return;
    }
    setStatusText(tr("Watching %1.").arg(QDir(*folder).dirName()));
    checkNotificationPermission();
}

void FolderWatchSection::stopScreenshotWatch()
{
    clearScreenshotWatchFolder(m_settings);
    setStatusText(tr("Screenshot watch stopped."));
}

void FolderWatchSection::refreshOnAppear()
{
    if (m_settings.value(Setting::isScreenshotWatchEnabled) && hasFolder())
        checkNotificationPermission();
}

void FolderWatchSection::checkNotificationPermission()
{
    // Answers may come inside the call or later; they are applied on a later turn,
    // and only while this section still exists.
    QPointer<FolderWatchSection> self(this);
    auto apply = [self](NotificationPermission permission) {
        if (self)
            QMetaObject::invokeMethod(
                self.data(), [self, permission] { self->applyWatchNotificationStatus(permission); },
                Qt::QueuedConnection);
    };
    if (const std::optional<NotificationPermission> override = uiTestNotificationAuthorizationStatus()) {
        apply(*override);
        return;
    }
    NotificationCenter &center = m_services.notifications;
    center.fetchPermission([&center, apply](NotificationPermission current) {
        requestNotificationAuthorizationIfNeeded(current, center, apply);
    });
}

void FolderWatchSection::applyWatchNotificationStatus(NotificationPermission permission)
{
    // The user may have paused or stopped the watch before the answer came: it then
    // says nothing about the watch any more.
    if (!m_settings.value(Setting::isScreenshotWatchEnabled) || !hasFolder())
        return;
    setStatusText(permissionStatusText(permission));
    setShowsRecovery(!allowsPosting(permission));
}

QString FolderWatchSection::statusText() const
{
    return m_status->text();
}

bool FolderWatchSection::showsNotificationSettingsRecovery() const
{
    return !m_recovery->isHidden();
}

void FolderWatchSection::setStatusText(const QString &text)
{
    m_message = text;
    showStatus();
}

void FolderWatchSection::showStatus()
{
    const std::optional<QString> halt = haltSentence();
    setSettingsStatus(m_status, halt.value_or(m_message));
    // The button goes with the notification sentence it answers.
    m_recovery->setVisible(m_offersRecovery && !halt);
}

void FolderWatchSection::setShowsRecovery(bool shows)
{
    m_offersRecovery = shows;
    showStatus();
}

} // namespace velmora
