#pragma once

#include "core/detection/detector_category.h"
#include "core/policy/redaction_policy_disposition.h"

#include <QWidget>

namespace velmora {

class SegmentedPicker;

// The three-way Redact / Review / Off picker of one detector category. The tooltip and
// the accessible value follow the selection; choosing a segment only reports it.
class DetectorCategoryDispositionControl : public QWidget
{
    Q_OBJECT
public:
    explicit DetectorCategoryDispositionControl(DetectorCategory category, QWidget *parent = nullptr);

    void setDisposition(RedactionPolicyDisposition disposition);
    RedactionPolicyDisposition disposition() const { return m_disposition; }
    SegmentedPicker *picker() const { return m_picker; }

signals:
    void dispositionChosen(velmora::RedactionPolicyDisposition disposition);

private:
    SegmentedPicker *m_picker = nullptr;
    RedactionPolicyDisposition m_disposition = RedactionPolicyDisposition::autoRedact;
};

} // namespace velmora
