#include "core/analysis/wraps/wrapped_value_findings.h"

#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/row_name.h"
#include "support/synthetic_text_line.h"

#include <QRegularExpression>

#include <algorithm>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A search with one rule: four groups of four digits (or sixteen digits), or an address
// with a dotted domain, each boxed as the line's callback says.
QList<Detection> digitGroupsAndAddresses(const TextObservation &line)
{
    static const QRegularExpression value(QStringLiteral(R"(\b\d{4} \d{4} \d{4} \d{4}\b|\b\d{16}\b|\b[a-z.]+@[a-z-]+\.[a-z]+\b|\b\d{4} \d{4}\b)"));
    QList<Detection> found;
    for (auto match = value.globalMatch(line.text()); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        Detection finding;
        finding.label = m.captured().contains(u'@') ? QStringLiteral("Address") : QStringLiteral("Digits");
        finding.matchedText = m.captured();
        finding.matchedRange = TextRange{m.capturedStart(), m.capturedLength()};
        const TextPartBounds bounds = line.boundsFor(*finding.matchedRange);
        finding.normalizedBounds = bounds.bounds;
        finding.boundsPrecision = bounds.precision;
        found.append(finding);
    }
    return found;
}

struct WrapRow
{
    const char *name;
    QString first;
    QString second;
    bool mayBreakWords;
    double secondLineX; ///< Where the second line starts (the first starts at 0.1).
    QStringList expected; ///< The matched texts of every finding, in order.
    int boxesOverBothLines; ///< Findings whose box reaches over both lines.
};

class WrappedValueFindingsTest : public ::testing::TestWithParam<WrapRow> {};

TEST_P(WrappedValueFindingsTest, FindsValuesAcrossTheWrapOnly)
{
    const WrapRow &row = GetParam();
    // Monospace lines of 0.01 per character, the second one line lower.
    QList<TextObservation> lines{
        test::monospaceLine(row.first, NormRect(0.1, 0.5, 0.01 * row.first.size(), 0.04)),
        test::monospaceLine(row.second, NormRect(row.secondLineX, 0.45, 0.01 * row.second.size(), 0.04)),
    };
    lines[0].setWrap(TextWrap{1, row.mayBreakWords});
    QList<QList<Detection>> alone{digitGroupsAndAddresses(lines[0]), digitGroupsAndAddresses(lines[1])};

    const QList<Detection> found = withWrappedValues(lines, alone, digitGroupsAndAddresses);

    QStringList texts;
    int overBoth = 0;
    for (const Detection &finding : found) {
        texts.append(finding.matchedText.value_or(QString()));
        overBoth += finding.normalizedBounds.maxY() >= 0.54 && finding.normalizedBounds.minY() <= 0.45;
    }
    EXPECT_EQ(texts, row.expected);
    EXPECT_EQ(overBoth, row.boxesOverBothLines);
}

INSTANTIATE_TEST_SUITE_P(Rows, WrappedValueFindingsTest, ::testing::Values(
    // A value wrapped at a space in a narrow cell: one finding over both parts, which
    // takes the place of the part the first line gave alone.
    WrapRow{"valueWrappedAtASpace", QStringLiteral("4230 4185"), QStringLiteral("4660 6144"), false, 0.1,
            {QStringLiteral("4230 4185 4660 6144")}, 1},
    // A value whose group spaces were read on one line and lost on the other.
    WrapRow{"digitGroupsReadWithoutTheirSpaces", QStringLiteral("5165 9151"), QStringLiteral("32523654"), false, 0.1,
            {QStringLiteral("5165915132523654")}, 1},
    // An address broken inside a word where the column breaks words.
    WrapRow{"addressBrokenInsideAWord", QStringLiteral("priya.khan@umb"), QStringLiteral("rella-corp.com"), true, 0.1,
            {QStringLiteral("priya.khan@umbrella-corp.com")}, 1},
    // The same break where words stay whole: the halves are no value.
    WrapRow{"noWordBrokenWhereWordsStayWhole", QStringLiteral("priya.khan@umb"), QStringLiteral("rella-corp.com"), false, 0.1,
            {}, 0},
    // A bracket read before the next line's first glyph, which nothing closes, is the
    // edge of that glyph read twice: the value goes on after it (each part boxed apart,
    // since one box would reach over the bracket's place).
    WrapRow{"bracketThatClosesNothingBeforeTheRest", QStringLiteral("priya.khan"), QStringLiteral("(@example.com"), true, 0.1,
            {QStringLiteral("priya.khan@example.com"), QStringLiteral("priya.khan@example.com")}, 0},
    // After a hyphen a word goes on without a space.
    WrapRow{"wordGoesOnAfterAHyphen", QStringLiteral("priya@umbrella-"), QStringLiteral("corp.com"), false, 0.1,
            {QStringLiteral("priya@umbrella-corp.com")}, 1},
    // A name of a setting at the start of the next line is no part of the value before it.
    WrapRow{"settingAfterAValue", QStringLiteral("mail priya.khan@example.com"), QStringLiteral("net=corp"), true, 0.1,
            {QStringLiteral("priya.khan@example.com")}, 0},
    // Digits that join across the break into a value overlap a value the second line
    // holds of its own: each line's value stays as it was found.
    WrapRow{"valuesOfTheirOwnStayApart", QStringLiteral("ref 1111 2222 3333 4444 9999"), QStringLiteral("8888 7777 6666 5555"),
            false, 0.1, {QStringLiteral("1111 2222 3333 4444"), QStringLiteral("8888 7777 6666 5555")}, 0},
    // A value at the end of a wide line that goes on at the start of the next: each
    // part is a finding of its own, so the text between stays readable.
    WrapRow{"partsFarApartAreBoxedApart", QStringLiteral("the order was paid with 4230 4185"),
            QStringLiteral("4660 6144 on the first of the month"), false, 0.1,
            {QStringLiteral("4230 4185 4660 6144"), QStringLiteral("4230 4185 4660 6144")}, 0}),
    test::rowName);

