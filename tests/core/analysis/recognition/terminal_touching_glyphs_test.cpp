#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/recognized_lines.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// The pixels of `area` that stand apart from the ground at the image's bottom-right corner.
QList<QPoint> inkIn(const QImage &image, const QRect &area)
{
    const QColor ground = image.pixelColor(image.width() - 1, image.height() - 1);
    QList<QPoint> ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - ground.red()) + std::abs(c.green() - ground.green()) + std::abs(c.blue() - ground.blue()) > 120)
                ink.append({x, y});
        }
    }
    return ink;
}

// vim in xterm, FreeMono 14 px, a .env with bold setting names whose glyphs touch one
// another: the line still stands on its cells, so the address beside the name is read
// without the word breaks that glyphs' varying gaps suggest, and is found whole.
TEST(TerminalTouchingGlyphsTest, AddressBesideABoldNameIsFoundWhole)
{
    const QImage image(QStringLiteral(VELMORA_TEST_DATA_DIR "/terminals/vim-env-freemono-14px.png"));
    ASSERT_FALSE(image.isNull());
    const QList<QPoint> address = inkIn(image, QRect(148, 94, 201, 16)); // priya.larsen97@globex.net
    ASSERT_GT(address.size(), 100);
    const QList<TextObservation> read = OCRTextRecognizer().recognizeTextSync(image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(read);
    EXPECT_TRUE(foundWhole(address, findings, image.size(), QStringLiteral("Email"))) << allText(read).toStdString();
}

} // namespace
