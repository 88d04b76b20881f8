#include "app/panes/detection_group_section.h"

#include "app/kit/look.h"
#include "app/kit/plain_button.h"
#include "app/kit/symbol_view.h"
#include "app/panes/keyed_widgets.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSet>
#include <QVBoxLayout>

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

    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(symbol, 0, Qt::AlignVCenter);
    header->addWidget(m_headerTitle, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_groupButton, 0, Qt::AlignVCenter);

    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setSpacing(8);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(header);
    layout->addLayout(m_rowsLayout);
}

void DetectionGroupSection::setGroup(const FindingGroup &group, const std::optional<QUuid> &selectedDetectionID)
{
    m_group = group;
    m_headerTitle->setText(QStringLiteral("%1 - %2").arg(title(group.category)).arg(group.entries.size()));
    m_groupButton->setText(groupButtonTitle(group));
    m_groupButton->updateGeometry();

    QSet<QUuid> listed;
    for (qsizetype i = 0; i < group.entries.size(); ++i) {
        const RedactionPlanEntry &entry = group.entries.at(i);
        listed.insert(entry.id());
        DetectionRow *row = m_rows.value(entry.id());
        if (!row) {
            row = new DetectionRow(m_actions, this);
            m_rows.insert(entry.id(), row);
        }
        row->setEntry(entry, selectedDetectionID == entry.id());
        // Keeps the layout in plan order.
        showAt(m_rowsLayout, row, int(i));
    }
    dropUnlisted(m_rows, listed, m_rowsLayout);
}

QList<DetectionRow *> DetectionGroupSection::rows() const
{
    QList<DetectionRow *> ordered;
    for (int i = 0; i < m_rowsLayout->count(); ++i) {
        if (QWidget *widget = m_rowsLayout->itemAt(i)->widget())
            ordered.append(static_cast<DetectionRow *>(widget)); // the layout holds rows only
    }
    return ordered;
}

} // namespace velmora
