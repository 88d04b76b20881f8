#include "app/shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace velmora {

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "Finds sensitive content in screenshots and makes cleaned copies."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("CommandLine", "Images or folders to open for review."),
                                 QStringLiteral("[files...]"));
}

} // namespace

void CommandLine::answerHelpOrVersion(const QCoreApplication &application)
{
    QCommandLineParser parser;
    describe(parser);
    // Options of the windowing system (-platform, -display) are not known here: they
    // are read once the display is open.
    parser.parse(application.arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.process(arguments);
    CommandLine line;
    for (const QString &argument : parser.positionalArguments())
        line.paths.append(QFileInfo(argument).absoluteFilePath());
    return line;
}

} // namespace velmora
