#include "app/window/window_session.h"

#include "app/commands/command_bus.h"
#include "app/protection/protection_runtime.h"
#include "core/support/clock.h"
#include "core/settings/settings_watch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>

namespace velmora {

using namespace std::chrono_literals;

namespace {

constexpr auto openDetectionSettingsDelay = 200ms;

bool isApplicationActive()
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

} // namespace

WindowSession::WindowSession(StoredSettings &settings, CommandBus &commands, PlatformServices platform,
                             CapturePlatform capture, QObject *parent)
    : QObject(parent), m_settings(settings), m_commands(commands), m_clock(platform.clock),
      m_protectionRuntime(platform.protectionRuntime),
      m_clipboardGuard(platform.clipboard, settings, platform.clock),
      m_autoCleanUndo(platform.clipboard, platform.clock),
      m_review(ReviewEnvironment{platform.scanEngine, settings, platform.clipboard, platform.clock, m_clipboardGuard,
                                 m_autoCleanUndo, platform.fileDialogs, platform.notifications, isApplicationActive,
                                 platform.desktop}),
      m_clipboardScan(m_review.intake(), platform.clipboard, m_clipboardGuard.monitorPlan(), m_autoCleanUndo,
                      platform.notifications, isApplicationActive),
      m_watchedScreenshots(m_review.intake(), platform.notifications, isApplicationActive,
                           platform.scanEngine.concurrentScans()),
      m_screenshotWatch(settings, platform.clock),
      m_capture(m_review.intake(), commands,
                {settings, platform.clipboard, platform.clock, m_clipboardGuard.monitorPlan(), m_autoCleanUndo,
                 platform.notifications, isApplicationActive},
                [this] { m_hooks.bringWindowForward(); },
                [this](std::function<void()> open, std::function<void()> wait) {
                    m_hooks.replaceReview(std::move(open), std::move(wait));
                },
                std::move(capture)),
      m_installController(settings, QCoreApplication::applicationFilePath()),
      m_helpSheets(settings, platform.clock, {[this] { m_hooks.loadQuickStartSample(); }, {}}),
      m_unsavedEdits(m_review),
      m_settingsSaveRetry(settings, platform.clock)
{
    observeCommands();
    connect(&m_installController, &ApplicationInstallController::promptResolved, this,
            [this] { m_helpSheets.presentOnboardingIfNeeded(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            return;
        m_review.applicationBecameActive();
        m_settingsSaveRetry.retryNow();
    });
}

WindowSession::~WindowSession()
{
    stopBackgroundServices();
}

void WindowSession::attachWindow(WindowSessionHooks hooks)
{
    m_hooks = std::move(hooks);
}

void WindowSession::observeCommands()
{
    ReviewController &review = m_review;
    // A watch whose folder went away says so where the user looks, not only in the settings.
    connect(&m_screenshotWatch, &ScreenshotWatchController::interrupted, this,
            [&review](const QString &runtimeStatus) { review.intake().showStatus(runtimeStatus); });
    connect(&m_screenshotWatch, &ScreenshotWatchController::isRunningChanged, this, &WindowSession::reportProtections);
    connect(&m_screenshotWatch, &ScreenshotWatchController::runtimeStatusChanged, this,
            &WindowSession::reportProtections);
    connect(&m_clipboardGuard, &ClipboardProtectionController::isRunningChanged, this,
            &WindowSession::reportProtections);
    connect(&m_clipboardGuard, &ClipboardProtectionController::runtimeStatusChanged, this,
            &WindowSession::reportProtections);

    m_commands.observe(commands::velmoraShowHelpCenter, this,
                       [this] { m_helpSheets.showHelpSheet(VelmoraHelpSheet::helpCenter); });
    m_commands.observe(commands::velmoraShowOnboarding, this,
                       [this] { m_helpSheets.showHelpSheet(VelmoraHelpSheet::onboarding); });
    m_commands.observe(commands::velmoraCustomDetectionSettingsDidChange, this,
                       [&review](const std::optional<DetectionSettingsValues> &values) {
                           review.applyCustomDetectionSettings(values);
                       });
    connect(&review, &ReviewController::customSettingsRescanCompleted, this,
            [this] { m_commands.post(commands::velmoraCustomDetectionSettingsRescanCompleted); });
    // A closed window keeps its protections stopped until it is shown again.
    new SettingsWatch(m_settings, {Setting::isClipboardProtectionEnabled, Setting::clipboardReplacementModeID},
                      [this] {
                          if (m_backgroundServicesRunning)
                              startClipboardGuard();
                      },
                      this);
    new SettingsWatch(m_settings, {Setting::isScreenshotWatchEnabled, Setting::screenshotWatchFolderBookmark},
                      [this] {
                          if (m_backgroundServicesRunning)
                              applyScreenshotWatchSettings();
                      },
                      this);
    // The answer to a notification: the application brings the window to the front for
    // it, but the alert may arrive while another application is still in front.
    m_commands.observe(commands::velmoraOpenLatestWatchedScreenshot, this, [this] {
        if (m_review.state().watchedScreenshotQueue.items.isEmpty())
            return;
        m_hooks.replaceReview([this] { m_review.openWatchedScreenshot(); },
                              [this] { m_watchedScreenshots.offerLatestAlert(); });
    });
}

void WindowSession::openDetectionSettingsSoon()
{
    m_clock.schedule(openDetectionSettingsDelay, [session = QPointer<WindowSession>(this)] {
        if (session)
            session->m_commands.post(commands::velmoraOpenDetectionSettings);
    });
}

void WindowSession::startBackgroundServices()
{
    m_backgroundServicesRunning = true;
    m_capture.startHotKeys();
    applyScreenshotWatchSettings();
    startClipboardGuard();
    reportProtections();
    if (!m_installController.evaluateInstallLocation(false))
        m_helpSheets.presentOnboardingIfNeeded();
}

void WindowSession::stopBackgroundServices()
{
    m_backgroundServicesRunning = false;
    m_capture.stopHotKeys();
    m_screenshotWatch.stop();
    m_watchedScreenshots.cancelScans();
    m_clipboardGuard.stop();
    m_clipboardScan.cancelScans();
    m_review.cancelRunningScans();
    reportProtections();
}

void WindowSession::reportProtections()
{
    if (!m_protectionRuntime)
        return;
    if (m_backgroundServicesRunning)
        m_protectionRuntime->reportRunning(m_screenshotWatch, m_clipboardGuard);
    else
        m_protectionRuntime->reportWindowClosed();
}

void WindowSession::startClipboardGuard()
{
    // The guard reads its switch and mode itself, and reports when it is off.
    m_clipboardGuard.start(
        [this](const ClipboardImageCandidate &candidate) { m_clipboardScan.scanClipboardImage(candidate); });
}

void WindowSession::applyScreenshotWatchSettings()
{
    // The watch reads its switch and folder itself, and reports when it is off.
    m_screenshotWatch.start([this](const QList<QUrl> &urls) { m_watchedScreenshots.scanWatchedScreenshots(urls); });
}

} // namespace velmora
