#include "app/protection/global_capture_shortcut_controller.h"
#include "app/protection/xcb_hot_key_grabber.h"
#include "core/protection/capture_shortcut_settings.h"

#include "support/event_loop.h"
#include "support/row_name.h"
#include "support/temp_settings.h"
#include "support/xdotool.h"
#include "x11/support/other_x_client.h"

#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace velmora::test {
namespace {

constexpr uint16_t shiftMask = 0x1;
constexpr uint16_t lockMask = 0x2;
constexpr uint16_t controlMask = 0x4;
constexpr uint16_t altMask = 0x8;
constexpr uint16_t numLockMask = 0x10;

uint32_t digitKeysym(char digit)
{
    return uint32_t(digit);
}

// One window's hot keys on the real X server, the presses recorded.
class GlobalCaptureHotKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto grabber = XcbHotKeyGrabber::create();
        ASSERT_NE(grabber, nullptr) << "the X11 suite runs on an X server";
        m_controller.emplace(*m_settings, std::move(grabber));
        m_controller->setOnShortcut([this](VelmoraCaptureMode mode) { m_pressed.append(mode); });
        GlobalCaptureShortcutController::setActive(&*m_controller);
        m_controller->installEventHandler();
    }

    void TearDown() override
    {
        GlobalCaptureShortcutController::setActive(nullptr);
        m_controller.reset();
    }

    void store(VelmoraCaptureMode mode, VelmoraCaptureShortcutChoice choice)
    {
        m_settings->setValue(captureShortcutSetting(mode), rawValue(choice));
    }
    QString status() { return m_settings->value(Setting::captureShortcutRegistrationStatus); }
    /// Presses the keys and waits until a press reaches the controller.
    bool press(const QString &keys)
    {
        const qsizetype before = m_pressed.size();
        return xdotool({QStringLiteral("key"), keys})
               && waitUntil([&] { return m_pressed.size() > before; }, "the press to reach the controller");
    }

    TempSettings m_settings;
    std::optional<GlobalCaptureShortcutController> m_controller;
    QList<VelmoraCaptureMode> m_pressed;
};

struct PressRow {
    const char *name;
    const char *keys;
    VelmoraCaptureMode mode;
};

class GlobalCaptureHotKeyPressTest : public GlobalCaptureHotKeysTest, public ::testing::WithParamInterface<PressRow> {};

TEST_P(GlobalCaptureHotKeyPressTest, DefaultKeysStartTheirMode)
{
    m_controller->registerShortcuts();
    EXPECT_EQ(status(), CaptureShortcutStatus::active);
    EXPECT_EQ(m_controller->registeredModes(),
              (QList<VelmoraCaptureMode>{VelmoraCaptureMode::screen, VelmoraCaptureMode::window, VelmoraCaptureMode::area}));
    ASSERT_TRUE(press(QString::fromLatin1(GetParam().keys)));
    EXPECT_EQ(m_pressed, QList<VelmoraCaptureMode>{GetParam().mode});
}

INSTANTIATE_TEST_SUITE_P(Rows, GlobalCaptureHotKeyPressTest, ::testing::Values(
    PressRow{"screen", "alt+shift+3", VelmoraCaptureMode::screen},
    PressRow{"window", "alt+shift+2", VelmoraCaptureMode::window},
    PressRow{"area", "alt+shift+1", VelmoraCaptureMode::area}),
    rowName);

struct LockRow {
    const char *name;
    const char *lockKey;
    uint16_t lockMask;
};

class GlobalCaptureHotKeyLockTest : public GlobalCaptureHotKeysTest, public ::testing::WithParamInterface<LockRow> {};

TEST_P(GlobalCaptureHotKeyLockTest, LocksDoNotGetInTheWay)
{
    const LockRow &row = GetParam();
    OtherXClient x;
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QString::fromLatin1(row.lockKey)}));
    const bool lockOn = waitUntil([&] { return (x.modifierState() & row.lockMask) != 0; }, "the lock to be on");
    m_controller->registerShortcuts();
    const bool pressed = press(QStringLiteral("alt+shift+3"));
    xdotool({QStringLiteral("key"), QString::fromLatin1(row.lockKey)});
    ASSERT_TRUE(lockOn);
    ASSERT_TRUE(pressed);
    EXPECT_EQ(m_pressed, QList<VelmoraCaptureMode>{VelmoraCaptureMode::screen});
}

INSTANTIATE_TEST_SUITE_P(Rows, GlobalCaptureHotKeyLockTest, ::testing::Values(
    LockRow{"numLock", "Num_Lock", numLockMask},
    LockRow{"capsLock", "Caps_Lock", lockMask}),
    rowName);

