#include "app/commands/command_bus.h"
#include "app/kit/capsule_label.h"
#include "app/panes/image_review_view.h"
#include "app/protection/screenshot_watch_controller.h"
#include "app/protection/screenshot_watch_folder_store.h"
#include "app/review/review_controller.h"
#include "app/review/review_queries.h"
#include "app/review/review_test_items.h"
#include "app/settings/clipboard_protection_section.h"
#include "app/settings/folder_watch_section.h"
#include "app/settings/protection_settings_tab.h"
#include "app/settings/settings_window.h"
#include "app/window/completion_banner.h"
#include "app/window/help_sheet_host.h"
#include "app/window/install_location.h"
#include "app/window/main_menus.h"
#include "app/window/review_actions.h"
#include "core/protection/clipboard_protection_configuration.h"

#include "main_window_fixture.h"
#include "support/event_loop.h"
#include "support/thread_pool_gate.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include "support/fake_policy_file_chooser.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/thread_pool_gate.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

TEST_F(MainWindowFixture, ShortcutKeysTriggerTheirActionOnce)
{
    showActive();
    const ReviewActions &actions = *m_window->reviewActions();
    struct KeyRow { Qt::Key key; Qt::KeyboardModifiers modifiers; QAction *action; };
    const KeyRow rows[] = {
        {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, actions.copyCleaned},
        {Qt::Key_E, Qt::ControlModifier, actions.exportCleaned},
        {Qt::Key_Z, Qt::ControlModifier, actions.undo},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, actions.redo},
        {Qt::Key_Delete, Qt::NoModifier, actions.deleteSelected},
        {Qt::Key_Backspace, Qt::NoModifier, actions.deleteSelected},
    };
    for (const KeyRow &row : rows) {
        QStringList triggered;
        QObject context;
        for (QAction *action : m_window->findChildren<QAction *>())
            QObject::connect(action, &QAction::triggered, &context,
                             [&triggered, action] { triggered.append(action->objectName()); });
        QTest::keyClick(m_window->windowHandle(), row.key, row.modifiers);
        EXPECT_EQ(triggered, QStringList{row.action->objectName()}) << row.action->objectName().toStdString();
    }
}

TEST_F(MainWindowFixture, ActionsAndPostedCommandsReachTheirOperations)
{
    openScanned({emailLine});
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    const ReviewActions &actions = *m_window->reviewActions();
    actions.togglePreview->trigger();
    EXPECT_EQ(state().screen.mode(), CanvasMode::previewing);
    m_commands.post(commands::velmoraShowHelpCenter);
    EXPECT_EQ(m_session->helpSheets().activeHelpSheet(), VelmoraHelpSheet::helpCenter);
    m_commands.post(commands::velmoraShowOnboarding);
    EXPECT_EQ(m_session->helpSheets().activeHelpSheet(), VelmoraHelpSheet::onboarding);
    actions.closeReview->trigger();
    EXPECT_TRUE(state().image().isNull());
}

TEST_F(MainWindowFixture, DetectionSettingsAreAskedForTwoTenthsOfASecondLater)
{
    int posts = 0;
    m_commands.observe(commands::velmoraOpenDetectionSettings, m_window.get(), [&] { ++posts; });
    m_session->openDetectionSettingsSoon();
    m_clock.advance(std::chrono::milliseconds(199));
    EXPECT_EQ(posts, 0);
    m_clock.advance(std::chrono::milliseconds(1));
    EXPECT_EQ(posts, 1);
}

TEST_F(MainWindowFixture, BannerShowsItsTextAndActions)
{
    auto *banner = m_window->findChild<CompletionBanner *>(QStringLiteral("completion-banner"));
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->isHidden());
    review().intake().showCompletionBanner(QStringLiteral("Exported cleaned image"), CompletionBannerAction::revealLastExport,
                                           CompletionBannerAction::undoLastAutoClean);
    EXPECT_FALSE(banner->isHidden());
    EXPECT_EQ(banner->findChild<QLabel *>(QStringLiteral("completion-banner-text"))->text(), "Exported cleaned image");
    auto *primary = banner->findChild<QPushButton *>(QStringLiteral("completion-banner-primary-button"));
    auto *secondary = banner->findChild<QPushButton *>(QStringLiteral("completion-banner-secondary-button"));
    EXPECT_EQ(primary->text(), "Show in Folder");
    EXPECT_EQ(secondary->text(), "Undo");
    review().intake().showCompletionBanner(QStringLiteral("Copied"), std::nullopt, std::nullopt);
    EXPECT_TRUE(primary->isHidden());
    EXPECT_TRUE(secondary->isHidden());
}

