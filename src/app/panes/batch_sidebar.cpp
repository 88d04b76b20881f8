#include "app/panes/batch_sidebar.h"

#include "app/kit/flow_layout.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/segmented_picker.h"
#include "app/kit/velmora_button.h"
#include "app/panes/batch_category_chip.h"
#include "app/panes/batch_queue_view.h"
#include "app/review/review_status_text.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kSidebarWidth = 260;
constexpr int kPadding = 18;

template <typename E>
int caseIndex(E value)
{
    const auto cases = allCases<E>();
    return int(std::find(cases.begin(), cases.end(), value) - cases.begin());
}

} // namespace

BatchSidebar::BatchSidebar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("batch-queue-sidebar"));
    setFixedWidth(kSidebarWidth);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);

    QList<SegmentedPicker::Segment> segments;
    for (BatchReviewFilter filter : allCases<BatchReviewFilter>())
        segments.append({title(filter), QStringLiteral("batch-filter-") + rawValue(filter)});
    m_filterPicker = new SegmentedPicker(segments);
    m_filterPicker->setObjectName(QStringLiteral("batch-filter-picker"));
    connect(m_filterPicker, &SegmentedPicker::segmentChosen, this,
            [this](int index) { emit filterChosen(allCases<BatchReviewFilter>()[index]); });

    m_previous = makeVelmoraButton(tr("Prev"), QStringLiteral("chevron.up"), VelmoraControlTone::secondary, std::nullopt,
                                   QStringLiteral("previous-batch-image-button"));
    m_previous->setToolTip(tr("Select the previous image in the visible batch list. (Up Arrow)"));
    m_next = makeVelmoraButton(tr("Next"), QStringLiteral("chevron.down"), VelmoraControlTone::secondary, std::nullopt,
                               QStringLiteral("next-batch-image-button"));
    m_next->setToolTip(tr("Select the next image in the visible batch list. (Down Arrow)"));
    connect(m_previous, &QPushButton::clicked, this, [this] { emit adjacentItemRequested(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { emit adjacentItemRequested(1); });
    auto *navigation = new QHBoxLayout;
    navigation->setSpacing(8);
    navigation->addWidget(m_previous);
    navigation->addWidget(m_next);
    navigation->addStretch(1);

    m_queue = new BatchQueueView;
    m_queue->setOnSelect([this](const QUuid &id) { emit itemChosen(id); });
    m_emptyQueue = makeTextLabel(tr("No images match this filter."), look::font(look::TextStyle::caption), look::secondary, true);
    m_emptyQueue->setObjectName(QStringLiteral("batch-empty-filter-state"));
    m_emptyQueue->setContentsMargins(0, 6, 0, 6);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(14);
    layout->addWidget(buildProgressHeader());
    layout->addWidget(m_filterPicker);
    layout->addWidget(buildCategoryFilter());
    layout->addLayout(navigation);
    layout->addWidget(m_queue, 1);
    layout->addWidget(m_emptyQueue);
    layout->addStretch(0);

    showState({});
}

QWidget *BatchSidebar::buildProgressHeader()
{
    auto *header = new QWidget;
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    layout->addWidget(makeTextLabel(tr("Batch"), look::font(look::TextStyle::headline, QFont::Bold), look::primary));
    m_scanLine = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary, true);
    m_scanLine->setObjectName(QStringLiteral("batch-scan-progress-label"));
    layout->addWidget(m_scanLine);
    m_reviewLine = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary, true);
    m_reviewLine->setObjectName(QStringLiteral("batch-review-progress-label"));
    layout->addWidget(m_reviewLine);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("batch-scan-progress-bar"));
    m_progress->setAccessibleName(tr("Batch scan progress"));
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(6);
    layout->addWidget(m_progress);
    return header;
}

