#include "settings_window_fixture.h"

#include "app/commands/command_bus.h"
#include "app/settings/help_settings_tab.h"

#include "support/row_name.h"

#include <QUrlQuery>

namespace velmora::test {
namespace {

class HelpTab : public SettingsWindowFixture
{
protected:
    HelpTab() { click(QStringLiteral("settings-tab-help")); }
};

TEST_F(HelpTab, ButtonsPostTheHelpCentreAndQuickStartCommands)
{
    PostedCommands posted{commands};
    click(QStringLiteral("open-help-center-button"));
    click(QStringLiteral("quick-start-settings-button"));
    EXPECT_EQ(posted.names, (QStringList{"velmoraShowHelpCenter", "velmoraShowOnboarding"}));
}

TEST_F(HelpTab, TheEmailButtonOpensAMailToSupportWithTheFeedbackSubject)
{
    click(QStringLiteral("settings-contact-email-button"));
    ASSERT_EQ(openedLinks.size(), 1);
    const QUrl link = openedLinks.first();
    EXPECT_EQ(link.scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(link.path().contains(QLatin1Char('@')));
    EXPECT_EQ(QUrlQuery(link).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Velmora feedback"));
}

struct LinkRow
{
    const char *name;
    const char *url;
    bool opens;
};

class ContactLink : public ::testing::TestWithParam<LinkRow> {};

TEST_P(ContactLink, OnlyMailAndWebLinksOpen)
{
    EXPECT_EQ(HelpSettingsTab::isOpenableContactLink(QUrl(QString::fromLatin1(GetParam().url))), GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(Rows, ContactLink, ::testing::Values(
    LinkRow{"mail", "mailto:someone@example.com", true},
    LinkRow{"web", "https://example.com/support", true},
    LinkRow{"file", "file:///etc/passwd", false},
    LinkRow{"script", "javascript:alert(1)", false}),
    rowName);

} // namespace
} // namespace velmora::test
