#include "app/kit/accessible_value.h"
#include "app/kit/capsule_label.h"
#include "app/kit/segmented_picker.h"
#include "app/kit/velmora_button.h"
#include "app/panes/detection_group_section.h"
#include "app/panes/detection_row.h"
#include "app/panes/findings_empty_states.h"
#include "app/panes/findings_panel.h"

#include "app/panes/review_harness.h"
#include "support/event_loop.h"
#include "support/window_waits.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

QString upperId(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

/// `count` findings down the image, in list order: `kinds` in turn, each with a label of
/// its own and confidences that give the three chips.
QList<Detection> manyFindings(int count, const QList<DetectionKind> &kinds = {DetectionKind::email})
{
    QList<Detection> findings;
    for (int i = 0; i < count; ++i) {
        Detection finding = makeFinding({0.1, 0.95 - i * 0.003, 0.3, 0.002});
        finding.kind = kinds.at(i % kinds.size());
        finding.label = DetectionRow::kindLabel(finding.kind);
        finding.confidence = QList<double>{0.95, 0.85, 0.7}.at(i % 3);
        findings.append(finding);
    }
    return findings;
}

// What refreshing the panel costs: the objects made in it (or moved into it), and the
// layout requests and resizes its widgets take.
struct RefreshCost
{
    int objectsAdded = 0;
    int layoutRequests = 0;
    int resizes = 0;
};

class RefreshCostCounter : public QObject
{
public:
    explicit RefreshCostCounter(QWidget &panel) : m_panel(panel) { qApp->installEventFilter(this); }
    ~RefreshCostCounter() override { qApp->removeEventFilter(this); }

    RefreshCost cost;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || (widget != &m_panel && !m_panel.isAncestorOf(widget)))
            return false;
        cost.objectsAdded += event->type() == QEvent::ChildAdded ? 1 : 0;
        cost.layoutRequests += event->type() == QEvent::LayoutRequest ? 1 : 0;
        cost.resizes += event->type() == QEvent::Resize ? 1 : 0;
        return false;
    }

private:
    QWidget &m_panel;
};

// The panel in a window of its own, its window-wide keys added once.
class FindingsPanelTest : public ::testing::Test
{
protected:
    FindingsPanelTest()
    {
        useTestLook();
        panel = new FindingsPanel(&window);
        window.addActions(panel->windowActions());
        window.resize(376, 900);
        window.show();
    }

    /// An image whose plan holds `detections` (text findings, in reading order), nothing else set.
    void showPlan(const QList<Detection> &detections, std::optional<QUuid> selection = std::nullopt)
    {
        shown = {RedactionPlan(detections, {}, {}), selection, FindingFilter::all, true, false, false, std::nullopt};
        panel->showState(shown);
    }
    /// Shows `shown` again after a change to it: another filter, a finding chosen, findings switched off.
    void reshow() { panel->showState(shown); }
    void showFilter(FindingFilter filter) { shown.filter = filter; reshow(); }
    void showSelection(const QUuid &id) { shown.selection = id; reshow(); }
    void showOff(const QUuid &id) { shown.plan.setActive(false, id); reshow(); }

    template <typename T = QWidget>
    T *find(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
    bool visible(const QString &name) const
    {
        QWidget *widget = find(name);
        return widget && widget->isVisibleTo(&window);
    }

    /// Twenty e-mail findings in the list and the fifteenth chosen; its row, or null.
    DetectionRow *chooseFindingFarDownTheList()
    {
        QList<Detection> findings;
        for (int i = 0; i < 20; ++i) {
            Detection finding = findingAt(i);
            finding.matchedText = QStringLiteral("person%1@example.com").arg(i);
            findings.append(finding);
        }
        showPlan(findings);
        panel->resize(376, 900);
        drainEvents(); // the list takes its height
        showSelection(findings.at(14).id);
        drainEvents();
        return find<DetectionRow>(QStringLiteral("detection-row-") + upperId(findings.at(14).id));
    }

    /// What showing a second plan of `count` findings costs after a first one.
    RefreshCost costOfAnotherPlan(int count)
    {
        panel->resize(376, 900);
        showPlan(manyFindings(count, {DetectionKind::email, DetectionKind::phoneNumber, DetectionKind::apiKey}));
        drainEvents();
        RefreshCostCounter counter(*panel);
        showPlan(manyFindings(count, {DetectionKind::email, DetectionKind::phoneNumber, DetectionKind::apiKey}));
        drainEvents();
        return counter.cost;
    }

    QWidget window;
    FindingsPanel *panel = nullptr;
    FindingsPanelState shown;
};

} // namespace

