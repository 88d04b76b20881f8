#include "app/window/held_settings_question.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmora {

HeldSettingsChoice askAboutHeldSettings(QWidget &window, SettingsSaveFailure failure)
{
    if (!window.isVisible())
        window.show();
    QMessageBox box(QMessageBox::Warning, QObject::tr("Quit Without Saving Settings?"),
                    settingsSaveFailureText(failure), QMessageBox::NoButton, &window);
    box.setObjectName(QStringLiteral("held-settings-question"));
    box.setInformativeText(QObject::tr("Changes made since the last save are lost if Velmora quits now."));
    QPushButton *tryAgain = box.addButton(QObject::tr("Try Again"), QMessageBox::AcceptRole);
    tryAgain->setObjectName(QStringLiteral("held-settings-try-again-button"));
    QPushButton *quit = box.addButton(QObject::tr("Quit Anyway"), QMessageBox::DestructiveRole);
    quit->setObjectName(QStringLiteral("held-settings-quit-button"));
    QPushButton *stay = box.addButton(QMessageBox::Cancel);
    stay->setObjectName(QStringLiteral("held-settings-cancel-button"));
    box.setDefaultButton(tryAgain);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == tryAgain)
        return HeldSettingsChoice::tryAgain;
    return box.clickedButton() == quit ? HeldSettingsChoice::quitAnyway : HeldSettingsChoice::stay;
}

} // namespace velmora
