#include "app/review/review_controller.h"
#include "app/review/review_queries.h"
#include "app/shell/command_bus.h"
#include "app/shell/command_names.h"
#include "app/shell/symbol_icon.h"
#include "app/window/completion_banner.h"
#include "app/window/content_view.h"
#include "app/help/keyboard_shortcut_table_view.h"
#include "app/help/velmora_help_center_view.h"
#include "app/help/velmora_onboarding_view.h"
#include "app/window/help_sheet_dialog.h"
#include "app/window/help_sheet_host.h"
#include "app/window/help_sheet_presenter.h"
#include "app/window/main_window.h"
#include "core/protection/clipboard_protection_configuration.h"
#include "app/shell/install_location.h"
#include "app/shell/main_menus.h"
#include <QAction>
#include <QMenuBar>

#include "support/event_loop.h"
#include "support/fake_scan_engine.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include "support/image_bytes.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

QByteArray pngBytes()
{
    QImage image(640, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    return test::encodedPng(image);
}

// A main window over a scan engine whose answers the test gives.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SymbolIcon::setUpTheme();
        // Onboarding done, so that its sheet stays away unless a test asks for it.
        m_settings->setValue(Setting::didCompleteOnboarding, !m_firstStart);
        auto engine = std::make_unique<test::FakeScanEngine>();
        m_engine = engine.get();
        m_content = new ContentView(*m_settings, std::move(engine));
        m_window = std::make_unique<MainWindow>(
            MainWindow::Services{*m_settings, nullptr, [] { return true; }, [this] { ++m_quits; }, {}}, m_content);
    }

    ReviewController &review() { return m_content->controller(); }
    const ReviewState &state() { return review().state(); }

    /// Opens a blank image and finishes its scan with the given recognised lines.
    void openScanned(const QList<TextObservation> &lines)
    {
        review().loadImageData(pngBytes());
        ASSERT_GE(m_engine->callCount(), 1);
        m_engine->lastCall().finish({}, lines);
        test::drainEvents();
        ASSERT_FALSE(state().isChecking());
    }

    void showActive()
    {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    // An installed location, so that the install reminder stays away unless a test asks for it.
    test::ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    test::ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    test::TempSettings m_settings;
    bool m_firstStart = false;
    int m_quits = 0;
    test::FakeScanEngine *m_engine = nullptr;
    ContentView *m_content = nullptr;
    std::unique_ptr<MainWindow> m_window;
};

const TextObservation emailLine{QStringLiteral("Contact ada@example.com today"), {0.1, 0.6, 0.6, 0.06}, 0.97};
const TextObservation doubtfulLine{QStringLiteral("Contact ada@example.com today"), {0.1, 0.6, 0.6, 0.06}, 0.4};

TEST_F(MainWindowFixture, ShortcutKeysPostTheirCommandOnce)
{
    showActive();
    struct KeyRow { Qt::Key key; Qt::KeyboardModifiers modifiers; QLatin1StringView command; };
    const KeyRow rows[] = {
        {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, commands::velmoraCopyCleanedImage},
        {Qt::Key_E, Qt::ControlModifier, commands::velmoraExportCleanedImage},
        {Qt::Key_Z, Qt::ControlModifier, commands::velmoraUndoManualEdit},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, commands::velmoraRedoManualEdit},
        {Qt::Key_Delete, Qt::NoModifier, commands::velmoraDeleteSelectedManualRedaction},
        {Qt::Key_Backspace, Qt::NoModifier, commands::velmoraDeleteSelectedManualRedaction},
    };
    for (const KeyRow &row : rows) {
        QStringList posted;
        QObject context;
        QObject::connect(&CommandBus::instance(), &CommandBus::posted, &context,
                         [&](const QString &name) { posted.append(name); });
        QTest::keyClick(m_window->windowHandle(), row.key, row.modifiers);
        EXPECT_EQ(posted, QStringList{QString(row.command)}) << QString(row.command).toStdString();
    }
}

