#include "app/window/content_view.h"

#include "app/commands/command_bus.h"
#include "app/help/quick_start_sample.h"
#include "app/kit/look.h"
#include "app/kit/window_activation.h"
#include "app/panes/batch_sidebar.h"
#include "app/panes/drop_target_view.h"
#include "app/panes/findings_panel.h"
#include "app/panes/image_review_view.h"
#include "app/panes/manual_edit_controls.h"
#include "app/protection/screenshot_watch_controller.h"
#include "app/review/dropped_images.h"
#include "app/review/review_controller.h"
#include "app/review/review_queries.h"
#include "app/review/review_warning_text.h"
#include "app/window/ambient_mode_pills.h"
#include "app/window/batch_sidebar_binding.h"
#include "app/window/canvas_binding.h"
#include "app/window/completion_banner.h"
#include "app/window/discard_question.h"
#include "app/window/export_action_bar.h"
#include "app/window/export_action_bar_binding.h"
#include "app/window/findings_binding.h"
#include "app/window/header_bar.h"
#include "app/window/help_sheet_presenter.h"
#include "app/window/install_reminder_dialog.h"
#include "app/window/manual_edit_binding.h"
#include "app/window/message_box_answer.h"
#include "app/window/watched_alerts_menu.h"
#include "app/window/window_session.h"

#include "core/settings/stored_settings.h"
#include "core/support/clock.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace velmora {

ContentView::ContentView(WindowSession &session, QWidget *parent)
    : QWidget(parent), m_session(session), m_controller(session.review())
{
    new HelpSheetPresenter(m_session.helpSheets(), this);
    m_discardQuestion = new DiscardQuestion(
        m_session.unsavedManualEdits(),
        [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }, this);
    m_session.attachWindow(
        {[this] { activateAppAndPerformOnMain([this] { bringWindowToFront(*window()); }); },
         [this](std::function<void()> open, std::function<void()> wait) {
             m_discardQuestion->askOrWait(std::move(open), wait);
         },
         [this] { askBeforeDiscarding([this] { loadQuickStartSample(m_controller.intake(), palette()); }); }});

    setAcceptDrops(true);
    buildLayout();
    bindBatchSidebarToReview(*m_batchSidebar, m_controller);
    bindCanvasToReview(*m_canvas, m_controller);
    bindFindingsToReview(*m_findingsPanel, m_controller);
    bindExportActionBarToReview(*m_actionBar, m_controller);
    connectCommands();
    connect(&m_controller, &ReviewController::changed, this, &ContentView::refresh);
    connect(&m_session.settings(), &StoredSettings::saveFailureChanged, this, &ContentView::showSettingsSaveFailure);
    showSettingsSaveFailure();
    connect(&m_session.installController(), &ApplicationInstallController::reminderRaised, this,
            &ContentView::presentInstallReminder);
    refresh();
}

ContentView::~ContentView()
{
    m_session.stopBackgroundServices();
    m_session.attachWindow({});
}