TEST_F(MainWindowFixture, BannerButtonsReachTheDesktopAndTheBannerGoesOnTheWindowsClock)
{
    auto *banner = m_window->findChild<CompletionBanner *>(QStringLiteral("completion-banner"));
    ASSERT_NE(banner, nullptr);
    const QString exported = QStringLiteral("/exports/one-cleaned.png");
    review().intake().setLastExportLocation({QUrl::fromLocalFile(exported)});
    review().intake().showCompletionBanner(QStringLiteral("Exported cleaned image"), CompletionBannerAction::revealLastExport,
                                           CompletionBannerAction::openNotificationSettings);
    banner->findChild<QPushButton *>(QStringLiteral("completion-banner-primary-button"))->click();
    EXPECT_EQ(m_desktop.revealedPaths, QStringList{exported});
    banner->findChild<QPushButton *>(QStringLiteral("completion-banner-secondary-button"))->click();
    EXPECT_EQ(m_desktop.notificationSettingsOpenings, 1);

    m_clock.advance(ReviewBanner::shownWithAction - std::chrono::milliseconds(1));
    EXPECT_FALSE(banner->isHidden());
    m_clock.advance(std::chrono::milliseconds(1));
    EXPECT_TRUE(banner->isHidden());
}

// A banner takes room of its own: it covers neither the batch list's header nor the
// findings title, and its close button takes it down before its time.
TEST_F(MainWindowFixture, TheBannerHidesNothingAndCanBeClosed)
{
    showActive();
    QList<ReviewDocument> items;
    for (const char *name : {"a.png", "b.png"}) {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        items.append(ReviewDocument::make(std::nullopt, QString::fromLatin1(name), SafeShareSourceType::unknown,
                                           ReviewImageSource::encode(image), QStringLiteral("Loaded.")));
    }
    review().loadBatch(items, QStringLiteral("Loaded."), 0, false);
    review().intake().showCompletionBanner(QStringLiteral("Watched screenshot queued"),
                                           CompletionBannerAction::reviewLatestWatchedScreenshot, std::nullopt);
    auto *banner = m_window->findChild<CompletionBanner *>(QStringLiteral("completion-banner"));
    ASSERT_TRUE(waitUntil([&] { return banner->isVisible() && banner->height() > 0; }, "the banner to show"));
    auto onWindow = [this](const QWidget *widget) {
        return QRect(widget->mapTo(m_window.get(), QPoint(0, 0)), widget->size());
    };
    for (const char *covered : {"batch-queue-sidebar", "batch-scan-progress-label", "redaction-count-label"}) {
        const auto *widget = m_window->findChild<QWidget *>(QLatin1String(covered));
        ASSERT_NE(widget, nullptr) << covered;
        ASSERT_TRUE(widget->isVisible()) << covered;
        EXPECT_FALSE(onWindow(banner).intersects(onWindow(widget))) << covered;
    }

    banner->findChild<QAbstractButton *>(QStringLiteral("completion-banner-close-button"))->click();
    EXPECT_EQ(review().banner().text(), std::nullopt);
    EXPECT_FALSE(review().banner().isTimed());
    EXPECT_TRUE(banner->isHidden());
}

TEST_F(MainWindowFixture, ReviewWarningNamesThePendingShare)
{
    openScanned({doubtfulLine});
    ASSERT_GT(state().redactionPlan().entries().size(), 0);
    QStringList titles;
    QObject::connect(m_content, &ContentView::reviewWarningShown, m_content,
                     [&](const QString &title) { titles.append(title); });
    for (const ShareAction action : {ShareAction::copy, ShareAction::export_}) {
        review().runShareCommand(action);
        auto *box = m_content->findChild<QMessageBox *>(QStringLiteral("review-warning"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), reviewWarningMessage(state(), action));
        box->findChild<QPushButton *>(QStringLiteral("review-warning-cancel-button"))->click();
        test::drainEvents();
        EXPECT_FALSE(review().shareGate().isShowingReviewWarning());
        EXPECT_EQ(review().shareGate().pendingAction(), std::nullopt);
    }
    EXPECT_EQ(titles, (QStringList{"Copy anyway", "Export anyway"}));
}