TEST_F(FindingsPanelTest, TitleAndBadgeCountEveryEntryWhateverTheFilter)
{
    EXPECT_EQ(find<QLabel>("redaction-count-label")->text(), QStringLiteral("Findings"));
    EXPECT_FALSE(visible("findings-count-badge"));
    EXPECT_FALSE(visible("findings-filter-picker"));

    showPlan({findingAt(0), findingAt(1), findingAt(2)});
    EXPECT_EQ(find<QLabel>("redaction-count-label")->text(), QStringLiteral("3 possible leaks"));
    EXPECT_TRUE(visible("findings-count-badge"));
    showFilter(FindingFilter::off);
    EXPECT_EQ(find<QLabel>("redaction-count-label")->text(), QStringLiteral("3 possible leaks"));
    EXPECT_EQ(find<CapsuleLabel>("findings-count-badge")->text(), QStringLiteral("3"));
    EXPECT_EQ(find<QLabel>("findings-summary-label")->text(), QStringLiteral("3 will redact - 0 visible"));

    showPlan({findingAt(0)});
    EXPECT_EQ(find<QLabel>("redaction-count-label")->text(), QStringLiteral("1 possible leak"));
}

TEST_F(FindingsPanelTest, ThreeEmptyStatesAndTheEmptyFilterState)
{
    auto *empty = find<EmptyDetectionState>("empty-detection-state");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isVisibleTo(&window));
    EXPECT_EQ(empty->title(), QStringLiteral("Open, paste, or drop an image"));
    EXPECT_EQ(empty->symbol(), QStringLiteral("photo"));

    showPlan({});
    EXPECT_EQ(empty->title(), QStringLiteral("No boxes yet"));
    EXPECT_EQ(empty->symbol(), QStringLiteral("viewfinder"));
    shown.isChecking = true;
    reshow();
    EXPECT_EQ(empty->title(), QStringLiteral("Checking"));
    EXPECT_EQ(empty->symbol(), QStringLiteral("hourglass"));
    EXPECT_FALSE(visible("empty-filter-state"));

    showPlan({findingAt(0)});
    EXPECT_FALSE(empty->isVisibleTo(&window));
    showFilter(FindingFilter::off);
    auto *filtered = find<EmptyFilterState>("empty-filter-state");
    EXPECT_TRUE(filtered->isVisibleTo(&window));
    EXPECT_EQ(filtered->title(), QStringLiteral("No visible findings"));
    EXPECT_EQ(filtered->accessibleName(), QStringLiteral("No visible findings"));
    EXPECT_TRUE(visible("findings-filter-picker"));
    EXPECT_TRUE(visible("next-finding-button"));
    shown.plan.setActive(false, shown.plan.entries().first().id());
    showFilter(FindingFilter::included);
    EXPECT_EQ(filtered->title(), QStringLiteral("No redact findings"));
}

TEST_F(FindingsPanelTest, FilterSegmentsCarryTheirValueAndOnlyReportTheChoice)
{
    showPlan({findingAt(0)});
    QSignalSpy chosen(panel, &FindingsPanel::filterChosen);
    auto *check = find<PickerSegment>("findings-filter-needsReview");
    ASSERT_TRUE(check);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(chosen, QList<QVariantList>({{QVariant::fromValue(FindingFilter::needsReview)}}));
    EXPECT_EQ(accessibleValue(check), QStringLiteral("Not selected"));
    showFilter(FindingFilter::needsReview);
    EXPECT_EQ(accessibleValue(check), QStringLiteral("Selected"));
    EXPECT_EQ(accessibleValue(find("findings-filter-all")), QStringLiteral("Not selected"));
}

TEST_F(FindingsPanelTest, GroupButtonsMaskOrUnmaskTheirGroup)
{
    const Detection code = findingAt(0, DetectionKind::barcode, QStringLiteral("QR code"));
    const Detection key = findingAt(1, DetectionKind::apiKey, QStringLiteral("API key"));
    const Detection token = findingAt(2, DetectionKind::secret, QStringLiteral("Secret"));
    showPlan({code, key, token});
    QSignalSpy switched(panel, &FindingsPanel::findingsActiveSet);
    auto *codes = find<QPushButton>("toggle-visualCodes-findings-button");
    auto *secrets = find<QPushButton>("toggle-secrets-findings-button");
    ASSERT_TRUE(codes && secrets);
    EXPECT_EQ(secrets->text(), QStringLiteral("Make visible"));
    QTest::mouseClick(secrets, Qt::LeftButton);
    showOff(token.id); // one of two masked
    EXPECT_EQ(secrets->text(), QStringLiteral("Redact"));
    QTest::mouseClick(secrets, Qt::LeftButton);
    const QVariant group = QVariant::fromValue(QList<QUuid>{key.id, token.id});
    EXPECT_EQ(switched, QList<QVariantList>({{false, group}, {true, group}}));
    EXPECT_EQ(panel->section(FindingCategory::secrets)->rows().size(), 2);
}

