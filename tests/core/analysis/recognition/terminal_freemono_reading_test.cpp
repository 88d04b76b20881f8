#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/recognized_lines.h"
#include "support/row_name.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// .env files in terminals set in FreeMono, whose thin serifs make glyphs touch and
// whose strokes break apart at small sizes. Each value lies wholly under a finding of
// its kind.
struct FreeMonoRow {
    const char *name;
    const char *file; ///< under the test data's terminals/
    QRectF value;     ///< the value's ink, as the terminal drew it
    QString label;
    QString begins{}; ///< how the finding's text begins, where the row asks
};

class TerminalFreeMonoTest : public ::testing::TestWithParam<FreeMonoRow> {};

TEST_P(TerminalFreeMonoTest, ValueLiesUnderAFindingOfItsKind)
{
    const FreeMonoRow &row = GetParam();
    const QImage image(QStringLiteral(VELMORA_TEST_DATA_DIR "/terminals/") + QString::fromLatin1(row.file));
    ASSERT_FALSE(image.isNull()) << row.file;
    const QList<TextObservation> read = OCRTextRecognizer().recognizeTextSync(image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(read);
    EXPECT_TRUE(std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
        return finding.label == row.label && pixelBox(finding.normalizedBounds, image.size()).contains(row.value)
            && finding.matchedText.value_or(QString()).startsWith(row.begins);
    })) << allText(read).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, TerminalFreeMonoTest, ::testing::Values(
    // vim in xterm, 14 px: the bold setting name's glyphs touch, yet the line stands on
    // its cells and the address is read without the breaks their varying gaps suggest.
    FreeMonoRow{"addressBesideBoldName", "vim-env-freemono-14px.png", QRectF(150, 99, 198, 11), QStringLiteral("Email")},
    // The values are grey on the dark ground beside bright names: their thin strokes
    // stay fainter than the page's ink threshold, yet each glyph is read whole.
    FreeMonoRow{"stripeKeyInDimStrokes", "vim-env-freemono-14px.png", QRectF(182, 24, 254, 11), QStringLiteral("Stripe secret key")},
    FreeMonoRow{"secretInDimStrokes", "vim-env-freemono-14px.png", QRectF(214, 54, 319, 11), QStringLiteral("Environment secret")},
    FreeMonoRow{"githubTokenInDimStrokes", "vim-env-freemono-14px.png", QRectF(142, 69, 319, 11), QStringLiteral("GitHub token")},
    // lxterminal, 8 pt on a light ground: the serif of an "A" is read as a "T" of its
    // own, the "=" before the key as "<".
    FreeMonoRow{"accessKeyWithASerifReadApart", "lxterminal-env-freemono-8pt.png", QRectF(109, 11, 120, 9), QStringLiteral("AWS key")},
    // The end of an "F"'s arm is read as an apostrophe.
    FreeMonoRow{"secretWithAnArmReadApart", "lxterminal-env-freemono-8pt.png", QRectF(134, 23, 239, 9),
                QStringLiteral("Environment secret")},
    // A "9" is read as "$" after a gap Tesseract takes for a space.
    FreeMonoRow{"passwordWithANineReadAsAMark", "lxterminal-env-freemono-8pt.png", QRectF(73, 83, 120, 9),
                QStringLiteral("Environment secret")},
    // The thin dash after "ssh" touches the "e" after it and is fainter than its strokes.
    FreeMonoRow{"sshKeyWithAThinDashTouchingALetter", "lxterminal-env-freemono-8pt.png", QRectF(140, 191, 240, 8),
                QStringLiteral("SSH public key"), QStringLiteral("ssh-ed25519 ")},
    // The hyphen of the domain is read as "~", which no domain holds.
    FreeMonoRow{"addressWithATildeForItsHyphen", "lxterminal-env-freemono-8pt.png", QRectF(86, 323, 125, 9), QStringLiteral("Email")}),
    test::rowName);

} // namespace
