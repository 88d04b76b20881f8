#include "app/window/watched_alerts_menu.h"

#include "app/kit/capsule_label.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/window/ambient_mode_pills.h"
#include "support/fake_clipboard.h"
#include "support/manual_clock.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

#include <QMenu>

using namespace velmora;

TEST(WatchedAlertsMenu, HiddenWhileNothingWaits)
{
    WatchedAlertsMenu menu;
    EXPECT_TRUE(menu.isHidden());
    menu.setAlerts({{QStringLiteral("/w/x.png"), QStringLiteral("a.png - 2 to redact")}});
    EXPECT_FALSE(menu.isHidden());
    menu.setAlerts({});
    EXPECT_TRUE(menu.isHidden());
}

TEST(WatchedAlertsMenu, ListsEveryAlertNewestFirstAndOpensTheChosenOne)
{
    WatchedAlertsMenu menu;
    const QString newest = QStringLiteral("/w/b.png");
    const QString older = QStringLiteral("/w/a.png");
    menu.setAlerts({{newest, QStringLiteral("b.png")}, {older, QStringLiteral("a.png")}});

    EXPECT_EQ(menu.text(), QStringLiteral("Watched alerts (2)"));
    EXPECT_EQ(menu.objectName(), QStringLiteral("watched-alerts-menu"));
    const QList<QAction *> actions = menu.menu()->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("b.png"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("a.png"));

    QStringList chosen;
    QObject::connect(&menu, &WatchedAlertsMenu::alertChosen, [&](const QString &key) { chosen.append(key); });
    actions[1]->trigger();
    EXPECT_EQ(chosen, QStringList{older});
}

TEST(AmbientModePills, WatchPillShowsWhileTheWatchRuns)
{
    test::TempSettings settings;
    test::FakeClipboard clipboard;
    test::ManualClock clock;
    ClipboardProtectionController guard(clipboard, *settings, clock);
    AmbientModePills pills(guard);
    auto *pill = pills.findChild<CapsuleLabel *>(QStringLiteral("screenshot-watch-pill"));
    ASSERT_NE(pill, nullptr);
    EXPECT_EQ(pill->text(), QStringLiteral("Folder watch on"));
    EXPECT_TRUE(pills.isHidden());

    pills.setScreenshotWatchRunning(true);
    EXPECT_FALSE(pills.isHidden());
    EXPECT_FALSE(pill->isHidden());
    pills.setScreenshotWatchRunning(false);
    EXPECT_TRUE(pills.isHidden());
}
