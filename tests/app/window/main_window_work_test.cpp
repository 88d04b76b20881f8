#include "app/panes/detection_row.h"
#include "app/panes/drop_target_view.h"
#include "app/window/completion_banner.h"
#include "app/window/main_menus.h"
#include "app/window/review_actions.h"
#include "core/protection/clipboard_protection_configuration.h"

#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

using namespace velmora;
using namespace velmora::test;

// The window keeps the user's work: closing to the tray, the question before hand-made
// boxes are discarded, and controls that move nothing under the pointer.
namespace {

TEST_F(MainWindowFixture, ClosingKeepsTheReviewAndEndsARunningScanAsCancelled)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    m_window->show();
    dropImageBytes(pngBytes());
    finishPoolWork();
    ASSERT_TRUE(state().isChecking());
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_session->clipboardGuard().isRunning());
    EXPECT_FALSE(state().isChecking());
    EXPECT_FALSE(state().image().isNull());
    EXPECT_EQ(state().reviewStatusNote(), "Detection canceled. Review existing boxes or re-scan.");
    // A late answer of the cancelled scan changes nothing.
    m_engine.lastCall().finish({}, {emailLine});
    test::drainEvents();
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());

    m_window->show();
    EXPECT_TRUE(m_session->clipboardGuard().isRunning());
    EXPECT_FALSE(state().image().isNull());
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

    m_window->reviewActions()->closeReview->trigger();
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-discard-button"))->click();
    test::drainEvents();
    EXPECT_TRUE(state().image().isNull());
}

TEST_F(MainWindowFixture, TheBannersReviewActionAsksBeforeDiscardingDrawnBoxes)
{
    showActive();
    auto question = [this] { return m_window->findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes")); };
    drawOnOpenedImage(review(), [this] { openScanned({emailLine}); });
    review().intake().setLastAutoCleanReviewItem({pngBytes(), std::nullopt, QStringLiteral("AutoClean copy"),
                                                  SafeShareSourceType::clipboardProtection, RedactionPlan(), std::nullopt,
                                                  QStringLiteral("Opened for review.")});
    review().intake().showCompletionBanner(QStringLiteral("Clipboard protected"), CompletionBannerAction::reviewLastAutoClean,
                                           std::nullopt);
    auto *review = m_window->findChild<QPushButton *>(QStringLiteral("completion-banner-primary-button"));
    review->click();
    ASSERT_NE(question(), nullptr);
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1) << "the review stays until the answer";

    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-discard-button"))->click();
    test::drainEvents(); // the answer is acted on once the question has gone
    finishPoolWork();
    EXPECT_EQ(state().sourceDisplayLabel(), "AutoClean copy");
    EXPECT_TRUE(state().redactionPlan().manualDetections().isEmpty());
}

TEST_F(MainWindowFixture, TrySampleAsksBeforeDiscardingDrawnBoxes)
{
    showActive();
    auto question = [this] { return m_window->findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes")); };
    auto trySample = [this] {
        m_window->menus()->action(QStringLiteral("show-quick-start-menu-item"))->trigger();
        auto *button = m_window->findChild<QPushButton *>(QStringLiteral("onboarding-try-sample-button"));
        ASSERT_NE(button, nullptr);
        button->click();
        m_clock.advance(std::chrono::seconds(1));
    };
    drawOnOpenedImage(review(), [this] { openScanned({emailLine}); });

    trySample();
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-cancel-button"))->click();
    test::drainEvents();
    finishPoolWork();
    EXPECT_EQ(state().image().size(), QSize(640, 360)) << "the drawn-on image stays";
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1);

    trySample();
    ASSERT_NE(question(), nullptr);
    question()->findChild<QPushButton *>(QStringLiteral("discard-manual-boxes-discard-button"))->click();
    test::drainEvents(); // the answer is acted on once the question has gone
    finishPoolWork();
    EXPECT_EQ(state().sourceDisplayLabel(), "Quick Start sample");
    EXPECT_TRUE(state().redactionPlan().manualDetections().isEmpty());
}

