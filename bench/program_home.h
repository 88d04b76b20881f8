#pragma once

// A private home for a program the benchmark runs: its own configuration, cache and
// runtime folders, no session bus, a fixed clock zone and language, and a fontconfig
// file that maps sans-serif and monospace (and the desktop's interface font) to one
// pair of typefaces, so that the whole window, menus included, is set in that pair.

#include "private_display.h"
#include "screen_layout.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>

namespace bench {

class ProgramHome
{
public:
    ProgramHome(const PrivateDisplay &display, const Typeface &typeface, bool dark, int interfacePoints = 10)
    {
        write(QStringLiteral("fonts.conf"),
              QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                             "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                             "<alias binding=\"strong\"><family>sans-serif</family><prefer><family>%1</family></prefer></alias>"
                             "<alias binding=\"strong\"><family>monospace</family><prefer><family>%2</family></prefer></alias>"
                             "</fontconfig>\n")
                  .arg(typeface.sans, typeface.mono));
        write(QStringLiteral(".config/gtk-3.0/settings.ini"),
              QStringLiteral("[Settings]\ngtk-font-name=%1 %2\ngtk-theme-name=Adwaita\ngtk-application-prefer-dark-theme=%3\n"
                             "gtk-cursor-blink=false\ngtk-enable-animations=false\n")
                  .arg(typeface.sans).arg(interfacePoints).arg(dark ? 1 : 0));
        QDir(m_home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(path(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        m_environment.remove(QStringLiteral("SESSION_MANAGER"));
        m_environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        const QList<QPair<QString, QString>> settings{
            {QStringLiteral("DISPLAY"), display.name()},
            {QStringLiteral("HOME"), m_home.path()},
            {QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config"))},
            {QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral(".cache"))},
            {QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral(".local/share"))},
            {QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime"))},
            {QStringLiteral("FONTCONFIG_FILE"), path(QStringLiteral("fonts.conf"))},
            {QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile")},
            {QStringLiteral("GTK_THEME"), dark ? QStringLiteral("Adwaita:dark") : QStringLiteral("Adwaita")},
            {QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1")},
            {QStringLiteral("LANG"), QStringLiteral("C.UTF-8")},
            {QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")},
            {QStringLiteral("TZ"), QStringLiteral("UTC")},
        };
        for (const auto &[name, value] : settings)
            m_environment.insert(name, value);
    }

    const QProcessEnvironment &environment() const { return m_environment; }
    QString path(const QString &relative) const { return QDir(m_home.path()).filePath(relative); }

    /// Writes `text` to `relative` inside the home, making its folders.
    bool write(const QString &relative, const QString &text) const
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text.toUtf8()) >= 0;
    }

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
};

/// A program started in a process group of its own, so that it ends with everything it
/// started (helpers, restarts) when the object goes.
class ProgramRun
{
public:
    ProgramRun(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment, const QString &workingDir = {})
    {
        m_process.setProcessEnvironment(environment);
        if (!workingDir.isEmpty())
            m_process.setWorkingDirectory(workingDir);
        m_process.setChildProcessModifier([] { ::setsid(); });
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(program, arguments);
    }
    ~ProgramRun()
    {
        if (m_process.processId() > 0) {
            const pid_t group = pid_t(m_process.processId());
            ::kill(-group, SIGTERM);
            m_process.waitForFinished(5000);
            ::kill(-group, SIGKILL);
            m_process.waitForFinished(2000);
        }
    }

private:
    QProcess m_process;
};

} // namespace bench
