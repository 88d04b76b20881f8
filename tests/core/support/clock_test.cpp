#include "core/support/system_clock.h"

#include "support/event_loop.h"
#include "support/manual_clock.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace velmora {
namespace {

TEST(ManualClock, RunsDueActionsInTimeOrderAtTheirOwnMoment)
{
    test::ManualClock clock;
    const QDateTime start = clock.now();
    QStringList log;
    clock.schedule(300ms, [&] { log << QStringLiteral("late@%1").arg(start.msecsTo(clock.now())); });
    clock.schedule(100ms, [&] {
        log << QStringLiteral("early@%1").arg(start.msecsTo(clock.now()));
        clock.schedule(50ms, [&] { log << QStringLiteral("chained@%1").arg(start.msecsTo(clock.now())); });
    });
    clock.advance(200ms);
    EXPECT_EQ(log, (QStringList{"early@100", "chained@150"}));
    EXPECT_EQ(start.msecsTo(clock.now()), 200);
    clock.advance(100ms);
    EXPECT_EQ(log.last(), QStringLiteral("late@300"));
}

TEST(ManualClock, CancelledActionsNeverRun)
{
    test::ManualClock clock;
    bool ran = false;
    const TaskHandle handle = clock.schedule(10ms, [&] { ran = true; });
    handle.cancel();
    EXPECT_EQ(clock.pendingCount(), 0);
    clock.advance(1s);
    EXPECT_FALSE(ran);
}

TEST(SystemClock, RunsScheduledActionsAndDropsCancelledOnes)
{
    SystemClock clock;
    bool cancelledRan = false, kept = false;
    clock.schedule(0ms, [&] { cancelledRan = true; }).cancel();
    clock.schedule(1ms, [&] { kept = true; });
    EXPECT_TRUE(test::waitUntil([&] { return kept; }, "the kept action to run"));
    EXPECT_FALSE(cancelledRan);
}

// A coarse timer may fire 5 % early: the 8-second undo would end after 7.6 seconds.
TEST(SystemClock, ArmsAPreciseTimerForTheWholeDelay)
{
    SystemClock clock;
    clock.schedule(8s, [] {});
    const QList<QTimer *> timers = clock.findChildren<QTimer *>();
    ASSERT_EQ(timers.size(), 1);
    EXPECT_EQ(timers.first()->timerType(), Qt::PreciseTimer);
    EXPECT_TRUE(timers.first()->isSingleShot());
    EXPECT_EQ(timers.first()->intervalAsDuration(), 8s);
}

} // namespace
} // namespace velmora