TEST_F(FindingsPanelTest, RowsAreFoundByUpperCaseIdsAndDetailsShowOnlyWhenSelected)
{
    Detection email = findingAt(0);
    email.matchedText = QStringLiteral("dana@example.com");
    const Detection face = [] {
        Detection d = makeFace({0.5, 0.1, 0.2, 0.2});
        d.kind = DetectionKind::face;
        return d;
    }();
    showPlan({email, face});
    QSignalSpy selected(panel, &FindingsPanel::findingSelected);
    QSignalSpy switched(panel, &FindingsPanel::findingActiveSet);
    const QString id = upperId(email.id);
    auto *row = find<DetectionRow>(QStringLiteral("detection-row-") + id);
    ASSERT_TRUE(row);
    auto *checkbox = find<QCheckBox>(QStringLiteral("detection-toggle-") + id);
    ASSERT_TRUE(checkbox);
    EXPECT_EQ(checkbox->accessibleName(), QStringLiteral("Email, Email"));
    EXPECT_EQ(accessibleValue(checkbox), QStringLiteral("Will redact in export"));
    EXPECT_FALSE(visible(QStringLiteral("policy-action-reason-") + id));
    EXPECT_FALSE(visible("remember-safe-finding-button"));

    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() - 4, 4));
    EXPECT_EQ(selected, QList<QVariantList>({{email.id}}));
    showSelection(email.id);
    EXPECT_TRUE(visible(QStringLiteral("policy-action-reason-") + id));
    EXPECT_TRUE(row->findChild<QWidget *>("remember-safe-finding-button")->isVisibleTo(&window));
    EXPECT_TRUE(row->findChild<QWidget *>("change-detector-setting-menu")->isVisibleTo(&window));

    // A face offers no remember button.
    showSelection(face.id);
    auto *faceRow = find<DetectionRow>(QStringLiteral("detection-row-") + upperId(face.id));
    EXPECT_FALSE(faceRow->findChild<QWidget *>("remember-safe-finding-button")->isVisibleTo(&window));
    EXPECT_FALSE(row->findChild<QWidget *>(QStringLiteral("policy-action-reason-") + id)->isVisibleTo(&window));

    QTest::mouseClick(checkbox, Qt::LeftButton);
    EXPECT_EQ(switched, QList<QVariantList>({{email.id, false}}));
    showOff(email.id);
    EXPECT_EQ(accessibleValue(checkbox), QStringLiteral("Visible in export"));
    EXPECT_EQ(find<DetectionRow>(QStringLiteral("detection-row-") + id), row); // the same row, kept
}

TEST_F(FindingsPanelTest, ARowKeepsItsDisclosureAcrossRefreshes)
{
    const Detection email = findingAt(0);
    const Detection phone = findingAt(1);
    showPlan({email, phone}, email.id);
    auto *row = find<DetectionRow>(QStringLiteral("detection-row-") + upperId(email.id));
    auto *disclosure = row->findChild<QToolButton *>("detector-details-disclosure");
    ASSERT_TRUE(disclosure);
    EXPECT_FALSE(row->showsDetectorDetails());
    QTest::mouseClick(disclosure, Qt::LeftButton);
    EXPECT_TRUE(row->showsDetectorDetails());
    showSelection(phone.id);
    showOff(email.id);
    showOff(phone.id);
    showSelection(email.id);
    EXPECT_EQ(find<DetectionRow>(QStringLiteral("detection-row-") + upperId(email.id)), row);
    EXPECT_TRUE(row->showsDetectorDetails());
}

