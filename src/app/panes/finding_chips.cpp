#include "app/panes/finding_chips.h"

#include "app/kit/look.h"

namespace velmora {

ConfidenceChip::ConfidenceChip(const ConfidenceSummary &summary, QWidget *parent)
    : CapsuleLabel(summary.label, look::font(look::TextStyle::caption, QFont::DemiBold), parent)
{
    setPadding(8, 4);
    setSummary(summary);
}

void ConfidenceChip::setSummary(const ConfidenceSummary &summary)
{
    m_summary = summary;
    setText(summary.label);
    setSymbol(summary.systemImage);
    setColors([summary](const QPalette &p) { return summary.foregroundColor(p); },
              [summary](const QPalette &p) { return summary.backgroundColor(p); });
}

AdjustedChip::AdjustedChip(QWidget *parent)
    : CapsuleLabel(QObject::tr("Adjusted"), look::font(look::TextStyle::caption, QFont::DemiBold), parent)
{
    setPadding(8, 4);
    setSymbol(QStringLiteral("slider.horizontal.3"));
    setColors(look::secondary, [](const QPalette &p) { return p.color(QPalette::Base); });
    setAccessibleName(QObject::tr("Bounds adjusted"));
}

} // namespace velmora