QWidget *BatchSidebar::buildCategoryFilter()
{
    m_categoryFilter = new QWidget;
    m_categoryFilter->setObjectName(QStringLiteral("batch-category-filter-control"));
    auto *layout = new QVBoxLayout(m_categoryFilter);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(makeTextLabel(tr("Finding type"), look::font(look::TextStyle::caption2, QFont::DemiBold), look::secondary));

    // The chips wrap onto further lines: none is ever cut off at the column's edge.
    auto *chips = new QWidget;
    chips->setObjectName(QStringLiteral("batch-category-chips"));
    chips->setToolTip(tr("Review a large folder by finding type, such as Secrets or Customer/account data."));
    m_chipsLayout = new FlowLayout(6, chips);
    layout->addWidget(chips);

    m_categorySummary = makeTextLabel(QString(), look::font(look::TextStyle::caption2), look::secondary, true);
    m_categorySummary->setObjectName(QStringLiteral("batch-category-filter-summary"));
    layout->addWidget(m_categorySummary);
    return m_categoryFilter;
}

void BatchSidebar::refreshCategoryChips(const QList<BatchCategoryCount> &counts)
{
    if (counts == m_chipCounts && !m_chips.isEmpty())
        return;
    m_chipCounts = counts;
    qDeleteAll(m_chips);
    m_chips.clear();
    while (QLayoutItem *item = m_chipsLayout->takeAt(0))
        delete item;

    const auto addChip = [this](const QString &title, std::optional<int> count, std::optional<FindingCategory> category) {
        auto *chip = new BatchCategoryChip(title, count);
        if (category) {
            chip->setObjectName(QStringLiteral("batch-category-filter-") + rawValue(*category));
            chip->setAccessibleName(tr("Filter batch by %1").arg(title));
        } else {
            chip->setObjectName(QStringLiteral("batch-category-filter-all"));
            chip->setAccessibleName(tr("Show all finding types"));
        }
        connect(chip, &QAbstractButton::clicked, this, [this, category] { emit categoryChosen(category); });
        m_chips.append(chip);
        m_chipsLayout->addWidget(chip);
    };
    addChip(tr("All"), std::nullopt, std::nullopt);
    for (const BatchCategoryCount &count : counts)
        addChip(title(count.category), count.findingCount, count.category);
}

void BatchSidebar::showState(const BatchSidebarState &state)
{
    m_scanLine->setText(tr("%1 of %2 scanned - %3 with findings - %4 clean")
                            .arg(state.processedCount).arg(state.imageCount).arg(state.withFindingsCount).arg(state.cleanCount));
    m_reviewLine->setText(
        tr("Reviewed %1 of %2 with findings").arg(state.reviewedWithFindingsCount).arg(state.withFindingsCount));
    m_progress->setVisible(state.isChecking);
    m_progress->setRange(0, qMax(1, state.imageCount));
    m_progress->setValue(state.processedCount);

    m_filterPicker->setCurrentIndex(caseIndex(state.filter));

    const QList<BatchCategoryCount> &counts = state.categories;
    m_categoryFilter->setVisible(!counts.isEmpty());
    refreshCategoryChips(counts);
    for (int i = 0; i < m_chips.size(); ++i) {
        const std::optional<FindingCategory> category =
            i == 0 ? std::nullopt : std::optional<FindingCategory>(m_chipCounts.at(i - 1).category);
        m_chips[i]->setSelected(category == state.category);
    }
    const auto selectedCount = std::find_if(counts.begin(), counts.end(), [&](const BatchCategoryCount &count) {
        return state.category == count.category;
    });
    if (selectedCount != counts.end()) {
        m_categorySummary->setFont(look::font(look::TextStyle::caption2, QFont::Medium));
        m_categorySummary->setText(counted(selectedCount->imageCount, tr("image"), tr("images")) + QStringLiteral(" · ")
                                   + counted(selectedCount->findingCount, tr("finding"), tr("findings")));
    } else {
        m_categorySummary->setFont(look::font(look::TextStyle::caption2, QFont::Normal));
        m_categorySummary->setText(tr("Review by finding type across the folder."));
    }

    const QList<BatchReviewItem> &visible = state.visibleItems;
    m_previous->setEnabled(visible.size() >= 2);
    m_next->setEnabled(visible.size() >= 2);
    m_queue->setVisible(!visible.isEmpty());
    m_emptyQueue->setVisible(visible.isEmpty());
    m_queue->setItems(visible, state.selectedItem);
}

void BatchSidebar::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers blocking = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!(event->modifiers() & blocking) && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        emit adjacentItemRequested(event->key() == Qt::Key_Up ? -1 : 1);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velmora
