#include "app/protection/dbus_notification_center.h"

#include "app/commands/command_bus.h"
#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/protection/protection_notifications.h"
#include "support/event_loop.h"
#include "support/fake_clipboard.h"
#include "support/manual_clock.h"
#include "support/private_bus.h"
#include "support/row_name.h"
#include "support/temp_settings.h"
#include "support/test_notification_server.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {

class DBusNotificationCenterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isRunning());
        ASSERT_TRUE(m_server.isServing());
        registerNotificationCategories(m_center, m_commands);
        m_commands.observe(commands::velmoraOpenLatestWatchedScreenshot, &m_commands, [this] { ++m_openLatestPosts; });
    }

    /// The id the service gave the newest notification, once it arrived.
    uint waitForNotification(qsizetype count = 1)
    {
        if (!test::waitUntil([&] { return m_server.received().size() >= count; }, "the notification to arrive"))
            return 0;
        // The center learns the id from the reply, which follows the service's answer.
        if (!test::waitUntil([&] { return m_center.openNotificationCount() >= count; }, "the notification's id"))
            return 0;
        return m_server.received().at(count - 1).id;
    }

    /// Everything the service sent before this call has been handled once it returns:
    /// a call's reply comes after the signals sent before it, and a queued post after that.
    void settle()
    {
        bool answered = false;
        m_center.fetchPermission([&](NotificationPermission) { answered = true; });
        ASSERT_TRUE(test::waitUntil([&] { return answered; }, "the permission's answer"));
        QCoreApplication::sendPostedEvents();
    }

    /// An AutoClean's output that can be undone from now on, and its receipt.
    void autoCleanWithReceipt()
    {
        m_undo.registerToken({});
        notifyAutoCleanReceipt(m_center, QStringLiteral("Clipboard protected · 1 item masked"), QStringLiteral("Body."),
                               m_undo);
    }

    test::PrivateBus m_bus;
    test::TestNotificationServer m_server{m_bus.connect(), {QStringLiteral("body"), QStringLiteral("actions")}};
    DBusNotificationCenter m_center{m_bus.connect()};
    CommandBus m_commands;
    int m_openLatestPosts = 0;
    test::ManualClock m_clock;
    test::FakeClipboard m_clipboard;
    test::TempSettings m_settings;
    ClipboardProtectionController m_guard{m_clipboard, *m_settings, m_clock};
    AutoCleanUndoCoordinator m_undo{m_clipboard, m_clock};
};

struct RiskBodyRow
{
    const char *name;
    int count;
    const char *body;
};

class RiskNotificationTest : public DBusNotificationCenterTest, public ::testing::WithParamInterface<RiskBodyRow>
{
};

} // namespace

TEST_P(RiskNotificationTest, ArrivesWithTitleBodyAndActions)
{
    notifyScreenshotRisk(m_center, QStringLiteral("Screenshot 1.png"), GetParam().count);
    ASSERT_NE(waitForNotification(), 0u);

    const test::TestNotificationServer::Received &received = m_server.received().first();
    EXPECT_EQ(received.applicationName, QStringLiteral("Velmora"));
    EXPECT_EQ(received.summary, QStringLiteral("Sensitive data found in screenshot"));
    EXPECT_EQ(received.body, QString::fromUtf8(GetParam().body));
    EXPECT_EQ(received.actions, (QStringList{QStringLiteral("default"), QStringLiteral("Review in Velmora"),
                                             QStringLiteral("velmora-review-watched-screenshot"),
                                             QStringLiteral("Review in Velmora")}));
    EXPECT_EQ(received.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("velmora"));
    EXPECT_EQ(received.hints.value(QStringLiteral("urgency")).toInt(), 1);
    EXPECT_EQ(received.expireTimeout, -1) << "a risk stays as long as the service keeps notifications";
}

INSTANTIATE_TEST_SUITE_P(Rows, RiskNotificationTest, ::testing::Values(
    RiskBodyRow{"oneLeak", 1, "Screenshot 1.png has 1 possible leak. Review in Velmora before sharing."},
    RiskBodyRow{"threeLeaks", 3, "Screenshot 1.png has 3 possible leaks. Review in Velmora before sharing."},
    RiskBodyRow{"noLeaks", 0, "Screenshot 1.png has 0 possible leaks. Review in Velmora before sharing."}
), test::rowName);

namespace {

struct ActionRow
{
    const char *name;
    const char *actionKey;
};

class RiskActionTest : public DBusNotificationCenterTest, public ::testing::WithParamInterface<ActionRow>
{
};

} // namespace

