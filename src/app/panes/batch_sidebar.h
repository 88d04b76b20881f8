#pragma once

#include "app/review/review_queries.h"

#include <QList>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace velmora {

class BatchCategoryChip;
class BatchQueueView;
class FlowLayout;
class SegmentedPicker;
class VelmoraButton;

/// What the batch column shows: the batch's counts, its filters and the images they let through.
struct BatchSidebarState
{
    int imageCount = 0;
    int processedCount = 0;    ///< Scanned or failed.
    int withFindingsCount = 0;
    int cleanCount = 0;
    int reviewedWithFindingsCount = 0;
    bool isChecking = false;
    BatchReviewFilter filter = BatchReviewFilter::all;
    QList<BatchCategoryCount> categories;
    std::optional<FindingCategory> category;
    QList<BatchReviewItem> visibleItems;
    std::optional<QUuid> selectedItem;
};

// The left-hand column while a batch of two or more images is loaded: scan and review
// progress, the review-state filter, the finding-type chips, previous and next, and the
// queue of visible images (or a note that none matches). It draws the state it is shown
// and reports the user's intents. Up and Down anywhere in the column walk the visible
// images; in the queue itself the queue handles them.
//
// Its padding (18), background and width (260) are its own; the main window shows it
// only while the batch holds at least two images, followed by a divider.
class BatchSidebar : public QWidget
{
    Q_OBJECT
public:
    explicit BatchSidebar(QWidget *parent = nullptr);

    void showState(const BatchSidebarState &state);
    BatchQueueView *queue() const { return m_queue; }

signals:
    void filterChosen(BatchReviewFilter filter);
    /// A finding-type chip; nothing for "All".
    void categoryChosen(std::optional<FindingCategory> category);
    /// Previous (−1) or next (+1) visible image.
    void adjacentItemRequested(int step);
    /// A card of the queue, by click or by key.
    void itemChosen(const QUuid &itemID);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildProgressHeader();
    QWidget *buildCategoryFilter();
    void refreshCategoryChips(const QList<BatchCategoryCount> &counts);

    QLabel *m_scanLine = nullptr;
    QLabel *m_reviewLine = nullptr;
    QProgressBar *m_progress = nullptr;
    SegmentedPicker *m_filterPicker = nullptr;
    QWidget *m_categoryFilter = nullptr;
    FlowLayout *m_chipsLayout = nullptr;
    QList<BatchCategoryChip *> m_chips; ///< "All" first, then one per category count.
    QList<BatchCategoryCount> m_chipCounts;
    QLabel *m_categorySummary = nullptr;
    VelmoraButton *m_previous = nullptr;
    VelmoraButton *m_next = nullptr;
    BatchQueueView *m_queue = nullptr;
    QLabel *m_emptyQueue = nullptr;
};

} // namespace velmora
