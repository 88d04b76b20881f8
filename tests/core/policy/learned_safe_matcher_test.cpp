#include "core/policy/learned_safe_matcher.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using Kind = LearnedSafeRule::MatchKind;
using Verdict = LearnedSafeVerdict;

LearnedSafeRule rule(Kind kind, const QString &value, std::optional<QString> label = std::nullopt,
                     LearnedSafeRuleScope scope = LearnedSafeRuleScope::global())
{
    return LearnedSafeRule(QStringLiteral("rule-1"), kind, value, std::move(label), std::move(scope));
}

struct MatchRow {
    const char *name;
    LearnedSafeRule rule;
    QString text;
    std::optional<QString> label;
    LearnedSafeVerdict verdict;
};

class LearnedSafeMatcherTest : public ::testing::TestWithParam<MatchRow> {};

TEST_P(LearnedSafeMatcherTest, Judges)
{
    PatternTimeBudget budget;
    EXPECT_EQ(LearnedSafeMatcher(GetParam().rule).judge(GetParam().text, GetParam().label, budget),
              GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(Rows, LearnedSafeMatcherTest, ::testing::Values(
    MatchRow{"exactTextIgnoresCaseAndSurroundingSpace", rule(Kind::exactText, QStringLiteral("  Build-Server  ")),
             QStringLiteral("build-server\n"), std::nullopt, Verdict::safe},
    MatchRow{"exactTextWithOneMoreCharacter", rule(Kind::exactText, QStringLiteral("  Build-Server  ")),
             QStringLiteral("build-server1\n"), std::nullopt, Verdict::notSafe},
    MatchRow{"exactTextFullLowerCasing", rule(Kind::exactText, QStringLiteral("\u0130STANBUL")),
             QStringLiteral("i\u0307stanbul"), std::nullopt, Verdict::safe},
    MatchRow{"exactTextInnerSpaceCounts", rule(Kind::exactText, QStringLiteral("acme corp")),
             QStringLiteral("acme  corp"), std::nullopt, Verdict::notSafe},
    MatchRow{"patternMatchesInTheMiddle", rule(Kind::pattern, QStringLiteral("ord-[0-9]{4}")),
             QStringLiteral("see ord-1234 today"), std::nullopt, Verdict::safe},
    MatchRow{"patternIsCaseSensitive", rule(Kind::pattern, QStringLiteral("ord-[0-9]{4}")),
             QStringLiteral("see ORD-1234 today"), std::nullopt, Verdict::notSafe},
    MatchRow{"patternMayAllowOtherCase", rule(Kind::pattern, QStringLiteral("(?i)ord-[0-9]{4}")),
             QStringLiteral("see ORD-1234 today"), std::nullopt, Verdict::safe},
    MatchRow{"patternSearchesUntrimmedText", rule(Kind::pattern, QStringLiteral("^ x")),
             QStringLiteral(" x"), std::nullopt, Verdict::safe},
    MatchRow{"patternAnchorsAtTextEndsOnly", rule(Kind::pattern, QStringLiteral("^b$")),
             QStringLiteral("a\nb"), std::nullopt, Verdict::notSafe},
    MatchRow{"patternDotSkipsLineBreaks", rule(Kind::pattern, QStringLiteral("a.b")),
             QStringLiteral("a\nb"), std::nullopt, Verdict::notSafe},
    MatchRow{"invalidPatternNeverMatches", rule(Kind::pattern, QStringLiteral("(")),
             QStringLiteral("("), std::nullopt, Verdict::notSafe},
    MatchRow{"catastrophicPatternRunsOutOfTime", rule(Kind::pattern, QStringLiteral("(a+)+b")),
             QString(40, u'a') + u'c', std::nullopt, Verdict::outOfTime},
    MatchRow{"labelMismatch", rule(Kind::exactText, QStringLiteral("x@y.z"), QStringLiteral("Email")),
             QStringLiteral("x@y.z"), QStringLiteral("Custom term"), Verdict::notSafe},
    MatchRow{"labelIsCaseSensitive", rule(Kind::exactText, QStringLiteral("x@y.z"), QStringLiteral("Email")),
             QStringLiteral("x@y.z"), QStringLiteral("email"), Verdict::notSafe},
    MatchRow{"labelEqual", rule(Kind::exactText, QStringLiteral("x@y.z"), QStringLiteral("Email")),
             QStringLiteral("x@y.z"), QStringLiteral("Email"), Verdict::safe},
    MatchRow{"candidateWithoutLabel", rule(Kind::exactText, QStringLiteral("x@y.z"), QStringLiteral("Email")),
             QStringLiteral("x@y.z"), std::nullopt, Verdict::safe},
    MatchRow{"ruleWithoutLabel", rule(Kind::exactText, QStringLiteral("x@y.z")),
             QStringLiteral("x@y.z"), QStringLiteral("Custom term"), Verdict::safe},
    MatchRow{"folderScopeMatchesLikeGlobal",
             rule(Kind::exactText, QStringLiteral("acme"), std::nullopt, LearnedSafeRuleScope::folder("/tmp/x")),
             QStringLiteral("ACME"), std::nullopt, Verdict::safe}),
    test::rowName);

TEST(LearnedSafeMatcherBudgetTest, APatternRunsWithinWhatIsLeftAndSpendsIt)
{
    const LearnedSafeMatcher catastrophic(rule(Kind::pattern, QStringLiteral("(a+)+b")));
    PatternTimeBudget budget(150);
    const QString text = QString(40, u'a') + u'c';
    EXPECT_EQ(catastrophic.judge(text, std::nullopt, budget), Verdict::outOfTime);
    EXPECT_EQ(budget.remainingSteps(), 150 - IcuPattern::kTimeLimitSteps);
    EXPECT_EQ(catastrophic.judge(text, std::nullopt, budget), Verdict::outOfTime);
    EXPECT_TRUE(budget.isSpent());
}

TEST(LearnedSafeMatcherBudgetTest, ASpentBudgetLeavesEveryPatternCandidate)
{
    PatternTimeBudget budget(0);
    EXPECT_EQ(LearnedSafeMatcher(rule(Kind::pattern, QStringLiteral("x"))).judge(QStringLiteral("x"), std::nullopt, budget),
              Verdict::outOfTime);
    EXPECT_EQ(LearnedSafeMatcher(rule(Kind::exactText, QStringLiteral("x"))).judge(QStringLiteral("x"), std::nullopt, budget),
              Verdict::safe);
}

} // namespace