TEST_F(MainWindowFixture, CanvasShowsTheImageOnceOpened)
{
    auto *stack = m_content->findChild<QStackedWidget *>();
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->currentIndex(), 0);
    openScanned({emailLine});
    EXPECT_EQ(stack->currentIndex(), 1);
}

TEST_F(MainWindowFixture, ThePanesShowTheReviewAndTheirControlsReachIt)
{
    ReviewDocument first = fileItem(QStringLiteral("a.png"));
    first.adoptOwnPlan(RedactionPlan({findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)}, {}, {}), {});
    ReviewDocument second = fileItem(QStringLiteral("b.png"));
    second.adoptOwnPlan(RedactionPlan(), std::nullopt);
    review().loadBatch({first, second}, QStringLiteral("Loaded."), 0, false);
    finishPoolWork();
    const auto text = [this](const char *name) { return m_window->findChild<QLabel *>(QLatin1String(name))->text(); };
    const auto click = [this](const char *name) { m_window->findChild<QAbstractButton *>(QLatin1String(name))->click(); };
    EXPECT_EQ(text("batch-scan-progress-label"), "2 of 2 scanned - 1 with findings - 1 clean");
    EXPECT_EQ(text("redaction-count-label"), "1 possible leak");
    click("next-finding-button");
    click("toggle-selected-finding-button"); // enabled once the chosen finding came back
    EXPECT_FALSE(state().redactionPlan().entries().first().isActive);
    click("manual-draw-toggle");
    EXPECT_EQ(state().screen.mode(), CanvasMode::drawing);
    click("next-batch-image-button");
    EXPECT_EQ(state().batch.selectedID(), second.id());
    EXPECT_EQ(text("redaction-count-label"), "Findings");
}

// While the image stepped to is being read, the canvas keeps the one before, dimmed and
// without boxes, and nothing that needs the new pixels can be used.
TEST_F(MainWindowFixture, WhileTheNextImageIsReadTheCanvasWaitsAndItsToolsRest)
{
    QList<ReviewDocument> items{fileItem(QStringLiteral("a.png"), 10), fileItem(QStringLiteral("b.png"), 90)};
    for (ReviewDocument &item : items)
        item.adoptOwnPlan(RedactionPlan(), std::nullopt);
    review().loadBatch(items, QStringLiteral("Loaded."), 0, false);
    finishPoolWork();
    auto *canvas = m_window->findChild<ImageReviewView *>();
    const auto enabled = [this](const char *name) { return m_window->findChild<QWidget *>(QLatin1String(name))->isEnabled(); };
    ASSERT_TRUE(enabled("copy-redacted-button"));
    {
        ThreadPoolGate gate;
        m_window->findChild<QAbstractButton *>(QStringLiteral("next-batch-image-button"))->click();
        EXPECT_TRUE(canvas->isWaiting());
        EXPECT_EQ(canvas->image(), plainImage(10));
        for (const char *tool : {"copy-redacted-button", "export-redacted-button", "manual-draw-toggle"})
            EXPECT_FALSE(enabled(tool)) << tool;
    }
    finishPoolWork();
    EXPECT_FALSE(canvas->isWaiting());
    EXPECT_EQ(canvas->image(), plainImage(90));
    EXPECT_TRUE(enabled("copy-redacted-button"));
}

