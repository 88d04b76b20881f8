#pragma once

class QWidget;

namespace velmora {

class ApplicationInstallController;

/// Asks the user to install Velmora; the answer goes back to the controller, which
/// then lets onboarding follow.
void presentInstallReminderDialog(QWidget *parent, ApplicationInstallController &controller);

} // namespace velmora
