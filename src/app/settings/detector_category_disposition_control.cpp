#include "app/settings/detector_category_disposition_control.h"

#include "app/kit/accessible_value.h"
#include "app/kit/segmented_picker.h"

#include <QHBoxLayout>

namespace velmora {

namespace {

constexpr int controlWidth = 220;

} // namespace

DetectorCategoryDispositionControl::DetectorCategoryDispositionControl(DetectorCategory category, QWidget *parent)
    : QWidget(parent)
{
    const QString identifier = QStringLiteral("detector-category-disposition-") + rawValue(category);
    setObjectName(identifier);
    setAccessibleValue(this, title(m_disposition));
    setAccessibleName(tr("Disposition"));

    QList<SegmentedPicker::Segment> segments;
    for (const RedactionPolicyDisposition disposition : allCases<RedactionPolicyDisposition>())
        segments.append({title(disposition), identifier + QLatin1Char('-') + rawValue(disposition)});
    m_picker = new SegmentedPicker(segments);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picker);
    setFixedWidth(controlWidth);
    setDisposition(m_disposition);

    connect(m_picker, &SegmentedPicker::segmentChosen, this, [this](int index) {
        emit dispositionChosen(allCases<RedactionPolicyDisposition>()[std::size_t(index)]);
    });
}

void DetectorCategoryDispositionControl::setDisposition(RedactionPolicyDisposition disposition)
{
    m_disposition = disposition;
    const auto cases = allCases<RedactionPolicyDisposition>();
    m_picker->setCurrentIndex(int(std::find(cases.begin(), cases.end(), disposition) - cases.begin()));
    setToolTip(helpText(disposition));
    setAccessibleValue(this, title(disposition));
}

} // namespace velmora