TEST_F(MainWindowFixture, PostedCommandsReachTheirOperations)
{
    openScanned({emailLine});
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);

    CommandBus::instance().post(commands::velmoraMakeAllFindingsVisible);
    EXPECT_FALSE(state().redactionPlan().entries().front().isActive);
    CommandBus::instance().post(commands::velmoraRedactAllFindings);
    EXPECT_TRUE(state().redactionPlan().entries().front().isActive);
    CommandBus::instance().post(commands::velmoraToggleOutputPreview);
    EXPECT_TRUE(state().isPreviewingRedactedOutput);
    CommandBus::instance().post(commands::velmoraShowHelpCenter);
    EXPECT_EQ(m_content->helpSheets().activeHelpSheet(), VelmoraHelpSheet::helpCenter);
    CommandBus::instance().post(commands::velmoraShowOnboarding);
    EXPECT_EQ(m_content->helpSheets().activeHelpSheet(), VelmoraHelpSheet::onboarding);
    CommandBus::instance().post(commands::velmoraCloseCurrentReview);
    EXPECT_TRUE(state().image().isNull());
}

TEST_F(MainWindowFixture, BannerShowsItsTextAndActions)
{
    auto *banner = m_window->findChild<CompletionBanner *>(QStringLiteral("completion-banner"));
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->isHidden());
    review().showCompletionBanner(QStringLiteral("Exported cleaned image"), CompletionBannerAction::revealLastExport,
                                  CompletionBannerAction::undoLastAutoClean);
    EXPECT_FALSE(banner->isHidden());
    EXPECT_EQ(banner->findChild<QLabel *>(QStringLiteral("completion-banner-text"))->text(), "Exported cleaned image");
    auto *primary = banner->findChild<QPushButton *>(QStringLiteral("completion-banner-primary-button"));
    auto *secondary = banner->findChild<QPushButton *>(QStringLiteral("completion-banner-secondary-button"));
    EXPECT_EQ(primary->text(), "Show in Folder");
    EXPECT_EQ(secondary->text(), "Undo");
    review().showCompletionBanner(QStringLiteral("Copied"), std::nullopt, std::nullopt);
    EXPECT_TRUE(primary->isHidden());
    EXPECT_TRUE(secondary->isHidden());
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
        EXPECT_EQ(box->text(), reviewWarningMessage(state()));
        box->findChild<QPushButton *>(QStringLiteral("review-warning-cancel-button"))->click();
        test::drainEvents();
        EXPECT_FALSE(state().isShowingReviewWarning);
        EXPECT_EQ(state().pendingShareAction, std::nullopt);
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

TEST_F(MainWindowFixture, InstallReminderComesUpOnceOutsideTheInstalledPrefixes)
{
    test::ScopedEnvironmentVariable downloads{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/tmp/Downloads/velmora"};
    m_window->show();
    auto reminders = [this] { return m_content->findChildren<QMessageBox *>(QStringLiteral("install-reminder")); };
    ASSERT_EQ(reminders().size(), 1);
    EXPECT_FALSE(m_content->installController().evaluateInstallLocation(false));
    reminders().front()->findChild<QPushButton *>(QStringLiteral("install-reminder-not-now-button"))->click();
    test::drainEvents();
    m_window->hide();
    m_window->show();
    EXPECT_TRUE(reminders().isEmpty());
}

TEST_F(MainWindowFixture, ClipboardGuardRunsWhileTheWindowIsOpenAndFollowsItsSettings)
{
    ClipboardProtectionController &guard = review().clipboardGuard();
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    m_settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("reviewFirst"));
    m_window->show();
    EXPECT_TRUE(guard.isRunning());
    EXPECT_EQ(guard.runtimeStatus(), "Review first for clipboard images.");

    // A copied image reaches the scan through the guard on the window's own clock.
    auto *copied = new QMimeData;
    copied->setData(QStringLiteral("image/png"), pngBytes());
    QGuiApplication::clipboard()->setMimeData(copied);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_engine->callCount() == 1; }, 10000));
    EXPECT_EQ(review().clipboardScan().scanningChangeCounts().size(), 1);

    m_settings->setValue(Setting::isClipboardProtectionEnabled, false);
    CommandBus::instance().post(commands::velmoraClipboardProtectionSettingsDidChange);
    EXPECT_FALSE(guard.isRunning());
    EXPECT_EQ(guard.runtimeStatus(), "Clipboard protection is off.");

    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    CommandBus::instance().post(commands::velmoraClipboardProtectionSettingsDidChange);
    EXPECT_TRUE(guard.isRunning());

    // Closing stops the guard and its scans, and a closed window's guard stays stopped.
    m_window->close();
    EXPECT_FALSE(guard.isRunning());
    EXPECT_TRUE(review().clipboardScan().scanningChangeCounts().isEmpty());
    CommandBus::instance().post(commands::velmoraClipboardProtectionSettingsDidChange);
    EXPECT_FALSE(guard.isRunning());
}

