#include "app/protection/protection_notifications.h"

#include "app/commands/command_bus.h"
#include "app/protection/notification_permission.h"
#include "support/recording_notification_center.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace velmora;

namespace {

struct PostRow
{
    const char *name;
    NotificationPermission permission;
    bool grants;
    int expectedRisks;
    int expectedRiskRequests; ///< Times the user would have been asked.
    int expectedReceipts;
};

class PostingRulesTest : public ::testing::TestWithParam<PostRow> {};

} // namespace

TEST_P(PostingRulesTest, RiskAsksWhenUndecidedAndReceiptNever)
{
    const PostRow &row = GetParam();
    test::RecordingNotificationCenter risks;
    risks.grantsAuthorization = row.grants;
    postScreenshotRiskNotificationIfAllowed(row.permission, QStringLiteral("a.png"), 2, risks);
    EXPECT_EQ(risks.added.size(), row.expectedRisks);
    EXPECT_EQ(risks.authorizationRequests, row.expectedRiskRequests);

    test::RecordingNotificationCenter receipts;
    receipts.grantsAuthorization = row.grants;
    postAutoCleanReceiptNotification(row.permission, QStringLiteral("Title"), QStringLiteral("Body"), receipts,
                                     std::chrono::seconds(8));
    EXPECT_EQ(receipts.added.size(), row.expectedReceipts);
    EXPECT_EQ(receipts.authorizationRequests, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, PostingRulesTest, ::testing::Values(
    PostRow{"authorized", NotificationPermission::authorized, true, 1, 0, 1},
    PostRow{"provisional", NotificationPermission::provisional, true, 1, 0, 1},
    PostRow{"undecidedThenAllowed", NotificationPermission::notDetermined, true, 1, 1, 0},
    PostRow{"undecidedThenRefused", NotificationPermission::notDetermined, false, 0, 1, 0},
    PostRow{"denied", NotificationPermission::denied, true, 0, 0, 0}
), test::rowName);

TEST(ProtectionNotifications, RiskAndReceiptRequestsCarryTheirIdentifiersAndCategory)
{
    test::RecordingNotificationCenter center;
    postScreenshotRiskNotification(QStringLiteral("a.png"), 1, center);
    postScreenshotRiskNotification(QStringLiteral("a.png"), 1, center);
    postAutoCleanReceiptNotification(NotificationPermission::authorized, QStringLiteral("T"), QStringLiteral("B"), center,
                                     std::chrono::seconds(8));
    ASSERT_EQ(center.added.size(), 3);

    const QRegularExpression riskID(QStringLiteral("^velmora-screenshot-watch-[0-9A-F-]{36}$"));
    EXPECT_TRUE(riskID.match(center.added[0].identifier).hasMatch()) << center.added[0].identifier.toStdString();
    EXPECT_NE(center.added[0].identifier, center.added[1].identifier);
    EXPECT_EQ(center.added[0].categoryIdentifier, QStringLiteral("velmora-screenshot-watch-risk"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^velmora-autoclean-[0-9A-F-]{36}$"))
                    .match(center.added[2].identifier).hasMatch());
    EXPECT_TRUE(center.added[2].categoryIdentifier.isEmpty());
}

TEST(ProtectionNotifications, RegistrationDeclaresTheReviewAction)
{
    test::RecordingNotificationCenter center;
    CommandBus commands;
    registerNotificationCategories(center, commands);
    EXPECT_EQ(center.categories,
              (QList<NotificationCategory>{{QStringLiteral("velmora-screenshot-watch-risk"),
                                            {{QStringLiteral("velmora-review-watched-screenshot"),
                                              QStringLiteral("Review in Velmora")}}}}));
}

namespace {

struct RequestRow
{
    const char *name;
    NotificationPermission current;
    bool grants;
    NotificationPermission expected;
    int expectedRequests;
};

class RequestIfNeededTest : public ::testing::TestWithParam<RequestRow> {};

} // namespace

TEST_P(RequestIfNeededTest, AsksOnlyWhenUndecided)
{
    test::RecordingNotificationCenter center;
    center.grantsAuthorization = GetParam().grants;
    std::optional<NotificationPermission> answer;
    requestNotificationAuthorizationIfNeeded(GetParam().current, center,
                                             [&](NotificationPermission state) { answer = state; });
    EXPECT_EQ(answer, GetParam().expected);
    EXPECT_EQ(center.authorizationRequests, GetParam().expectedRequests);
}

INSTANTIATE_TEST_SUITE_P(Rows, RequestIfNeededTest, ::testing::Values(
    RequestRow{"undecidedGranted", NotificationPermission::notDetermined, true, NotificationPermission::authorized, 1},
    RequestRow{"undecidedRefused", NotificationPermission::notDetermined, false, NotificationPermission::denied, 1},
    RequestRow{"deniedStays", NotificationPermission::denied, true, NotificationPermission::denied, 0},
    RequestRow{"provisionalStays", NotificationPermission::provisional, false, NotificationPermission::provisional, 0}
), test::rowName);

namespace {

struct OverrideRow
{
    const char *name;
    std::optional<const char *> testMode;
    std::optional<const char *> status;
    std::optional<NotificationPermission> expected;
};

class UiTestStatusTest : public ::testing::TestWithParam<OverrideRow> {};

} // namespace

TEST_P(UiTestStatusTest, MapsTheEnvironment)
{
    const OverrideRow &row = GetParam();
    test::ScopedEnvironmentVariable mode("VELMORA_UI_TEST_MODE", row.testMode ? *row.testMode : "");
    test::ScopedEnvironmentVariable status("VELMORA_UI_NOTIFICATION_AUTHORIZATION_STATUS", row.status ? *row.status : "");
    if (!row.testMode)
        qunsetenv("VELMORA_UI_TEST_MODE");
    if (!row.status)
        qunsetenv("VELMORA_UI_NOTIFICATION_AUTHORIZATION_STATUS");
    EXPECT_EQ(uiTestNotificationAuthorizationStatus(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, UiTestStatusTest, ::testing::Values(
    OverrideRow{"authorized", "1", "authorized", NotificationPermission::authorized},
    OverrideRow{"denied", "1", "denied", NotificationPermission::denied},
    OverrideRow{"notDetermined", "1", "notDetermined", NotificationPermission::notDetermined},
    OverrideRow{"provisional", "1", "provisional", NotificationPermission::provisional},
    OverrideRow{"unknownValue", "1", "ephemeral", std::nullopt},
    OverrideRow{"wrongCase", "1", "Authorized", std::nullopt},
    OverrideRow{"statusAbsent", "1", std::nullopt, std::nullopt},
    OverrideRow{"testModeAbsent", std::nullopt, "provisional", std::nullopt},
    OverrideRow{"testModeNotOne", "true", "provisional", std::nullopt}
), test::rowName);
