#include "app/window/install_location.h"

#include "app/kit/log_categories.h"
#include "core/settings/stored_settings.h"

#include <QDir>

namespace velmora {

namespace {

bool isUnder(const QString &path, const QString &prefix)
{
    const QString clean = QDir::cleanPath(path);
    const QString root = QDir::cleanPath(prefix);
    return clean == root || clean.startsWith(root + QLatin1Char('/'));
}
} // namespace

QString installPrefix(const QString &executablePath, const QString &homePath)
{
    if (executablePath.isEmpty())
        return {};
    QStringList prefixes{QStringLiteral("/usr"), QStringLiteral("/opt")};
    if (!homePath.isEmpty())
        prefixes.append(homePath + QStringLiteral("/.local"));
    for (const QString &prefix : prefixes) {
        if (isUnder(executablePath, prefix))
            return QDir::cleanPath(prefix);
    }
    return {};
}

bool isInstalledLocation(const QString &executablePath, const QString &homePath)
{
    return !installPrefix(executablePath, homePath).isEmpty();
}

ApplicationInstallController::ApplicationInstallController(StoredSettings &settings, QString executablePath,
                                                           QObject *parent)
    : QObject(parent), m_settings(settings), m_executablePath(std::move(executablePath))
{
}

QString ApplicationInstallController::effectiveLocation() const
{
    if (qEnvironmentVariable("VELMORA_UI_TEST_MODE") == QLatin1String("1")
        && qEnvironmentVariableIsSet("VELMORA_UI_INSTALL_LOCATION_OVERRIDE"))
        return qEnvironmentVariable("VELMORA_UI_INSTALL_LOCATION_OVERRIDE");
    return m_executablePath;
}

bool ApplicationInstallController::evaluateInstallLocation(bool force)
{
    if (m_hasDecided && !force)
        return false;
    m_hasDecided = true;
    if (m_settings.value(Setting::suppressInstallReminder) && !force)
        return false;
    const QString location = effectiveLocation();
    if (isInstalledLocation(location, QDir::homePath()))
        return false;
    qCInfo(lcInstall) << "Velmora runs from outside an installed prefix:" << location;
    emit reminderRaised();
    return true;
}

void ApplicationInstallController::resolve(Answer answer)
{
    if (answer == Answer::dontRemind)
        m_settings.setValue(Setting::suppressInstallReminder, true);
    emit promptResolved(answer);
}

} // namespace velmora