// A word the other rule puts before a value ("Bearer" before a token wrapped over the
// next two lines) is left out of the value's finding, and its line keeps its text.
TEST(WrappedValueFindingsTest, AWordBeforeAValueOfAnotherRuleStaysReadable)
{
    static const QRegularExpression bearer(QStringLiteral(R"(Bearer \d{4}(?: \d{4})*)"));
    const auto findings = [](const TextObservation &line) {
        QList<Detection> found = digitGroupsAndAddresses(line);
        for (auto match = bearer.globalMatch(line.text()); match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            Detection finding;
            finding.label = QStringLiteral("Bearer");
            finding.matchedText = m.captured();
            finding.matchedRange = TextRange{m.capturedStart(), m.capturedLength()};
            finding.normalizedBounds = line.boundsFor(*finding.matchedRange).bounds;
            found.append(finding);
        }
        return found;
    };
    QList<TextObservation> lines{
        test::monospaceLine(QStringLiteral("header: Bearer"), NormRect(0.1, 0.5, 0.14, 0.04)),
        test::monospaceLine(QStringLiteral("4230 4185 4660"), NormRect(0.1, 0.45, 0.14, 0.04)),
        test::monospaceLine(QStringLiteral("6144"), NormRect(0.1, 0.40, 0.04, 0.04)),
    };
    lines[0].setWrap(TextWrap{1, false});
    lines[1].setWrap(TextWrap{2, false});
    const QList<Detection> found =
        withWrappedValues(lines, {findings(lines[0]), findings(lines[1]), findings(lines[2])}, findings);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.front().label, QStringLiteral("Digits"));
    EXPECT_EQ(found.front().matchedText, QStringLiteral("4230 4185 4660 6144"));
    EXPECT_LT(found.front().normalizedBounds.maxY(), 0.5); // the first line stays readable
}

// A token wrapped in a narrow cell whose rule stops short at a misread character ("_"
// read inside its last part): the finding of its rule covers the rest of the run on
// the next lines too, rather than a random-looking run from the second line on leaving
// the first readable.
TEST(WrappedValueFindingsTest, ATokenItsRuleStopsShortOfIsCoveredToTheEndOfItsRun)
{
    const QStringList texts{QStringLiteral("xoxb-"), QStringLiteral("13471982343-"), QStringLiteral("816546570374-"),
                            QStringLiteral("x3FD8imTlvL_dv9w"), QStringLiteral("eTm3boyNE")};
    QList<TextObservation> lines;
    for (qsizetype k = 0; k < texts.size(); ++k) {
        lines.append(test::monospaceLine(texts[k], NormRect(0.1, 0.5 - 0.05 * double(k), 0.01 * texts[k].size(), 0.04)));
        if (k + 1 < texts.size())
            lines.last().setWrap(TextWrap{int(k) + 1, true});
    }
    const QList<Detection> found = SensitiveTextDetector(CustomDetectionConfiguration()).detect(lines);
    for (const TextObservation &line : lines) {
        const NormRect box = line.normalizedBounds();
        EXPECT_TRUE(std::any_of(found.cbegin(), found.cend(), [&box](const Detection &finding) {
            return finding.label == QStringLiteral("Slack token") && finding.normalizedBounds.intersected(box).area() >= 0.99 * box.area();
        })) << line.text().toStdString();
    }
}

// A wrap that points past the list, or to the line itself, is read as no wrap.
TEST(WrappedValueFindingsTest, IgnoresWrapsToNoOtherLine)
{
    QList<TextObservation> lines{test::monospaceLine(QStringLiteral("4230 4185"))};
    lines[0].setWrap(TextWrap{5, true});
    const QList<Detection> pastTheList = withWrappedValues(lines, {digitGroupsAndAddresses(lines[0])}, digitGroupsAndAddresses);
    lines[0].setWrap(TextWrap{0, true});
    const QList<Detection> toItself = withWrappedValues(lines, {digitGroupsAndAddresses(lines[0])}, digitGroupsAndAddresses);
    ASSERT_EQ(pastTheList.size(), 1);
    EXPECT_EQ(pastTheList.front().matchedText, QStringLiteral("4230 4185"));
    EXPECT_EQ(toItself, pastTheList);
}

} // namespace
