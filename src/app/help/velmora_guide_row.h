#pragma once

#include "app/help/velmora_guide_item.h"
#include "app/kit/rounded_surface.h"

class QLabel;

namespace velmora {

// One guide item drawn as a card: its symbol in the accent colour in a fixed-width
// column (so titles of successive rows line up), the title and, when asked, the detail.
// Found by the item's identifier.
class VelmoraGuideRow : public RoundedSurface
{
    Q_OBJECT
public:
    VelmoraGuideRow(const VelmoraGuideItem &item, bool showsDetail, QWidget *parent = nullptr);

    const VelmoraGuideItem &item() const { return m_item; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *detailLabel() const { return m_detail; } ///< Null when the row shows no detail.

private:
    VelmoraGuideItem m_item;
    QLabel *m_title = nullptr;
    QLabel *m_detail = nullptr;
};

} // namespace velmora
