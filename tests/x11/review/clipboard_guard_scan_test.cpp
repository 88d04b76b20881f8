#include "core/analysis/scan/scan_pipeline.h"
#include "app/review/clipboard_scan_flow.h"
#include "app/review/review_controller.h"
#include "core/history/safe_share_history_store.h"

#include "support/event_loop.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"
#include "support/metadata_chunks.h"
#include "support/xclip.h"
#include "x11/support/clipboard_fixture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

// A copied screenshot: one e-mail address on a light window, saved as a PNG that
// carries a text chunk, with where the address was drawn.
struct CopiedScreenshot
{
    QByteArray png;
    QRect emailPixels;
    QSize size;
};

CopiedScreenshot copiedScreenshot()
{
    QImage image(900, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setText(QStringLiteral("Software"), QStringLiteral("screenshot tool"));
    QFont font = testing::installedFont(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(24);
    const QFontMetrics metrics(font);
    const QString prefix = QStringLiteral("Contact: ");
    const QString email = QStringLiteral("ada.lovelace@example.com");
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(40, 100, prefix + email);
    painter.end();

    CopiedScreenshot screenshot;
    screenshot.png = encodedPng(image);
    screenshot.emailPixels = QRect(40 + metrics.horizontalAdvance(prefix), 100 - metrics.ascent(),
                                   metrics.horizontalAdvance(email), metrics.ascent());
    screenshot.size = image.size();
    return screenshot;
}

// The review of the window over the X server's real clipboard and the real engine,
// its clipboard guard on the manual clock and pausing if unsure.
class ClipboardGuardScanOnX11 : public ClipboardFixture
{
protected:
    ScanPipeline m_engine;
    AutoCleanUndoCoordinator m_autoCleanUndo{m_clipboard, m_clock};
    ReviewController m_review{{m_engine, *m_settings, m_clipboard, m_clock, m_guard, m_autoCleanUndo}};
    ClipboardScanFlow m_scan{m_review.intake(), m_clipboard, m_guard.monitorPlan(), m_autoCleanUndo, NotificationCenter::none(),
                             [] { return true; }};
};

TEST_F(ClipboardGuardScanOnX11, ACopiedScreenshotWithAnEmailIsReplacedByItsCleanedPngUntilUndone)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    m_settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("pauseIfUnsure"));
    m_guard.start([this](const ClipboardImageCandidate &c) { m_scan.scanClipboardImage(c); });

    const CopiedScreenshot screenshot = copiedScreenshot();
    ASSERT_FALSE(pngMetadataChunks(screenshot.png).isEmpty());
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([&] { return xclipOffer(QStringLiteral("image/png"), screenshot.png); }));
    advancePolls(3);
    ASSERT_EQ(m_scan.scanningChangeCounts().size(), 1);
    ASSERT_TRUE(waitUntil([&] { return m_scan.scanningChangeCounts().isEmpty(); }, "the copy's scan to end"));

    const ReviewState &state = m_review.state();
    EXPECT_EQ(state.reviewStatusNote(),
              "Clipboard replaced with a flattened cleaned PNG. Review before pasting into sensitive destinations.");
    EXPECT_EQ(m_review.banner().text(), QStringLiteral("Clipboard protected · 1 item masked"));
    EXPECT_EQ(m_review.banner().primaryAction(), CompletionBannerAction::reviewLastAutoClean);
    EXPECT_EQ(m_review.banner().secondaryAction(), CompletionBannerAction::undoLastAutoClean);
    ASSERT_TRUE(state.lastAutoCleanReviewItem.has_value());
    ASSERT_EQ(state.lastAutoCleanReviewItem->plan->entries().size(), 1);
    EXPECT_EQ(state.lastAutoCleanReviewItem->plan->entries().first().detection.kind, DetectionKind::email);

    // Another application pastes only a flattened PNG without metadata, the address covered.
    EXPECT_EQ(xclipTargets(), QStringList{"image/png"});
    const QByteArray cleanedPng = xclipRead(QStringLiteral("image/png"));
    EXPECT_EQ(pngMetadataChunks(cleanedPng).join(','), QString());
    const QImage cleaned = QImage::fromData(cleanedPng, "PNG");
    ASSERT_EQ(cleaned.size(), screenshot.size);
    EXPECT_TRUE(cleaned.textKeys().isEmpty());
    const QRect email = screenshot.emailPixels;
    for (const QPoint &point : {email.center(), email.topLeft() + QPoint(2, 2), email.bottomRight() - QPoint(2, 2)})
        EXPECT_EQ(cleaned.pixel(point), qRgb(0, 0, 0)) << point.x() << "," << point.y();
    EXPECT_EQ(cleaned.pixel(860, 200), qRgb(255, 255, 255));

    // Both records: the scan, then the replacement (newest first).
    const QList<SafeShareHistoryRecord> records = SafeShareHistoryStore::load(*m_settings).records;
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records.at(0).action, SafeShareAction::clipboardReplace);
    EXPECT_EQ(records.at(1).action, SafeShareAction::scan);

    // The guard never takes the replacement for a new image.
    advancePolls(4);
    EXPECT_TRUE(m_scan.scanningChangeCounts().isEmpty());

    // Seven seconds after the replacement, still within its undo window.
    m_clock.advance(7s - 4 * ClipboardProtectionController::pollInterval);
    ASSERT_TRUE(m_autoCleanUndo.undo(m_guard));
    EXPECT_EQ(xclipTargets(), QStringList{"image/png"});
    EXPECT_EQ(xclipRead(QStringLiteral("image/png")), screenshot.png);
    advancePolls(4);
    EXPECT_TRUE(m_scan.scanningChangeCounts().isEmpty());
    EXPECT_EQ(SafeShareHistoryStore::load(*m_settings).records.size(), 2);
}

} // namespace
} // namespace velmora::test
