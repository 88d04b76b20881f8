#pragma once

#include "app/help/velmora_guide_row.h"
#include "app/kit/rounded_surface.h"

#include <QList>

#include <functional>

namespace velmora {

// The getting-started card: a header, the six steps and, in the compact form of the
// empty state, a line pointing to Help. With a dismiss action it carries a "Hide"
// button that only calls it: the card's owner decides what hiding means.
class GettingStartedChecklistView : public RoundedSurface
{
    Q_OBJECT
public:
    GettingStartedChecklistView(bool isCompact, std::function<void()> onDismiss, QWidget *parent = nullptr);

    bool isCompact() const { return m_isCompact; }
    const QList<VelmoraGuideRow *> &rows() const { return m_rows; }

private:
    bool m_isCompact;
    std::function<void()> m_onDismiss;
    QList<VelmoraGuideRow *> m_rows;
};

} // namespace velmora
