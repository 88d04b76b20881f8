#pragma once

#include <QMessageBox>

#include <functional>

namespace velmora {

/// Runs `answered` with the role of the button that closed `box` (`InvalidRole` when no
/// button did), on a later turn of the event loop, while `context` lives. An answer often
/// opens another dialog, and a file panel runs an event loop of its own: run inside the
/// box's button signal, that loop would delete the box (it closes on its own) under the
/// button still handling its click.
void whenAnswered(QMessageBox *box, QObject *context, std::function<void(QMessageBox::ButtonRole)> answered);

} // namespace velmora
