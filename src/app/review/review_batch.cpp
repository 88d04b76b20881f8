#include "app/review/review_batch.h"

#include "app/review/finding_queries.h"
#include "app/review/review_walk.h"

#include <algorithm>

namespace velmora {

namespace {

bool holdsCategory(const ReviewDocument &document, FindingCategory category)
{
    const auto &entries = document.redactionPlan().entries();
    return std::any_of(entries.begin(), entries.end(), [category](const RedactionPlanEntry &entry) {
        return findingCategoryContains(category, entry.detection);
    });
}

bool passesFilter(const ReviewDocument &document, BatchReviewFilter filter)
{
    switch (filter) {
    case BatchReviewFilter::all: return true;
    case BatchReviewFilter::findings: return document.hasFindings();
    case BatchReviewFilter::clean: return document.isClean();
    }
    return false;
}

} // namespace

const ReviewDocument *ReviewBatch::document(const QUuid &id) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&id](const ReviewDocument &document) { return document.id() == id; });
    return found == m_items.end() ? nullptr : &*found;
}

ReviewDocument *ReviewBatch::document(const QUuid &id)
{
    return const_cast<ReviewDocument *>(std::as_const(*this).document(id));
}

const ReviewDocument *ReviewBatch::current() const
{
    return m_selectedID ? document(*m_selectedID) : nullptr;
}

ReviewDocument *ReviewBatch::current()
{
    return const_cast<ReviewDocument *>(std::as_const(*this).current());
}

void ReviewBatch::replace(QList<ReviewDocument> items)
{
    m_items = std::move(items);
    m_selectedID.reset();
    m_filter = BatchReviewFilter::all;
    m_includesCleanExports = true;
}

void ReviewBatch::append(ReviewDocument document)
{
    m_items.append(std::move(document));
}

void ReviewBatch::forEach(const std::function<void(ReviewDocument &)> &change)
{
    for (ReviewDocument &document : m_items)
        change(document);
}

void ReviewBatch::select(const QUuid &id)
{
    if (document(id))
        m_selectedID = id;
}

void ReviewBatch::setFilter(BatchReviewFilter filter)
{
    m_filter = filter;
    if (filter == BatchReviewFilter::clean)
        m_categoryFilter.reset();
}

void ReviewBatch::setCategoryFilter(std::optional<FindingCategory> category)
{
    m_categoryFilter = category;
    if (category && m_filter == BatchReviewFilter::clean)
        m_filter = BatchReviewFilter::findings;
}

QList<ReviewDocument> ReviewBatch::visibleItems() const
{
    QList<ReviewDocument> result;
    std::copy_if(m_items.begin(), m_items.end(), std::back_inserter(result), [this](const ReviewDocument &document) {
        return passesFilter(document, m_filter) && (!m_categoryFilter || holdsCategory(document, *m_categoryFilter));
    });
    return result;
}

std::optional<QUuid> ReviewBatch::adjacentVisibleItem(int step) const
{
    const QList<ReviewDocument> visible = visibleItems();
    if (visible.size() < 2)
        return std::nullopt;
    const auto selected = std::find_if(visible.begin(), visible.end(),
                                       [this](const ReviewDocument &document) { return isCurrent(document.id()); });
    const std::optional<qsizetype> current =
        selected == visible.end() ? std::nullopt : std::optional<qsizetype>(selected - visible.begin());
    const std::optional<qsizetype> next = adjacentPosition(visible.size(), current, step);
    return next ? std::optional(visible.at(*next).id()) : std::nullopt;
}

std::optional<QUuid> ReviewBatch::firstVisibleIfSelectionHidden() const
{
    const QList<ReviewDocument> visible = visibleItems();
    const bool selectedIsVisible = std::any_of(visible.begin(), visible.end(),
                                               [this](const ReviewDocument &document) { return isCurrent(document.id()); });
    if (visible.isEmpty() || selectedIsVisible)
        return std::nullopt;
    return visible.first().id();
}

} // namespace velmora