TEST_F(MainWindowFixture, ClosingKeepsTheReviewAndEndsARunningScanAsCancelled)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    m_window->show();
    review().loadImageData(pngBytes());
    ASSERT_TRUE(state().isChecking());
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(review().clipboardGuard().isRunning());
    EXPECT_FALSE(state().isChecking());
    EXPECT_FALSE(state().image().isNull());
    EXPECT_EQ(state().reviewStatusNote(), "Detection canceled. Review existing boxes or re-scan.");
    // A late answer of the cancelled scan changes nothing.
    m_engine->lastCall().finish({}, {emailLine});
    test::drainEvents();
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());

    m_window->show();
    EXPECT_TRUE(review().clipboardGuard().isRunning());
    EXPECT_FALSE(state().image().isNull());
}

// Opens a scanned image and draws one box on it, as the canvas asks for a drawn box.
void drawOnOpenedImage(ReviewController &review, const std::function<void()> &openScannedImage)
{
    openScannedImage();
    review.addManualBox({0.5, 0.5, 0.2, 0.2});
    ASSERT_EQ(review.state().redactionPlan().manualDetections().size(), 1);
}

TEST_F(MainWindowFixture, CloseReviewAsksBeforeDiscardingDrawnBoxes)
{
    showActive();
    auto question = [this] { return m_window->findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes")); };
    openScanned({emailLine});
    QTest::keyClick(m_window->windowHandle(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(state().image().isNull()) << "nothing drawn: closed without a question";
    EXPECT_EQ(question(), nullptr);

    drawOnOpenedImage(review(), [this] { openScanned({emailLine}); });
    QTest::keyClick(m_window->windowHandle(), Qt::Key_W, Qt::ControlModifier);
    ASSERT_NE(question(), nullptr);
    EXPECT_EQ(question()->text(), "Discard the manual boxes of Clipboard image?");
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-cancel-button"))->click();
    test::drainEvents();
    EXPECT_FALSE(state().image().isNull());
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1);

    m_window->menus()->action(QStringLiteral("quit-menu-item"))->trigger();
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-cancel-button"))->click();
    test::drainEvents();
    EXPECT_EQ(m_quits, 0);

    CommandBus::instance().post(commands::velmoraCloseCurrentReview);
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-discard-button"))->click();
    test::drainEvents();
    EXPECT_TRUE(state().image().isNull());
}

TEST_F(MainWindowFixture, QuitAsksOnlyWhenDrawnBoxesWouldBeLost)
{
    m_window->menus()->action(QStringLiteral("quit-menu-item"))->trigger();
    EXPECT_EQ(m_quits, 1);
    drawOnOpenedImage(review(), [this] { openScanned({emailLine}); });
    review().copyCleanedPNG();
    m_window->menus()->action(QStringLiteral("quit-menu-item"))->trigger();
    EXPECT_EQ(m_quits, 2) << "copied since the box was drawn";
}

// The help centre's shortcut table names the keys the window really binds: each row's
// keys belong to the menu item or window-wide action of what the row says.
TEST_F(MainWindowFixture, ShortcutTableMatchesTheBoundKeys)
{
    const QHash<QString, QString> menuItemOfRow{
        {"open", "open-images-menu-item"},           {"close", "close-review-menu-item"},
        {"paste", "paste-image-menu-item"},          {"scan", "rescan-menu-item"},
        {"preview", "toggle-preview-menu-item"},     {"copy", "copy-cleaned-menu-item"},
        {"export", "export-cleaned-menu-item"},      {"capture-area", "capture-area-menu-item"},
        {"capture-window", "capture-window-menu-item"}, {"capture-screen", "capture-screen-menu-item"},
    };
    QList<QKeySequence> windowWide;
    for (const QAction *action : m_window->actions())
        windowWide.append(action->shortcuts());
    ASSERT_EQ(keyboardShortcutRows().size(), 12);
    for (const ShortcutRow &row : keyboardShortcutRows()) {
        QList<QKeySequence> shown;
        for (const QString &keys : row.keys.split(QStringLiteral(" / ")))
            shown.append(QKeySequence::fromString(QString(keys).replace(QLatin1Char('-'), QLatin1Char('+'))));
        if (menuItemOfRow.contains(row.id)) {
            QAction *item = m_window->menus()->action(menuItemOfRow.value(row.id));
            ASSERT_NE(item, nullptr) << row.id.toStdString();
            EXPECT_EQ(item->shortcuts(), shown) << row.id.toStdString();
        } else {
            for (const QKeySequence &keys : shown)
                EXPECT_TRUE(windowWide.contains(keys)) << row.id.toStdString() << " " << keys.toString().toStdString();
        }
    }
}

class FirstStartFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        m_firstStart = true;
        MainWindowFixture::SetUp();
    }

    HelpSheetDialog *sheet() const { return m_content->findChild<HelpSheetPresenter *>()->dialog(); }
};

