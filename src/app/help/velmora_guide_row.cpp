#include "app/help/velmora_guide_row.h"

#include "app/kit/look.h"
#include "app/kit/symbol_view.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {
constexpr int kSymbolColumnWidth = 26;
} // namespace

VelmoraGuideRow::VelmoraGuideRow(const VelmoraGuideItem &item, bool showsDetail, QWidget *parent)
    : RoundedSurface(8, parent), m_item(item)
{
    setObjectName(item.accessibilityID);
    setAccessibleName(showsDetail ? item.title + QStringLiteral(", ") + item.detail : item.title);
    setFill([](const QPalette &p) { return p.color(QPalette::Base); });

    const QFont symbolFont = look::font(look::TextStyle::title3, QFont::DemiBold);
    const int edge = QFontInfo(symbolFont).pixelSize();
    auto *symbol = new SymbolView(item.systemImage, edge, look::accent);
    symbol->setFrameSize(QSize(kSymbolColumnWidth, edge));

    auto *texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->setContentsMargins(0, 0, 0, 0);
    m_title = makeTextLabel(item.title, look::font(look::TextStyle::callout, QFont::DemiBold), look::primary, true);
    texts->addWidget(m_title);
    if (showsDetail) {
        m_detail = makeTextLabel(item.detail, look::font(look::TextStyle::caption), look::secondary, true);
        texts->addWidget(m_detail);
    }

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    row->addWidget(symbol, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
}

} // namespace velmora
