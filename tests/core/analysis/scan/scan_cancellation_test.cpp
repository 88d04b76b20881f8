#include "core/analysis/scan/scan_pipeline.h"
#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/visual/visual_content_detector.h"
#include "support/code_images.h"
#include "support/image_fixtures.h"

#include <QPainter>
#include <QThread>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// Cancelling a scan reaches the engine: the steps stop at their next step, and the
// Tesseract engines are free for the next scan as soon as the cancelled one has ended.

QImage pageOfText()
{
    return renderLines({{TextPiece{QStringLiteral("Quarterly report draft"), false}},
                        {TextPiece{QStringLiteral("Send it to maria.lopez@example.com"), false}}},
                       QStringLiteral("DejaVu Sans"), 16, QColor(0x1f2328), Qt::white)
        .image;
}

QImage pageWithCode()
{
    QImage page(640, 360, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(QPoint(40, 40), test::codeSymbol(ZXing::BarcodeFormat::QRCode, "https://example.com/t/8e1f", 4));
    return page;
}

TaskHandle cancelledTask()
{
    TaskHandle task;
    task.cancel();
    return task;
}

TEST(ScanCancellationTest, RecognitionCancelledBeforeItStartsBorrowsNoEngine)
{
    TesseractEnginePool engines(false, 2);
    const OCRTextRecognizer recognizer(engines);

    const auto lines = recognizer.recognizeText(pageOfText(), ImageOrientation::up, cancelledTask()).result();

    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(engines.startedEngines(), 0);
}

TEST(ScanCancellationTest, RecognitionCancelledWhileWaitingForAnEngineSkipsItsRegions)
{
    TesseractEnginePool engines(false, 1);
    const OCRTextRecognizer recognizer(engines);
    auto held = engines.acquire();
    ASSERT_TRUE(held);
    const TaskHandle task;

    const auto recognition = recognizer.recognizeText(pageOfText(), ImageOrientation::up, task);
    while (engines.waitingBorrowers() == 0)
        QThread::yieldCurrentThread();
    task.cancel();
    held.reset();

    EXPECT_TRUE(recognition.result().isEmpty());
    EXPECT_EQ(engines.leasedEngines(), 0);
    EXPECT_EQ(engines.waitingBorrowers(), 0);
    // The next recognition gets the same engine straight away and reads the page.
    const auto next = recognizer.recognizeTextSync(pageOfText());
    EXPECT_EQ(next.size(), 2);
    EXPECT_EQ(engines.startedEngines(), 1);
}

TEST(ScanCancellationTest, CancelledVisualDetectionReadsNoCode)
{
    const VisualSensitiveContentDetector detector;
    ASSERT_EQ(detector.detectVisualContent(pageWithCode()).size(), 1);

    EXPECT_TRUE(detector.detectVisualContent(pageWithCode(), cancelledTask()).isEmpty());
}

TEST(ScanCancellationTest, CancelledScanEndsCancelledWithTheEnginesFree)
{
    ScanPipeline pipeline;
    const ScanRequest request{pageOfText(), SensitiveTextDetector(CustomDetectionConfiguration()), {}, {}};

    const ScanReport report =
        runScan(pipeline, request, DetectorCategoryPreferences::defaultPreferences(), cancelledTask()).result();

    EXPECT_TRUE(std::holds_alternative<ScanCancelled>(report.outcome));
    EXPECT_EQ(report.lineCount, 0);
    EXPECT_EQ(TesseractEnginePool::shared(true).leasedEngines(), 0);
}

} // namespace