TEST_F(MainWindowFixture, QuitAsksOnlyWhenDrawnBoxesWouldBeLost)
{
    m_window->menus()->action(QStringLiteral("quit-menu-item"))->trigger();
    EXPECT_EQ(m_quits, 1);
    drawOnOpenedImage(review(), [this] { openScanned({emailLine}); });
    review().runShareCommand(ShareAction::copy);
    review().continuePendingShare(); // past the review warning, if raised
    finishPoolWork();
    test::drainEvents();
    m_window->menus()->action(QStringLiteral("quit-menu-item"))->trigger();
    EXPECT_EQ(m_quits, 2) << "copied since the box was drawn";
}

TEST_F(MainWindowFixture, UpAndDownStepThroughTheBatchUnlessTheFocusUsesThem)
{
    showActive();
    QList<ReviewDocument> items;
    for (const char *name : {"a.png", "b.png", "c.png"}) {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        items.append(ReviewDocument::make(std::nullopt, QString::fromLatin1(name), SafeShareSourceType::unknown,
                                           ReviewImageSource::encode(image), QStringLiteral("Loaded.")));
    }
    review().loadBatch(items, QStringLiteral("Loaded."), 0, false);
    auto selectedName = [this] {
        for (const ReviewDocument &item : state().batch.items()) {
            if (item.id() == state().batch.selectedID())
                return item.displayName();
        }
        return QString();
    };
    ASSERT_EQ(selectedName(), "a.png");

    // A button has no use for the arrows.
    auto *open = m_window->findChild<QPushButton *>(QStringLiteral("open-image-button"));
    ASSERT_NE(open, nullptr);
    open->setFocus();
    ASSERT_TRUE(open->hasFocus());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(selectedName(), "b.png");
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Up);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Up);
    EXPECT_EQ(selectedName(), "c.png") << "wraps at the top";

    // A text field keeps them.
    auto *field = new QLineEdit(m_content);
    field->show();
    field->setFocus();
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(selectedName(), "c.png");
}

TEST_F(MainWindowFixture, TheClipboardPillShowsWhileTheGuardRuns)
{
    auto *pill = m_window->findChild<QWidget *>(QStringLiteral("clipboard-guard-pill"));
    ASSERT_NE(pill, nullptr);
    m_window->show();
    EXPECT_FALSE(pill->isVisible()) << "the guard is off by default";
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    drainEvents();
    EXPECT_TRUE(pill->isVisible());
    m_window->close();
    EXPECT_FALSE(m_session->clipboardGuard().isRunning());
    m_window->show();
    EXPECT_TRUE(pill->isVisible());
}

