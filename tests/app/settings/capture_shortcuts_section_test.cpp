#include "app/kit/look.h"

#include "settings_window_fixture.h"

#include <QComboBox>
#include <QLabel>

namespace velmora::test {
namespace {

class CaptureShortcutSettings : public SettingsWindowFixture
{
protected:
    CaptureShortcutSettings() { click(QStringLiteral("settings-tab-protection")); }

    QComboBox *picker(const char *mode) { return find<QComboBox>(QStringLiteral("capture-shortcut-picker-") + mode); }
    void choose(const char *mode, const char *rawValue)
    {
        QComboBox *combo = picker(mode);
        const int index = combo->findData(QString::fromLatin1(rawValue));
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QLabel *summary() { return find<QLabel>(QStringLiteral("capture-shortcut-summary")); }
    QLabel *registration() { return find<QLabel>(QStringLiteral("capture-shortcut-registration-status")); }
    static bool isOrange(const QLabel *label)
    {
        return label->palette().color(QPalette::WindowText) == look::orange(label->parentWidget()->palette());
    }
};

TEST_F(CaptureShortcutSettings, TwoEqualShortcutsTurnBothLinesOrange)
{
    choose("area", "optionShift2");
    EXPECT_EQ(settings->value(Setting::areaShortcutID), QStringLiteral("optionShift2"));
    EXPECT_EQ(settings->value(Setting::captureShortcutRegistrationStatus),
              QStringLiteral("Resolve duplicate shortcuts before Velmora can register them globally."));
    EXPECT_EQ(summary()->text(),
              QStringLiteral("Duplicate shortcut: Alt-Shift-2. Pick a unique shortcut for each enabled capture mode."));
    EXPECT_TRUE(isOrange(summary()));
    EXPECT_TRUE(isOrange(registration()));
}

TEST_F(CaptureShortcutSettings, AllDisabledIsNoDuplicate)
{
    choose("area", "disabled");
    choose("window", "disabled");
    choose("screen", "disabled");
    EXPECT_TRUE(summary()->text().startsWith(QStringLiteral("Defaults are Alt-Shift-1 for area")));
    EXPECT_EQ(registration()->text(), QStringLiteral("Shortcut settings saved."));
    EXPECT_FALSE(isOrange(summary()));
}

TEST_F(CaptureShortcutSettings, AnUnknownStoredValueShowsTheSlotDefault)
{
    settings->setValue(Setting::windowShortcutID, QStringLiteral("Alt-Shift-9"));
    EXPECT_EQ(picker("window")->currentData().toString(), QStringLiteral("optionShift2"));
}

TEST_F(CaptureShortcutSettings, ARegistrationStatusWrittenElsewhereShowsWithoutReopening)
{
    EXPECT_TRUE(registration()->isHidden());
    settings->setValue(Setting::captureShortcutRegistrationStatus, QStringLiteral("Shortcuts registered."));
    EXPECT_FALSE(registration()->isHidden());
    EXPECT_EQ(registration()->text(), QStringLiteral("Shortcuts registered."));
    EXPECT_FALSE(isOrange(registration()));
}

} // namespace
} // namespace velmora::test
