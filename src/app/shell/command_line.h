#pragma once

#include <QStringList>

class QCoreApplication;

namespace velmora {

// Velmora's command line: image files or folders to open, plus --help and --version,
// which print and end the process.
struct CommandLine
{
    /// Absolute paths of the files and folders named, in order.
    QStringList paths;

    /// Prints the help or the version and exits when the arguments ask for either.
    /// Needs only a QCoreApplication, so that it answers without a display.
    static void answerHelpOrVersion(const QCoreApplication &application);
    /// Reads the arguments (the program first); exits after --help, --version or a wrong option.
    static CommandLine parse(const QStringList &arguments);
};

} // namespace velmora