TEST_F(MainWindowFixture, TheCanvasPreviewToggleAndCtrlPShowTheSameState)
{
    showActive();
    openScanned({emailLine});
    auto *toggle = m_window->findChild<QToolButton *>(QStringLiteral("output-preview-toggle"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isVisible());
    EXPECT_FALSE(toggle->isChecked());
    toggle->click();
    EXPECT_EQ(state().screen.mode(), CanvasMode::previewing);
    EXPECT_EQ(state().reviewStatusNote(), "Previewing the exact flattened output for copy and export.");
    QTest::keyClick(m_window->windowHandle(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_NE(state().screen.mode(), CanvasMode::previewing);
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(MainWindowFixture, TheBannerComesAndGoesWithoutMovingTheReview)
{
    showActive();
    openScanned({emailLine});
    auto *findings = m_window->findChild<QWidget *>(QStringLiteral("findings-panel"));
    auto *banner = m_window->findChild<CompletionBanner *>(QStringLiteral("completion-banner"));
    ASSERT_NE(findings, nullptr);
    const QPoint before = findings->mapTo(m_window.get(), QPoint(0, 0));
    review().intake().showCompletionBanner(QStringLiteral("Copied cleaned PNG"), std::nullopt, std::nullopt);
    test::drainEvents();
    EXPECT_TRUE(banner->isVisible());
    EXPECT_EQ(findings->mapTo(m_window.get(), QPoint(0, 0)), before);
    // Whole, inside the window, with every line of its sentence shown.
    const QRect area = QRect(banner->mapTo(m_window.get(), QPoint(0, 0)), banner->size());
    EXPECT_TRUE(m_window->rect().contains(area));
    EXPECT_GE(banner->height(), banner->minimumSizeHint().height());
    const auto *sentence = banner->findChild<QLabel *>(QStringLiteral("completion-banner-text"));
    EXPECT_GE(sentence->height(), sentence->heightForWidth(sentence->width()));
}

TEST_F(MainWindowFixture, TheEmptyStateFitsTheDefaultWindowWithoutScrolling)
{
    // The test's screen is smaller than the default size, where the window opens maximized.
    m_window->setWindowState(Qt::WindowNoState);
    m_window->resize(1320, 860);
    m_window->show();
    test::drainEvents();
    auto *empty = m_window->findChild<DropTargetView *>();
    ASSERT_NE(empty, nullptr);
    auto *scroll = empty->findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
    auto *checklist = empty->findChild<QWidget *>(QStringLiteral("empty-getting-started-checklist"));
    ASSERT_NE(checklist, nullptr);
    EXPECT_TRUE(checklist->isVisible());
    for (QWidget *part : {checklist, static_cast<QWidget *>(empty->findChild<QPushButton *>(
                                         QStringLiteral("empty-open-batch-button")))}) {
        const QRect area(part->mapTo(scroll->viewport(), QPoint(0, 0)), part->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(area)) << part->objectName().toStdString();
    }
}

} // namespace

namespace {

QList<TextObservation> emailLines(int count)
{
    QList<TextObservation> lines;
    for (int i = 0; i < count; ++i)
        lines.append({QStringLiteral("Mail user%1@example.com now").arg(i), {0.1, 0.05 + 0.1 * i, 0.6, 0.05}, 0.97});
    return lines;
}

int rowsInside(const QScrollArea &list)
{
    int shown = 0;
    for (const DetectionRow *row : list.findChildren<DetectionRow *>()) {
        const QRect area(row->mapTo(list.viewport(), QPoint(0, 0)), row->size());
        shown += row->isVisible() && list.viewport()->rect().contains(area) ? 1 : 0;
    }
    return shown;
}

TEST_F(MainWindowFixture, TheFindingsListShowsMoreThanFourRowsAtTheDefaultSize)
{
    m_window->resize(1320, 860);
    showActive();
    openScanned(emailLines(8));
    test::drainEvents();
    auto *list = m_window->findChild<QScrollArea *>(QStringLiteral("findings-list"));
    ASSERT_NE(list, nullptr);
    EXPECT_GT(rowsInside(*list), 4);
}

TEST_F(MainWindowFixture, EveryFindingsControlIsReachableAtTheMinimumSize)
{
    showActive();
    openScanned(emailLines(8));
    m_window->resize(m_window->minimumSize());
    test::drainEvents();
    auto *column = m_window->findChild<QScrollArea *>(QStringLiteral("findings-column-scroll"));
    ASSERT_NE(column, nullptr);
    QWidget *content = column->widget();
    const QList<QAbstractButton *> controls = content->findChildren<QAbstractButton *>();
    ASSERT_FALSE(controls.isEmpty());
    // The rows of the list scroll inside the list itself; the rest of the column scrolls with the column.
    const QWidget *rows = content->findChild<QScrollArea *>(QStringLiteral("findings-list"))->widget();
    for (const QAbstractButton *control : controls) {
        if (!control->isVisibleTo(content) || control->objectName().isEmpty() || rows->isAncestorOf(control))
            continue;
        const QRect area(control->mapTo(content, QPoint(0, 0)), control->size());
        EXPECT_TRUE(content->rect().contains(area)) << control->objectName().toStdString();
        EXPECT_GE(control->height(), control->minimumSizeHint().height()) << control->objectName().toStdString();
    }
    EXPECT_LE(content->height() - column->viewport()->height(), column->verticalScrollBar()->maximum());
}

} // namespace
