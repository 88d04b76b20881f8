#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/recognized_lines.h"
#include "support/row_name.h"
#include "support/table_screen.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// A cell narrow enough that its text wraps, every word broken where the line is full
// (as a page with `word-break: break-all` sets it), drawn in DejaVu Sans 14 px. Where a
// line of an address ends in the "l" the recogniser reads as "|", the address is found
// across the break all the same; a line that ends in a "|" or an "I" of its own (a
// pipe, a rule, a capital ending a word) makes no value of what follows it.

struct BreakRow
{
    const char *name;
    QString text;
    int columnWidth;
    QStringList found; ///< The matched texts of every finding.
};

class SmallLAtABreakTest : public ::testing::TestWithParam<BreakRow> {};

TEST_P(SmallLAtABreakTest, ReadsTheValueAcrossTheBreakOnly)
{
    const BreakRow &row = GetParam();
    const TableStyle style{QStringLiteral("DejaVu Sans"), 14, QColor(0x1f2328), Qt::white, QColor(), 1, true, true};
    const DrawnTable table = drawTable(style, {row.columnWidth}, {{row.text}}, QSize(row.columnWidth + 40, 140));
    const QList<TextObservation> lines = OCRTextRecognizer().recognizeTextSync(table.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(lines);
    ASSERT_GE(table.lines[0][0].size(), 2) << row.text.toStdString();
    QStringList found;
    for (const Detection &finding : findings)
        found.append(finding.matchedText.value_or(QString()));
    EXPECT_EQ(found.join(u'\n').toStdString(), row.found.join(u'\n').toStdString()) << allText(lines).toStdString();
    if (row.found == QStringList{row.text}) {
        EXPECT_EQ(inkOutsideFindings(table.ink[0][0], findings, table.image.size()), 0) << allText(lines).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SmallLAtABreakTest, ::testing::Values(
    // "hannah.vasqu" / "ez@tidewater-l" / "abs.net", the "l" read as "|" (the lines a
    // page in a browser sets in a cell 120 pixels wide).
    BreakRow{"addressWhoseLineEndsInSmallL", QStringLiteral("hannah.vasquez@tidewater-labs.net"), 106,
             {QStringLiteral("hannah.vasquez@tidewater-labs.net")}},
    // A rule between fields after a whole address, a pipe between two commands, a
    // capital I ending a word and a roman numeral, each at the end of a line.
    BreakRow{"fieldRuleAfterAnAddress", QStringLiteral("ops@tidewater.io|active|2024-05-19"), 130, {QStringLiteral("ops@tidewater.io")}},
    BreakRow{"shellPipe", QStringLiteral("journalctl|grep sshd"), 74, {}},
    BreakRow{"capitalIEndingAWord", QStringLiteral("ROI forecast for the KPI review"), 84, {}},
    BreakRow{"romanNumeral", QStringLiteral("Henry VIII of England"), 70, {}}),
    test::rowName);

} // namespace