TEST_F(FirstStartFixture, OnboardingFollowsTheWindowOnTheNextTurn)
{
    m_window->show();
    EXPECT_EQ(sheet(), nullptr);
    test::drainEvents();
    ASSERT_NE(sheet(), nullptr);
    EXPECT_NE(sheet()->findChild<VelmoraOnboardingView *>(), nullptr);
    EXPECT_EQ(sheet()->parentWidget(), m_window.get());
}

TEST_F(FirstStartFixture, OnboardingWaitsForTheInstallReminderToBeAnswered)
{
    test::ScopedEnvironmentVariable downloads{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/tmp/Downloads/velmora"};
    m_window->show();
    test::drainEvents();
    auto *reminder = m_content->findChild<QMessageBox *>(QStringLiteral("install-reminder"));
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(sheet(), nullptr);
    reminder->findChild<QPushButton *>(QStringLiteral("install-reminder-not-now-button"))->click();
    test::drainEvents();
    ASSERT_NE(sheet(), nullptr);
    EXPECT_NE(sheet()->findChild<VelmoraOnboardingView *>(), nullptr);
}

TEST_F(FirstStartFixture, HelpMenuItemsPresentTheirSheets)
{
    const struct {
        const char *menuItem;
        bool showsHelpCenter;
    } rows[] = {{"help-center-menu-item", true}, {"show-quick-start-menu-item", false}};
    for (const auto &row : rows) {
        m_window->menus()->action(QLatin1String(row.menuItem))->trigger();
        ASSERT_NE(sheet(), nullptr) << row.menuItem;
        EXPECT_EQ(sheet()->findChild<VelmoraHelpCenterView *>() != nullptr, row.showsHelpCenter) << row.menuItem;
    }
}

} // namespace
