#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

namespace velmora {

// The Help tab of the settings window: buttons that open the Help centre and the Quick
// Start sheet (through their app-wide commands), and the e-mail link to support.
class HelpSettingsTab : public QWidget
{
    Q_OBJECT
public:
    using LinkOpener = std::function<void(const QUrl &)>;

    explicit HelpSettingsTab(LinkOpener openLink, QWidget *parent = nullptr);

    /// Only mail and web links are ever opened.
    static bool isOpenableContactLink(const QUrl &url);

private:
    QWidget *buildHelpSection();
    QWidget *buildContactSection();

    LinkOpener m_openLink;
};

} // namespace velmora
