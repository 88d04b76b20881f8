// The panes of the review beside the canvas, for velmora_gallery: the findings panel,
// the batch sidebar and its queue, the empty state with the getting-started checklist,
// and the whole review at the window's minimum size. Included once, by the gallery.
#pragma once

#include "app/kit/look.h"
#include "app/panes/batch_sidebar.h"
#include "app/panes/detection_row.h"
#include "app/panes/drop_target_view.h"
#include "app/panes/findings_panel.h"
#include "app/panes/image_review_view.h"
#include "app/protection/system_clipboard.h"
#include "app/review/review_controller.h"
#include "app/window/batch_sidebar_binding.h"
#include "app/window/findings_binding.h"
#include "core/analysis/scan/scan_engine.h"
#include "core/settings/stored_settings.h"
#include "core/support/system_clock.h"

#include <QHBoxLayout>
#include <QPromise>
#include <QTemporaryDir>
#include <QToolButton>

namespace panes_gallery {

using namespace velmora;

// The gallery loads scanned items; a scan it starts stays running, so that a card
// shows its progress.
class PendingScanEngine : public ScanEngine
{
public:
    QFuture<QList<TextObservation>> recognizeText(const QImage &, const TaskHandle &) override
    {
        m_text.push_back(std::make_unique<QPromise<QList<TextObservation>>>());
        m_text.back()->start();
        return m_text.back()->future();
    }
    QFuture<QList<Detection>> detectVisualContent(const QImage &, const DetectorCategoryPreferences &,
                                                  const TaskHandle &) override
    {
        m_visual.push_back(std::make_unique<QPromise<QList<Detection>>>());
        m_visual.back()->start();
        return m_visual.back()->future();
    }

private:
    std::vector<std::unique_ptr<QPromise<QList<TextObservation>>>> m_text;
    std::vector<std::unique_ptr<QPromise<QList<Detection>>>> m_visual;
};

// A review of its own over settings in a temporary folder.
struct GalleryReview
{
    QTemporaryDir folder;
    std::unique_ptr<StoredSettings> settings = StoredSettings::atIniFile(folder.filePath(QStringLiteral("gallery.ini")));
    PendingScanEngine engine;
    SystemClock clock;
    SystemClipboard clipboard{clock};
    ClipboardProtectionController guard{clipboard, *settings, clock};
    AutoCleanUndoCoordinator autoCleanUndo{clipboard, clock};
    ReviewController controller{ReviewEnvironment{engine, *settings, clipboard, clock, guard, autoCleanUndo}};
};

// The window's smallest size: the batch column, a canvas column and the findings column.
const QSize kWindowMinimum(1100, 700);

ReviewDocument galleryItem(const QString &name, const QImage &image, const RedactionPlan &plan, bool scanned)
{
    ReviewDocument item = ReviewDocument::make(QUrl::fromLocalFile(QStringLiteral("/shots/") + name), std::nullopt,
                                               SafeShareSourceType::folderBatch, ReviewImageSource::encode(image),
                                               QStringLiteral("Queued for on-device scan."));
    if (scanned)
        item.adoptOwnPlan(plan, std::nullopt);
    return item;
}

// A batch of five: the gallery's screenshot (with the plan of mixed states) under
// review, one being scanned, one clean, one failed and one unreviewed with findings.
void loadBatch(ReviewController &controller, const QImage &image, const RedactionPlan &plan, const QUuid &selected)
{
    RedactionPlan small({plan.entries().at(1).detection}, {}, {});
    QList<ReviewDocument> items{
        galleryItem(QStringLiteral("team-chat-deploys.png"), image, plan, true),
        galleryItem(QStringLiteral("billing-dashboard-with-a-very-long-file-name-export.png"), image, small, true),
        galleryItem(QStringLiteral("settings.png"), image, {}, true),
        galleryItem(QStringLiteral("scan-in-progress.png"), image, {}, false),
        galleryItem(QStringLiteral("broken.heic"), image, {}, false),
    };
    items[4].setErrorText(QStringLiteral("That image could not be opened."));
    // One reads as being scanned, as under a running batch scan.
    items[3].beginScan();
    controller.loadBatch(items, QStringLiteral("Loaded."), 0, false);
    controller.selectDetection(selected);
}

// The columns as the window shows them: bound to the review.
FindingsPanel *boundFindings(ReviewController &review)
{
    auto *panel = new FindingsPanel;
    bindFindingsToReview(*panel, review);
    return panel;
}

BatchSidebar *boundBatch(ReviewController &review)
{
    auto *sidebar = new BatchSidebar;
    bindBatchSidebarToReview(*sidebar, review);
    return sidebar;
}

QWidget *framed(QWidget *frame, const QPalette &palette, QSize size)
{
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);
    frame->resize(size);
    frame->show();
    return frame;
}