TEST_F(FindingsPanelTest, DetectorActionsStayInsideANarrowRowAndTheMenuItemsCarryTheirIdentifiers)
{
    const Detection email = findingAt(0);
    showPlan({email}, email.id);
    QTest::qWait(0);
    auto *row = find<DetectionRow>(QStringLiteral("detection-row-") + upperId(email.id));
    for (const char *name : {"change-detector-setting-menu", "open-detection-settings-from-finding-button"}) {
        QWidget *button = row->findChild<QWidget *>(QLatin1String(name));
        const QRect inRow(button->mapTo(row, QPoint(0, 0)), button->size());
        EXPECT_GT(button->height(), 0) << name;
        EXPECT_TRUE(row->rect().contains(inRow)) << name << " " << inRow.x() << "," << inRow.y() << " " << inRow.width()
                                                  << "x" << inRow.height() << " in " << row->width() << "x" << row->height();
    }
    QSignalSpy chosen(panel, &FindingsPanel::detectorDispositionChosen);
    QAction *off = window.findChild<QAction *>("detector-disposition-ignore-button");
    ASSERT_TRUE(off);
    EXPECT_EQ(off->text(), QStringLiteral("Off"));
    EXPECT_TRUE(window.findChild<QAction *>("detector-disposition-autoRedact-button"));
    off->trigger();
    const QVariantList ignored{QVariant::fromValue(RedactionPolicyDisposition::ignore), QVariant::fromValue(shown.plan.entries()[0])};
    EXPECT_EQ(chosen, QList<QVariantList>({ignored}));
}

TEST_F(FindingsPanelTest, WindowKeysWalkAndToggle)
{
    const Detection first = findingAt(0);
    const Detection second = findingAt(1);
    showPlan({first, second});
    QSignalSpy steps(panel, &FindingsPanel::adjacentFindingRequested);
    QSignalSpy toggles(panel, &FindingsPanel::toggleSelectedFindingRequested);
    ASSERT_TRUE(test::showActive(window));
    EXPECT_FALSE(find<VelmoraButton>("toggle-selected-finding-button")->isEnabled());
    QTest::keyClick(&window, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(steps, QList<QVariantList>({{1}, {-1}}));
    showPlan({first, second}, second.id);
    EXPECT_TRUE(find<VelmoraButton>("toggle-selected-finding-button")->isEnabled());
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(toggles.size(), 1);
}

TEST(DetectionRowDetails, NameCategoryTaxonomyActionAndBounds)
{
    Detection entropy = findingAt(0, DetectionKind::secret, QStringLiteral("High-entropy secret"));
    entropy.suggestedAction = DetectionSuggestedAction::review;
    entropy.boundsPrecision = DetectionBoundsPrecision::lineFallback;
    const QStringList lines = DetectionRow::detectorDetailLines(entropy);
    EXPECT_EQ(lines.at(0), QStringLiteral("Group: ") + title(DetectorCategory::highEntropy));
    EXPECT_EQ(lines.at(1), QStringLiteral("Taxonomy: Secrets"));
    EXPECT_EQ(lines.at(2), QStringLiteral("Current action: Review"));
    EXPECT_EQ(lines.at(3), QStringLiteral("Bounds: lineFallback"));

    const Detection account = findingAt(0, DetectionKind::unknown, QStringLiteral("Account/customer ID"));
    const QStringList accountLines = DetectionRow::detectorDetailLines(account);
    EXPECT_EQ(accountLines.at(0), QStringLiteral("Group: ") + title(DetectorCategory::customerAccount));
    EXPECT_EQ(accountLines.at(1), QStringLiteral("Taxonomy: Company confidential"));
}

TEST(DetectionRowDetails, OnlyNonBlankTextRuleFindingsCanBeRemembered)
{
    Detection text = findingAt(0);
    text.matchedText = QStringLiteral("token");
    EXPECT_TRUE(DetectionRow::canRememberAsSafe(text));
    text.matchedText = QStringLiteral(" \n ");
    EXPECT_FALSE(DetectionRow::canRememberAsSafe(text));
    text.matchedText = QStringLiteral("token");
    text.source = DetectionSource::user;
    EXPECT_FALSE(DetectionRow::canRememberAsSafe(text));
    EXPECT_EQ(DetectionRow::kindLabel(DetectionKind::barcode), QStringLiteral("Visual code"));
}

TEST_F(FindingsPanelTest, AChosenFindingShowsWholeWithItsExpandedDetails)
{
    auto *row = chooseFindingFarDownTheList();
    ASSERT_NE(row, nullptr);
    auto *links = row->findChild<QWidget *>("remember-safe-finding-button");
    ASSERT_TRUE(links && links->isVisibleTo(&window));
    auto *list = find<QScrollArea>("findings-list");
    ASSERT_NE(list, nullptr);
    const QRect shown = list->viewport()->rect();
    ASSERT_GT(shown.height(), row->height()) << "the row fits the list";
    const QPoint top = row->mapTo(list->viewport(), QPoint(0, 0));
    const QPoint linkBottom = links->mapTo(list->viewport(), QPoint(0, links->height()));
    EXPECT_GE(top.y(), shown.top());
    EXPECT_LE(linkBottom.y(), shown.bottom() + 1) << "the row's last link is pushed out of view";
}

TEST_F(FindingsPanelTest, OpeningDetectorDetailsKeepsTheRowsLinksInView)
{
    auto *row = chooseFindingFarDownTheList();
    ASSERT_NE(row, nullptr);
    auto *list = find<QScrollArea>("findings-list");
    row->findChild<QToolButton *>("detector-details-disclosure")->click();
    drainEvents();
    auto *lastLink = row->findChild<QWidget *>("remember-safe-finding-button");
    ASSERT_TRUE(lastLink->isVisibleTo(&window));
    const QPoint linkBottom = lastLink->mapTo(list->viewport(), QPoint(0, lastLink->height()));
    EXPECT_LE(linkBottom.y(), list->viewport()->height()) << "the opened details pushed the links out of view";
    EXPECT_GE(row->mapTo(list->viewport(), QPoint(0, 0)).y(), 0);
}

TEST_F(FindingsPanelTest, AnotherPlanCostsTheSameBoundedWorkWithTenTimesTheFindings)
{
    // Less than one of each per finding of the smaller plan, for either plan.
    const int bound = 30;
    for (const int count : {bound, 10 * bound}) {
        const RefreshCost cost = costOfAnotherPlan(count);
        EXPECT_LT(cost.objectsAdded, bound) << count << " findings";
        EXPECT_LT(cost.layoutRequests, bound) << count << " findings";
        EXPECT_LT(cost.resizes, bound) << count << " findings";
    }

    // The last finding of the list has its row once the list is scrolled to its end.
    auto *list = find<QScrollArea>("findings-list");
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    const QUuid last = groupedFilteredEntries(shown.plan, FindingFilter::all).last().entries.last().id();
    auto *row = find<DetectionRow>(QStringLiteral("detection-row-") + upperId(last));
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(list->viewport()->rect().contains(QRect(row->mapTo(list->viewport(), QPoint(0, 0)), row->size())));
}

TEST_F(FindingsPanelTest, RowsTakeTheHeightOfWhatTheyShowOneUnderTheOther)
{
    QList<Detection> findings = manyFindings(6);
    findings[1].label = QStringLiteral("A custom term long enough to wrap onto a second line and then some more");
    findings[2].originalNormalizedBounds = findings[2].normalizedBounds;
    findings[3].boundsPrecision = DetectionBoundsPrecision::lineFallback;
    showPlan(findings, findings[4].id);
    panel->resize(376, 900);
    drainEvents();
    find<DetectionRow>(QStringLiteral("detection-row-") + upperId(findings[4].id))
        ->findChild<QToolButton *>("detector-details-disclosure")
        ->click();
    drainEvents();

    const QList<DetectionRow *> rows = panel->section(FindingCategory::emails)->rows();
    ASSERT_EQ(rows.size(), findings.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i]->height(), rows[i]->heightForWidth(rows[i]->width())) << "row " << i;
        if (i > 0) {
            EXPECT_EQ(rows[i]->y(), rows[i - 1]->geometry().bottom() + 1 + 8) << "row " << i;
        }
    }
    EXPECT_GT(rows[1]->height(), rows[0]->height()) << "a title of two lines";
}

