#include "app/shell/system_clock.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

TEST(SystemClockTest, SingleShotFiresOnceAfterItsDelay)
{
    SystemClock clock;
    const Clock::TimePoint start = clock.now();
    int fired = 0;
    Clock::TimePoint firedAt;
    auto timer = clock.singleShot(20ms, [&] {
        ++fired;
        firedAt = clock.now();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired > 0; }, 5000));
    EXPECT_GE(firedAt - start, 20ms);
    // A later timer that fires proves the first had its chance to fire again.
    bool later = false;
    auto marker = clock.singleShot(30ms, [&] { later = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return later; }, 5000));
    EXPECT_EQ(fired, 1);
}

TEST(SystemClockTest, RepeatingTicksUntilTheHandleIsGone)
{
    SystemClock clock;
    int ticks = 0;
    std::unique_ptr<ClockTimer> timer;
    timer = clock.repeating(5ms, [&] {
        if (++ticks == 3)
            timer.reset(); // Dropped from inside its own tick.
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }, 5000));
    bool later = false;
    auto marker = clock.singleShot(40ms, [&] { later = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return later; }, 5000));
    EXPECT_EQ(ticks, 3);
}

TEST(SystemClockTest, DroppedHandleNeverFires)
{
    SystemClock clock;
    bool fired = false;
    clock.singleShot(1ms, [&] { fired = true; }).reset();
    bool later = false;
    auto marker = clock.singleShot(30ms, [&] { later = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return later; }, 5000));
    EXPECT_FALSE(fired);
}
