#include "app/shell/velmora_app.h"

#include "app/protection/dbus_notification_center.h"
#include "app/protection/protection_notifications.h"
#include "app/review/review_controller.h"
#include "app/review/review_status_text.h"
#include "app/shell/build_trust_check.h"
#include "app/shell/command_bus.h"
#include "app/shell/command_names.h"
#include "app/shell/tray_icon.h"
#include "app/shell/updater.h"
#include "app/shell/window_activation.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"

#include <QApplication>
#include <QDir>

namespace velmora {

VelmoraApp::VelmoraApp(StoredSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_settingsWindow(settings, m_platform.desktop(), &m_protectionRuntime), m_updater(Updater::forThisBuild(this))
{
    registerNotificationCategories(DBusNotificationCenter::shared());
    // An answered risk notification opens the newest watched alert: the window comes
    // forward for it, shown again when it was closed to the tray.
    CommandBus::instance().observe(commands::velmoraOpenLatestWatchedScreenshot, this,
                                   [this](const QVariant &, const QVariantMap &) { bringMainWindowToFront(); });
    m_tray = std::make_unique<TrayIcon>(TrayIcon::Handlers{[this] { bringMainWindowToFront(); },
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
    bringMainWindowToFront();
    if (paths.isEmpty())
        return;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    ContentView *content = m_mainWindow->contentView();
    content->askBeforeDiscarding(
        [content, urls] { content->controller().loadImageURLs(urls, ReviewText::imageLoaded, true); });
}

bool VelmoraApp::keepsRunningInTray() const
{
    return m_tray && m_tray->isVisible();
}

MainWindow *VelmoraApp::createMainWindow()
{
    PlatformServices platform = m_platform.services(DBusNotificationCenter::shared());
    platform.protectionRuntime = &m_protectionRuntime;
    auto *contentView = new ContentView(m_settings, platform);
    MainWindow::Services services{m_settings, m_updater, [this] { return keepsRunningInTray(); },
                                  [] { QApplication::quit(); }, [this] { m_settingsWindow.open(m_mainWindow); }};
    // Closing only hides the window: the same window, with its review, comes back.
    auto *window = new MainWindow(std::move(services), contentView);
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
