#include "app/window/main_window.h"

#include "app/review/review_controller.h"
#include "app/review/unsaved_manual_edits.h"
#include "app/window/batch_arrow_keys.h"
#include "app/window/content_view.h"
#include "app/window/held_settings_question.h"
#include "app/window/main_menus.h"
#include "app/window/review_actions.h"
#include "app/window/window_session.h"

#include <QCloseEvent>
#include <QScreen>

#include <utility>

namespace velmora {

namespace {
constexpr QSize kDefaultSize{1320, 860};
constexpr QSize kMinimumSize{1040, 680};
constexpr QSize kFrameAllowance{16, 64}; ///< Room for a window manager's borders and title bar.
} // namespace

MainWindow::MainWindow(Services services, ContentView *contentView, QWidget *parent)
    : QMainWindow(parent), m_services(std::move(services)), m_contentView(contentView)
{
    setWindowTitle(QStringLiteral("Velmora"));
    setObjectName(QStringLiteral("main-window"));
    setCentralWidget(m_contentView);
    fitToScreen();

    MainMenus::Handlers handlers;
    handlers.openImages = [this] { m_contentView->openImagesFromPanel(); };
    handlers.openFolder = [this] { m_contentView->openFolderFromPanel(); };
    handlers.scanOrRescan = [this] { m_contentView->session().review().startDetection(); };
    handlers.quit = [this] { quitAfterAsking(); };
    handlers.openSettings = m_services.openSettingsWindow;
    m_contentView->setSettingsWindowOpener(m_services.openSettingsWindow);
    handlers.checkForUpdates = m_services.checkForUpdates;
    m_reviewActions = new ReviewActions(this);
    bindReviewActions(*m_reviewActions, m_contentView->session().review(), [this](std::function<void()> proceed) {
        m_contentView->askBeforeDiscarding(std::move(proceed));
    });
    m_menus = new MainMenus(*this, m_services.settings, m_services.commands, *m_reviewActions, std::move(handlers));
    m_contentView->addWindowActions(*this);
    new BatchArrowKeys(*this, m_contentView->session().review());
}

void MainWindow::fitToScreen()
{
    // Never larger than the screen's free area (a high scale factor makes a small
    // screen): every control stays reachable, the minimum size included.
    const QSize available = screen() ? screen()->availableGeometry().size() : kDefaultSize;
    const bool smallScreen = kDefaultSize.width() > available.width() || kDefaultSize.height() > available.height();
    // On a small screen the window opens maximized, so that a window manager's frame
    // shares the free area with it instead of passing its edge; the window must then be
    // able to shrink by the frame.
    setMinimumSize(kMinimumSize.boundedTo(smallScreen ? available - kFrameAllowance : available));
    resize(kDefaultSize.boundedTo(available));
    if (smallScreen)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::quitAfterAsking()
{
    // The question needs the window on screen, also when Quit comes from the tray.
    if (m_contentView->session().unsavedManualEdits().imageWithUnsavedEdits() && !isVisible())
        show();
    m_contentView->askBeforeDiscarding([this] {
        if (mayQuitWithSettings())
            m_services.quit();
    });
}

bool MainWindow::mayQuitWithSettings()
{
    if (std::exchange(m_isAskingAboutSettings, true))
        return false;
    const bool mayQuit = velmora::mayQuitWithSettings(
        m_services.settings, [this](SettingsSaveFailure failure) { return askAboutHeldSettings(*this, failure); });
    m_isAskingAboutSettings = false;
    return mayQuit;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_servicesStarted) {
        m_servicesStarted = true;
        m_contentView->session().startBackgroundServices();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closed by the user, not by a quit under way, with no tray to keep Velmora running.
    if (event->spontaneous() && !m_services.keepsRunningInTray() && !mayQuitWithSettings()) {
        event->ignore();
        return;
    }
    m_contentView->session().stopBackgroundServices();
    m_servicesStarted = false;
    event->accept();
    if (!m_services.keepsRunningInTray())
        m_services.quit();
}

} // namespace velmora
