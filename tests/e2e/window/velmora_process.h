#pragma once

#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace velmora::test {

/// The real executable, started in UI test mode with a settings and socket folder of its
/// own; killed on destruction if it still runs.
class RunningVelmora
{
public:
    /// Starts it through `prefix` (a command that runs the executable, such as unshare) when one is given,
    /// with `arguments` (files and folders to open).
    explicit RunningVelmora(const QMap<QString, QString> &extraEnvironment = {}, const QStringList &prefix = {},
                            const QStringList &arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELMORA_UI_TEST_MODE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("VELMORA_UI_INSTALL_LOCATION_OVERRIDE"), QStringLiteral("/usr/bin/velmora"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        // A socket folder of its own: no other Velmora takes this launch over.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        for (auto it = extraEnvironment.cbegin(); it != extraEnvironment.cend(); ++it)
            environment.insert(it.key(), it.value());
        process.setProcessEnvironment(environment);
        const QStringList command = prefix + QStringList{QStringLiteral(VELMORA_EXECUTABLE)} + arguments;
        process.start(command.front(), command.mid(1));
    }
    ~RunningVelmora()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(15000);
        }
    }

    /// The main window's X id once xdotool finds it by its title, else empty.
    QString waitForMainWindow()
    {
        QString id;
        QTest::qWaitFor([&] {
            id = xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Velmora$")})
                     .section(QLatin1Char('\n'), 0, 0);
            return !id.isEmpty();
        }, 30000);
        return id;
    }

    static QString xdotool(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(5000);
        return tool.exitCode() == 0 ? QString::fromUtf8(tool.readAllStandardOutput()).trimmed() : QString();
    }

    QProcess process;

private:
    QTemporaryDir m_home;
};

} // namespace velmora::test
