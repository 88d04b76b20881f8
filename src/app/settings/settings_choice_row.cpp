#include "app/settings/settings_choice_row.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace velmora {

QComboBox *makeSettingsChoice(const QString &identifier)
{
    auto *choice = new QComboBox;
    choice->setObjectName(identifier);
    choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return choice;
}

QLayout *makeSettingsChoiceRow(const QString &label, QComboBox *choice)
{
    auto *title = makeTextLabel(label, look::font(look::TextStyle::body), look::primary);
    title->setBuddy(choice);
    choice->setAccessibleName(label);
    auto *row = new QHBoxLayout;
    row->addWidget(title);
    row->addStretch(1);
    row->addWidget(choice);
    return row;
}

} // namespace velmora
