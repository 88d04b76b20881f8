#include "app/shell/app_version.h"
#include "app/shell/symbol_icon.h"
#include "app/shell/termination_signals.h"
#include "app/shell/velmora_app.h"
#include "core/settings/stored_settings.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(velmora::appVersionString());
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    velmora::quitOnTerminationSignals();
    velmora::SymbolIcon::setUpTheme();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/symbols/velmora.svg")));

    velmora::StoredSettings settings(std::make_unique<QSettings>());
    velmora::VelmoraApp app(settings);
    app.start();
    return QApplication::exec();
}
