#pragma once

#include "app/kit/rounded_surface.h"

#include <QList>
#include <QString>

namespace velmora {

/// One line of the help centre's shortcut table. The keys are display text in the
/// application's hyphen form ("Ctrl-Shift-V"); alternatives are joined by " / ".
struct ShortcutRow
{
    QString id;
    QString action;
    QString keys;

    friend bool operator==(const ShortcutRow &, const ShortcutRow &) = default;
};

/// The twelve rows, in table order. Fixed text: reassigning the capture shortcuts in
/// the settings does not change it.
const QList<ShortcutRow> &keyboardShortcutRows();

// The shortcut table of the help centre's Shortcuts page: one row per shortcut on the
// text background, a divider between rows, all in one outlined rounded card.
class KeyboardShortcutTableView : public RoundedSurface
{
    Q_OBJECT
public:
    explicit KeyboardShortcutTableView(QWidget *parent = nullptr);
};

} // namespace velmora
