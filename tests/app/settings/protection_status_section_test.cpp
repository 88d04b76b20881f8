#include "app/kit/capsule_label.h"
#include "app/kit/look.h"
#include "app/settings/protection_status_row.h"

#include "settings_window_fixture.h"
#include "support/event_loop.h"
#include "support/row_name.h"

#include <QLabel>
#include <QScrollBar>

namespace velmora::test {
namespace {

class ProtectionStatusRails : public SettingsWindowFixture
{
protected:
    ProtectionStatusRails() { click(QStringLiteral("settings-tab-protection")); }

    QString badge(const char *rail) { return find<CapsuleLabel>(QStringLiteral("protection-status-badge-") + rail)->text(); }
    QString detail(const char *rail) { return find<QLabel>(QStringLiteral("protection-status-detail-") + rail)->text(); }
};

TEST_F(ProtectionStatusRails, ShowsOneRowPerRailInRailOrder)
{
    auto *stack = find(QStringLiteral("screenshot-protection-status-section"));
    QStringList names;
    for (const ProtectionStatusRow *row : stack->findChildren<ProtectionStatusRow *>())
        names.append(row->objectName());
    EXPECT_EQ(names, (QStringList{"protection-status-velmoraCapture", "protection-status-folderWatch",
                                  "protection-status-clipboardGuard", "protection-status-policy"}));
    EXPECT_EQ(find<QAbstractButton>(QStringLiteral("protection-status-action-clipboardGuard"))->text(),
              QStringLiteral("Configure clipboard"));
}

TEST_F(ProtectionStatusRails, FollowTheStoredSettingsWithoutReopening)
{
    EXPECT_EQ(badge("folderWatch"), QStringLiteral("Off"));
    EXPECT_EQ(badge("clipboardGuard"), QStringLiteral("Off"));
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    EXPECT_EQ(badge("clipboardGuard"), QStringLiteral("On"));
    settings->setValue(Setting::isScreenshotWatchEnabled, true);
    EXPECT_EQ(badge("folderWatch"), QStringLiteral("Needs setup"));
    settings->setValue(Setting::captureOutputModeID, QStringLiteral("saveCleanedPNG"));
    EXPECT_EQ(badge("velmoraCapture"), QStringLiteral("Needs setup"));
    const QString before = detail("policy");
    settings->setValue(Setting::policySourceID, QStringLiteral("managed"));
    EXPECT_NE(detail("policy"), before);
    auto *badgeWidget = find<CapsuleLabel>(QStringLiteral("protection-status-badge-velmoraCapture"));
    EXPECT_EQ(badgeWidget->foregroundColor(), look::orange(badgeWidget->palette()));
}

TEST_F(SettingsWindowFixture, ARefusedCapturePreflightNeedsPermissionWhateverTheMode)
{
    captureAllowed = false;
    auto *badge = find<CapsuleLabel>(QStringLiteral("protection-status-badge-velmoraCapture"));
    EXPECT_EQ(badge->text(), QStringLiteral("Needs permission"));
    settings->setValue(Setting::captureOutputModeID, QStringLiteral("saveCleanedPNG"));
    EXPECT_EQ(badge->text(), QStringLiteral("Needs permission"));
}

struct JumpRow
{
    const char *name;
    const char *button;
    SettingsTab tab;
    const char *anchor;
};

class ProtectionStatusJump : public ProtectionStatusRails, public ::testing::WithParamInterface<JumpRow> {};

TEST_P(ProtectionStatusJump, ConfigureShowsTheSectionAtTheTop)
{
    window().resize(600, 620);
    drainEvents();
    click(QString::fromLatin1(GetParam().button));
    drainEvents();
    EXPECT_EQ(window().selectedTab(), GetParam().tab);
    QScrollArea *scroll = window().scrollArea(GetParam().tab);
    auto *section = scroll->widget()->findChild<QWidget *>(QString::fromLatin1(GetParam().anchor));
    ASSERT_NE(section, nullptr);
    QScrollBar *bar = scroll->verticalScrollBar();
    EXPECT_EQ(bar->value(), std::min(section->y(), bar->maximum()));
    if (GetParam().tab == SettingsTab::protection) {
        EXPECT_GT(bar->value(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ProtectionStatusJump, ::testing::Values(
    JumpRow{"capture", "protection-status-action-velmoraCapture", SettingsTab::protection, "settings-capture-output"},
    JumpRow{"clipboard", "protection-status-action-clipboardGuard", SettingsTab::protection,
            "settings-clipboard-protection"},
    JumpRow{"watch", "protection-status-action-folderWatch", SettingsTab::protection, "settings-folder-watch"},
    JumpRow{"policy", "protection-status-action-policy", SettingsTab::detection, "settings-top"}), rowName);

} // namespace
} // namespace velmora::test
