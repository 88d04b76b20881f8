#include "app/help/finding_states_legend_view.h"
#include "app/help/help_navigation_row.h"
#include "app/help/help_topic_section.h"
#include "app/help/keyboard_shortcut_table_view.h"
#include "app/help/velmora_help_center_view.h"
#include "app/help/velmora_help_section.h"
#include "app/kit/look.h"
#include "app/kit/support_contact.h"

#include "app/panes/review_harness.h"
#include "support/row_name.h"
#include "support/url_sink.h"
#include "support/window_waits.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A help centre on its own, counting what its callbacks are asked to do.
struct HelpCenterFixture : ::testing::Test {
    test::ReviewHarness look; // the look of the tests
    int quickStarts = 0;
    int settingsOpened = 0;
    int closes = 0;
    VelmoraHelpCenterView view{{[this] { ++quickStarts; }, [this] { ++settingsOpened; }, [this] { ++closes; }},
                               HelpTopic::gettingStarted,
                               supportContactURL()};

    HelpNavigationRow *row(HelpTopic topic) const
    {
        return view.findChild<HelpNavigationRow *>(QStringLiteral("help-nav-") + rawValue(topic));
    }
};

TEST_F(HelpCenterFixture, IsAFixedSheetWithTwelveTopicRowsInOrder)
{
    view.show();
    EXPECT_EQ(view.size(), QSize(900, 680));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    const QStringList expected{"help-nav-getting-started", "help-nav-shortcuts",       "help-nav-detection",
                               "help-nav-finding-states",  "help-nav-batch-review",    "help-nav-manual-redaction",
                               "help-nav-custom-policies", "help-nav-export-copy",     "help-nav-protection-modes",
                               "help-nav-privacy",         "help-nav-contact",         "help-nav-troubleshooting"};
    QStringList names;
    for (const HelpNavigationRow *navigationRow : view.navigationRows())
        names.append(navigationRow->objectName());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(row(HelpTopic::customPolicies)->text(), "Custom Terms");
    // Rows stack from the top of the sidebar down.
    for (qsizetype i = 1; i < view.navigationRows().size(); ++i)
        EXPECT_GT(view.navigationRows()[i]->y(), view.navigationRows()[i - 1]->y());
}

TEST_F(HelpCenterFixture, OpensOnGettingStartedWithOnlyItsRowSelected)
{
    EXPECT_EQ(view.selectedTopic(), HelpTopic::gettingStarted);
    EXPECT_EQ(view.currentPage()->objectName(), "help-getting-started-section");
    EXPECT_NE(view.currentPage()->findChild<QWidget *>("help-getting-started-checklist"), nullptr);
    for (const HelpNavigationRow *navigationRow : view.navigationRows())
        EXPECT_EQ(navigationRow->isSelected(), navigationRow->topic() == HelpTopic::gettingStarted);
}

TEST_F(HelpCenterFixture, SelectedRowIsDrawnInTheAccentOnATint)
{
    view.show();
    HelpNavigationRow *selected = row(HelpTopic::gettingStarted);
    const QImage image = selected->grab().toImage();
    const QColor corner = image.pixelColor(image.width() - 4, image.height() / 2);
    // The accent at 12 % over the sidebar's background: bluer than it is red.
    EXPECT_GT(corner.blue(), corner.red());
    const QImage plain = row(HelpTopic::privacy)->grab().toImage();
    const QColor plainCorner = plain.pixelColor(plain.width() - 4, plain.height() / 2);
    EXPECT_EQ(plainCorner, view.palette().color(QPalette::Window));
}

TEST_F(HelpCenterFixture, PressingARowReplacesThePage)
{
    QPointer<HelpTopicSection> first = view.currentPage();
    QTest::mouseClick(row(HelpTopic::batchReview), Qt::LeftButton);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(view.selectedTopic(), HelpTopic::batchReview);
    EXPECT_EQ(view.currentPage()->objectName(), "help-batch-review-section");
    EXPECT_TRUE(row(HelpTopic::batchReview)->isSelected());
    EXPECT_FALSE(row(HelpTopic::gettingStarted)->isSelected());

    QPointer<HelpTopicSection> shown = view.currentPage();
    QTest::mouseClick(row(HelpTopic::batchReview), Qt::LeftButton);
    EXPECT_EQ(view.currentPage(), shown.data()); // the topic already shown changes nothing
}

