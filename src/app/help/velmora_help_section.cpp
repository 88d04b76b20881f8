#include "app/help/velmora_help_section.h"

#include "app/kit/look.h"
#include "app/kit/symbol_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {
constexpr int kBulletEdge = 5;
constexpr QSize kBulletFrame{16, 18};
} // namespace

VelmoraHelpSection::VelmoraHelpSection(const QStringList &items, QWidget *parent)
    : QWidget(parent), m_items(items)
{
    m_items.removeDuplicates();
    auto *list = new QVBoxLayout(this);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(8);
    for (const QString &item : std::as_const(m_items)) {
        auto *bullet = new SymbolView(QStringLiteral("circle.fill"), kBulletEdge, look::secondary);
        bullet->setFrameSize(kBulletFrame);
        QLabel *text = makeTextLabel(item, look::font(look::TextStyle::callout), look::secondary, true);
        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        row->addWidget(bullet, 0, Qt::AlignTop);
        row->addWidget(text, 1, Qt::AlignTop);
        list->addLayout(row);
    }
}

} // namespace velmora
