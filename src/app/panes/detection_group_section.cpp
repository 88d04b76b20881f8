#include "app/panes/detection_group_section.h"

#include "app/kit/look.h"
#include "app/kit/plain_button.h"
#include "app/kit/symbol_view.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace velmora {

namespace {

bool allActive(const FindingGroup &group)
{
    return std::all_of(group.entries.begin(), group.entries.end(),
                       [](const RedactionPlanEntry &entry) { return entry.isActive; });
}

} // namespace

QString DetectionGroupSection::symbolName(FindingCategory category)
{
    switch (category) {
    case FindingCategory::secrets: return QStringLiteral("key");
    case FindingCategory::emails: return QStringLiteral("envelope");
    case FindingCategory::people: return QStringLiteral("person.crop.rectangle");
    case FindingCategory::visualCodes: return QStringLiteral("qrcode.viewfinder");
    case FindingCategory::customerAccount: return QStringLiteral("person.text.rectangle");
    case FindingCategory::infrastructure: return QStringLiteral("network");
    case FindingCategory::payments: return QStringLiteral("creditcard");
    case FindingCategory::phones: return QStringLiteral("phone");
    case FindingCategory::review: return QStringLiteral("exclamationmark.bubble");
    }
    return {};
}

QString DetectionGroupSection::groupButtonTitle(const FindingGroup &group)
{
    return allActive(group) ? QObject::tr("Make visible") : QObject::tr("Redact");
}

DetectionGroupSection::DetectionGroupSection(FindingCategory category, const FindingRowActions &actions,
                                             QWidget *parent)
    : QWidget(parent), m_group{category, {}}, m_actions(actions)
{
    const QFont headerFont = look::font(look::TextStyle::callout, QFont::DemiBold);
    auto *symbol = new SymbolView(symbolName(category), QFontInfo(headerFont).pixelSize(), look::secondary);
    m_headerTitle = makeTextLabel(QString(), headerFont, look::secondary);
    m_groupButton = new PlainButton(QString(), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_groupButton->setObjectName(QStringLiteral("toggle-%1-findings-button").arg(rawValue(category)));
    connect(m_groupButton, &QPushButton::clicked, this, [this] {
        QList<QUuid> ids;
        for (const RedactionPlanEntry &entry : m_group.entries)
            ids.append(entry.id());
        if (m_actions.setGroupActive)
            m_actions.setGroupActive(!allActive(m_group), ids);
    });

    // The rows are placed below the header by hand, so the header is a widget of its own.
    m_header = new QWidget(this);
    auto *header = new QHBoxLayout(m_header);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    header->addWidget(symbol, 0, Qt::AlignVCenter);
    header->addWidget(m_headerTitle, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_groupButton, 0, Qt::AlignVCenter);
}

void DetectionGroupSection::setGroup(const FindingGroup &group)
{
    m_group = group;
    m_headerTitle->setText(QStringLiteral("%1 - %2").arg(title(group.category)).arg(group.entries.size()));
    m_groupButton->setText(groupButtonTitle(group));
    m_groupButton->updateGeometry();
}

int DetectionGroupSection::headerHeight() const
{
    return m_header->sizeHint().height();
}

QWidget *DetectionGroupSection::groupButton() const
{
    return m_groupButton;
}

QList<DetectionRow *> DetectionGroupSection::rows() const
{
    QList<DetectionRow *> placed;
    for (DetectionRow *row : findChildren<DetectionRow *>(Qt::FindDirectChildrenOnly)) {
        if (!row->isHidden())
            placed.append(row);
    }
    std::sort(placed.begin(), placed.end(), [](const QWidget *a, const QWidget *b) { return a->y() < b->y(); });
    return placed;
}

void DetectionGroupSection::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_header->setGeometry(0, 0, width(), headerHeight());
}

} // namespace velmora
