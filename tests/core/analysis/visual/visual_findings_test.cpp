#include "core/analysis/visual/visual_content_detector.h"

#include "core/detection/core_error.h"
#include "support/code_images.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>

using namespace velmora;
using Kind = VisualContentObservation::Kind;

namespace {

const QList<VisualContentObservation> kSightings{
    {Kind::face, {0.1, 0.6, 0.2, 0.3}, 0.9, std::nullopt},
    {Kind::face, {0.5, 0.6, 0.2, 0.3}, 0.9, std::nullopt},
    {Kind::qrCode, {0.1, 0.1, 0.2, 0.2}, 1.0, QStringLiteral("QRCode")},
    {Kind::barcode, {0.5, 0.1, 0.3, 0.1}, 1.0, QStringLiteral("EAN-13")},
};

TEST(VisualFindingsTest, MakesOneFindingPerSightingInOrder)
{
    const auto findings = VisualSensitiveContentDetector::detections(kSightings);

    ASSERT_EQ(findings.size(), 4);
    const QStringList labels{findings[0].label, findings[1].label, findings[2].label, findings[3].label};
    EXPECT_EQ(labels, (QStringList{"Face", "Face", "QR code", "Barcode"}));
    EXPECT_EQ(findings[0].kind, DetectionKind::face);
    EXPECT_EQ(findings[2].kind, DetectionKind::barcode);
    EXPECT_EQ(findings[3].kind, DetectionKind::barcode);
    EXPECT_EQ(findings[0].reason, "Faces can identify people in shared screenshots.");
    EXPECT_EQ(findings[2].reason, "QR codes can encode URLs, tokens, or contact details.");
    EXPECT_EQ(findings[3].reason, "Barcodes can reveal shipment, product, or account identifiers.");
    for (qsizetype i = 0; i < findings.size(); ++i) {
        const auto &finding = findings[i];
        EXPECT_EQ(finding.normalizedBounds, kSightings[i].normalizedBounds);
        EXPECT_EQ(finding.confidence, kSightings[i].confidence);
        EXPECT_EQ(finding.source, DetectionSource::vision);
        EXPECT_EQ(finding.suggestedAction, DetectionSuggestedAction::redact);
        EXPECT_EQ(finding.boundsPrecision, DetectionBoundsPrecision::tight);
        EXPECT_FALSE(finding.matchedText || finding.matchedRange || finding.hasAdjustedBounds());
        EXPECT_FALSE(finding.originalSource || finding.originalReason || finding.originalBoundsPrecision);
    }
    EXPECT_NE(findings[0].id, findings[1].id);
}

TEST(VisualFindingsTest, KeepsBoxesPastTheEdgeAndClampsConfidence)
{
    const QList<VisualContentObservation> sightings{{Kind::face, {0.9, -0.1, 0.3, 0.4}, 1.4, std::nullopt},
                                                    {Kind::face, {0.2, 0.2, 0.1, 0.1}, -0.5, std::nullopt}};
    const auto findings = VisualSensitiveContentDetector::detections(sightings);

    ASSERT_EQ(findings.size(), 2);
    EXPECT_EQ(findings[0].normalizedBounds, NormRect(0.9, -0.1, 0.3, 0.4));
    EXPECT_EQ(findings[0].confidence, 1.0);
    EXPECT_EQ(findings[1].confidence, 0.0);
}

struct PreferenceRow {
    const char *name;
    DetectorCategoryPreferences preferences;
    QStringList labels;
};

DetectorCategoryPreferences preferences(std::set<DetectorCategory> disabled, const CategoryDispositions &categories,
                                        QMap<QString, RedactionPolicyDisposition> detectors = {})
{
    return DetectorCategoryPreferences::make(std::move(disabled), categories, std::move(detectors));
}

class VisualPreferencesTest : public ::testing::TestWithParam<PreferenceRow> {};

TEST_P(VisualPreferencesTest, FiltersByCategoryOnly)
{
    const auto findings = VisualSensitiveContentDetector::detections(kSightings, GetParam().preferences);

    QStringList labels;
    for (const auto &finding : findings) {
        labels.append(finding.label);
        EXPECT_EQ(finding.suggestedAction, DetectionSuggestedAction::redact);
    }
    EXPECT_EQ(labels, GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(Rows, VisualPreferencesTest, ::testing::Values(
    PreferenceRow{"defaults", DetectorCategoryPreferences::defaultPreferences(),
                  {"Face", "Face", "QR code", "Barcode"}},
    PreferenceRow{"facesDisabled", preferences({DetectorCategory::faces}, {}), {"QR code", "Barcode"}},
    PreferenceRow{"codesIgnored", preferences({}, {{DetectorCategory::visualCodes, RedactionPolicyDisposition::ignore}}),
                  {"Face", "Face"}},
    PreferenceRow{"facesNeedReviewStillRedact",
                  preferences({}, {{DetectorCategory::faces, RedactionPolicyDisposition::needsReview}}),
                  {"Face", "Face", "QR code", "Barcode"}},
    PreferenceRow{"codesAutoRedact",
                  preferences({}, {{DetectorCategory::visualCodes, RedactionPolicyDisposition::autoRedact}}),
                  {"Face", "Face", "QR code", "Barcode"}},
    PreferenceRow{"faceDetectorIgnoredChangesNothing",
                  preferences({}, {}, {{QStringLiteral("Face"), RedactionPolicyDisposition::ignore}}),
                  {"Face", "Face", "QR code", "Barcode"}},
    PreferenceRow{"codeDetectorAutoRedactDoesNotReviveDisabled",
                  preferences({DetectorCategory::visualCodes}, {},
                              {{QStringLiteral("QR code"), RedactionPolicyDisposition::autoRedact}}),
                  {"Face", "Face"}},
    PreferenceRow{"otherCategoriesOff",
                  preferences({DetectorCategory::emails, DetectorCategory::secrets}, {}),
                  {"Face", "Face", "QR code", "Barcode"}}),
    test::rowName);

TEST(VisualDetectTest, DeliversFacesFirstThenCodesFromTheBackground)
{
    QImage canvas(1200, 700, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.drawImage(QPoint(0, 0), test::codeSymbol(ZXing::BarcodeFormat::QRCode, "first in the image", 4));
        painter.drawImage(QPoint(600, 300), QImage(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/messi5.jpg")));
    }

    auto future = VisualSensitiveContentDetector().detect(canvas);
    const auto findings = future.result();

    ASSERT_GE(findings.size(), 2);
    EXPECT_EQ(findings.first().label, "Face");
    EXPECT_EQ(findings.last().label, "QR code");
    EXPECT_EQ(findings.last().kind, DetectionKind::barcode);
}

TEST(VisualDetectTest, CarriesTheFailureThroughTheFuture)
{
    QTemporaryDir folder;
    auto future = VisualSensitiveContentDetector(folder.filePath(QStringLiteral("absent.xml"))).detect(QImage(64, 64, QImage::Format_RGB32));
    try {
        future.waitForFinished();
        FAIL() << "no failure";
    } catch (const VelmoraCoreException &error) {
        EXPECT_EQ(error.error(), VelmoraCoreError::visualDetectionFailed);
    }
}

TEST(VisualDetectTest, DisabledCategoriesApplyToTheImage)
{
    QImage canvas(800, 500, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.drawImage(QPoint(20, 20), test::codeSymbol(ZXing::BarcodeFormat::QRCode, "code", 4));
        painter.drawImage(QPoint(200, 120), QImage(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/messi5.jpg")));
    }
    const VisualSensitiveContentDetector detector;

    const auto withoutFaces = detector.detect(canvas, preferences({DetectorCategory::faces}, {})).result();
    ASSERT_EQ(withoutFaces.size(), 1);
    EXPECT_EQ(withoutFaces[0].label, "QR code");

    const auto withoutCodes
        = detector.detect(canvas, preferences({}, {{DetectorCategory::visualCodes, RedactionPolicyDisposition::ignore}}))
              .result();
    ASSERT_FALSE(withoutCodes.isEmpty());
    for (const auto &finding : withoutCodes)
        EXPECT_EQ(finding.label, "Face");
}

} // namespace