TEST_F(MainWindowFixture, InstallReminderComesUpOnceOutsideTheInstalledPrefixes)
{
    test::ScopedEnvironmentVariable downloads{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/tmp/Downloads/velmora"};
    m_window->show();
    auto reminders = [this] { return m_content->findChildren<QMessageBox *>(QStringLiteral("install-reminder")); };
    EXPECT_TRUE(reminders().isEmpty()) << "it waits until the window is up";
    m_clock.advance(std::chrono::milliseconds(0));
    ASSERT_EQ(reminders().size(), 1);
    EXPECT_FALSE(m_session->installController().evaluateInstallLocation(false));
    reminders().front()->findChild<QPushButton *>(QStringLiteral("install-reminder-not-now-button"))->click();
    test::drainEvents();
    m_window->hide();
    m_window->show();
    m_clock.advance(std::chrono::milliseconds(0));
    EXPECT_TRUE(reminders().isEmpty());
}

TEST_F(MainWindowFixture, ClipboardGuardRunsWhileTheWindowIsOpenAndFollowsItsSettings)
{
    ClipboardProtectionController &guard = m_session->clipboardGuard();
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    m_settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("reviewFirst"));
    m_window->show();
    EXPECT_TRUE(guard.isRunning());
    EXPECT_EQ(guard.runtimeStatus(), "Review first for clipboard images.");

    // A copied image reaches the scan through the guard, polling on the window's clock.
    m_clipboard.write({{QStringLiteral("image/png"), pngBytes()}});
    EXPECT_EQ(m_engine.callCount(), 0);
    m_clock.advance(3 * ClipboardProtectionController::pollInterval);
    ASSERT_TRUE(waitUntil([this] { return m_engine.callCount() == 1; }, "the copied image's scan to start"));
    EXPECT_EQ(m_session->clipboardScan().scanningChangeCounts().size(), 1);

    m_settings->setValue(Setting::isClipboardProtectionEnabled, false);
    drainEvents();
    EXPECT_FALSE(guard.isRunning());
    EXPECT_EQ(guard.runtimeStatus(), "Clipboard protection is off.");

    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    drainEvents();
    EXPECT_TRUE(guard.isRunning());

    // Closing stops the guard and its scans, and a closed window's guard stays stopped.
    m_window->close();
    EXPECT_FALSE(guard.isRunning());
    EXPECT_TRUE(m_session->clipboardScan().scanningChangeCounts().isEmpty());
    m_settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("pauseIfUnsure"));
    drainEvents();
    EXPECT_FALSE(guard.isRunning());
}

} // namespace

namespace {

// The window over a watched folder of the test's own.
class WatchedWindowFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("Shots")));
        ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, m_folder.filePath(QStringLiteral("Shots"))));
        m_engine.scansAtOnce = 2;
        MainWindowFixture::SetUp();
    }

    bool pillShown() const
    {
        const auto *pill = m_window->findChild<QWidget *>(QStringLiteral("screenshot-watch-pill"));
        return pill && pill->isVisibleTo(m_window.get()) && pill->parentWidget()->isVisibleTo(m_window.get());
    }

    QTemporaryDir m_folder;
};

// Quit while a folder takes the settings file's place, so that no save lands: the
// question says why and offers to try again, quit anyway or stay; Velmora quits only once
// the user says so, or once the settings are saved.
TEST_F(MainWindowFixture, QuitWithSettingsThatCannotBeSavedAsksWhetherToTryAgainOrQuitAnyway)
{
    showActive();
    ASSERT_TRUE(m_settings->sync());
    const QString file = m_settings.folder() + QStringLiteral("/settings.ini");
    ASSERT_TRUE(QFile::remove(file) && QDir().mkdir(file));
    m_settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    const QString cannotBeSaved =
        QStringLiteral("Settings could not be saved. Check the settings folder to keep your changes.");

    QStringList answers{"held-settings-try-again-button", "held-settings-cancel-button", "held-settings-quit-button"};
    QStringList asked;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto *box = m_window->findChild<QMessageBox *>(QStringLiteral("held-settings-question"));
        if (!box || !box->isVisible() || answers.isEmpty())
            return;
        asked.append(box->windowTitle() + " | " + box->text() + " | " + box->informativeText());
        box->findChild<QPushButton *>(answers.takeFirst())->click();
    });
    answering.start(0);
    auto *quit = m_window->findChild<QAction *>(QStringLiteral("quit-menu-item"));
    ASSERT_NE(quit, nullptr);

    quit->trigger(); // Try again, which fails too; then stay.
    EXPECT_EQ(m_quits, 0);
    quit->trigger(); // Quit anyway.
    EXPECT_EQ(m_quits, 1);
    ASSERT_TRUE(QDir().rmdir(file));
    quit->trigger(); // Saved: no question.
    EXPECT_EQ(m_quits, 2);
    const QString question = QStringLiteral("Quit Without Saving Settings? | ") + cannotBeSaved
                             + QStringLiteral(" | Changes made since the last save are lost if Velmora quits now.");
    EXPECT_EQ(asked, QStringList(3, question));
}

} // namespace

