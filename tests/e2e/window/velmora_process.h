#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>

namespace velmora::test {

/// Starts the real executable in UI test mode with its own settings folder, through
/// `prefix` (a command that runs the executable, such as unshare) when one is given.
inline void startVelmora(QProcess &velmora, const QString &configHome, const QStringList &prefix = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELMORA_UI_TEST_MODE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("VELMORA_UI_INSTALL_LOCATION_OVERRIDE"), QStringLiteral("/usr/bin/velmora"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    velmora.setProcessEnvironment(environment);
    const QStringList command = prefix + QStringList{QStringLiteral(VELMORA_EXECUTABLE)};
    velmora.start(command.front(), command.mid(1));
}

/// True once xdotool finds the main window on the X server by its title.
inline bool waitForVelmoraWindow()
{
    return QTest::qWaitFor([] {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Velmora$")});
        search.waitForFinished(5000);
        return search.exitCode() == 0 && !search.readAllStandardOutput().trimmed().isEmpty();
    }, 30000);
}

} // namespace velmora::test
