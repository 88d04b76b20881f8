#include "app/settings/help_settings_tab.h"

#include "app/commands/command_bus.h"
#include "app/kit/support_contact.h"
#include "app/kit/velmora_button.h"
#include "app/settings/settings_section.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int contactButtonMinimumWidth = 128;

} // namespace

HelpSettingsTab::HelpSettingsTab(CommandBus &commands, LinkOpener openLink, QWidget *parent)
    : QWidget(parent), m_commands(commands), m_openLink(std::move(openLink))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->setSpacing(18);
    layout->addWidget(buildHelpSection());
    layout->addWidget(buildContactSection());
    layout->addStretch(1);
}

QWidget *HelpSettingsTab::buildHelpSection()
{
    auto *section = new SettingsSection(
        tr("Help"), tr("Open the Help Center for workflows, keyboard shortcuts, privacy boundaries, and troubleshooting."));
    auto *helpCenter = makeVelmoraButton(tr("Help Center"), QStringLiteral("questionmark.circle"),
                                         VelmoraControlTone::secondary, std::nullopt,
                                         QStringLiteral("open-help-center-button"));
    connect(helpCenter, &QPushButton::clicked, this, [this] { m_commands.post(commands::velmoraShowHelpCenter); });
    auto *quickStart = makeVelmoraButton(tr("Quick Start"), QStringLiteral("play.circle"), VelmoraControlTone::secondary,
                                         std::nullopt, QStringLiteral("quick-start-settings-button"));
    connect(quickStart, &QPushButton::clicked, this, [this] { m_commands.post(commands::velmoraShowOnboarding); });
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(helpCenter);
    row->addWidget(quickStart);
    row->addStretch(1);
    section->addRow(row);
    section->addRow(makeSettingsCaption(tr("Help covers Quick Start, finding states, detection limits, protection "
                                           "modes, privacy, and troubleshooting."),
                                        QStringLiteral("settings-help-summary")));
    return section;
}

QWidget *HelpSettingsTab::buildContactSection()
{
    auto *section = new SettingsSection(tr("Contact"), QString());
    section->addRow(makeSettingsCaption(
        tr("Questions about Velmora, ideas for improving it, or other feedback? Write to %1.").arg(supportAddress()),
        QStringLiteral("settings-contact-summary")));
    auto *email = makeVelmoraButton(tr("Email %1").arg(supportContactFirstName()), QStringLiteral("envelope"),
                                    VelmoraControlTone::primary, contactButtonMinimumWidth,
                                    QStringLiteral("settings-contact-email-button"));
    connect(email, &QPushButton::clicked, this, [this] {
        const QUrl link = supportContactURL();
        if (isOpenableContactLink(link))
            m_openLink(link);
    });
    auto *row = new QHBoxLayout;
    row->addWidget(email);
    row->addStretch(1);
    section->addRow(row);
    return section;
}

bool HelpSettingsTab::isOpenableContactLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"mailto" || scheme == u"https" || scheme == u"http";
}

} // namespace velmora