TEST_F(WatchedWindowFixture, TheWatchRunsWhileTheWindowIsShownAndFollowsItsSettings)
{
    EXPECT_FALSE(m_session->screenshotWatch().isRunning());
    showActive();
    EXPECT_TRUE(m_session->screenshotWatch().isRunning());
    EXPECT_EQ(m_session->screenshotWatch().runtimeStatus(), QStringLiteral("Watching Shots for new screenshots."));
    EXPECT_TRUE(pillShown());

    clearScreenshotWatchFolder(*m_settings);
    test::drainEvents();
    EXPECT_FALSE(m_session->screenshotWatch().isRunning());
    EXPECT_EQ(m_session->screenshotWatch().runtimeStatus(), QStringLiteral("Screenshot watch is off."));
    EXPECT_FALSE(pillShown());

    m_window->close();
    test::drainEvents();
    ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, m_folder.filePath(QStringLiteral("Shots"))));
    test::drainEvents();
    EXPECT_FALSE(m_session->screenshotWatch().isRunning());
}

// Screenshots copied into the watched folder together are read and decoded only as scan
// slots free up (two at once here), never all of them at once; every one is scanned.
TEST_F(WatchedWindowFixture, ScreenshotsArrivingTogetherAreReadOnlyAsScanSlotsFree)
{
    showActive();
    constexpr int arriving = 7;
    ThreadPoolGate gate;
    for (int i = 0; i < arriving; ++i) {
        const QString path = m_folder.filePath(QStringLiteral("Shots/Shot %1.png").arg(i));
        ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(20 + 30 * i))));
    }
    drainEvents();
    m_clock.advance(std::chrono::seconds(1));
    ASSERT_EQ(m_session->watchedScreenshots().scanningPaths().size(), arriving);
    gate.open();

    for (int finished = 0; finished < arriving; ++finished) {
        finishPoolWork();
        ASSERT_EQ(m_engine.callCount() - finished, std::min(2, arriving - finished)) << "images in memory at once";
        m_engine.call(finished).finish({findingOf(DetectionKind::face, QStringLiteral("Face"), 0.4)});
        drainEvents();
    }
    finishPoolWork();
    EXPECT_EQ(m_engine.callCount(), arriving);
    EXPECT_EQ(state().watchedScreenshotQueue.items.size(), arriving);
    EXPECT_TRUE(m_session->watchedScreenshots().scanningPaths().isEmpty());
}