TEST_F(GlobalCaptureHotKeysTest, AKeyAnotherClientHoldsIsNamedAndTheOthersStillFire)
{
    OtherXClient other;
    ASSERT_TRUE(other.grabKey(digitKeysym('3'), altMask | shiftMask));
    m_controller->registerShortcuts();
    EXPECT_EQ(status(), QStringLiteral("Could not register Capture screen: Alt-Shift-3. Choose another shortcut or use "
                                       "the menu bar fallback."));
    EXPECT_EQ(m_controller->registeredModes(),
              (QList<VelmoraCaptureMode>{VelmoraCaptureMode::window, VelmoraCaptureMode::area}));
    ASSERT_TRUE(press(QStringLiteral("alt+shift+2")));
    EXPECT_EQ(m_pressed, QList<VelmoraCaptureMode>{VelmoraCaptureMode::window});
    // The refused key left none of its lock variants behind.
    other.ungrabKey(digitKeysym('3'), altMask | shiftMask);
    EXPECT_TRUE(other.grabKey(digitKeysym('3'), altMask | shiftMask | numLockMask));
}

TEST_F(GlobalCaptureHotKeysTest, FailuresAreNamedInAssignmentOrder)
{
    store(VelmoraCaptureMode::area, VelmoraCaptureShortcutChoice::controlOption1);
    OtherXClient other;
    ASSERT_TRUE(other.grabKey(digitKeysym('3'), altMask | shiftMask));
    ASSERT_TRUE(other.grabKey(digitKeysym('1'), controlMask | altMask | lockMask));
    m_controller->registerShortcuts();
    EXPECT_EQ(status(), QStringLiteral("Could not register Capture screen: Alt-Shift-3, Capture area: Control-Alt-1. "
                                       "Choose another shortcut or use the menu bar fallback."));
    EXPECT_EQ(m_controller->registeredModes(), QList<VelmoraCaptureMode>{VelmoraCaptureMode::window});
}

TEST_F(GlobalCaptureHotKeysTest, UnregisteringFreesEveryKeyForOtherClients)
{
    m_controller->registerShortcuts();
    OtherXClient other;
    EXPECT_FALSE(other.grabKey(digitKeysym('3'), altMask | shiftMask));
    m_controller->unregisterAll();
    EXPECT_TRUE(m_controller->registeredModes().isEmpty());
    for (const char digit : {'1', '2', '3'}) {
        for (const uint16_t locks : {0, int(lockMask), int(numLockMask), int(lockMask | numLockMask)})
            EXPECT_TRUE(other.grabKey(digitKeysym(digit), altMask | shiftMask | locks)) << digit << " " << locks;
    }
}

TEST_F(GlobalCaptureHotKeysTest, RegisteringTwiceHoldsOneSet)
{
    m_controller->registerShortcuts();
    m_controller->registerShortcuts();
    EXPECT_EQ(status(), CaptureShortcutStatus::active);
    m_controller->unregisterAll();
    OtherXClient other;
    EXPECT_TRUE(other.grabKey(digitKeysym('2'), altMask | shiftMask));
}

TEST_F(GlobalCaptureHotKeysTest, DuplicatesRegisterNothing)
{
    store(VelmoraCaptureMode::area, VelmoraCaptureShortcutChoice::optionShift3);
    m_controller->registerShortcuts();
    EXPECT_EQ(status(), CaptureShortcutStatus::duplicates);
    EXPECT_TRUE(m_controller->registeredModes().isEmpty());
    OtherXClient other;
    EXPECT_TRUE(other.grabKey(digitKeysym('2'), altMask | shiftMask));
    EXPECT_TRUE(other.grabKey(digitKeysym('3'), altMask | shiftMask));
}

TEST_F(GlobalCaptureHotKeysTest, AllDisabledRegistersNothingAndIsActive)
{
    for (const VelmoraCaptureMode mode : {VelmoraCaptureMode::screen, VelmoraCaptureMode::window, VelmoraCaptureMode::area})
        store(mode, VelmoraCaptureShortcutChoice::disabled);
    m_controller->registerShortcuts();
    EXPECT_EQ(status(), CaptureShortcutStatus::active);
    EXPECT_TRUE(m_controller->registeredModes().isEmpty());
}

TEST_F(GlobalCaptureHotKeysTest, AChangedShortcutTakesEffectWhenRegisteredAgain)
{
    m_controller->registerShortcuts();
    store(VelmoraCaptureMode::screen, VelmoraCaptureShortcutChoice::controlOption3);
    m_controller->registerShortcuts();
    OtherXClient other;
    EXPECT_TRUE(other.grabKey(digitKeysym('3'), altMask | shiftMask));
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+3")));
    EXPECT_EQ(m_pressed, QList<VelmoraCaptureMode>{VelmoraCaptureMode::screen});
}

} // namespace
} // namespace velmora::test
