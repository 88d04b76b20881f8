#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/text/pattern_time_budget.h"

#include "support/synthetic_text_line.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::monospaceLine;

namespace {

using Action = DetectionSuggestedAction;

const NormRect kLineBox{0.1, 0.5, 0.8, 0.04};
// Nested repetition on a run of "a" that ends in no "b": each step back doubles the work.
const QString kCatastrophic = QStringLiteral("(a+)+b");
const QString kCatastrophicBait = QString(40, u'a') + u'c';

// Distinct patterns (the configuration drops repeats), each as slow as the first.
QStringList catastrophicPatterns(int count)
{
    QStringList patterns;
    for (int i = 0; i < count; ++i)
        patterns.append(QStringLiteral("(a+)+b%1").arg(i));
    return patterns;
}

SensitiveTextFindings scan(const CustomDetectionConfiguration &config, const QStringList &lines)
{
    QList<TextObservation> observations;
    for (const QString &line : lines)
        observations.append(monospaceLine(line, kLineBox));
    return SensitiveTextDetector(config).scan(observations);
}

CustomDetectionConfiguration withPatterns(const QStringList &terms, const QStringList &regexes,
                                          const QList<LearnedSafeRule> &learned = {})
{
    return CustomDetectionConfiguration(terms, regexes, {}, {}, {}, learned);
}

const Detection *findingOf(const SensitiveTextFindings &findings, const QString &text)
{
    for (const Detection &finding : findings.detections) {
        if (finding.matchedText == text)
            return &finding;
    }
    return nullptr;
}

TEST(PatternTimeBudgetTest, HoldsEachSearchToTheLineLimitAndStopsWhenSpent)
{
    const IcuPattern pattern = *IcuPattern::compile(kCatastrophic);
    PatternTimeBudget budget(250);
    int searches = 0;
    while (!budget.isSpent()) {
        const IcuSearch search = budget.search(pattern, kCatastrophicBait);
        EXPECT_TRUE(search.timedOut);
        EXPECT_LE(search.steps, IcuPattern::kTimeLimitSteps);
        ++searches;
    }
    EXPECT_EQ(searches, 3); // 100, 100, then the 50 left.
    const IcuSearch skipped = budget.search(pattern, QStringLiteral("ab"));
    EXPECT_TRUE(skipped.timedOut);
    EXPECT_EQ(skipped.steps, 0);
    EXPECT_TRUE(skipped.matches.isEmpty());
}

TEST(PatternTimeBudgetTest, QuickSearchesCostNoStepsAndFindEverything)
{
    PatternTimeBudget budget;
    const IcuSearch search = budget.search(*IcuPattern::compile(QStringLiteral("o")), QStringLiteral("foo boo"));
    EXPECT_FALSE(search.timedOut);
    EXPECT_EQ(search.matches.size(), 4);
    EXPECT_EQ(budget.remainingSteps(), PatternTimeBudget::kStepsPerImage);
}

// Fifty catastrophic patterns over a hundred lines once took over a minute. Now they share
// one budget: ten lines' worth of steps in all, then the rest are skipped.
TEST(PatternTimeTest, CatastrophicPatternsShareOneBudgetPerImage)
{
    const QStringList lines(100, kCatastrophicBait);
    const SensitiveTextFindings findings = scan(withPatterns({}, catastrophicPatterns(50)), lines);
    EXPECT_TRUE(findings.customPatternsSkipped);
    EXPECT_EQ(findings.customPatternSteps, PatternTimeBudget::kStepsPerImage);
}

TEST(PatternTimeTest, UserFindingsAreMarkedForReviewWhenPatternsWereSkipped)
{
    // The term runs first on each line and finds its value; the slow patterns then spend the budget.
    const QStringList lines{QStringLiteral("falcon ") + kCatastrophicBait, QStringLiteral("reply to bob@example.com")};
    const SensitiveTextFindings findings =
        scan(withPatterns({QStringLiteral("falcon")}, catastrophicPatterns(20)), lines);
    ASSERT_TRUE(findings.customPatternsSkipped);
    const Detection *term = findingOf(findings, QStringLiteral("falcon"));
    ASSERT_NE(term, nullptr);
    EXPECT_EQ(term->suggestedAction, Action::review);
    // A line where patterns were only skipped keeps the built-in rules' own actions.
    const Detection *email = findingOf(findings, QStringLiteral("bob@example.com"));
    ASSERT_NE(email, nullptr);
    EXPECT_EQ(email->suggestedAction, Action::redact);
}

TEST(PatternTimeTest, ALineWhereAPatternTimedOutNeedsReview)
{
    const QStringList lines{QStringLiteral("alice@example.com ") + kCatastrophicBait,
                            QStringLiteral("bob@example.com")};
    const SensitiveTextFindings findings = scan(withPatterns({}, {kCatastrophic}), lines);
    EXPECT_FALSE(findings.customPatternsSkipped);
    EXPECT_EQ(findings.customPatternSteps, IcuPattern::kTimeLimitSteps);
    ASSERT_NE(findingOf(findings, QStringLiteral("alice@example.com")), nullptr);
    EXPECT_EQ(findingOf(findings, QStringLiteral("alice@example.com"))->suggestedAction, Action::review);
    ASSERT_NE(findingOf(findings, QStringLiteral("bob@example.com")), nullptr);
    EXPECT_EQ(findingOf(findings, QStringLiteral("bob@example.com"))->suggestedAction, Action::redact);
}

// Twenty catastrophic learned rules, each judged against every candidate, stay within
// the one budget; the candidates they could not judge stay found.
TEST(PatternTimeTest, LearnedRulesShareTheBudget)
{
    QList<LearnedSafeRule> learned;
    for (int i = 0; i < 20; ++i)
        learned.append(LearnedSafeRule(QString::number(i), LearnedSafeRule::MatchKind::pattern,
                                       catastrophicPatterns(20)[i], std::nullopt, {}));
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines.append(QStringLiteral("user%1@example.com ").arg(i));
    const SensitiveTextFindings findings =
        scan(withPatterns({}, {}, learned), QStringList{QString(40, u'a') + QStringLiteral("@example.com")} + lines);
    EXPECT_TRUE(findings.customPatternsSkipped);
    EXPECT_LE(findings.customPatternSteps, PatternTimeBudget::kStepsPerImage);
    EXPECT_EQ(findings.detections.size(), 31);
}

TEST(PatternTimeTest, BuiltInRulesFindAnEmailAfterLongDottedText)
{
    for (const int length : {1450, 4000}) {
        QString line;
        while (line.size() < length)
            line += QStringLiteral("a.");
        line += QStringLiteral(" carol@example.com");
        const SensitiveTextFindings findings = scan(withPatterns({}, {}), {line});
        EXPECT_NE(findingOf(findings, QStringLiteral("carol@example.com")), nullptr) << length;
    }
}

} // namespace
