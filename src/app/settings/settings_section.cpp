#include "app/settings/settings_section.h"

#include "app/kit/accessible_value.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/rounded_surface.h"
#include "app/settings/settings_section_help_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

SettingsSection::SettingsSection(const QString &title, const QString &help, QWidget *parent) : QWidget(parent)
{
    auto *header = makeTextLabel(title, look::font(look::TextStyle::callout, QFont::DemiBold), look::secondary);
    auto *group = new RoundedSurface(8);
    group->setFill([](const QPalette &p) { return p.color(QPalette::Base); });
    group->setBorder([](const QPalette &p) { return look::divider(p); }, 1);
    m_rows = new QVBoxLayout(group);
    m_rows->setContentsMargins(14, 10, 14, 12);
    m_rows->setSpacing(10);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(header);
    layout->addWidget(group);
    setAccessibleName(title);

    if (!help.isEmpty()) {
        auto *row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(new SettingsSectionHelpButton(title, help));
        m_rows->addLayout(row);
    }
}

void SettingsSection::addRow(QWidget *row)
{
    m_rows->addWidget(row);
}

void SettingsSection::addRow(QLayout *row)
{
    m_rows->addLayout(row);
}

QLabel *makeSettingsCaption(const QString &text, const QString &identifier, QWidget *parent)
{
    QLabel *label = makeTextLabel(text, look::font(look::TextStyle::caption), look::secondary, true, parent);
    label->setObjectName(identifier);
    return label;
}

QLabel *makeSettingsStatusLine(const QString &identifier, QWidget *parent)
{
    QLabel *line = makeSettingsCaption(QString(), identifier, parent);
    setAccessibleValue(line, QString());
    return line;
}

void setSettingsStatus(QLabel *line, const QString &text)
{
    line->setText(text);
    line->setAccessibleName(text);
    setAccessibleValue(line, text);
}

} // namespace velmora
