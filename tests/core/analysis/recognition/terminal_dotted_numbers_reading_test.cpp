#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// Dotted numbers in a terminal, in lines of capitals and digits as tall as a cell is wide
// and in short columns: a dot stands in the middle of its own cell, with wide gaps beside
// its ink, yet no cell is empty there, so the number is read whole and found. Where a
// cell is empty beside a dot, the space stays.

struct TypefaceRow {
    const char *name;
    QString family;
    int pixelSize;
};

// Each value and the rule that finds it; each spaced line and its part that must be read
// (whose letters every typeface of the rows reads right).
const QList<std::pair<QString, QString>> dottedValues{
    {QStringLiteral("102.49.32.117"), QStringLiteral("IP address")},
    {QStringLiteral("500.548.4389"), QStringLiteral("Phone number")}};
const QList<std::pair<QString, QString>> spacedLines{
    {QStringLiteral("cd .. && ls"), QStringLiteral(".. &&")},
    {QStringLiteral("ls -la . /tmp"), QStringLiteral("-la . /tmp")},
    {QStringLiteral("1. First item"), QStringLiteral(". First item")},
    {QStringLiteral("Done. Next step"), QStringLiteral("Done. Next step")},
    {QStringLiteral("x = a . b"), QStringLiteral("= a . b")},
    {QStringLiteral("10.5   20.25   3.0"), QStringLiteral("10.5 20.25 3.0")},
    {QStringLiteral("v1.2.3 (build 45)"), QStringLiteral(".2.3 (build")}};

class TerminalDottedNumbersTest : public ::testing::TestWithParam<TypefaceRow> {};

TEST_P(TerminalDottedNumbersTest, ReadsDottedNumbersWholeAndKeepsSpacesBesideDots)
{
    QList<QList<TextPiece>> lines{{{QStringLiteral("DB_HOST="), false}, {dottedValues[0].first, true}},
                                  {{QStringLiteral("SUPPORT_PHONE="), false}, {dottedValues[1].first, true}}};
    for (const auto &[line, kept] : spacedLines)
        lines.append({{line, false}});
    const int size = GetParam().pixelSize;
    const TextCanvas canvas = renderLines(lines, GetParam().family, size, Qt::black, Qt::white, QSize(size * 30, 0));
    const QList<TextObservation> read = OCRTextRecognizer().recognizeTextSync(canvas.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(read);
    // A line whose columns are read apart is read as lines of its own.
    const QString text = allText(read).simplified();
    for (qsizetype l = 0; l < dottedValues.size(); ++l)
        EXPECT_TRUE(foundWhole(canvas.lines[l].pieceInk.front(), findings, canvas.image.size(), dottedValues[l].second))
            << dottedValues[l].first.toStdString() << " in\n" << text.toStdString();
    for (const auto &[line, kept] : spacedLines)
        EXPECT_TRUE(text.contains(kept)) << kept.toStdString() << " in\n" << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, TerminalDottedNumbersTest, ::testing::Values(
    TypefaceRow{"freeMono19", QStringLiteral("FreeMono"), 19},
    TypefaceRow{"freeMono14", QStringLiteral("FreeMono"), 14},
    TypefaceRow{"oxygenMono15", QStringLiteral("Oxygen Mono"), 15},
    TypefaceRow{"dejaVuMono13", QStringLiteral("DejaVu Sans Mono"), 13},
    TypefaceRow{"hack13", QStringLiteral("Hack"), 13}),
    test::rowName);

} // namespace
