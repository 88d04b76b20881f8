#include "core/redaction/redaction_plan.h"

#include "core/redaction/detection_adjustments.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr double kDuplicateOverlap = 0.82;
constexpr double kMinimumManualSize = 0.002;

// Reading order: the higher bottom edge first; only an exactly equal bottom edge
// falls back to left before right. There is deliberately no tolerance band.
bool readsBefore(const NormRect &a, const NormRect &b)
{
    const NormRect sa = a.standardized();
    const NormRect sb = b.standardized();
    if (sa.minY() == sb.minY())
        return sa.minX() < sb.minX();
    return sa.minY() > sb.minY();
}

int precisionRank(DetectionBoundsPrecision precision)
{
    switch (precision) {
    case DetectionBoundsPrecision::manual: return 5;
    case DetectionBoundsPrecision::tight: return 4;
    case DetectionBoundsPrecision::lineFallback: return 2;
    case DetectionBoundsPrecision::unknown: return 1;
    }
    return 1;
}

// Labels compare by Unicode scalar values of their canonical (NFC) form, not by
// UTF-16 units, which order characters beyond the basic plane differently.
bool labelSortsFirst(const QString &a, const QString &b)
{
    const QList<uint> sa = a.normalized(QString::NormalizationForm_C).toUcs4();
    const QList<uint> sb = b.normalized(QString::NormalizationForm_C).toUcs4();
    return std::lexicographical_compare(sa.cbegin(), sa.cend(), sb.cbegin(), sb.cend());
}

// Which of two near-duplicates survives: the better box, then the surer finding,
// then the tighter box, then the label.
bool hasPriority(const Detection &a, const Detection &b)
{
    const int rankA = precisionRank(a.boundsPrecision);
    const int rankB = precisionRank(b.boundsPrecision);
    if (rankA != rankB)
        return rankA > rankB;
    if (a.confidence != b.confidence)
        return a.confidence > b.confidence;
    const double areaA = a.normalizedBounds.area();
    const double areaB = b.normalizedBounds.area();
    if (areaA != areaB)
        return areaA < areaB;
    return labelSortsFirst(a.label, b.label);
}

bool rangesOverlap(const TextRange &a, const TextRange &b)
{
    return a.location < b.end() && b.location < a.end();
}

bool isNearDuplicate(const Detection &candidate, const Detection &accepted)
{
    const bool bothRanged = candidate.matchedRange && accepted.matchedRange;
    // Different characters of one line are different findings, however their boxes overlap.
    if (bothRanged && !rangesOverlap(*candidate.matchedRange, *accepted.matchedRange))
        return false;
    const NormRect a = candidate.normalizedBounds.standardized();
    const NormRect b = accepted.normalizedBounds.standardized();
    const NormRect overlap = a.intersected(b);
    if (overlap.isEmpty())
        return false;
    // For two findings of the same text the smaller box decides, so that a tight box
    // replaces the whole-line box. Otherwise the survivor must cover the dropped box
    // almost whole: a small box inside a large one (a manual box on a face, a text
    // finding inside a QR code) must not leave the rest of the large one unfilled.
    const double base = bothRanged ? std::min(a.area(), b.area()) : a.area();
    return base > 0 && overlap.area() / base >= kDuplicateOverlap;
}

// A text read twice (over two grounds, or on two pages of an image that sees through)
// may give two findings whose tight boxes differ, where one reading saw more of the value
// than the other: the one kept covers the other's box too, so that no part of the value
// is left readable.
bool coversForItsDuplicate(const Detection &kept, const Detection &duplicate)
{
    return kept.matchedRange && duplicate.matchedRange && kept.boundsPrecision == DetectionBoundsPrecision::tight
        && duplicate.boundsPrecision == DetectionBoundsPrecision::tight;
}

} // namespace

RedactionPlan::RedactionPlan(const QList<Detection> &detections, const QList<Detection> &visualDetections,
                             const QList<Detection> &manualDetections)
{
    QList<Detection> candidates = detections + visualDetections + manualDetections;
    std::stable_sort(candidates.begin(), candidates.end(), hasPriority);

    QList<Detection> accepted;
    for (const Detection &candidate : std::as_const(candidates)) {
        const auto kept = std::find_if(accepted.begin(), accepted.end(), [&](const Detection &kept) {
            return isNearDuplicate(candidate, kept);
        });
        if (kept == accepted.end())
            accepted.append(candidate);
        else if (coversForItsDuplicate(*kept, candidate))
            kept->normalizedBounds = kept->normalizedBounds.united(candidate.normalizedBounds);
    }
    std::stable_sort(accepted.begin(), accepted.end(), [](const Detection &a, const Detection &b) {
        return readsBefore(a.normalizedBounds, b.normalizedBounds);
    });

    m_entries.reserve(accepted.size());
    for (const Detection &detection : std::as_const(accepted))
        m_entries.append({detection, detection.suggestedAction != DetectionSuggestedAction::ignore});
}

