#pragma once

#include <QObject>
#include <QString>

namespace velmora {

class StoredSettings;

/// The prefix an installed Velmora uses that `executablePath` lies under: /usr, /opt or
/// the user's ~/.local; empty when it lies under none.
QString installPrefix(const QString &executablePath, const QString &homePath);
/// True when `executablePath` lies under one of those prefixes.
bool isInstalledLocation(const QString &executablePath, const QString &homePath);

// Decides once per main window whether to remind the user to install Velmora, and
// raises the reminder. The window asks when it is shown; onboarding waits for the answer.
class ApplicationInstallController : public QObject
{
    Q_OBJECT
public:
    /// Under VELMORA_UI_TEST_MODE the location comes from VELMORA_UI_INSTALL_LOCATION_OVERRIDE.
    ApplicationInstallController(StoredSettings &settings, QString executablePath, QObject *parent = nullptr);

    /// True when it has just raised the reminder. Decides once per controller unless `force`.
    bool evaluateInstallLocation(bool force);

    /// The user's answer: "Don't Remind Me" keeps the reminder away for good.
    enum class Answer { showInstructions, notNow, dontRemind };
    void resolve(Answer answer);

signals:
    void reminderRaised();
    /// After any answer; the window runs its onboarding check.
    void promptResolved(Answer answer);

private:
    QString effectiveLocation() const;

    StoredSettings &m_settings;
    QString m_executablePath;
    bool m_hasDecided = false;
};

} // namespace velmora
