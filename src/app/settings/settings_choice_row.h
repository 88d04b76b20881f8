#pragma once

#include <QString>

class QComboBox;
class QLayout;

namespace velmora {

/// A pop-up choice named `identifier`, sized to its longest entry.
QComboBox *makeSettingsChoice(const QString &identifier);
/// The choice after its label, on one line; the label names the choice for assistive
/// technology too.
QLayout *makeSettingsChoiceRow(const QString &label, QComboBox *choice);

} // namespace velmora
