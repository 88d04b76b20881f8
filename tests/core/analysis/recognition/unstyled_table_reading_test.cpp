#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"
#include "support/table_screen.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// One-row tables without rules or a row above, drawn as a browser draws an unstyled one
// (DejaVu Sans 14 px, unhinted): cells as wide as their text two pixels apart, or a
// narrow column breaking words anywhere. Values are found whole, nothing else is.

struct UnstyledRow
{
    const char *name;
    QStringList cells;
    int columnWidth;   ///< Each cell's, breaking words anywhere; 0: as wide as its text.
    QStringList found; ///< The matched texts of every finding, in order.
};

class UnstyledTableTest : public ::testing::TestWithParam<UnstyledRow> {};

TEST_P(UnstyledTableTest, FindsEachValueWholeAndNothingElse)
{
    const UnstyledRow &row = GetParam();
    const TableStyle style{QStringLiteral("DejaVu Sans"), 14, QColor(0x1f2328), Qt::white, QColor(), 1, row.columnWidth > 0, true};
    QFont font = installedFont(style.family);
    font.setPixelSize(style.pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    QList<int> widths;
    for (const QString &cell : row.cells)
        widths.append(row.columnWidth > 0 ? row.columnWidth : int(std::ceil(QFontMetricsF(font).horizontalAdvance(cell))));
    const DrawnTable table = drawTable(style, widths, {row.cells}, QSize(row.columnWidth > 0 ? row.columnWidth + 40 : 1100, 140));
    const QList<TextObservation> lines = OCRTextRecognizer().recognizeTextSync(table.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(lines);
    QStringList found;
    for (const Detection &finding : findings)
        found.append(finding.matchedText.value_or(QString()));
    EXPECT_EQ(found.join(u'\n').toStdString(), row.found.join(u'\n').toStdString()) << allText(lines).toStdString();
    for (qsizetype c = 0; c < row.cells.size(); ++c) {
        if (row.found.contains(row.cells[c])) {
            EXPECT_EQ(inkOutsideFindings(table.ink[0][c], findings, table.image.size()), 0) << row.cells[c].toStdString();
        }
    }
}

const QString phones[]{QStringLiteral("212-555-0187"), QStringLiteral("415-555-0176"), QStringLiteral("+1 650 555 0199"),
                       QStringLiteral("(415) 555-0132"), QStringLiteral("303.555.0144"), QStringLiteral("617-555-0123"),
                       QStringLiteral("312-555-0111")};
const QString address = QStringLiteral("hannah.vasquez@tidewater-labs.net");

INSTANTIATE_TEST_SUITE_P(Rows, UnstyledTableTest, ::testing::Values(
    // Phone numbers in seven formats side by side, read as one word where they touch.
    UnstyledRow{"phonesSideBySide", QStringList(std::begin(phones), std::end(phones)), 0, QStringList(std::begin(phones), std::end(phones))},
    // A number whose groups stand a wide space apart stays one value.
    UnstyledRow{"phoneWithWideSpacesBesidePhones", {phones[2], phones[4], phones[2]}, 0, {phones[2], phones[4], phones[2]}},
    // Quantities, dates and versions in cells as close make no value together.
    UnstyledRow{"numbersSideBySide", {QStringLiteral("4821"), QStringLiteral("5580"), QStringLiteral("0199"), QStringLiteral("3301")}, 0, {}},
    UnstyledRow{"datesSideBySide", {QStringLiteral("2024-05-19"), QStringLiteral("2024-06-01"), QStringLiteral("2025.01.31")}, 0, {}},
    UnstyledRow{"versionsSideBySide", {QStringLiteral("v1.24.3"), QStringLiteral("v2.0.17"), QStringLiteral("v10.4.1")}, 0, {}},
    // "hannah.vasqu" / "ez@tidewater-l" / "abs.net" (as a browser breaks it in a column
    // 120 pixels wide), the "l" read as "|".
    UnstyledRow{"addressWhoseLineEndsInSmallL", {address}, 106, {address}},
    // Lines ending in a rule after an address, a pipe, a capital I, a roman numeral.
    UnstyledRow{"fieldRuleAfterAnAddress", {QStringLiteral("ops@tidewater.io|active|2024-05-19")}, 130, {QStringLiteral("ops@tidewater.io")}},
    UnstyledRow{"shellPipe", {QStringLiteral("journalctl|grep sshd")}, 74, {}},
    UnstyledRow{"capitalIEndingAWord", {QStringLiteral("ROI forecast for the KPI review")}, 84, {}},
    UnstyledRow{"romanNumeral", {QStringLiteral("Henry VIII of England")}, 70, {}}),
    test::rowName);

} // namespace
