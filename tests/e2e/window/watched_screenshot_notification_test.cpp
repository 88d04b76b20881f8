#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/protection/dbus_notification_center.h"
#include "app/protection/protection_notifications.h"
#include "app/protection/screenshot_watch_controller.h"
#include "app/protection/screenshot_watch_folder_store.h"
#include "app/review/review_controller.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"

#include "support/event_loop.h"
#include "support/other_application.h"
#include "support/private_bus.h"
#include "support/process_waits.h"
#include "support/scoped_environment.h"
#include "support/secret_screenshot.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"
#include "support/xdotool.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// The desktop's notification daemon, dunst, on the test's own bus and X server.
class Dunst
{
public:
    explicit Dunst(const PrivateBus &bus)
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        m_daemon.setProcessEnvironment(m_environment);
        m_daemon.start(QStringLiteral("dunst"), {QStringLiteral("-config"), QStringLiteral("/dev/null")});
    }
    ~Dunst()
    {
        m_daemon.terminate();
        waitUntilEnded(m_daemon);
    }

    /// What `dunstctl` prints for the arguments, trimmed; nothing when it fails.
    std::optional<QByteArray> control(const QStringList &arguments) const
    {
        QProcess tool;
        tool.setProcessEnvironment(m_environment);
        tool.start(QStringLiteral("dunstctl"), arguments);
        if (!waitUntilEnded(tool) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
            return std::nullopt;
        return tool.readAllStandardOutput().trimmed();
    }
    int displayedCount() const
    {
        const auto count = control({QStringLiteral("count"), QStringLiteral("displayed")});
        return count && !count->isEmpty() ? count->toInt() : -1;
    }

private:
    QProcessEnvironment m_environment;
    QProcess m_daemon;
};

/// The summary and body of every notification in dunst's history.
QList<QPair<QString, QString>> historyEntries(const QByteArray &json)
{
    QList<QPair<QString, QString>> entries;
    for (const QJsonValue &group : QJsonDocument::fromJson(json).object().value(QStringLiteral("data")).toArray()) {
        for (const QJsonValue &entry : group.toArray()) {
            const QJsonObject fields = entry.toObject();
            entries.append({fields.value(QStringLiteral("summary")).toObject().value(QStringLiteral("data")).toString(),
                            fields.value(QStringLiteral("body")).toObject().value(QStringLiteral("data")).toString()});
        }
    }
    return entries;
}

// Velmora's own objects over the real engine, a real notification daemon and a real
// watched folder: a screenshot with a secret saved while another application is in
// front raises a notification, and its default action opens that screenshot.
TEST(WatchedScreenshotNotification, ANewScreenshotWithASecretIsAnnouncedAndOpensFromTheNotification)
{
    ScopedEnvironmentVariable testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    SymbolIcon::setUpTheme();

    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    Dunst dunst(bus);
    QDBusConnection connection = bus.connect();
    ASSERT_TRUE(waitUntil([&] {
        return connection.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications")).value();
    }, "dunst to serve notifications"));
    DBusNotificationCenter notifications(connection);
    CommandBus commands;
    registerNotificationCategories(notifications, commands);

    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Screenshots")));
    const QString watched = folder.filePath(QStringLiteral("Screenshots"));
    TempSettings settings;
    ASSERT_TRUE(saveScreenshotWatchFolder(*settings, watched));

    SystemPlatform platform;
    WindowSession session(*settings, commands, platform.services(notifications));
    auto *content = new ContentView(session);
    MainWindow window({*settings, commands, {}, [] { return true; }, [] {}, [] {}}, content);
    window.show();
    ASSERT_TRUE(waitUntilExposed(&window));
    ASSERT_TRUE(focusWindow(QString::number(window.winId())));
    ASSERT_TRUE(waitUntilInFront(true));
    ASSERT_TRUE(content->session().screenshotWatch().isRunning());
    const ReviewState &state = content->session().review().state();

    // While Velmora is in front, the alert is queued and nothing is posted.
    const QString saved = folder.filePath(QStringLiteral("secret.png"));
    ASSERT_TRUE(screenshotWithSecret().save(saved));
    ASSERT_TRUE(QFile::copy(saved, watched + QStringLiteral("/in-front.png")));
    ASSERT_TRUE(waitUntil([&] { return state.watchedScreenshotQueue.items.size() == 1; }, "the screenshot to be queued"));
    EXPECT_EQ(dunst.displayedCount(), 0);

    OtherApplication other;
    ASSERT_TRUE(other.takeFocus());
    ASSERT_TRUE(waitUntilInFront(false));

    const QString delivered = watched + QStringLiteral("/secret.png");
    ASSERT_TRUE(QFile::copy(saved, delivered));
    ASSERT_TRUE(waitUntil([&] { return dunst.displayedCount() == 1; }, "dunst to show the notification"));
    // The daemon's answer with the notification's id reaches Velmora before any click can.
    ASSERT_TRUE(waitUntil([&] { return notifications.openNotificationCount() == 1; }, "the notification's id"));
    ASSERT_EQ(state.watchedScreenshotQueue.items.size(), 2);
    const ReviewIntakeImage &newest = state.watchedScreenshotQueue.items.first();
    ASSERT_EQ(newest.filePath, delivered);
    ASSERT_TRUE(newest.plan.has_value());
    const int findings = int(newest.plan->entries().size());
    EXPECT_TRUE(state.image().isNull());

    ASSERT_TRUE(dunst.control({QStringLiteral("action"), QStringLiteral("0")}).has_value());
    ASSERT_TRUE(waitUntil([&] { return !state.image().isNull(); }, "the screenshot to open"));
    EXPECT_EQ(state.sourceImageURL(), QUrl::fromLocalFile(delivered));
    QStringList labels;
    for (const RedactionPlanEntry &entry : state.redactionPlan().entries())
        labels << entry.detection.label;
    EXPECT_TRUE(labels.contains(QStringLiteral("Email"))) << labels.join(", ").toStdString();
    EXPECT_EQ(state.watchedScreenshotQueue.items.size(), 1);

    if (dunst.displayedCount() != 0)
        dunst.control({QStringLiteral("close")});
    ASSERT_TRUE(waitUntil([&] { return dunst.displayedCount() == 0; }, "the notification to close"));
    const QList<QPair<QString, QString>> history = historyEntries(dunst.control({QStringLiteral("history")}).value_or(QByteArray()));
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history.first().first, QStringLiteral("Sensitive data found in screenshot"));
    EXPECT_EQ(history.first().second, screenshotRiskNotificationBody(QStringLiteral("secret.png"), findings));
}

} // namespace
} // namespace velmora::test