TEST_F(HelpCenterFixture, HeaderButtonsCallTheirCallbacksOnce)
{
    view.findChild<QPushButton *>("quick-start-from-help-button")->click();
    view.findChild<QPushButton *>("open-settings-from-help-button")->click();
    view.findChild<QPushButton *>("help-center-close-button")->click();
    EXPECT_EQ(quickStarts, 1);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(view.findChild<QPushButton *>("help-center-close-button")->accessibleName() == "Close Help Center");
}

TEST_F(HelpCenterFixture, CtrlWCallsOnCloseOnce)
{
    view.show();
    QApplication::setActiveWindow(&view);
    ASSERT_TRUE(test::waitUntilActive(&view));
    QTest::keyClick(&view, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(quickStarts + settingsOpened, 0);
}

struct PageRow {
    const char *name;
    HelpTopic topic;
    const char *identifier;
    const char *title;
};

class HelpPage : public HelpCenterFixture, public ::testing::WithParamInterface<PageRow>
{
};

TEST_P(HelpPage, ShowsItsTitleFirstUnderItsRawValueIdentifier)
{
    view.selectTopic(GetParam().topic);
    HelpTopicSection *page = view.currentPage();
    EXPECT_EQ(page->objectName(), GetParam().identifier);
    auto *title = page->findChild<QLabel *>("help-topic-title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), GetParam().title);
    EXPECT_EQ(page->layout()->itemAt(0)->widget(), title);
}

INSTANTIATE_TEST_SUITE_P(
    Topics, HelpPage,
    ::testing::Values(
        PageRow{"gettingStarted", HelpTopic::gettingStarted, "help-getting-started-section", "Getting Started"},
        PageRow{"shortcuts", HelpTopic::shortcuts, "help-shortcuts-section", "Shortcuts"},
        PageRow{"detection", HelpTopic::detection, "help-detection-section", "Detection"},
        PageRow{"findingStates", HelpTopic::findingStates, "help-finding-states-section", "Finding States"},
        PageRow{"batchReview", HelpTopic::batchReview, "help-batch-review-section", "Batch Review"},
        PageRow{"manualRedaction", HelpTopic::manualRedaction, "help-manual-redaction-section", "Manual Redaction"},
        PageRow{"customPolicies", HelpTopic::customPolicies, "help-custom-policies-section", "Custom Terms"},
        PageRow{"exportCopy", HelpTopic::exportCopy, "help-export-copy-section", "Export and Copy"},
        PageRow{"protectionModes", HelpTopic::protectionModes, "help-protection-modes-section", "Protection Modes"},
        PageRow{"privacy", HelpTopic::privacy, "help-privacy-section", "Privacy"},
        PageRow{"contact", HelpTopic::contact, "help-contact-section", "Contact"},
        PageRow{"troubleshooting", HelpTopic::troubleshooting, "help-troubleshooting-section", "Troubleshooting"}),
    test::rowName);

TEST(HelpTopicRawValues, AcceptExactlyTheTwelveStrings)
{
    EXPECT_EQ(fromRawValue<HelpTopic>(u"custom-policies"), HelpTopic::customPolicies);
    EXPECT_EQ(fromRawValue<HelpTopic>(u"custom-terms"), std::nullopt);
    EXPECT_EQ(fromRawValue<HelpTopic>(u"Contact"), std::nullopt);
    EXPECT_EQ(allCases<HelpTopic>().size(), 12u);
}

TEST_F(HelpCenterFixture, ShortcutTableHasTwelveRowsAndElevenDividers)
{
    view.selectTopic(HelpTopic::shortcuts);
    auto *table = view.currentPage()->findChild<KeyboardShortcutTableView *>("help-keyboard-shortcuts-table");
    ASSERT_NE(table, nullptr);
    QStringList order;
    for (int i = 0; i < table->layout()->count(); ++i)
        order.append(table->layout()->itemAt(i)->widget()->objectName());
    ASSERT_EQ(order.size(), 23);
    EXPECT_EQ(order.count("help-shortcut-divider"), 11);
    EXPECT_EQ(order.front(), "help-shortcut-row-open");
    EXPECT_EQ(order.back(), "help-shortcut-row-toggle"); // no divider after the last row
    for (qsizetype i = 1; i < order.size(); i += 2)
        EXPECT_EQ(order[i], "help-shortcut-divider");
    auto *caption = view.currentPage()->findChild<QLabel *>("help-capture-shortcuts-copy");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), "Capture defaults can be customized or disabled in Settings, Protection.");
}

