#include "support/manual_clock.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmora;
using namespace std::chrono_literals;

TEST(ManualClockTest, FiresDueTimersInOrderAtTheirDueTime)
{
    test::ManualClock clock;
    std::vector<std::pair<int, std::chrono::milliseconds>> fired;
    auto late = clock.singleShot(300ms, [&] { fired.emplace_back(1, clock.elapsed()); });
    auto ticking = clock.repeating(100ms, [&] { fired.emplace_back(2, clock.elapsed()); });
    clock.advance(250ms);
    EXPECT_EQ(fired, (std::vector<std::pair<int, std::chrono::milliseconds>>{{2, 100ms}, {2, 200ms}}));
    clock.advance(50ms);
    // Equal due times fire in the order the timers were made.
    EXPECT_EQ(fired.size(), 4u);
    EXPECT_EQ(fired[2], std::make_pair(1, 300ms));
    EXPECT_EQ(fired[3], std::make_pair(2, 300ms));
    EXPECT_EQ(clock.elapsed(), 300ms);
    EXPECT_EQ(clock.activeTimerCount(), 1);
}

TEST(ManualClockTest, DroppedHandlesNeverFire)
{
    test::ManualClock clock;
    int fired = 0;
    clock.singleShot(10ms, [&] { ++fired; }).reset();
    std::unique_ptr<ClockTimer> self;
    self = clock.repeating(10ms, [&] {
        ++fired;
        self.reset();
    });
    clock.advance(1s);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(clock.activeTimerCount(), 0);
}

TEST(ManualClockTest, TimerMadeWhileFiringCountsFromThen)
{
    test::ManualClock clock;
    std::unique_ptr<ClockTimer> second;
    std::chrono::milliseconds secondAt{0};
    auto first = clock.singleShot(100ms, [&] { second = clock.singleShot(100ms, [&] { secondAt = clock.elapsed(); }); });
    clock.advance(500ms);
    EXPECT_EQ(secondAt, 200ms);
}
