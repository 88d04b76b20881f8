#include "core/analysis/scan/scan_pipeline.h"
#include "app/review/review_controller.h"
#include "core/analysis/import/image_importer.h"

#include "review_fixture.h"
#include "support/code_images.h"
#include "support/event_loop.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 360;

// A screenshot-like PNG: an e-mail line and a QR code, with the rectangle of each in
// the normalised coordinates the findings use.
struct GeneratedScreenshot
{
    QByteArray png;
    NormRect emailBox;
    NormRect codeBox;
};

NormRect normalized(const QRect &pixels)
{
    return {double(pixels.x()) / kWidth, 1.0 - double(pixels.y() + pixels.height()) / kHeight,
            double(pixels.width()) / kWidth, double(pixels.height()) / kHeight};
}

GeneratedScreenshot generateScreenshot()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QFont font = testing::installedFont(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(24);
    const QFontMetrics metrics(font);
    const QString email = QStringLiteral("ada.lovelace@example.com");
    const QString prefix = QStringLiteral("Contact: ");
    const QImage code = test::codeSymbol(ZXing::BarcodeFormat::QRCode, "https://example.com/reset?token=8e1f", 5);
    const QRect codeRect(QPoint(40, 120), code.size());
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(40, 60, prefix + email);
    painter.drawImage(codeRect.topLeft(), code);
    painter.end();
    const QRect emailRect(40 + metrics.horizontalAdvance(prefix), 60 - metrics.ascent(),
                          metrics.horizontalAdvance(email), metrics.height());

    GeneratedScreenshot screenshot;
    screenshot.png = test::encodedPng(image);
    screenshot.emailBox = normalized(emailRect);
    screenshot.codeBox = normalized(codeRect);
    return screenshot;
}

std::optional<RedactionPlanEntry> entryOfKind(const RedactionPlan &plan, DetectionKind kind)
{
    for (const RedactionPlanEntry &entry : plan.entries()) {
        if (entry.detection.kind == kind)
            return entry;
    }
    return std::nullopt;
}

TEST(ReviewWithTheRealEngine, AnImportedScreenshotIsScannedIntoItsPlan)
{
    const GeneratedScreenshot screenshot = generateScreenshot();
    test::ReviewServicesOver<ScanPipeline, test::FakeClipboard> services;
    ReviewController controller(services.environment());

    ReviewDocument item = ReviewDocument::make(std::nullopt, QStringLiteral("Generated screenshot"),
                                                 SafeShareSourceType::unknown, ReviewImageSource::fromBytes(screenshot.png),
                                                 QStringLiteral("Image loaded. Scanning on device..."));
    controller.loadBatch({item}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
    ASSERT_TRUE(controller.state().isChecking());
    ASSERT_TRUE(test::waitUntil([&] { return !controller.state().isChecking(); }, "the scan to end"));

    const ReviewState &state = controller.state();
    EXPECT_FALSE(state.errorText());
    const std::optional<RedactionPlanEntry> email = entryOfKind(state.redactionPlan(), DetectionKind::email);
    ASSERT_TRUE(email) << "no e-mail finding among " << state.redactionPlan().entries().size() << " entries";
    EXPECT_TRUE(email->isActive);
    EXPECT_TRUE(email->detection.normalizedBounds.intersects(screenshot.emailBox));
    const std::optional<RedactionPlanEntry> code = entryOfKind(state.redactionPlan(), DetectionKind::barcode);
    ASSERT_TRUE(code);
    EXPECT_TRUE(code->detection.normalizedBounds.intersects(screenshot.codeBox));
    // The row and the status follow the result.
    EXPECT_TRUE(state.batch.items().at(0).didScan());
    EXPECT_EQ(state.batch.items().at(0).redactionPlan(), state.redactionPlan());
    EXPECT_NE(state.reviewStatusNote(), QStringLiteral("Checking text and visual content on device..."));
}

} // namespace
} // namespace velmora