void ContentView::buildLayout()
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_header = new HeaderBar(this);
    column->addWidget(m_header);
    column->addWidget(look::makeDivider(Qt::Horizontal, this));

    auto *split = new QHBoxLayout;
    split->setContentsMargins(0, 0, 0, 0);
    split->setSpacing(0);
    m_batchSidebar = new BatchSidebar(this);
    m_batchDivider = look::makeDivider(Qt::Vertical, this);
    split->addWidget(m_batchSidebar);
    split->addWidget(m_batchDivider);

    m_canvasStack = new QStackedWidget(this);
    auto *emptyPage = new QWidget(m_canvasStack);
    auto *emptyLayout = new QVBoxLayout(emptyPage);
    emptyLayout->setContentsMargins(48, 48, 48, 48);
    m_dropTarget = new DropTargetView(m_session.settings(), emptyPage);
    emptyLayout->addWidget(m_dropTarget);
    m_canvas = new ImageReviewView(m_canvasStack);
    m_canvasStack->addWidget(emptyPage);
    m_canvasStack->addWidget(m_canvas);
    split->addWidget(m_canvasStack, 1);
    split->addWidget(look::makeDivider(Qt::Vertical, this));

    m_findingsPanel = new FindingsPanel(this);
    auto *manualEdits = new ManualEditControls;
    bindManualEditsToReview(*manualEdits, m_controller);
    m_findingsPanel->setManualEditingTools(manualEdits);
    connect(m_findingsPanel, &FindingsPanel::openDetectionSettingsRequested, this, [this] {
        openSettingsWindow();
        m_session.openDetectionSettingsSoon();
    });
    // A window shorter than the column scrolls it, so that every control stays reachable.
    auto *findingsColumn = new QScrollArea(this);
    findingsColumn->setObjectName(QStringLiteral("findings-column-scroll"));
    findingsColumn->setWidgetResizable(true);
    findingsColumn->setFrameShape(QFrame::NoFrame);
    findingsColumn->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    findingsColumn->setWidget(m_findingsPanel);
    findingsColumn->setFixedWidth(m_findingsPanel->minimumWidth()
                                  + findingsColumn->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    split->addWidget(findingsColumn);
    column->addLayout(split, 1);

    column->addWidget(look::makeDivider(Qt::Horizontal, this));
    m_actionBar = new ExportActionBar(this);
    m_ambientModePills = new AmbientModePills(m_session.clipboardGuard(), m_actionBar);
    m_watchedAlertsMenu = new WatchedAlertsMenu(m_actionBar);
    // The banner sits in the bar's free middle, beside the outputs it reports on: it hides
    // nothing of the review, and coming and going it moves nothing.
    m_banner = new CompletionBanner(m_actionBar);
    m_actionBar->placeStatusWidgets(m_ambientModePills, m_watchedAlertsMenu, m_banner);
    column->addWidget(m_actionBar);
}

void ContentView::connectCommands()
{
    ReviewController &review = m_controller;
    connect(m_header, &HeaderBar::openRequested, this, &ContentView::openImagesFromPanel);
    connect(m_header, &HeaderBar::pasteRequested, this,
            [this, &review] { askBeforeDiscarding([&review] { review.pasteImageFromClipboard(); }); });
    connect(m_header, &HeaderBar::rescanRequested, this, [&review] { review.startDetection(); });
    connect(m_header, &HeaderBar::cancelDetectionRequested, this, [&review] { review.cancelRunningScans(); });
    connect(m_header, &HeaderBar::closeRequested, this,
            [this, &review] { askBeforeDiscarding([&review] { review.closeCurrentReview(); }); });
    connect(m_header, &HeaderBar::redactAllRequested, this, [&review] { review.setAllFindingsIncluded(true); });
    connect(m_header, &HeaderBar::makeAllVisibleRequested, this, [&review] { review.setAllFindingsIncluded(false); });
    connect(m_dropTarget, &DropTargetView::openImageRequested, this, &ContentView::openImagesFromPanel);
    connect(m_dropTarget, &DropTargetView::openBatchRequested, this, &ContentView::openFolderFromPanel);
    connect(m_dropTarget, &DropTargetView::pasteImageRequested, this, [&review] { review.pasteImageFromClipboard(); });
    connect(m_dropTarget, &DropTargetView::captureAreaRequested, this,
            [this] { m_session.commands().post(commands::velmoraCaptureRequested, VelmoraCaptureMode::area); });
    connect(m_banner, &CompletionBanner::actionTriggered, this, &ContentView::performCompletionBannerAction);
    connect(m_banner, &CompletionBanner::closeRequested, this, [&review] { review.closeCompletionBanner(); });
    connect(m_watchedAlertsMenu, &WatchedAlertsMenu::alertChosen, this,
            [this, &review](const QString &filePath) {
                askBeforeDiscarding([&review, filePath] { review.openWatchedScreenshot(filePath); });
            });
    connect(&m_session.screenshotWatch(), &ScreenshotWatchController::isRunningChanged, m_ambientModePills,
            &AmbientModePills::setScreenshotWatchRunning);
}

void ContentView::addWindowActions(QMainWindow &window)
{
    window.addActions(m_findingsPanel->windowActions());
}

