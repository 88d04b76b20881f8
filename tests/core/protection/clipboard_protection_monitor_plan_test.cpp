#include "core/protection/clipboard_protection_monitor_plan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace velmora;
using namespace std::chrono_literals;
using Decision = ClipboardProtectionScanDecision;

namespace {

const QDateTime origin(QDate(2026, 3, 4), QTime(10, 0), Qt::UTC);

// One step of a row: a poll with its expected answer, or the marking of a count as handled.
struct Step {
    enum class Kind { poll, mark } kind;
    qint64 count;
    bool image = true;
    std::chrono::milliseconds at{0};
    Decision expected = Decision::ignore();
};

Step poll(qint64 count, std::chrono::milliseconds at, Decision expected, bool image = true)
{
    return {Step::Kind::poll, count, image, at, expected};
}

Step mark(qint64 count)
{
    return {Step::Kind::mark, count};
}

struct PlanRow {
    const char *name;
    std::vector<Step> steps;
};

class MonitorPlanTest : public ::testing::TestWithParam<PlanRow> {};

} // namespace

TEST_P(MonitorPlanTest, AnswersEachPoll)
{
    ClipboardProtectionMonitorPlan plan(0.75);
    int index = 0;
    for (const Step &step : GetParam().steps) {
        if (step.kind == Step::Kind::mark) {
            plan.markHandled(step.count);
        } else {
            const Decision answer = plan.decide(step.count, step.image, origin.addMSecs(step.at.count()));
            EXPECT_EQ(rawValue(answer.kind), rawValue(step.expected.kind)) << "step " << index;
            EXPECT_EQ(answer, step.expected) << "step " << index;
        }
        ++index;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MonitorPlanTest, ::testing::Values(
    PlanRow{"settlesAtTheThirdPollThenIgnores",
            {poll(4, 0ms, Decision::wait()), poll(4, 450ms, Decision::wait()), poll(4, 900ms, Decision::scan(4)),
             poll(4, 1350ms, Decision::ignore())}},
    PlanRow{"settleIntervalIncludesEquality",
            {poll(9, 0ms, Decision::wait()), poll(9, 749ms, Decision::wait()), poll(9, 750ms, Decision::scan(9))}},
    PlanRow{"changeWithoutImageIsNeverScanned",
            {poll(3, 0ms, Decision::ignore(), false), poll(3, 450ms, Decision::ignore()),
             poll(3, 2000ms, Decision::ignore())}},
    PlanRow{"imageGoneClearsThePendingChange",
            {poll(3, 0ms, Decision::wait()), poll(3, 450ms, Decision::ignore(), false),
             poll(3, 900ms, Decision::ignore())}},
    PlanRow{"newerChangeRestartsTheWait",
            {poll(5, 0ms, Decision::wait()), poll(6, 450ms, Decision::wait()), poll(6, 900ms, Decision::wait()),
             poll(6, 1200ms, Decision::scan(6))}},
    PlanRow{"markingThePendingChangeIgnoresIt",
            {poll(7, 0ms, Decision::wait()), mark(7), poll(7, 900ms, Decision::ignore())}},
    PlanRow{"markingAnotherCountKeepsThePendingChange",
            {poll(7, 0ms, Decision::wait()), mark(8), poll(7, 900ms, Decision::scan(7))}},
    PlanRow{"ownWriteIsNeverScanned",
            {mark(12), poll(12, 0ms, Decision::ignore()), poll(12, 900ms, Decision::ignore())}},
    PlanRow{"handledCountClearsAPendingOtherChange",
            {mark(2), poll(3, 0ms, Decision::wait()), poll(2, 450ms, Decision::ignore()),
             poll(3, 900ms, Decision::wait()), poll(3, 1650ms, Decision::scan(3))}},
    PlanRow{"oldestCountIsForgottenAfterTwelve",
            {mark(1), mark(2), mark(3), mark(4), mark(5), mark(6), mark(7), mark(8), mark(9), mark(10), mark(11),
             mark(12), mark(13), poll(1, 0ms, Decision::wait()), poll(2, 450ms, Decision::ignore())}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MonitorPlanTest, KeepsTheTwelveLargestHandledCounts)
{
    ClipboardProtectionMonitorPlan plan(0.75);
    for (qint64 count = 13; count >= 1; --count)
        plan.markHandled(count);
    ASSERT_EQ(plan.handledChangeCounts().size(), 12u);
    EXPECT_EQ(*plan.handledChangeCounts().begin(), 2);
    EXPECT_EQ(*plan.handledChangeCounts().rbegin(), 13);
}

TEST(MonitorPlanTest, TrimsToAnyLimit)
{
    ClipboardProtectionMonitorPlan plan(0.75);
    for (qint64 count : {40, 10, 30, 20})
        plan.markHandled(count);
    plan.trimHandledChangeCounts(2);
    EXPECT_EQ(plan.handledChangeCounts(), (std::set<qint64>{30, 40}));
    plan.trimHandledChangeCounts(5);
    EXPECT_EQ(plan.handledChangeCounts().size(), 2u);
}

TEST(MonitorPlanTest, WaitingKeepsTheFirstSighting)
{
    ClipboardProtectionMonitorPlan plan(0.75);
    plan.decide(5, true, origin);
    plan.decide(5, true, origin.addMSecs(450));
    ASSERT_TRUE(plan.pendingImageChange());
    EXPECT_EQ(plan.pendingImageChange()->changeCount, 5);
    EXPECT_EQ(plan.pendingImageChange()->firstObservedAt, origin);
    EXPECT_TRUE(plan.handledChangeCounts().empty());
}

TEST(MonitorPlanTest, ScanRecordsTheCountAsHandled)
{
    ClipboardProtectionMonitorPlan plan(0.75);
    plan.decide(5, true, origin);
    EXPECT_EQ(plan.decide(5, true, origin.addSecs(1)), Decision::scan(5));
    EXPECT_FALSE(plan.pendingImageChange());
    EXPECT_EQ(plan.handledChangeCounts(), (std::set<qint64>{5}));
    EXPECT_EQ(plan, [] {
        ClipboardProtectionMonitorPlan expected(0.75);
        expected.markHandled(5);
        return expected;
    }());
}
