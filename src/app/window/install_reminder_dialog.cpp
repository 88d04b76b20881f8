#include "app/window/install_reminder_dialog.h"

#include "app/window/install_location.h"
#include "app/window/message_box_answer.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmora {

void presentInstallReminderDialog(QWidget *parent, ApplicationInstallController &controller)
{
    auto *box = new QMessageBox(QMessageBox::Information, QObject::tr("Install Velmora?"),
                                QObject::tr("Velmora is running from a build or download folder. Install it "
                                            "(for example with \"cmake --install\") so that it starts from your "
                                            "applications and keeps its settings in one place."),
                                QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("install-reminder"));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *instructions = box->addButton(QObject::tr("Install Instructions..."), QMessageBox::AcceptRole);
    instructions->setObjectName(QStringLiteral("install-reminder-instructions-button"));
    QPushButton *later = box->addButton(QObject::tr("Not Now"), QMessageBox::RejectRole);
    later->setObjectName(QStringLiteral("install-reminder-not-now-button"));
    QPushButton *never = box->addButton(QObject::tr("Don't Remind Me"), QMessageBox::DestructiveRole);
    never->setObjectName(QStringLiteral("install-reminder-dont-remind-button"));
    whenAnswered(box, parent, [parent, &controller](QMessageBox::ButtonRole role) {
        using Answer = ApplicationInstallController::Answer;
        if (role == QMessageBox::AcceptRole) {
            QMessageBox::information(parent, QObject::tr("Install Velmora"),
                                     QObject::tr("From the source folder, build a release and install it for "
                                                 "your user:\n\ncmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release"
                                                 "\ncmake --build build-release\ncmake --install build-release "
                                                 "--prefix ~/.local\n\nThen start Velmora from your applications."));
            controller.resolve(Answer::showInstructions);
        } else if (role == QMessageBox::DestructiveRole) {
            controller.resolve(Answer::dontRemind);
        } else {
            controller.resolve(Answer::notNow);
        }
    });
    box->open();
}

} // namespace velmora
