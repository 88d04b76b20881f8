#include "app/shell/velmora_app.h"

#include "app/kit/log_categories.h"
#include "app/kit/window_activation.h"
#include "app/protection/dbus_notification_center.h"
#include "app/protection/protection_notifications.h"
#include "app/review/review_controller.h"
#include "app/review/review_status_text.h"
#include "app/shell/build_trust_check.h"
#include "app/shell/tray_icon.h"
#include "app/shell/updater.h"
#include "app/window/content_view.h"
#include "app/window/held_settings_question.h"
#include "app/window/main_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QSessionManager>

namespace velmora {

namespace {

/// The answer to Check for Updates, over the main window: a newer version offers its
/// download page.
void presentUpdateCheckResult(QWidget *window, const UpdateCheckResult &result)
{
    if (!result.downloadURL.isValid()) {
        QMessageBox::information(window, VelmoraApp::tr("Check for Updates"), result.message);
        return;
    }
    if (QMessageBox::question(window, VelmoraApp::tr("Check for Updates"),
                              result.message + QLatin1Char(' ') + VelmoraApp::tr("Open the download page?"))
        == QMessageBox::Yes)
        QDesktopServices::openUrl(result.downloadURL);
}

} // namespace

VelmoraApp::VelmoraApp(StoredSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings),
      m_settingsWindow(settings, m_commands, m_platform.desktop(), &m_protectionRuntime),
      m_updater(Updater::forThisBuild(this))
{
    registerNotificationCategories(DBusNotificationCenter::shared(), m_commands);
    // An answered risk notification opens the newest watched alert: the window comes
    // forward for it, shown again when it was closed to the tray.
    m_commands.observe(commands::velmoraOpenLatestWatchedScreenshot, this, [this] { bringMainWindowToFront(); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, &VelmoraApp::saveSettingsAsSessionEnds);
    m_tray = std::make_unique<TrayIcon>(m_commands, TrayIcon::Handlers{[this] { bringMainWindowToFront(); },
                                                           [this] { m_settingsWindow.open(m_mainWindow); }, [this] {
        if (m_mainWindow)
            m_mainWindow->quitAfterAsking();
        else
            QApplication::quit();
    }});
}

VelmoraApp::~VelmoraApp()
{
    delete m_mainWindow;
}

void VelmoraApp::start()
{
    logBuildTrust(assessBuild(QCoreApplication::applicationFilePath(), QDir::homePath(), isDebugBuild()));
    QApplication::setQuitOnLastWindowClosed(false);
    m_tray->show();
    bringMainWindowToFront();
}

void VelmoraApp::openPaths(const QStringList &paths)
{
    qCInfo(lcShell) << "Opening" << paths;
    bringMainWindowToFront();
    if (paths.isEmpty())
        return;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    ContentView *content = m_mainWindow->contentView();
    content->askBeforeDiscarding(
        [content, urls] { content->session().review().loadImageURLs(urls, ReviewText::imageLoaded, true); });
}

bool VelmoraApp::keepsRunningInTray() const
{
    return m_tray && m_tray->isVisible();
}

void VelmoraApp::saveSettingsAsSessionEnds(QSessionManager &manager)
{
    // The session manager lets an application ask the user only when it grants it.
    std::optional<bool> mayAsk;
    const bool mayEnd = mayQuitWithSettings(m_settings, [&](SettingsSaveFailure failure) {
        if (!mayAsk)
            mayAsk = m_mainWindow && manager.allowsInteraction();
        return *mayAsk ? askAboutHeldSettings(*m_mainWindow, failure) : HeldSettingsChoice::quitAnyway;
    });
    if (!mayEnd)
        manager.cancel();
    if (mayAsk.value_or(false))
        manager.release();
}

MainWindow *VelmoraApp::createMainWindow()
{
    PlatformServices platform = m_platform.services(DBusNotificationCenter::shared());
    platform.protectionRuntime = &m_protectionRuntime;
    m_session = std::make_unique<WindowSession>(m_settings, m_commands, platform);
    auto *contentView = new ContentView(*m_session);
    std::function<void()> checkForUpdates;
    if (m_updater->canCheckForUpdates())
        checkForUpdates = [updater = m_updater] { updater->checkForUpdates(); };
    MainWindow::Services services{m_settings, m_commands, std::move(checkForUpdates),
                                  [this] { return keepsRunningInTray(); }, [] { QApplication::quit(); },
                                  [this] { m_settingsWindow.open(m_mainWindow); }};
    // Closing only hides the window: the same window, with its review, comes back.
    auto *window = new MainWindow(std::move(services), contentView);
    connect(m_updater, &Updater::checkFinished, window,
            [window](const UpdateCheckResult &result) { presentUpdateCheckResult(window, result); });
    m_platform.setDialogWindow(window);
    return window;
}

void VelmoraApp::bringMainWindowToFront()
{
    if (!m_mainWindow)
        m_mainWindow = createMainWindow();
    bringWindowToFront(*m_mainWindow);
}

} // namespace velmora
