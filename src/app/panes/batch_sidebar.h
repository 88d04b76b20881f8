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
class ReviewController;
class SegmentedPicker;
class VelmoraButton;

// The left-hand column while a batch of two or more images is loaded: scan and review
// progress, the review-state filter, the finding-type chips, previous and next, and the
// queue of visible images (or a note that none matches). It draws the controller's
// state on every change and calls its operations. Up and Down anywhere in the column
// walk the visible images; in the queue itself the queue handles them.
//
// Its padding (18), background and width (260) are its own; the main window shows it
// only while the batch holds at least two images, followed by a divider.
class BatchSidebar : public QWidget
{
    Q_OBJECT
public:
    explicit BatchSidebar(ReviewController &controller, QWidget *parent = nullptr);

    BatchQueueView *queue() const { return m_queue; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildProgressHeader();
    QWidget *buildCategoryFilter();
    void refresh();
    void refreshCategoryChips(const QList<BatchCategoryCount> &counts);

    ReviewController &m_controller;
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