TEST_P(RiskActionTest, PostsOpenLatestWatchedScreenshotOnce)
{
    notifyScreenshotRisk(m_center, QStringLiteral("a.png"), 2);
    const uint id = waitForNotification();
    ASSERT_NE(id, 0u);

    m_server.invokeAction(id, QString::fromUtf8(GetParam().actionKey));
    ASSERT_TRUE(test::waitUntil([&] { return m_openLatestPosts > 0; }, "the open-latest command"));
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(m_openLatestPosts, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, RiskActionTest, ::testing::Values(
    ActionRow{"clickOnTheNotification", "default"},
    ActionRow{"reviewButton", "velmora-review-watched-screenshot"}
), test::rowName);

TEST_F(DBusNotificationCenterTest, ReceiptHasNoActionsAndItsClickPostsNothing)
{
    autoCleanWithReceipt();
    const uint id = waitForNotification();
    ASSERT_NE(id, 0u);
    EXPECT_EQ(m_server.received().first().summary, QStringLiteral("Clipboard protected · 1 item masked"));
    EXPECT_TRUE(m_server.received().first().actions.isEmpty());

    m_server.invokeAction(id, QStringLiteral("default"));
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(m_openLatestPosts, 0);
}

namespace {

struct UndoEndRow
{
    const char *name;
    std::function<void(AutoCleanUndoCoordinator &, test::ManualClock &, ClipboardProtectionController &)> end;
    bool beforeItsIdIsKnown = false; ///< Ends as the service takes the receipt, before it answers.
};

class ReceiptLifeTest : public DBusNotificationCenterTest, public ::testing::WithParamInterface<UndoEndRow> {};

} // namespace

// The receipt says the output can be undone in Velmora: it must leave the screen when
// the window no longer offers that, whatever the notification service does with expiries.
TEST_P(ReceiptLifeTest, ExpiresWithTheUndoAndIsClosedWhenTheUndoEnds)
{
    const auto end = [this] { GetParam().end(m_undo, m_clock, m_guard); };
    if (GetParam().beforeItsIdIsKnown)
        m_server.whenNotified = end;
    autoCleanWithReceipt();
    // The service is asked once it has answered whether notifications may be shown.
    m_clock.advance(std::chrono::seconds(3));
    ASSERT_TRUE(test::waitUntil([&] { return !m_server.received().isEmpty(); }, "the notification to arrive"));
    EXPECT_EQ(m_server.received().first().expireTimeout, 5000) << "the time left of the undo";
    if (!GetParam().beforeItsIdIsKnown) {
        ASSERT_NE(waitForNotification(), 0u);
        EXPECT_TRUE(m_server.closeRequests().isEmpty());
        end();
    }
    ASSERT_TRUE(test::waitUntil([&] { return !m_server.closeRequests().isEmpty(); }, "the notification to be closed"));
    EXPECT_EQ(m_server.closeRequests(), QList<uint>{m_server.received().first().id});
}

INSTANTIATE_TEST_SUITE_P(Rows, ReceiptLifeTest, ::testing::Values(
    UndoEndRow{"undoExpires", [](auto &, auto &clock, auto &) { clock.advance(std::chrono::seconds(5)); }},
    UndoEndRow{"outputIsUndone", [](auto &undo, auto &, auto &guard) { undo.undo(guard); }},
    UndoEndRow{"newerOutputReplacesIt", [](auto &undo, auto &, auto &) { undo.registerToken({}); }},
    UndoEndRow{"undoneBeforeTheServiceAnswers", [](auto &undo, auto &, auto &guard) { undo.undo(guard); }, true}
), test::rowName);

TEST_F(DBusNotificationCenterTest, AnotherApplicationsNotificationPostsNothing)
{
    notifyScreenshotRisk(m_center, QStringLiteral("a.png"), 1);
    const uint id = waitForNotification();
    ASSERT_NE(id, 0u);

    m_server.invokeAction(id + 100, QStringLiteral("default"));
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(m_openLatestPosts, 0);
}

TEST_F(DBusNotificationCenterTest, ClosedNotificationIsForgotten)
{
    notifyScreenshotRisk(m_center, QStringLiteral("a.png"), 1);
    const uint id = waitForNotification();
    ASSERT_NE(id, 0u);

    m_server.closeNotification(id);
    ASSERT_TRUE(test::waitUntil([&] { return m_center.openNotificationCount() == 0; }, "the notification to be gone"));
    m_server.invokeAction(id, QStringLiteral("default"));
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(m_openLatestPosts, 0);
}

TEST_F(DBusNotificationCenterTest, TwoRiskNotificationsStandSideBySide)
{
    notifyScreenshotRisk(m_center, QStringLiteral("a.png"), 1);
    notifyScreenshotRisk(m_center, QStringLiteral("b.png"), 1);
    ASSERT_NE(waitForNotification(2), 0u);
    EXPECT_NE(m_server.received().at(0).id, m_server.received().at(1).id);
    EXPECT_EQ(m_center.openNotificationCount(), 2);
}

TEST_F(DBusNotificationCenterTest, PermissionIsAuthorizedWhileAServiceAnswers)
{
    std::optional<NotificationPermission> permission;
    m_center.fetchPermission([&](NotificationPermission answer) { permission = answer; });
    ASSERT_TRUE(test::waitUntil([&] { return permission.has_value(); }, "the permission's answer"));
    EXPECT_EQ(permission, NotificationPermission::authorized);
}

TEST(DBusNotificationCenterWithoutService, PermissionIsDenied)
{
    test::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    DBusNotificationCenter center{bus.connect()};
    std::optional<NotificationPermission> permission;
    center.fetchPermission([&](NotificationPermission answer) { permission = answer; });
    ASSERT_TRUE(test::waitUntil([&] { return permission.has_value(); }, "the permission's answer"));
    EXPECT_EQ(permission, NotificationPermission::denied);
}

TEST(DBusNotificationCenterMarkup, FileNameIsTextOnAServiceThatReadsMarkup)
{
    test::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    test::TestNotificationServer server{bus.connect(), {QStringLiteral("body"), QStringLiteral("body-markup")}};
    DBusNotificationCenter center{bus.connect()};

    notifyScreenshotRisk(center, QStringLiteral("<b>&.png"), 1);
    ASSERT_TRUE(test::waitUntil([&] { return !server.received().isEmpty(); }, "the notification to arrive"));
    EXPECT_EQ(server.received().first().body,
              QStringLiteral("&lt;b&gt;&amp;.png has 1 possible leak. Review in Velmora before sharing."));
}