TEST_F(HelpCenterFixture, LegendShowsTheThreeSwatches)
{
    view.selectTopic(HelpTopic::findingStates);
    view.show();
    const QColor background = view.palette().color(QPalette::Window);
    const QColor orange = look::orange(view.palette());
    const struct {
        const char *identifier;
        QColor centre; ///< The fill, or the page's background where there is none.
        QColor edge;   ///< Invalid: a grey outline.
    } rows[] = {
        {"finding-state-legend-check", orange, orange},
        {"finding-state-legend-redact", QColor(Qt::black), QColor(Qt::black)},
        {"finding-state-legend-visible", background, QColor()},
    };
    for (const auto &row : rows) {
        auto *item = view.currentPage()->findChild<FindingStateLegendItem *>(QLatin1String(row.identifier));
        ASSERT_NE(item, nullptr) << row.identifier;
        auto *swatch = item->findChild<QWidget *>("finding-state-legend-swatch");
        ASSERT_NE(swatch, nullptr);
        EXPECT_EQ(swatch->size(), QSize(34, 23));
        const QImage image = swatch->grab().toImage();
        const QColor centre = image.pixelColor(17, 12);
        const QColor leftEdge = image.pixelColor(1, 12);
        if (row.centre == background) {
            EXPECT_EQ(centre.rgb(), background.rgb()) << row.identifier;
        } else if (row.centre == QColor(Qt::black)) {
            EXPECT_EQ(centre.rgb(), row.centre.rgb()) << row.identifier;
        } else { // a faint tint of the colour
            EXPECT_NEAR(centre.hue(), row.centre.hue(), 12) << row.identifier;
        }
        // Every swatch has a visible edge, unlike the background around it.
        EXPECT_GT(std::abs(leftEdge.lightness() - background.lightness()), 20) << row.identifier;
        if (row.edge.isValid() && row.edge != QColor(Qt::black)) {
            EXPECT_NEAR(leftEdge.hue(), row.edge.hue(), 12) << row.identifier;
        } else if (!row.edge.isValid()) {
            EXPECT_EQ(leftEdge.saturation(), 0) << row.identifier;
        }
    }
}

TEST_F(HelpCenterFixture, BulletsWrapInsteadOfBeingCut)
{
    view.selectTopic(HelpTopic::customPolicies);
    view.show();
    auto *list = view.currentPage()->findChild<VelmoraHelpSection *>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->items().size(), 5);
    for (QLabel *label : list->findChildren<QLabel *>()) {
        EXPECT_TRUE(label->wordWrap());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    }
}

TEST_F(HelpCenterFixture, ContactLinkWritesToSupport)
{
    test::UrlSink sink(QStringLiteral("mailto"));
    view.selectTopic(HelpTopic::contact);
    auto *link = view.currentPage()->findChild<QPushButton *>("help-contact-email-link");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), "Email support@velmora.example");
    link->click();
    ASSERT_EQ(sink.urls.size(), 1);
    EXPECT_EQ(sink.urls.front().toEncoded(), "mailto:support@velmora.example?subject=Velmora%20feedback");
}

} // namespace
