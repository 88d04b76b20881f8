#include "core/analysis/scan/scan_pipeline.h"
#include "core/analysis/recognition/tesseract_engine_pool.h"

#include "core/detection/core_error.h"
#include "core/redaction/detection_adjustments.h"
#include "support/code_images.h"
#include "support/file_bytes.h"
#include "support/image_fixtures.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <QtConcurrent>

using namespace velmora;

namespace {

// Recognition that fails the way a broken OCR engine would; a real engine cannot be
// made to fail on demand.
class FailingRecognizer final : public TextRecognizing
{
public:
    using TextRecognizing::recognizeText;
    QFuture<QList<TextObservation>> recognizeText(const QImage &, ImageOrientation, const TaskHandle &) const override
    {
        return QtConcurrent::run([]() -> QList<TextObservation> {
            throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
        });
    }
};

VelmoraCoreError scanError(ScanPipeline &pipeline, const ImportedImage &image)
{
    try {
        pipeline.scan(image, SensitiveTextDetector(CustomDetectionConfiguration()),
                      DetectorCategoryPreferences::defaultPreferences());
    } catch (const VelmoraCoreException &error) {
        return error.error();
    }
    ADD_FAILURE() << "the scan did not fail";
    return VelmoraCoreError::imageRenderFailed;
}

/// A QR code at the top left and, below it, a line of text with an e-mail address.
ImportedImage screenshotWithCodeAndAddress()
{
    QImage image(900, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(QPoint(40, 30), test::codeSymbol(ZXing::BarcodeFormat::QRCode, "https://example.com/t/8e1f", 4));
    QFont font = velmora::testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(40, 300, QStringLiteral("Send the report to jane.doe@example.com today"));
    painter.end();
    return ImportedImage{image, ImageOrientation::up};
}

TEST(ScanPipelineTest, ScansAFileIntoOnePlanOfTextAndVisualFindings)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("screenshot.png"));
    ASSERT_TRUE(screenshotWithCodeAndAddress().image.save(path));
    ScanPipeline pipeline;

    const auto result = pipeline.scanFile(path, SensitiveTextDetector(CustomDetectionConfiguration()),
                                          DetectorCategoryPreferences::defaultPreferences());

    EXPECT_EQ(result.imageSize, QSize(900, 400));
    EXPECT_GE(result.lineCount, 1);
    ASSERT_EQ(result.plan.entries().size(), 2);
    // Reading order: the code stands higher in the image than the line of text.
    EXPECT_EQ(result.plan.entries()[0].detection.label, "QR code");
    EXPECT_EQ(result.plan.entries()[1].detection.label, "Email");
    EXPECT_EQ(result.plan.entries()[1].detection.matchedText, "jane.doe@example.com");
    EXPECT_TRUE(result.plan.entries()[0].isActive && result.plan.entries()[1].isActive);
    const auto &timings = result.timings;
    EXPECT_GT(timings.importMs, 0);
    EXPECT_GT(timings.recognizeMs, 0);
    EXPECT_GT(timings.visualMs, 0);
    EXPECT_GE(timings.totalMs, timings.importMs + std::max(timings.recognizeMs, timings.visualMs));
}

TEST(ScanPipelineTest, ABatchScansOneImagePerEngineAtOnce)
{
    EXPECT_EQ(ScanPipeline().concurrentScans(), TesseractEnginePool::shared(true).capacity());
    EXPECT_EQ(ScanPipeline().concurrentScans(), QThread::idealThreadCount());
}

TEST(ScanPipelineTest, VisualFailureFailsTheScan)
{
    QTemporaryDir folder;
    ScanPipeline pipeline(std::make_shared<const OCRTextRecognizer>(),
                                VisualSensitiveContentDetector(folder.filePath(QStringLiteral("none.xml"))));
    EXPECT_EQ(scanError(pipeline, screenshotWithCodeAndAddress()), VelmoraCoreError::visualDetectionFailed);
}

TEST(ScanPipelineTest, RecognitionFailureWinsOverVisualFailure)
{
    QTemporaryDir folder;
    ScanPipeline pipeline(std::make_shared<const FailingRecognizer>(),
                                VisualSensitiveContentDetector(folder.filePath(QStringLiteral("none.xml"))));
    EXPECT_EQ(scanError(pipeline, screenshotWithCodeAndAddress()), VelmoraCoreError::textRecognitionFailed);
}

TEST(ScanPipelineTest, RecognitionFailureFailsTheScan)
{
    ScanPipeline pipeline(std::make_shared<const FailingRecognizer>(), VisualSensitiveContentDetector());
    EXPECT_EQ(scanError(pipeline, screenshotWithCodeAndAddress()), VelmoraCoreError::textRecognitionFailed);
}

TEST(ScanPipelineTest, UnreadableFileFailsTheImport)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(test::writeBytes(path, "not an image"));
    try {
        ScanPipeline().scanFile(path, SensitiveTextDetector(CustomDetectionConfiguration()),
                                DetectorCategoryPreferences::defaultPreferences());
        FAIL() << "no failure";
    } catch (const VelmoraCoreException &error) {
        EXPECT_EQ(error.error(), VelmoraCoreError::invalidImageData);
    }
}

Detection manualBox(const NormRect &bounds)
{
    return manualRedaction(QStringLiteral("Manual redaction"), QStringLiteral("Added by the user."), bounds);
}

TEST(ScanPipelineTest, PlanKeepsTheStatesOfTheUsersBoxes)
{
    const auto visual = VisualSensitiveContentDetector::detections(
        {{VisualContentObservation::Kind::qrCode, {0.1, 0.5, 0.2, 0.3}, 1.0, QStringLiteral("QRCode")}});
    const Detection offBox = manualBox({0.6, 0.1, 0.2, 0.1});
    const Detection onBox = manualBox({0.6, 0.6, 0.2, 0.1});
    const QUuid deleted = QUuid::createUuid();

    const auto plan = buildScanPlan({}, visual, {offBox, onBox},
                                   {{offBox.id, false}, {onBox.id, true}, {deleted, false}});

    ASSERT_EQ(plan.entries().size(), 3);
    EXPECT_EQ(plan.entries()[0].detection.id, onBox.id);
    EXPECT_TRUE(plan.entries()[0].isActive);
    EXPECT_EQ(plan.entries()[1].detection.label, "QR code");
    EXPECT_TRUE(plan.entries()[1].isActive);
    EXPECT_EQ(plan.entries()[2].detection.id, offBox.id);
    EXPECT_FALSE(plan.entries()[2].isActive);
}

} // namespace
