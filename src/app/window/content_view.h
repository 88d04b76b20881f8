#pragma once

#include "app/review/review_model_enums.h"
#include "app/window/platform_services.h"

#include <QWidget>

#include <functional>
#include <memory>

class QMainWindow;
class QStackedWidget;

namespace velmora {

class AmbientModePills;
class ApplicationInstallController;
class BatchSidebar;
class CaptureServices;
class CommandBus;
class CompletionBanner;
class DiscardQuestion;
class DropTargetView;
class ExportActionBar;
class FindingsPanel;
class HeaderBar;
class HelpSheetHost;
class ImageReviewView;
class ProtectionRuntime;
class ReviewController;
class ScreenshotWatchController;
class StoredSettings;
class WatchedAlertsMenu;
class UnsavedManualEdits;

// The main window's view. It owns the review (a ReviewController over the platform
// services it is given) and the window's long-lived controllers for as long as it lives,
// lays out the header, the review panes and the action bar, draws the review state
// and turns the user's gestures into review operations.
class ContentView : public QWidget
{
    Q_OBJECT
public:
    /// Every scan, delay, clipboard access, panel and desktop call of the window and its
    /// review goes through `platform`; the app-wide commands it posts and observes travel
    /// on `commands`.
    ContentView(StoredSettings &settings, CommandBus &commands, PlatformServices platform, QWidget *parent = nullptr);
    ~ContentView() override;

    ReviewController &controller() const { return *m_controller; }
    HelpSheetHost &helpSheets() const { return *m_helpSheets; }
    ApplicationInstallController &installController() const { return *m_installController; }
    ScreenshotWatchController &screenshotWatch() const { return *m_screenshotWatch; }

    /// Open... and Open Folder..., after asking about hand-made boxes that would be lost.
    void openImagesFromPanel();
    void openFolderFromPanel();
    /// Opens the newest watched alert, after asking about hand-made boxes that would be lost.
    void openLatestWatchedScreenshot();
    /// Runs an operation that ends the review, after asking when hand-made boxes not yet
    /// copied or exported would be lost; Cancel runs nothing.
    void askBeforeDiscarding(std::function<void()> proceed);
    const UnsavedManualEdits &unsavedManualEdits() const { return *m_unsavedEdits; }
    /// Window-wide keys of the panes, registered once on the window.
    void addWindowActions(QMainWindow &window);

    /// When the window is shown: the background protections by their stored settings,
    /// then the install-location check, then onboarding unless the reminder came up.
    void startBackgroundServices();
    /// When the window goes away: protections stopped, every running scan cancelled.
    void stopBackgroundServices();

    /// A banner button: an action that would replace the review asks about hand-made
    /// boxes first; the review performs it.
    void performCompletionBannerAction(CompletionBannerAction action);
    /// How the help centre and the findings panel open the settings window.
    void setSettingsWindowOpener(std::function<void()> openSettingsWindow);

signals:
    /// The review warning's question is up, its continue button titled `continueTitle`.
    void reviewWarningShown(const QString &continueTitle);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    void connectCommands();
    void refresh();
    void presentReviewWarningIfNeeded();
    void presentInstallReminder();
    /// (Re)starts the clipboard guard from its stored settings, handing its images to the review.
    void startClipboardGuard();
    /// (Re)starts the screenshot watch from its stored settings, handing new files to the review.
    void applyScreenshotWatchSettings();
    void openSettingsWindow();
    /// Tells the protection runtime how the watch and the guard run now.
    void reportProtections();

    StoredSettings &m_settings;
    CommandBus &m_commands;
    Clock &m_clock;
    ProtectionRuntime *m_protectionRuntime = nullptr;
    std::function<void()> m_openSettingsWindow;
    std::unique_ptr<ReviewController> m_controller;
    CaptureServices *m_captureServices = nullptr;
    std::unique_ptr<ScreenshotWatchController> m_screenshotWatch;
    ApplicationInstallController *m_installController = nullptr;
    HelpSheetHost *m_helpSheets = nullptr;
    UnsavedManualEdits *m_unsavedEdits = nullptr;
    DiscardQuestion *m_discardQuestion = nullptr;

    HeaderBar *m_header = nullptr;
    CompletionBanner *m_banner = nullptr;
    BatchSidebar *m_batchSidebar = nullptr;
    QWidget *m_batchDivider = nullptr;
    QStackedWidget *m_canvasStack = nullptr;
    DropTargetView *m_dropTarget = nullptr;
    ImageReviewView *m_canvas = nullptr;
    FindingsPanel *m_findingsPanel = nullptr;
    ExportActionBar *m_actionBar = nullptr;
    AmbientModePills *m_ambientModePills = nullptr;
    WatchedAlertsMenu *m_watchedAlertsMenu = nullptr;
    bool m_isShowingReviewWarning = false;
    bool m_backgroundServicesRunning = false;
};

} // namespace velmora
