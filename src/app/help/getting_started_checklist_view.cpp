#include "app/help/getting_started_checklist_view.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/plain_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

GettingStartedChecklistView::GettingStartedChecklistView(bool isCompact, std::function<void()> onDismiss,
                                                         QWidget *parent)
    : RoundedSurface(8, parent), m_isCompact(isCompact), m_onDismiss(std::move(onDismiss))
{
    setObjectName(QStringLiteral("getting-started-checklist"));
    setFill([](const QPalette &p) { return p.color(QPalette::Base); });
    setBorder([](const QPalette &p) { return look::withOpacity(look::secondary(p), 0.14); }, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);

    auto *header = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    titles->addWidget(makeTextLabel(tr("Getting Started"), look::font(look::TextStyle::headline, QFont::Bold),
                                    look::primary));
    titles->addWidget(makeTextLabel(tr("A quick path to the first safe share."), look::font(look::TextStyle::caption),
                                    look::secondary));
    header->addLayout(titles, 1);
    if (m_onDismiss) {
        auto *hide = new PlainButton(tr("Hide"), look::font(look::TextStyle::caption, QFont::DemiBold));
        hide->setObjectName(QStringLiteral("getting-started-dismiss-button"));
        connect(hide, &QPushButton::clicked, this, [this] { m_onDismiss(); });
        header->addWidget(hide, 0, Qt::AlignTop);
    }
    layout->addLayout(header);

    auto *rows = new QVBoxLayout;
    rows->setSpacing(8);
    for (const VelmoraGuideItem &item : gettingStartedChecklistItems()) {
        auto *row = new VelmoraGuideRow(item, !isCompact);
        m_rows.append(row);
        rows->addWidget(row);
    }
    layout->addLayout(rows);

    if (isCompact) {
        QLabel *more = makeTextLabel(tr("More in Help: custom terms, shortcut setup, and optional protection modes."),
                                     look::font(look::TextStyle::caption), look::secondary, true);
        more->setObjectName(QStringLiteral("getting-started-more-help-copy"));
        layout->addWidget(more);
    }
}

} // namespace velmora
