#pragma once

#include "app/review/review_model_enums.h"

#include <QWidget>

#include <functional>

class QMainWindow;
class QStackedWidget;

namespace velmora {

class AmbientModePills;
class BatchSidebar;
class CompletionBanner;
class DiscardQuestion;
class DropTargetView;
class ExportActionBar;
class FindingsPanel;
class HeaderBar;
class ReviewController;
class ImageReviewView;
class WatchedAlertsMenu;
class WindowSession;

// The main window's view: it lays out the header, the review panes and the action bar
// over the window session it is given, draws the review state and turns the user's
// gestures into review operations. The session outlives the view.
class ContentView : public QWidget
{
    Q_OBJECT
public:
    explicit ContentView(WindowSession &session, QWidget *parent = nullptr);
    ~ContentView() override;

    WindowSession &session() const { return m_session; }

    /// Open... and Open Folder..., after asking about hand-made boxes that would be lost.
    void openImagesFromPanel();
    void openFolderFromPanel();
    /// Opens the newest watched alert, after asking about hand-made boxes that would be lost.
    void openLatestWatchedScreenshot();
    /// Runs an operation that ends the review, after asking when hand-made boxes not yet
    /// copied or exported would be lost; Cancel runs nothing.
    void askBeforeDiscarding(std::function<void()> proceed);
    /// Window-wide keys of the panes, registered once on the window.
    void addWindowActions(QMainWindow &window);

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
    void showSettingsSaveFailure();
    void presentReviewWarningIfNeeded();
    void presentInstallReminder();
    void openSettingsWindow();

    WindowSession &m_session;
    ReviewController &m_controller;
    std::function<void()> m_openSettingsWindow;
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
};

} // namespace velmora
