#include "core/protection/screenshot_folder_watch_plan.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

const QDateTime origin(QDate(2026, 3, 4), QTime(10, 0), Qt::UTC);

struct File
{
    const char *path;
    qint64 size = 100;
    int modifiedSecond = 0;
};

QList<ScreenshotWatchCandidate> listing(const std::vector<File> &files)
{
    QList<ScreenshotWatchCandidate> candidates;
    for (const File &file : files)
        candidates.append({QUrl::fromLocalFile(QString::fromUtf8(file.path)), file.size,
                           origin.addSecs(file.modifiedSecond)});
    return candidates;
}

// One step of a row: the baseline, an observation, or a check with the file names it must report.
struct Step
{
    enum class Kind { baseline, observe, ready } kind;
    std::vector<File> files;
    std::chrono::milliseconds at{0};
    std::vector<const char *> expected;
};

Step baseline(std::vector<File> files)
{
    return {Step::Kind::baseline, std::move(files), 0ms, {}};
}

Step observe(std::chrono::milliseconds at, std::vector<File> files)
{
    return {Step::Kind::observe, std::move(files), at, {}};
}

Step ready(std::chrono::milliseconds at, std::vector<File> files, std::vector<const char *> expected)
{
    return {Step::Kind::ready, std::move(files), at, std::move(expected)};
}

struct PlanRow
{
    const char *name;
    std::vector<Step> steps;
};

class ScreenshotFolderWatchPlanTest : public ::testing::TestWithParam<PlanRow> {};

} // namespace

TEST_P(ScreenshotFolderWatchPlanTest, ReportsWhatSettled)
{
    ScreenshotFolderWatchPlan plan(1.0);
    int index = 0;
    for (const Step &step : GetParam().steps) {
        const QDateTime now = origin.addMSecs(step.at.count());
        if (step.kind == Step::Kind::baseline) {
            plan.recordBaseline(listing(step.files));
        } else if (step.kind == Step::Kind::observe) {
            plan.observe(listing(step.files), now);
        } else {
            QStringList reported;
            for (const ScreenshotWatchCandidate &candidate : plan.readyCandidates(listing(step.files), now))
                reported.append(candidate.url.path());
            QStringList expected;
            for (const char *path : step.expected)
                expected.append(QString::fromUtf8(path));
            EXPECT_EQ(reported, expected) << "step " << index;
        }
        ++index;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenshotFolderWatchPlanTest, ::testing::Values(
    PlanRow{"baselineIsNeverReported",
            {baseline({{"/w/Old.png"}}), observe(0ms, {{"/w/Old.png", 200, 5}}),
             ready(5000ms, {{"/w/Old.png", 300, 9}}, {})}},
    PlanRow{"newFileAfterBaselineIsReported",
            {baseline({{"/w/Old.png"}}), observe(0ms, {{"/w/Old.png"}, {"/w/New.png"}}),
             ready(1000ms, {{"/w/Old.png"}, {"/w/New.png"}}, {"/w/New.png"})}},
    PlanRow{"justUnderTheIntervalIsNotReady",
            {observe(0ms, {{"/w/A.png"}}), ready(999ms, {{"/w/A.png"}}, {}), ready(1000ms, {{"/w/A.png"}}, {"/w/A.png"})}},
    PlanRow{"growingFileRestartsItsClock",
            {observe(0ms, {{"/w/A.png", 10}}), ready(1000ms, {{"/w/A.png", 20}}, {}),
             ready(1999ms, {{"/w/A.png", 20}}, {}), ready(2000ms, {{"/w/A.png", 20}}, {"/w/A.png"})}},
    PlanRow{"newModificationTimeRestartsItsClock",
            {observe(0ms, {{"/w/A.png", 10, 0}}), ready(1000ms, {{"/w/A.png", 10, 1}}, {}),
             ready(2000ms, {{"/w/A.png", 10, 1}}, {"/w/A.png"})}},
    PlanRow{"sameFileWrittenDifferentlyKeepsItsClock",
            {observe(0ms, {{"/w/A.png"}}), observe(500ms, {{"/w/sub/../A.png"}}),
             ready(1000ms, {{"/w/./A.png"}}, {"/w/A.png"})}},
    PlanRow{"vanishedPendingFileStartsAgain",
            {observe(0ms, {{"/w/A.png"}}), observe(500ms, {}), observe(900ms, {{"/w/A.png"}}),
             ready(1500ms, {{"/w/A.png"}}, {}), ready(1900ms, {{"/w/A.png"}}, {"/w/A.png"})}},
    PlanRow{"reportedFileIsNeverReportedAgain",
            {observe(0ms, {{"/w/A.png"}}), ready(1000ms, {{"/w/A.png"}}, {"/w/A.png"}),
             observe(2000ms, {{"/w/A.png", 999, 7}}), ready(4000ms, {{"/w/A.png", 999, 7}}, {})}},
    PlanRow{"recreatedReportedFileIsNeverReportedAgain",
            {observe(0ms, {{"/w/A.png"}}), ready(1000ms, {{"/w/A.png"}}, {"/w/A.png"}), observe(2000ms, {}),
             observe(3000ms, {{"/w/A.png", 5, 3}}), ready(5000ms, {{"/w/A.png", 5, 3}}, {})}},
    PlanRow{"readyFilesComeInNameOrder",
            {observe(0ms, {{"/w/Shot 10.png"}, {"/w/shot 3.png"}, {"/w/Shot 2.png"}}),
             ready(1000ms, {{"/w/Shot 10.png"}, {"/w/shot 3.png"}, {"/w/Shot 2.png"}},
                   {"/w/Shot 2.png", "/w/shot 3.png", "/w/Shot 10.png"})}},
    PlanRow{"onlySettledFilesOfACheckAreReported",
            {observe(0ms, {{"/w/A.png"}}), observe(600ms, {{"/w/A.png"}, {"/w/B.png"}}),
             ready(1000ms, {{"/w/A.png"}, {"/w/B.png"}}, {"/w/A.png"}),
             ready(1600ms, {{"/w/A.png"}, {"/w/B.png"}}, {"/w/B.png"})}},
    PlanRow{"emptyListingClearsPendingAndReportsNothing",
            {observe(0ms, {{"/w/A.png"}}), ready(1000ms, {}, {}), ready(1500ms, {{"/w/A.png"}}, {}),
             ready(2500ms, {{"/w/A.png"}}, {"/w/A.png"})}}
), test::rowName);

TEST(ScreenshotFolderWatchPlanState, PendingFilesAreReportedUntilTheyAreDone)
{
    ScreenshotFolderWatchPlan plan(1.0);
    plan.observe(listing({{"/w/A.png"}}), origin);
    EXPECT_TRUE(plan.hasPendingCandidates());
    plan.readyCandidates(listing({{"/w/A.png"}}), origin.addSecs(1));
    EXPECT_FALSE(plan.hasPendingCandidates());
    EXPECT_TRUE(plan.knownCandidateIDs().contains(QStringLiteral("/w/A.png")));
}

TEST(ScreenshotFolderWatchPlanState, KeepsItsIntervalUnclamped)
{
    EXPECT_EQ(ScreenshotFolderWatchPlan(0.01).settleInterval(), 0.01);
}
