#include "app/review/review_controller.h"
#include "app/shell/tray_icon.h"
#include "app/shell/velmora_app.h"
#include "app/window/content_view.h"
#include "core/settings/stored_settings.h"

#include "support/detection_fixtures.h"
#include "support/event_loop.h"
#include "support/process_waits.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Velmora with a real system tray on the X server: trayer owns the tray selection.
class TrayOnX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_trayer.start(QStringLiteral("trayer"), {QStringLiteral("--expand"), QStringLiteral("false")});
        ASSERT_TRUE(waitUntilStarted(m_trayer)) << "trayer is not installed";
        ASSERT_TRUE(waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, "the system tray"));
        m_settings->setValue(Setting::didCompleteOnboarding, true);
    }

    void TearDown() override
    {
        m_trayer.terminate();
        waitUntilEnded(m_trayer);
    }

    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings m_settings;
    QProcess m_trayer;
};

TEST_F(TrayOnX11, OpenVelmoraBringsBackTheSameWindowWithItsReview)
{
    VelmoraApp app(*m_settings);
    app.start();
    ASSERT_TRUE(app.keepsRunningInTray());
    QPointer<MainWindow> window = app.mainWindow();
    ASSERT_TRUE(window);
    ReviewController &review = window->contentView()->session().review();

    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    ReviewDocument item = ReviewDocument::make(std::nullopt, QStringLiteral("Ticket"), SafeShareSourceType::unknown,
                                                 ReviewImageSource::encode(image), QStringLiteral("Loaded."));
    item.adoptOwnPlan(RedactionPlan({makeFinding({0.1, 0.1, 0.3, 0.1})}, {}, {}), std::nullopt);
    review.loadBatch({item}, QStringLiteral("Loaded."), 0, false);
    review.addManualBox({0.5, 0.5, 0.2, 0.2});
    const RedactionPlan plan = review.state().redactionPlan();
    ASSERT_EQ(plan.manualDetections().size(), 1);

    window->close();
    drainEvents();
    ASSERT_TRUE(window) << "closing keeps the window";
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(app.tray()->isVisible());

    app.tray()->menu()->findChild<QAction *>(QStringLiteral("tray-open-item"))->trigger();
    drainEvents();
    EXPECT_EQ(app.mainWindow(), window.data());
    EXPECT_TRUE(window->isVisible());
    const ReviewState &state = window->contentView()->session().review().state();
    EXPECT_EQ(state.image(), image);
    EXPECT_EQ(state.redactionPlan(), plan);
    EXPECT_TRUE(state.manualEditHistory().canUndo());
}

TEST_F(TrayOnX11, AnsweringARiskNotificationBringsBackTheWindowWithTheAlert)
{
    VelmoraApp app(*m_settings);
    app.start();
    QPointer<MainWindow> window = app.mainWindow();
    ASSERT_TRUE(window);
    window->close();
    drainEvents();
    ASSERT_FALSE(window->isVisible());

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shot.png"));
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    ASSERT_TRUE(image.save(path));
    ReviewController &review = window->contentView()->session().review();
    review.intake().queueWatchedScreenshot({{}, path, std::nullopt, SafeShareSourceType::screenshotWatch,
                                            RedactionPlan({makeFinding({0.1, 0.1, 0.3, 0.1})}, {}, {}), std::nullopt,
                                            QStringLiteral("Watched screenshot scanned.")});

    app.commands().post(commands::velmoraOpenLatestWatchedScreenshot);
    // The screenshot is read from its file on a worker thread.
    ASSERT_TRUE(waitUntil([&] { return review.state().sourceImageURL() == QUrl::fromLocalFile(path); },
                          "the watched screenshot to open in the window"));

    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(review.state().watchedScreenshotQueue.items.isEmpty());
}

} // namespace
} // namespace velmora::test
