#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/review/review_controller.h"
#include "app/settings/settings_window_host.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/image_fixtures.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"

#include <QFont>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

QStringList findingLabels(const ReviewController &review)
{
    QStringList labels;
    for (const RedactionPlanEntry &entry : review.state().redactionPlan().entries())
        labels << entry.detection.label;
    return labels;
}

// The application's own windows over the real engine, on the X server: a custom term
// typed into the settings window is found in the open image by the re-scan that
// follows, and deleting it makes the finding go.
TEST(CustomTermTest, ATermTypedInSettingsIsFoundByTheRescanAndGoesWhenRemoved)
{
    ScopedEnvironmentVariable testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    SymbolIcon::setUpTheme();
    QTemporaryDir dir;
    QImage screenshot(900, 240, QImage::Format_RGB32);
    screenshot.fill(Qt::white);
    {
        QPainter painter(&screenshot);
        QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(22);
        painter.setFont(font);
        painter.setPen(QColor(0x1d, 0x1f, 0x23));
        painter.drawText(40, 90, QStringLiteral("Weekly status for Project Falcon launch"));
    }
    const QString path = dir.filePath(QStringLiteral("status.png"));
    ASSERT_TRUE(screenshot.save(path));

    TempSettings settings;
    settings->setValue(Setting::didCompleteOnboarding, true);
    SystemPlatform platform;
    CommandBus commands;
    SettingsWindowHost host(*settings, commands, platform.desktop());
    WindowSession session(*settings, commands, platform.services(NotificationCenter::none()));
    auto *content = new ContentView(session);
    MainWindow window({*settings, commands, {}, [] { return true; }, [] {}, [&host] { host.open(); }}, content);
    window.show();
    ASSERT_TRUE(waitUntilExposed(&window));
    ReviewController &review = content->session().review();

    review.openDroppedImages({{QUrl::fromLocalFile(path)}, {}});
    finishPoolWork();
    drainEvents();
    ASSERT_TRUE(waitUntil([&] { return !review.state().isChecking(); }, "the scan to end"));
    ASSERT_FALSE(findingLabels(review).contains(QStringLiteral("Custom term")));

    host.open();
    ASSERT_NE(host.window(), nullptr);
    ASSERT_TRUE(waitUntilExposed(host.window()));
    auto *terms = host.window()->findChild<QPlainTextEdit *>(QStringLiteral("custom-terms-editor-input"));
    ASSERT_NE(terms, nullptr);
    QTest::keyClicks(terms, QStringLiteral("Project Falcon"));
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Project Falcon"));
    ASSERT_TRUE(waitUntil([&] { return findingLabels(review).contains(QStringLiteral("Custom term")); }, "the term's finding"))
        << findingLabels(review).join(", ").toStdString();

    terms->selectAll();
    QTest::keyClick(terms, Qt::Key_Delete);
    EXPECT_TRUE(settings->value(Setting::customTermsText).isEmpty());
    EXPECT_TRUE(waitUntil([&] {
        return !review.state().isChecking() && !findingLabels(review).contains(QStringLiteral("Custom term"));
    }, "the term's finding to go")) << findingLabels(review).join(", ").toStdString();
}

} // namespace
} // namespace velmora::test
