#pragma once

#include <QWidget>

namespace velmora {

// One state of the legend: a swatch drawn as the canvas draws that state, its title
// and a sentence on what it means.
class FindingStateLegendItem : public QWidget
{
    Q_OBJECT
public:
    enum class Style { check, redact, visible };

    FindingStateLegendItem(const QString &title, const QString &detail, Style style, QWidget *parent = nullptr);

    Style style() const { return m_style; }

private:
    Style m_style;
};

// The legend of the three finding states (Check, Redact, Visible); the compact form
// only sets its rows closer together.
class FindingStatesLegendView : public QWidget
{
    Q_OBJECT
public:
    explicit FindingStatesLegendView(bool isCompact, QWidget *parent = nullptr);
};

} // namespace velmora
