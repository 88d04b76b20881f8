#include "app/window/message_box_answer.h"

#include <QAbstractButton>

namespace velmora {

void whenAnswered(QMessageBox *box, QObject *context, std::function<void(QMessageBox::ButtonRole)> answered)
{
    QObject::connect(box, &QMessageBox::finished, context, [box, context, answered = std::move(answered)] {
        // The role is read now, while the box and its buttons still exist.
        const QMessageBox::ButtonRole role = box->buttonRole(box->clickedButton());
        QMetaObject::invokeMethod(context, [answered, role] { answered(role); }, Qt::QueuedConnection);
    });
}

} // namespace velmora