const RedactionPlan &RedactionPlan::empty()
{
    static const RedactionPlan plan;
    return plan;
}

QList<Detection> RedactionPlan::detections() const
{
    QList<Detection> result;
    result.reserve(m_entries.size());
    for (const RedactionPlanEntry &entry : m_entries)
        result.append(entry.detection);
    return result;
}

QList<Detection> RedactionPlan::activeDetections() const
{
    QList<Detection> result;
    for (const RedactionPlanEntry &entry : m_entries) {
        if (entry.isActive)
            result.append(entry.detection);
    }
    return result;
}

QList<Detection> RedactionPlan::manualDetections() const
{
    QList<Detection> result;
    for (const RedactionPlanEntry &entry : m_entries) {
        if (entry.detection.source == DetectionSource::user)
            result.append(entry.detection);
    }
    return result;
}

void RedactionPlan::setActive(bool isActive, const QUuid &id)
{
    const qsizetype index = indexOf(id);
    if (index >= 0)
        m_entries[index].isActive = isActive;
}

RedactionPlan RedactionPlan::settingActive(bool isActive, const QUuid &id) const
{
    RedactionPlan copy = *this;
    copy.setActive(isActive, id);
    return copy;
}

std::optional<QUuid> RedactionPlan::addManualRedaction(const QString &label, const QString &reason,
                                                      const NormRect &bounds)
{
    const auto sanitized = sanitizedManualBounds(bounds);
    if (!sanitized)
        return std::nullopt;
    const Detection detection = manualRedaction(label, reason, *sanitized);
    m_entries.append({detection, true});
    sortInReadingOrder();
    return detection.id;
}

bool RedactionPlan::updateBounds(const QUuid &id, const NormRect &bounds)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return false;
    const auto sanitized = sanitizedManualBounds(bounds);
    if (!sanitized)
        return false;
    m_entries[index].detection = withAdjustedBounds(m_entries[index].detection, *sanitized);
    sortInReadingOrder();
    return true;
}

bool RedactionPlan::updateManualRedactionBounds(const QUuid &id, const NormRect &bounds)
{
    const qsizetype index = indexOf(id);
    if (index < 0 || m_entries[index].detection.source != DetectionSource::user)
        return false;
    const auto sanitized = sanitizedManualBounds(bounds);
    if (!sanitized)
        return false;
    m_entries[index].detection.normalizedBounds = *sanitized;
    sortInReadingOrder();
    return true;
}

bool RedactionPlan::resetBounds(const QUuid &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0 || !m_entries[index].detection.hasAdjustedBounds())
        return false;
    m_entries[index].detection = withOriginalBounds(m_entries[index].detection);
    sortInReadingOrder();
    return true;
}

bool RedactionPlan::removeEntry(const QUuid &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0 || m_entries[index].detection.source != DetectionSource::user)
        return false;
    m_entries.removeAt(index);
    return true;
}

std::optional<NormRect> RedactionPlan::sanitizedManualBounds(const NormRect &bounds)
{
    const NormRect r = bounds.standardized();
    const auto clamp = [](double value) { return std::clamp(value, 0.0, 1.0); };
    const double minX = clamp(r.minX());
    const double minY = clamp(r.minY());
    const double width = clamp(r.maxX()) - minX;
    const double height = clamp(r.maxY()) - minY;
    // Written so that a NaN fails the test and is rejected.
    if (!(width >= kMinimumManualSize && height >= kMinimumManualSize))
        return std::nullopt;
    return NormRect(minX, minY, width, height);
}

qsizetype RedactionPlan::indexOf(const QUuid &id) const
{
    const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const RedactionPlanEntry &entry) { return entry.id() == id; });
    return found == m_entries.cend() ? -1 : found - m_entries.cbegin();
}

void RedactionPlan::sortInReadingOrder()
{
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const RedactionPlanEntry &a, const RedactionPlanEntry &b) {
        return readsBefore(a.detection.normalizedBounds, b.detection.normalizedBounds);
    });
}

} // namespace velmora
