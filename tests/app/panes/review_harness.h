#pragma once

#include "app/kit/symbol_icon.h"
#include "app/review/review_fixture.h"
#include "support/image_fixtures.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace velmora::test {

/// The style, font and symbols the panes are measured in, set once.
inline void useTestLook()
{
    static const bool lookSet = [] {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        QApplication::setFont(font);
        SymbolIcon::setUpTheme();
        return true;
    }();
    Q_UNUSED(lookSet);
}

// A review controller over the test services, for the panes and their operations.
// `load` puts scanned items in review without scanning.
struct ReviewHarness : ReviewServices
{
    ReviewController controller{environment()};

    ReviewHarness() { useTestLook(); }

    /// Items already scanned, the first one under review.
    void load(QList<ReviewDocument> items)
    {
        for (ReviewDocument &item : items)
            item.adoptOwnPlan(item.redactionPlan(), item.selectedDetectionID());
        controller.loadBatch(items, QStringLiteral("Loaded."), 0, false);
        drainScans();
    }

    /// One scanned image whose plan holds `detections` (text findings, in reading order).
    void loadPlan(const QList<Detection> &detections)
    {
        ReviewDocument item = fileItem(QStringLiteral("shot.png"));
        item.adoptOwnPlan(RedactionPlan(detections, {}, {}), std::nullopt);
        load({item});
    }

    /// Lets the work on the thread pool end and report; the batch scan's next scans start.
    void drainScans() { finishPoolWork(); }

    const ReviewState &state() const { return controller.state(); }
    const RedactionPlan &plan() const { return controller.state().redactionPlan(); }
};

/// Finding `index` of `count` from the top of the image, so that plan order is list order.
inline Detection findingAt(int index, DetectionKind kind = DetectionKind::email, const QString &label = QStringLiteral("Email"),
                           double confidence = 0.95)
{
    return findingOf(kind, label, 0.9 - index * 0.08, confidence);
}

} // namespace velmora::test
