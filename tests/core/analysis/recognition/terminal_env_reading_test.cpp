#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/recognized_lines.h"
#include "support/row_name.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// .env files printed in terminals, cut from the screens where a glyph was misread: each
// value lies wholly under a finding of its kind.
struct EnvRow {
    const char *name;
    const char *file; ///< under the test data's terminals/
    QRectF value;     ///< the value's ink, as the terminal drew it
    QString label;
    QString begins{}; ///< how the finding's text begins, where the row asks
};

class TerminalEnvTest : public ::testing::TestWithParam<EnvRow> {};

TEST_P(TerminalEnvTest, ValueLiesUnderAFindingOfItsKind)
{
    const EnvRow &row = GetParam();
    const QImage image(QStringLiteral(VELMORA_TEST_DATA_DIR "/terminals/") + QString::fromLatin1(row.file));
    ASSERT_FALSE(image.isNull()) << row.file;
    const QList<TextObservation> read = OCRTextRecognizer().recognizeTextSync(image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(read);
    EXPECT_TRUE(std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
        return finding.label == row.label && pixelBox(finding.normalizedBounds, image.size()).contains(row.value)
            && finding.matchedText.value_or(QString()).startsWith(row.begins);
    })) << allText(read).toStdString();
}

// FreeMono, whose thin serifs make glyphs touch and whose strokes break apart at small
// sizes.
INSTANTIATE_TEST_SUITE_P(FreeMono, TerminalEnvTest, ::testing::Values(
    // vim in xterm, 14 px: the bold setting name's glyphs touch, yet the line stands on
    // its cells and the address is read without the breaks their varying gaps suggest.
    EnvRow{"addressBesideBoldName", "vim-env-freemono-14px.png", QRectF(150, 99, 198, 11), QStringLiteral("Email")},
    // The values are grey on the dark ground beside bright names: their thin strokes
    // stay fainter than the page's ink threshold, yet each glyph is read whole.
    EnvRow{"stripeKeyInDimStrokes", "vim-env-freemono-14px.png", QRectF(182, 24, 254, 11), QStringLiteral("Stripe secret key")},
    EnvRow{"secretInDimStrokes", "vim-env-freemono-14px.png", QRectF(214, 54, 319, 11), QStringLiteral("Environment secret")},
    EnvRow{"githubTokenInDimStrokes", "vim-env-freemono-14px.png", QRectF(142, 69, 319, 11), QStringLiteral("GitHub token")},
    // lxterminal, 8 pt on a light ground: the serif of an "A" is read as a "T" of its
    // own, the "=" before the key as "<".
    EnvRow{"accessKeyWithASerifReadApart", "lxterminal-env-freemono-8pt.png", QRectF(109, 11, 120, 9), QStringLiteral("AWS key")},
    // The end of an "F"'s arm is read as an apostrophe.
    EnvRow{"secretWithAnArmReadApart", "lxterminal-env-freemono-8pt.png", QRectF(134, 23, 239, 9),
                QStringLiteral("Environment secret")},
    // A "9" is read as "$" after a gap Tesseract takes for a space.
    EnvRow{"passwordWithANineReadAsAMark", "lxterminal-env-freemono-8pt.png", QRectF(73, 83, 120, 9),
                QStringLiteral("Environment secret")},
    // The thin dash after "ssh" touches the "e" after it and is fainter than its strokes.
    EnvRow{"sshKeyWithAThinDashTouchingALetter", "lxterminal-env-freemono-8pt.png", QRectF(140, 191, 240, 8),
                QStringLiteral("SSH public key"), QStringLiteral("ssh-ed25519 ")},
    // The hyphen of the domain is read as "~", which no domain holds.
    EnvRow{"addressWithATildeForItsHyphen", "lxterminal-env-freemono-8pt.png", QRectF(86, 323, 125, 9), QStringLiteral("Email")},
    // The foot of a serif "A" stands apart in the "A"'s cell, like a full stop.
    EnvRow{"accountIdWithTheFootOfAnA", "xterm-env-freemono-12pt-customer-id.png", QRectF(206, 24, 207, 13),
           QStringLiteral("Account/customer ID"), QStringLiteral("customer_")},
    // The end of an "F"'s arm inside a key is read as an apostrophe of its own.
    EnvRow{"githubTokenWithAnArmReadApart", "lxterminal-env-freemono-8pt-github-token.png", QRectF(79, 15, 240, 9),
           QStringLiteral("GitHub token"), QStringLiteral("ghp_")}),
    test::rowName);

// Keys read with a mark or a second glyph inside them, in other faces.
INSTANTIATE_TEST_SUITE_P(MisreadInsideKeys, TerminalEnvTest, ::testing::Values(
    // An "LL" read "l.".
    EnvRow{"restrictedKeyWithAnLReadAsADot", "xterm-env-inconsolata-8pt-restricted-key.png", QRectF(116, 39, 159, 9),
           QStringLiteral("Stripe secret key"), QStringLiteral("rk_live_")},
    // An "l" read as a backslash, an "f" as "#".
    EnvRow{"accountIdWithABackslash", "xterm-env-dejavu-11pt-account-id.png", QRectF(168, 42, 169, 15), QStringLiteral("Account/customer ID"),
           QStringLiteral("acct_")},
    EnvRow{"customerIdWithAHash", "xterm-env-inconsolata-14pt-customer-id.png", QRectF(186, 18, 188, 16), QStringLiteral("Account/customer ID"),
           QStringLiteral("customer_")},
    // The "l" of "live" read "1l" beside the flat foot that makes it look underscored.
    EnvRow{"stripeKeyWithItsLReadTwice", "lxterminal-env-inconsolata-10pt-stripe-key.png", QRectF(128, 14, 222, 10),
           QStringLiteral("Stripe secret key"), QStringLiteral("sk_live_")},
    // An "a" read ".", and the key's last "E" read "é".
    EnvRow{"googleKeyWithADotAndAnAccent", "lxterminal-env-inconsolata-8pt-google-key.png", QRectF(101, 15, 195, 9),
           QStringLiteral("Google API key"), QStringLiteral("AIza")},
    // The stem of the "D" of "DB_PASSWORD" read as a bracket before it.
    EnvRow{"passwordAfterABracket", "lxterminal-env-inconsolata-8pt-google-key.png", QRectF(62, 51, 99, 7), QStringLiteral("Environment secret")}),
    test::rowName);

} // namespace
