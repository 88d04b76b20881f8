#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

namespace velmora {

class CommandBus;

// The Help tab of the settings window: buttons that open the Help centre and the Quick
// Start sheet (through their app-wide commands), and the e-mail link to support.
class HelpSettingsTab : public QWidget
{
    Q_OBJECT
public:
    using LinkOpener = std::function<void(const QUrl &)>;

    HelpSettingsTab(CommandBus &commands, LinkOpener openLink, QWidget *parent = nullptr);

    /// Only mail and web links are ever opened.
    static bool isOpenableContactLink(const QUrl &url);

private:
    QWidget *buildHelpSection();
    QWidget *buildContactSection();

    CommandBus &m_commands;
    LinkOpener m_openLink;
};

} // namespace velmora
