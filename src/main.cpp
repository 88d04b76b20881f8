#include "app/kit/app_version.h"
#include "app/kit/symbol_icon.h"
#include "app/shell/command_line.h"
#include "app/shell/logging_rules.h"
#include "app/shell/single_instance.h"
#include "app/shell/termination_signals.h"
#include "app/shell/velmora_app.h"
#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/settings/stored_settings.h"
#include "core/support/work_pools.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(velmora::appVersionString());
    {
        // --help and --version answer without a display.
        const QCoreApplication early(argc, argv);
        velmora::CommandLine::answerHelpOrVersion(early);
    }

    velmora::useWarningsOnlyLogging();
    QApplication application(argc, argv);
    // Ends, after everything below and before the application object, the work on the pools.
    const velmora::WorkPoolsScope workPools;
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    velmora::quitOnTerminationSignals();
    velmora::SymbolIcon::setUpTheme();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/symbols/velmora.svg")));

    const velmora::CommandLine commandLine = velmora::CommandLine::parse(QApplication::arguments());
    // A Velmora already running takes the files, and this launch ends. The instance goes
    // last: no later launch takes its place before its settings are saved.
    velmora::SingleInstance instance;
    switch (instance.start(commandLine.paths)) {
    case velmora::SingleInstance::Start::handedOver: return 0;
    case velmora::SingleInstance::Start::unanswered: return 1;
    case velmora::SingleInstance::Start::instance: break;
    }
    // Ends, after the window and its scans, the recognition engines with their work.
    const velmora::SharedEnginePoolsScope engines;

    velmora::StoredSettings settings(std::make_unique<QSettings>());
    velmora::VelmoraApp app(settings);
    QObject::connect(&instance, &velmora::SingleInstance::pathsReceived, &app, &velmora::VelmoraApp::openPaths);
    app.start();
    if (!commandLine.paths.isEmpty())
        app.openPaths(commandLine.paths);
    return QApplication::exec();
}
