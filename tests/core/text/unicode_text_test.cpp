#include "core/text/icu_pattern.h"
#include "core/text/unicode_text.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace velmora;

TEST(UnicodeTextTest, WhiteSpaceFollowsTheUnicodeProperty)
{
    EXPECT_TRUE(unicode::isWhiteSpaceOrNewline(0x00A0));
    EXPECT_TRUE(unicode::isWhiteSpaceOrNewline(0x0085));
    EXPECT_FALSE(unicode::isWhiteSpaceOrNewline(0x200B));
    EXPECT_EQ(unicode::trimmed(QString::fromUtf16(u"\u00A0 ab c\n\u0085")), QStringLiteral("ab c"));
    EXPECT_EQ(unicode::trimmed(QString::fromUtf16(u"\u200Bx")), QString::fromUtf16(u"\u200Bx"));
    EXPECT_EQ(unicode::trimmed(QStringLiteral("  \t ")), QString());
}

TEST(UnicodeTextTest, FullLowerCasing)
{
    EXPECT_EQ(unicode::lowercased(QString::fromUtf16(u"\u0130")).size(), 2);
    EXPECT_EQ(unicode::normalizedForComparison(QStringLiteral("  ACME Corp ")), QStringLiteral("acme corp"));
}

TEST(UnicodeTextTest, GraphemeBoundaries)
{
    const QString flagged = QString::fromUtf16(u"a\U0001F1FA\U0001F1F8b"); // a, flag (4 units), b
    EXPECT_TRUE(unicode::isCharacterBoundary(flagged, 1));
    EXPECT_FALSE(unicode::isCharacterBoundary(flagged, 2));
    EXPECT_FALSE(unicode::isCharacterBoundary(flagged, 3));
    EXPECT_TRUE(unicode::isCharacterBoundary(flagged, 5));
    EXPECT_EQ(unicode::characterCount(flagged), 3);
    const QString combining = QString::fromUtf16(u"e\u0301x");
    EXPECT_FALSE(unicode::isCharacterBoundary(combining, 1));
}

TEST(UnicodeTextTest, DigitsOfAnyScript)
{
    EXPECT_EQ(unicode::digitValue(U'\u0663'), 3); // Arabic-Indic three
    EXPECT_EQ(unicode::digitValue(U'7'), 7);
    EXPECT_EQ(unicode::digitValue(U'x'), std::nullopt);
}

TEST(IcuPatternTest, CompilesAndFindsGroupsInUtf16Units)
{
    EXPECT_FALSE(IcuPattern::compile(QStringLiteral("(unclosed")).has_value());
    const auto pattern = IcuPattern::compile(QStringLiteral("key=(\\w+)"));
    ASSERT_TRUE(pattern);
    const auto matches = pattern->findAll(QString::fromUtf16(u"\U0001F600 key=abc key=de"));
    ASSERT_EQ(matches.size(), 2);
    EXPECT_EQ(matches[0].whole().start, 3);
    EXPECT_EQ(matches[0].group(1), (IcuMatch::Range{7, 3}));
    EXPECT_EQ(matches[1].group(1).length, 2);
}

TEST(IcuPatternTest, CatastrophicPatternTimesOut)
{
    const auto pattern = IcuPattern::compile(QStringLiteral("(a+)+b"));
    ASSERT_TRUE(pattern);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(pattern->findAll(QString(40, QLatin1Char('a'))).isEmpty());
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(UnicodeTextTest, CharacterBoundariesListEveryCharacterEdge)
{
    const QString text = QString::fromUtf16(u"a\U0001F1FA\U0001F1F8e\u0301");
    EXPECT_EQ(unicode::characterBoundaries(text), (QList<qsizetype>{0, 1, 5, 7}));
    EXPECT_EQ(unicode::characterBoundaries(QString()), QList<qsizetype>{0});
}

TEST(IcuPatternTest, RemembersItsFlags)
{
    EXPECT_EQ(IcuPattern::compile(QStringLiteral("a"))->flags(), IcuPattern::NoFlags);
    EXPECT_EQ(IcuPattern::compile(QStringLiteral("a"), IcuPattern::CaseInsensitive)->flags(), IcuPattern::CaseInsensitive);
}
