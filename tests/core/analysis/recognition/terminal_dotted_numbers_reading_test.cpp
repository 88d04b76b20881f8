#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// Dotted numbers in a terminal, in monospace typefaces whose capitals are as tall as a
// cell is wide: a dot sits in the middle of its own cell, with wide gaps on both sides
// of its ink, yet no cell is empty there, so the number is read whole and found.

struct TypefaceRow {
    const char *name;
    QString family;
    int pixelSize;
};

struct DottedValue {
    QString setting;
    QString value;
    QString rule;
};

const QList<DottedValue> dottedValues{
    {QStringLiteral("DB_HOST="), QStringLiteral("102.49.32.117"), QStringLiteral("IP address")},
    {QStringLiteral("SUPPORT_PHONE="), QStringLiteral("500.548.4389"), QStringLiteral("Phone number")},
    {QStringLiteral("DB_HOST="), QStringLiteral("187.127.229.91"), QStringLiteral("IP address")},
    {QStringLiteral("SUPPORT_PHONE="), QStringLiteral("286.853.6303"), QStringLiteral("Phone number")},
};

const QColor terminalInk(Qt::black);
const QColor terminalGround(Qt::white);

class TerminalDottedNumbersTest : public ::testing::TestWithParam<TypefaceRow> {};

TEST_P(TerminalDottedNumbersTest, FindsEveryDottedNumberWhole)
{
    const TypefaceRow &row = GetParam();
    QList<QList<TextPiece>> lines;
    for (const DottedValue &value : dottedValues)
        lines.append({{value.setting, false}, {value.value, true}});
    const TextCanvas canvas = renderLines(lines, row.family, row.pixelSize, terminalInk, terminalGround, QSize(row.pixelSize * 30, 0));
    const QList<TextObservation> read = OCRTextRecognizer().recognizeTextSync(canvas.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(read);
    for (qsizetype l = 0; l < dottedValues.size(); ++l) {
        const DottedValue &value = dottedValues[l];
        const bool whole = std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
            return finding.label == value.rule && inkOutsideFindings(canvas.lines[l].pieceInk.front(), {finding}, canvas.image.size()) == 0;
        });
        EXPECT_TRUE(whole) << value.value.toStdString() << " in\n" << allText(read).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TerminalDottedNumbersTest, ::testing::Values(
    TypefaceRow{"freeMono19", QStringLiteral("FreeMono"), 19},
    TypefaceRow{"freeMono14", QStringLiteral("FreeMono"), 14},
    TypefaceRow{"oxygenMono15", QStringLiteral("Oxygen Mono"), 15},
    TypefaceRow{"dejaVuMono13", QStringLiteral("DejaVu Sans Mono"), 13},
    TypefaceRow{"hack13", QStringLiteral("Hack"), 13}),
    test::rowName);

} // namespace