TEST_F(WatchedWindowFixture, TheAlertsMenuListsTheQueueAndOpensTheChosenScreenshot)
{
    const QString path = m_folder.filePath(QStringLiteral("Shots/Shot 1.png"));
    ASSERT_TRUE(writeBytes(path, pngBytes()));
    const RedactionPlan plan({}, {}, {Detection{}});
    review().intake().queueWatchedScreenshot({{}, path, std::nullopt, SafeShareSourceType::screenshotWatch, plan, std::nullopt,
                                              QStringLiteral("Watched screenshot scanned.")});
    test::drainEvents();

    auto *menu = m_window->findChild<QToolButton *>(QStringLiteral("watched-alerts-menu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->isHidden());
    EXPECT_EQ(menu->text(), QStringLiteral("Watched alerts (1)"));
    ASSERT_EQ(menu->menu()->actions().size(), 1);
    EXPECT_TRUE(menu->menu()->actions().first()->text().startsWith(QStringLiteral("Shot 1.png — ")));

    menu->menu()->actions().first()->trigger();
    finishPoolWork();
    EXPECT_EQ(state().sourceImageURL(), QUrl::fromLocalFile(path));
    EXPECT_TRUE(state().watchedScreenshotQueue.items.isEmpty());
    EXPECT_TRUE(menu->isHidden());
}

TEST_F(WatchedWindowFixture, OpeningAWatchedAlertAsksBeforeDiscardingDrawnBoxes)
{
    showActive();
    const QString path = m_folder.filePath(QStringLiteral("Shots/Shot 1.png"));
    ASSERT_TRUE(writeBytes(path, pngBytes()));
    review().intake().queueWatchedScreenshot({{}, path, std::nullopt, SafeShareSourceType::screenshotWatch,
                                              RedactionPlan::empty(), std::nullopt, QStringLiteral("Watched.")});
    drawOnOpenedImage(review(), [this] { openScanned({emailLine}); });
    auto question = [this] { return m_window->findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes")); };

    m_commands.post(commands::velmoraOpenLatestWatchedScreenshot);
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-cancel-button"))->click();
    test::drainEvents();
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1);
    EXPECT_EQ(state().watchedScreenshotQueue.items.size(), 1);

    m_window->findChild<QToolButton *>(QStringLiteral("watched-alerts-menu"))->menu()->actions().first()->trigger();
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-discard-button"))->click();
    test::drainEvents(); // the answer is acted on once the question has gone
    finishPoolWork();
    EXPECT_EQ(state().sourceImageURL(), QUrl::fromLocalFile(path));
    EXPECT_TRUE(state().watchedScreenshotQueue.items.isEmpty());
}

// With the window closed to the tray its protections wait: the settings window, open on
// its own, says so on the rails and in the sections instead of showing them on.
TEST_F(WatchedWindowFixture, TheSettingsSayTheProtectionsWaitWhileTheWindowIsClosed)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    FakePolicyFileChooser chooser;
    SettingsWindow settingsWindow(*m_settings, m_commands,
                                  {chooser, [](const QUrl &) {}, [] { return true; }, NotificationCenter::none(),
                                   DesktopServices::none(), &m_protectionRuntime});
    const auto badge = [&](const char *rail) {
        return settingsWindow.findChild<CapsuleLabel *>(QStringLiteral("protection-status-badge-") + rail)->text();
    };
    const auto detail = [&](const char *rail) {
        return settingsWindow.findChild<QLabel *>(QStringLiteral("protection-status-detail-") + rail)->text();
    };
    m_window->show();
    ASSERT_EQ(badge("clipboardGuard"), QStringLiteral("On"));
    ASSERT_EQ(badge("folderWatch"), QStringLiteral("On"));

    m_window->close();
    const QString guardWaits = QStringLiteral("Clipboard protection is paused while the Velmora window is closed.");
    EXPECT_EQ(badge("clipboardGuard"), QStringLiteral("Off"));
    EXPECT_EQ(detail("clipboardGuard"), guardWaits);
    EXPECT_EQ(settingsWindow.protectionTab()->clipboardProtection()->statusText(), guardWaits);
    EXPECT_TRUE(settingsWindow.protectionTab()->clipboardProtection()->clipboardProtectionSummary().startsWith(
        QStringLiteral("Stopped: ")));
    EXPECT_EQ(badge("folderWatch"), QStringLiteral("Off"));
    EXPECT_EQ(settingsWindow.protectionTab()->folderWatch()->statusText(),
              QStringLiteral("Screenshot watch is paused while the Velmora window is closed."));

    m_window->show();
    EXPECT_EQ(badge("clipboardGuard"), QStringLiteral("On"));
    EXPECT_EQ(settingsWindow.protectionTab()->clipboardProtection()->statusText(), QString());
}

// Settings that cannot be saved: the window's status line and the settings window say
// so while saves fail, and no longer once one lands.
TEST_F(MainWindowFixture, SettingsThatCannotBeSavedAreShownUntilASaveLands)
{
    FakePolicyFileChooser chooser;
    SettingsWindow settingsWindow(*m_settings, m_commands, {chooser, [](const QUrl &) {}});
    const auto shown = [](const QWidget &window) {
        const auto *line = window.findChild<QLabel *>(QStringLiteral("settings-save-failure"));
        return line && line->isVisibleTo(&window) ? line->text() : QStringLiteral("<none>");
    };
    m_window->show();
    settingsWindow.show();
    ASSERT_TRUE(m_settings->sync());

    // A folder where the settings file is: no save lands, whoever runs the test.
    const QString file = m_settings.folder() + QStringLiteral("/settings.ini");
    ASSERT_TRUE(QFile::remove(file) && QDir().mkdir(file));
    m_settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    EXPECT_FALSE(m_settings->sync());
    const QString sentence = QStringLiteral("Settings could not be saved. Check the settings folder to keep your changes.");
    EXPECT_EQ(shown(*m_window), sentence);
    EXPECT_EQ(shown(settingsWindow), sentence);

    ASSERT_TRUE(QDir().rmdir(file));
    m_settings->setValue(Setting::customRegexesText, QStringLiteral("FAL-[0-9]+"));
    EXPECT_TRUE(m_settings->sync());
    EXPECT_EQ(shown(*m_window), QStringLiteral("<none>"));
    EXPECT_EQ(shown(settingsWindow), QStringLiteral("<none>"));
}
