#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/recognized_lines.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// vim in xterm, FreeMono 14 px, a .env with bold setting names whose glyphs touch one
// another: the line still stands on its cells, so the address beside the name is read
// without the word breaks that its glyphs' varying gaps suggest, and is found whole.
TEST(TerminalTouchingGlyphsTest, AddressBesideABoldNameIsFoundWhole)
{
    const QImage image(QStringLiteral(VELMORA_TEST_DATA_DIR "/terminals/vim-env-freemono-14px.png"));
    ASSERT_FALSE(image.isNull());
    const QRectF address(150, 99, 198, 11); // priya.larsen97@globex.net, as xterm drew it
    const QList<TextObservation> read = OCRTextRecognizer().recognizeTextSync(image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(read);
    EXPECT_TRUE(std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &finding) {
        return finding.label == QStringLiteral("Email") && pixelBox(finding.normalizedBounds, image.size()).contains(address);
    })) << allText(read).toStdString();
}

} // namespace
