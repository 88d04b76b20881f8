#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// Terminal listings (CSV exports, git log, structured logs) in monospace typefaces of
// the tuning half: the "@" of each address is read as "@" wherever the address stands
// (joined to its neighbours by commas, in angle brackets, after "user="), and the
// address's finding covers all of its ink.

struct ListingRow {
    const char *name;
    QString family;
    int pixelSize;
    QColor ink;
    QColor ground;
    QList<QList<TextPiece>> lines; ///< each line's recorded piece is its address
};

class TerminalAddressTest : public ::testing::TestWithParam<ListingRow> {};

TEST_P(TerminalAddressTest, ReadsEveryAtSignAndCoversEveryAddress)
{
    const ListingRow &row = GetParam();
    const TextCanvas canvas = renderLines(row.lines, row.family, row.pixelSize, row.ink, row.ground, QSize(row.pixelSize * 60, 0));
    const QList<TextObservation> lines = OCRTextRecognizer().recognizeTextSync(canvas.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(lines);
    const QString text = allText(lines);
    for (qsizetype l = 0; l < row.lines.size(); ++l) {
        const auto address = std::find_if(row.lines[l].cbegin(), row.lines[l].cend(), [](const TextPiece &piece) { return piece.recordInk; });
        // A look-alike in the name (1 for l) is another class of misreading; the "@" and
        // the domain after it must be read as they are.
        const QString atAndDomain = address->text.mid(address->text.indexOf(u'@'));
        EXPECT_TRUE(text.contains(atAndDomain)) << address->text.toStdString() << " in\n" << text.toStdString();
        const QList<QPoint> &ink = canvas.lines[l].pieceInk.front();
        const auto outside = std::count_if(ink.cbegin(), ink.cend(), [&](const QPoint &p) {
            return std::none_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
                return finding.label == QLatin1String("Email")
                    && pixelBox(finding.normalizedBounds, canvas.image.size()).contains(QPointF(p) + QPointF(0.5, 0.5));
            });
        });
        EXPECT_EQ(outside, 0) << address->text.toStdString() << " in\n" << text.toStdString();
    }
}

const QColor solarizedInk(0x93a1a1);
const QColor solarizedGround(0x002b36);
const QColor terminalInk(0xd4d4d4);
const QColor terminalGround(0x1e1e1e);

QList<TextPiece> csvRow(const QString &lead, const QString &address, const QString &tail)
{
    return {{lead, false}, {address, true}, {tail, false}};
}

INSTANTIATE_TEST_SUITE_P(Rows, TerminalAddressTest, ::testing::Values(
    // An address joined by commas to a phone number beginning with "+".
    ListingRow{"csvExport", QStringLiteral("Hack"), 13, solarizedInk, solarizedGround,
               {csvRow(QStringLiteral("5a3ad8c,Jane Doe,"), QStringLiteral("omarberg60@acme.io"), QStringLiteral(",+1 476 567 3631")),
                csvRow(QStringLiteral("8522,Sven Berg,"), QStringLiteral("priya.garcia19@acme.io"), QStringLiteral(",active")),
                csvRow(QStringLiteral("72a8e06,Priya Khan,"), QStringLiteral("maria.doe@example.com"), QStringLiteral(",+1 406 309 4900")),
                csvRow(QStringLiteral("e1fb2d6,Jane Doe,"), QStringLiteral("elena_smith93@mail.example.co.uk"), QStringLiteral(",+1 364 303 1398"))}},
    // An "@" Tesseract reads as "G", between the angle brackets of a git log.
    ListingRow{"gitLogAuthors", QStringLiteral("Hack"), 16, solarizedInk, solarizedGround,
               {csvRow(QStringLiteral("Author: Priya Khan <"), QStringLiteral("maria_silva@example.org"), QStringLiteral(">")),
                csvRow(QStringLiteral("Author: Jane Doe <"), QStringLiteral("maria.doe33@globex.net"), QStringLiteral(">")),
                csvRow(QStringLiteral("Author: Sven Berg <"), QStringLiteral("lukas.smith@initech.org"), QStringLiteral(">"))}},
    // An "@" among touching glyphs of a small terminal font, after "user=".
    ListingRow{"structuredLog", QStringLiteral("Inconsolata"), 12, solarizedInk, solarizedGround,
               {csvRow(QStringLiteral("2024-05-19T08:16:22Z INFO auth user="), QStringLiteral("anasmith@acme.io"), QStringLiteral(" from 10.0.131.50")),
                csvRow(QStringLiteral("2024-05-19T08:16:31Z INFO auth user="), QStringLiteral("sven.berg@umbrella-corp.com"), QStringLiteral(" from 10.0.7.21")),
                csvRow(QStringLiteral("2024-05-19T08:17:02Z WARN auth user="), QStringLiteral("li.nguyen31@globex.net"), QStringLiteral(" from 10.0.88.4"))}},
    ListingRow{"csvExportOnDark", QStringLiteral("Inconsolata"), 11, terminalInk, terminalGround,
               {csvRow(QStringLiteral("995264e,Maria Patel,"), QStringLiteral("svenberg@mail.example.co.uk"), QStringLiteral(",+1 399 309 1569")),
                csvRow(QStringLiteral("701f5f0,Jane Doe,"), QStringLiteral("jane.berg@umbrella-corp.com"), QStringLiteral(",+1 259 238 2251"))}}),
    test::rowName);

} // namespace