void expandDetails(QWidget *panel, const QUuid &id)
{
    const QString name = QStringLiteral("detection-row-") + id.toString(QUuid::WithoutBraces).toUpper();
    if (auto *row = panel->findChild<QWidget *>(name)) {
        if (auto *disclosure = row->findChild<QToolButton *>(QStringLiteral("detector-details-disclosure")))
            disclosure->setChecked(true);
    }
}

template <typename Save>
bool renderPanes(const QString &outDir, const QString &paletteName, const QPalette &palette, const QImage &image,
                 const RedactionPlan &plan, const QUuid &selected, Save save)
{
    bool ok = true;
    {
        GalleryReview review;
        loadBatch(review.controller, image, plan, selected);
        QWidget frame;
        auto *layout = new QHBoxLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *panel = boundFindings(review.controller);
        layout->addWidget(panel);
        framed(&frame, palette, QSize(376, 980));
        expandDetails(panel, selected);
        ok &= save(&frame, outDir + QStringLiteral("/findings-%1-panel.png").arg(paletteName));

        review.controller.selectFindingFilter(FindingFilter::off);
        review.controller.setAllFindingsIncluded(true);
        ok &= save(&frame, outDir + QStringLiteral("/findings-%1-empty-filter.png").arg(paletteName));

        QWidget sidebarFrame;
        auto *sidebarLayout = new QHBoxLayout(&sidebarFrame);
        sidebarLayout->setContentsMargins(0, 0, 0, 0);
        sidebarLayout->addWidget(boundBatch(review.controller));
        framed(&sidebarFrame, palette, QSize(260, 760));
        review.controller.selectBatchCategory(FindingCategory::secrets);
        review.controller.selectBatchCategory(std::nullopt);
        ok &= save(&sidebarFrame, outDir + QStringLiteral("/batch-%1-sidebar.png").arg(paletteName));
    }
    {
        GalleryReview review;
        QWidget frame;
        auto *layout = new QHBoxLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto *column = new QWidget;
        auto *columnLayout = new QHBoxLayout(column);
        columnLayout->setContentsMargins(48, 48, 48, 48);
        columnLayout->addWidget(new DropTargetView(*review.settings));
        layout->addWidget(column, 1);
        layout->addWidget(look::makeDivider(Qt::Vertical));
        layout->addWidget(boundFindings(review.controller));
        framed(&frame, palette, kWindowMinimum);
        ok &= save(&frame, outDir + QStringLiteral("/window-%1-empty-minimum.png").arg(paletteName));
        framed(&frame, palette, QSize(1400, 1000));
        ok &= save(&frame, outDir + QStringLiteral("/window-%1-empty-large.png").arg(paletteName));
    }
    {
        GalleryReview review;
        loadBatch(review.controller, image, plan, selected);
        QWidget frame;
        auto *layout = new QHBoxLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(boundBatch(review.controller));
        layout->addWidget(look::makeDivider(Qt::Vertical));
        auto *canvas = new ImageReviewView;
        canvas->setImage(image);
        canvas->setRedactionPlan(review.controller.state().redactionPlan());
        canvas->setSelectedDetectionId(selected);
        layout->addWidget(canvas, 1);
        layout->addWidget(look::makeDivider(Qt::Vertical));
        auto *panel = boundFindings(review.controller);
        layout->addWidget(panel);
        framed(&frame, palette, kWindowMinimum);
        ok &= save(&frame, outDir + QStringLiteral("/window-%1-review-minimum.png").arg(paletteName));
    }
    return ok;
}

} // namespace panes_gallery