TEST_F(FindingsPanelTest, TabWalksTheRowsInListOrderOnBelowTheView)
{
    const QList<Detection> findings = manyFindings(40);
    showPlan(findings);
    panel->resize(376, 900);
    ASSERT_TRUE(test::showActive(window));
    find<QCheckBox>(QStringLiteral("detection-toggle-") + upperId(findings.first().id))->setFocus(Qt::TabFocusReason);
    for (qsizetype i = 1; i < findings.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("detection-toggle-") + upperId(findings[i].id))
            << "Tab " << i;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("detection-toggle-") + upperId(findings[38].id));
}

TEST_F(FindingsPanelTest, EveryFindingInViewHasARowOfItsOwnAsGroupsComeAndGo)
{
    panel->resize(376, 900);
    const QList<QList<DetectionKind>> plans{
        {DetectionKind::phoneNumber}, {DetectionKind::email}, {DetectionKind::phoneNumber, DetectionKind::email}};
    for (const QList<DetectionKind> &kinds : plans) {
        const QList<Detection> findings = manyFindings(6, kinds);
        showPlan(findings);
        drainEvents();
        for (const Detection &finding : findings) {
            auto *row = find<DetectionRow>(QStringLiteral("detection-row-") + upperId(finding.id));
            ASSERT_NE(row, nullptr) << kinds.size() << " kinds";
            EXPECT_TRUE(row->isVisibleTo(&window));
            EXPECT_EQ(row->entry().detection, finding);
        }
    }
}
