#pragma once

#include "app/review/review_document.h"
#include "app/review/review_model_enums.h"

#include <QList>
#include <QUuid>

#include <functional>
#include <optional>

namespace velmora {

// The images loaded together, in queue order, with the one selected for review, the
// filters that choose which of them the sidebar lists, and whether a batch export takes
// the clean ones too. The documents keep their own state; the batch only finds them.
class ReviewBatch
{
public:
    const QList<ReviewDocument> &items() const { return m_items; }
    /// The document with the id; null when there is none.
    const ReviewDocument *document(const QUuid &id) const;
    ReviewDocument *document(const QUuid &id);
    /// The selected document; null when none is.
    const ReviewDocument *current() const;
    ReviewDocument *current();
    const std::optional<QUuid> &selectedID() const { return m_selectedID; }
    bool isCurrent(const QUuid &id) const { return m_selectedID == id; }
    BatchReviewFilter filter() const { return m_filter; }
    const std::optional<FindingCategory> &categoryFilter() const { return m_categoryFilter; }
    bool includesCleanExports() const { return m_includesCleanExports; }

    /// The documents become the batch with none selected; the status filter goes back
    /// to all and clean images are exported again.
    void replace(QList<ReviewDocument> items);
    void append(ReviewDocument document);
    void forEach(const std::function<void(ReviewDocument &)> &change);
    /// Selects a document of the batch; another id changes nothing.
    void select(const QUuid &id);

    /// Choosing "Clean" clears the finding-type filter.
    void setFilter(BatchReviewFilter filter);
    /// Choosing a type while "Clean" is chosen switches to "Findings"; nothing means all types.
    void setCategoryFilter(std::optional<FindingCategory> category);
    void setIncludesCleanExports(bool includes) { m_includesCleanExports = includes; }

    /// The documents that pass the status filter and the type filter, in batch order.
    QList<ReviewDocument> visibleItems() const;
    /// The visible document `step` places from the selected one, wrapping at both ends;
    /// nothing with fewer than two visible.
    std::optional<QUuid> adjacentVisibleItem(int step) const;
    /// The first visible document when the selected one is hidden by the filters.
    std::optional<QUuid> firstVisibleIfSelectionHidden() const;

private:
    QList<ReviewDocument> m_items;
    std::optional<QUuid> m_selectedID;
    BatchReviewFilter m_filter = BatchReviewFilter::all;
    std::optional<FindingCategory> m_categoryFilter;
    bool m_includesCleanExports = true;
};

} // namespace velmora
