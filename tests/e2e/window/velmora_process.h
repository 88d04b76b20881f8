#pragma once

#include "support/process_waits.h"
#include "support/xdotool.h"

#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace velmora::test {

/// How the executable is started.
struct VelmoraLaunch
{
    QMap<QString, QString> environment = {}; ///< Added to the test's own.
    QStringList prefix = {}; ///< A command that runs the executable, such as unshare.
    QStringList arguments = {}; ///< Files to open.
    QMap<QString, QVariant> settings = {}; ///< Stored before it starts.
    QString home = {}; ///< A settings and socket folder shared with other launches; empty: one of its own.
};

/// The real executable, started in UI test mode with a settings and socket folder of its
/// own or the launch's; killed on destruction if it still runs.
class RunningVelmora
{
public:
    explicit RunningVelmora(const VelmoraLaunch &launch = {})
    {
        const QString home = launch.home.isEmpty() ? m_home.path() : launch.home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELMORA_UI_TEST_MODE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("VELMORA_UI_INSTALL_LOCATION_OVERRIDE"), QStringLiteral("/usr/bin/velmora"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
        // Only a Velmora of the same folder takes this launch over.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        for (auto it = launch.environment.cbegin(); it != launch.environment.cend(); ++it)
            environment.insert(it.key(), it.value());
        if (!launch.settings.isEmpty()) {
            QSettings stored(home + QStringLiteral("/Velmora/Velmora.conf"), QSettings::IniFormat);
            for (auto it = launch.settings.cbegin(); it != launch.settings.cend(); ++it)
                stored.setValue(it.key(), it.value());
        }
        process.setProcessEnvironment(environment);
        const QStringList command = launch.prefix + QStringList{QStringLiteral(VELMORA_EXECUTABLE)} + launch.arguments;
        process.start(command.front(), command.mid(1));
    }
    ~RunningVelmora()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            waitUntilEnded(process);
        }
    }

    /// The main window's X id once xdotool finds it by its title; empty when it never shows.
    static QString waitForMainWindow() { return waitForWindowTitled(QStringLiteral("^Velmora$")); }

    QProcess process;

private:
    QTemporaryDir m_home;
};

} // namespace velmora::test
