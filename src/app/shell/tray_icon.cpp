#include "app/shell/tray_icon.h"

#include "app/commands/command_bus.h"
#include "app/kit/after_menu_closed.h"
#include "core/protection/capture_mode.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace velmora {

TrayIcon::TrayIcon(CommandBus &commands, Handlers handlers, QObject *parent)
    : QObject(parent), m_handlers(std::move(handlers)), m_menu(new QMenu)
{
    for (const VelmoraCaptureMode mode : {VelmoraCaptureMode::screen, VelmoraCaptureMode::window, VelmoraCaptureMode::area}) {
        QAction *action = m_menu->addAction(captureModeInfo(mode).menuTitle);
        action->setObjectName(QStringLiteral("tray-capture-%1-item").arg(rawValue(mode)));
        // The screenshot must not show the menu it was asked for from.
        connect(action, &QAction::triggered, this, [this, &commands, mode] {
            runAfterMenuClosed(this, [&commands, mode] { commands.post(commands::velmoraCaptureRequested, mode); });
        });
    }
    m_menu->addSeparator();
    QAction *open = m_menu->addAction(tr("Open Velmora"));
    open->setObjectName(QStringLiteral("tray-open-item"));
    connect(open, &QAction::triggered, this, [this] { m_handlers.openMainWindow(); });
    QAction *settings = m_menu->addAction(tr("Settings…"));
    settings->setObjectName(QStringLiteral("tray-settings-item"));
    connect(settings, &QAction::triggered, this, [this] { m_handlers.openSettings(); });
    QAction *quit = m_menu->addAction(tr("Quit Velmora"));
    quit->setObjectName(QStringLiteral("tray-quit-item"));
    connect(quit, &QAction::triggered, this, [this] { m_handlers.quit(); });
}

TrayIcon::~TrayIcon()
{
    delete m_icon;
    delete m_menu;
}

bool TrayIcon::show()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(QApplication::windowIcon(), this);
        m_icon->setToolTip(QStringLiteral("Velmora"));
        m_icon->setContextMenu(m_menu);
        connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                m_handlers.openMainWindow();
        });
    }
    m_icon->show();
    return true;
}

bool TrayIcon::isVisible() const
{
    return m_icon && m_icon->isVisible();
}

} // namespace velmora
