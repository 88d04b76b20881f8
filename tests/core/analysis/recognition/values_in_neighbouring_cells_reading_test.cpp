#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"
#include "support/table_screen.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// A table of one row, no rules and no row above it, its cells as wide as their text
// and as close as a table's default spacing sets them, drawn as a browser draws them
// (DejaVu Sans 14 px): values in neighbouring cells
// are read apart and each gives one finding over all its ink; what is no value gives
// none, however close its cells stand.

struct CellRow
{
    const char *name;
    QStringList cells;
    QString label; ///< Every cell's rule; empty: no finding touches any cell.
};

class ValuesInNeighbouringCellsTest : public ::testing::TestWithParam<CellRow> {};

TEST_P(ValuesInNeighbouringCellsTest, ReadsEachCellsValueWhole)
{
    const CellRow &row = GetParam();
    // Texts two pixels apart: where a browser's glyphs are read as one word at a table's
    // default spacing (four pixels), Qt's are read so at two.
    const TableStyle style{QStringLiteral("DejaVu Sans"), 14, QColor(0x1f2328), Qt::white, QColor(), 1, false, true};
    QFont font = installedFont(style.family);
    font.setPixelSize(style.pixelSize);
    QList<int> widths;
    for (const QString &cell : row.cells)
        widths.append(int(std::ceil(QFontMetricsF(font).horizontalAdvance(cell))));
    const DrawnTable table = drawTable(style, widths, {row.cells}, QSize(1100, 80));
    const QList<TextObservation> lines = OCRTextRecognizer().recognizeTextSync(table.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(lines);
    for (qsizetype c = 0; c < row.cells.size(); ++c) {
        const QList<QPoint> &ink = table.ink[0][c];
        if (row.label.isEmpty()) {
            EXPECT_EQ(inkOutsideFindings(ink, findings, table.image.size()), ink.size()) << row.cells[c].toStdString() << "\n"
                                                                                         << allText(lines).toStdString();
            continue;
        }
        const bool coveredByOne = std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
            return finding.label == row.label && inkOutsideFindings(ink, {finding}, table.image.size()) == 0;
        });
        EXPECT_TRUE(coveredByOne) << row.cells[c].toStdString() << "\n" << allText(lines).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ValuesInNeighbouringCellsTest, ::testing::Values(
    // Seven phone numbers in seven formats; a dotted one touches a dashed one.
    CellRow{"phonesSideBySide",
            {QStringLiteral("212-555-0187"), QStringLiteral("415-555-0176"), QStringLiteral("+1 650 555 0199"), QStringLiteral("(415) 555-0132"),
             QStringLiteral("303.555.0144"), QStringLiteral("617-555-0123"), QStringLiteral("312-555-0111")},
            QStringLiteral("Phone number")},
    // A number whose groups stand a wide space apart stays one value.
    CellRow{"phoneWithWideSpacesBesidePhones",
            {QStringLiteral("+1 650 555 0199"), QStringLiteral("303.555.0144"), QStringLiteral("+1 650 555 0199")},
            QStringLiteral("Phone number")},
    // Quantities, dates and versions in cells as close make no value together.
    CellRow{"numbersInNarrowColumns", {QStringLiteral("4821"), QStringLiteral("5580"), QStringLiteral("0199"), QStringLiteral("3301")}, {}},
    CellRow{"datesSideBySide", {QStringLiteral("2024-05-19"), QStringLiteral("2024-06-01"), QStringLiteral("2025.01.31")}, {}},
    CellRow{"versionsSideBySide", {QStringLiteral("1.24.3"), QStringLiteral("2.0.17"), QStringLiteral("10.4.1")}, {}}),
    test::rowName);

} // namespace
