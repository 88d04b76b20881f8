#pragma once

#include "core/detection/detection.h"
#include "core/support/raw_enum.h"

#include <QColor>
#include <QPalette>
#include <QString>

namespace velmora {

/// The colour pair of a confidence chip.
enum class ConfidenceTone {
    neutral, ///< Secondary text on the control background ("Visible", "Medium").
    warning, ///< Orange on a faint orange ("Check", "Check bounds").
    high,    ///< Green on a faint green ("High").
};

// What a finding's confidence chip says: one word, one symbol and its colours, from
// how far the finding can be trusted and whether it will be masked. The three warning
// tests are the needs-review rule, so every active entry under the "Check" filter
// reads "Check" or "Check bounds".
struct ConfidenceSummary
{
    QString label;
    QString systemImage;
    ConfidenceTone tone = ConfidenceTone::neutral;

    static ConfidenceSummary make(const Detection &detection, bool isActive);

    QColor foregroundColor(const QPalette &palette) const;
    QColor backgroundColor(const QPalette &palette) const;

    friend bool operator==(const ConfidenceSummary &, const ConfidenceSummary &) = default;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ConfidenceTone,
    {velmora::ConfidenceTone::neutral, "neutral"}, {velmora::ConfidenceTone::warning, "warning"},
    {velmora::ConfidenceTone::high, "high"});
