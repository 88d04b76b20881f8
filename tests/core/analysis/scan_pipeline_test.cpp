#include "core/analysis/scan_pipeline.h"

#include "core/detection/core_error.h"
#include "support/code_images.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>
#include <QtConcurrent>

using namespace velmora;

namespace {

// Recognition that fails the way a broken OCR engine would; a real engine cannot be
// made to fail on demand.
QFuture<QList<TextObservation>> failingRecognition(const QImage &)
{
    return QtConcurrent::run([]() -> QList<TextObservation> {
        throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
    });
}

VelmoraCoreError scanError(const ScanPipeline &pipeline, const QImage &image)
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

QImage imageWithQrCode()
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(QPoint(40, 40), test::codeSymbol(ZXing::BarcodeFormat::QRCode, "https://example.com/t/8e1f", 4));
    return image;
}

TEST(ScanPipelineTest, RecognitionFailureWinsOverVisualFailure)
{
    QTemporaryDir folder;
    const ScanPipeline pipeline(failingRecognition,
                                VisualSensitiveContentDetector(folder.filePath(QStringLiteral("none.xml"))));
    EXPECT_EQ(scanError(pipeline, imageWithQrCode()), VelmoraCoreError::textRecognitionFailed);
}

TEST(ScanPipelineTest, RecognitionFailureFailsTheScan)
{
    const ScanPipeline pipeline(failingRecognition, VisualSensitiveContentDetector());
    EXPECT_EQ(scanError(pipeline, imageWithQrCode()), VelmoraCoreError::textRecognitionFailed);
}

Detection manualBox(const NormRect &bounds)
{
    Detection box;
    box.id = QUuid::createUuid();
    box.kind = DetectionKind::unknown;
    box.label = QStringLiteral("Manual redaction");
    box.confidence = 1.0;
    box.normalizedBounds = bounds;
    box.source = DetectionSource::user;
    box.reason = QStringLiteral("Added by the user.");
    box.boundsPrecision = DetectionBoundsPrecision::manual;
    return box;
}

TEST(ScanPipelineTest, PlanKeepsTheStatesOfTheUsersBoxes)
{
    const auto visual = VisualSensitiveContentDetector::detections(
        {{VisualContentObservation::Kind::qrCode, {0.1, 0.5, 0.2, 0.3}, 1.0, QStringLiteral("QRCode")}});
    const Detection offBox = manualBox({0.6, 0.1, 0.2, 0.1});
    const Detection onBox = manualBox({0.6, 0.6, 0.2, 0.1});
    const QUuid deleted = QUuid::createUuid();

    const auto plan = ScanPipeline::buildPlan({}, visual, {offBox, onBox},
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