void ContentView::openImagesFromPanel()
{
    askBeforeDiscarding([this] { m_controller.openImagesFromPanel(); });
}

void ContentView::openFolderFromPanel()
{
    askBeforeDiscarding([this] { m_controller.openFolderFromPanel(); });
}

void ContentView::openLatestWatchedScreenshot()
{
    if (m_controller.state().watchedScreenshotQueue.items.isEmpty())
        return;
    askBeforeDiscarding([this] { m_controller.openWatchedScreenshot(); });
}

void ContentView::askBeforeDiscarding(std::function<void()> proceed)
{
    m_discardQuestion->askBeforeDiscarding(std::move(proceed));
}

void ContentView::refresh()
{
    const ReviewState &state = m_controller.state();
    m_header->showState(state);
    m_watchedAlertsMenu->setAlerts(watchedAlertEntries(state.watchedScreenshotQueue));
    const ReviewBanner &banner = m_controller.banner();
    m_banner->setBanner(banner.text(), banner.primaryAction(), banner.secondaryAction());
    const bool showsBatch = state.batch.items().size() >= 2;
    m_batchSidebar->setVisible(showsBatch);
    m_batchDivider->setVisible(showsBatch);
    m_canvasStack->setCurrentIndex(state.hasImageOnScreen() ? 1 : 0);
    presentReviewWarningIfNeeded();
}

void ContentView::showSettingsSaveFailure()
{
    m_header->showSettingsSaveFailure(settingsSaveFailureText(m_session.settings().saveFailure()));
}

void ContentView::presentReviewWarningIfNeeded()
{
    const std::optional<ShareAction> action = m_controller.shareGate().pendingAction();
    if (!action || m_isShowingReviewWarning)
        return;
    m_isShowingReviewWarning = true;
    auto *box = new QMessageBox(QMessageBox::Warning, ReviewWarningText::title,
                                reviewWarningMessage(m_controller.state(), *action),
                                QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("review-warning"));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QString continueTitle = reviewWarningContinueTitle(*action);
    QPushButton *proceed = box->addButton(continueTitle, QMessageBox::AcceptRole);
    proceed->setObjectName(QStringLiteral("review-warning-continue-button"));
    QPushButton *cancel = box->addButton(ReviewWarningText::cancel, QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("review-warning-cancel-button"));
    box->setDefaultButton(cancel);
    whenAnswered(box, this, [this](QMessageBox::ButtonRole role) {
        m_isShowingReviewWarning = false;
        if (role == QMessageBox::AcceptRole)
            m_controller.continuePendingShare();
        else
            m_controller.cancelPendingShare();
    });
    box->open();
    emit reviewWarningShown(continueTitle);
}

void ContentView::presentInstallReminder()
{
    // On the next turn, once the window is raised and active: opened while the window is
    // being shown, the reminder came up under the window it keeps waiting.
    m_session.clock().schedule(std::chrono::milliseconds(0), [view = QPointer<ContentView>(this)] {
        if (view)
            presentInstallReminderDialog(view, view->m_session.installController());
    });
}

void ContentView::performCompletionBannerAction(CompletionBannerAction action)
{
    ReviewController &review = m_controller;
    if (review.bannerActionReplacesReview(action))
        askBeforeDiscarding([&review, action] { review.performBannerAction(action); });
    else
        review.performBannerAction(action);
}

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasImage())
        event->acceptProposedAction();
}

void ContentView::dropEvent(QDropEvent *event)
{
    const std::optional<DroppedImages> dropped = DroppedImages::from(*event->mimeData());
    if (!dropped)
        return;
    event->acceptProposedAction();
    askBeforeDiscarding([this, images = *dropped] { m_controller.openDroppedImages(images); });
}

void ContentView::setSettingsWindowOpener(std::function<void()> openSettingsWindow)
{
    m_openSettingsWindow = openSettingsWindow;
    m_session.helpSheets().setSettingsWindowOpener(std::move(openSettingsWindow));
}

void ContentView::openSettingsWindow()
{
    if (m_openSettingsWindow)
        m_openSettingsWindow();
}

} // namespace velmora
