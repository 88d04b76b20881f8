#pragma once

#include "app/kit/capsule_label.h"
#include "app/panes/confidence_summary.h"

namespace velmora {

// The capsule that tells, in one word and one symbol, how far a finding can be trusted
// and whether it will be masked.
class ConfidenceChip : public CapsuleLabel
{
    Q_OBJECT
public:
    explicit ConfidenceChip(const ConfidenceSummary &summary, QWidget *parent = nullptr);

    void setSummary(const ConfidenceSummary &summary);
    const ConfidenceSummary &summary() const { return m_summary; }

private:
    ConfidenceSummary m_summary;
};

// The capsule of a finding whose box the user moved or resized.
class AdjustedChip : public CapsuleLabel
{
    Q_OBJECT
public:
    explicit AdjustedChip(QWidget *parent = nullptr);
};

} // namespace velmora
