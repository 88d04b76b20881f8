#include "core/redaction/manual_redaction_edit_history.h"

#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::makeFinding;
using velmora::test::rectNear;

namespace {

const QString kLabel = QStringLiteral("Manual redaction");
const QString kReason = QStringLiteral("Added by the user.");

QList<QUuid> idsOf(const RedactionPlan &plan)
{
    QList<QUuid> ids;
    for (const RedactionPlanEntry &entry : plan.entries())
        ids.append(entry.id());
    return ids;
}

class ManualRedactionEditHistoryTest : public ::testing::Test {
protected:
    // One automatic finding, so that every edit below happens beside an entry it must not touch.
    RedactionPlan plan{{makeFinding({0.1, 0.8, 0.3, 0.05})}, {}, {}};
    ManualRedactionEditHistory history;

    QUuid draw(const NormRect &bounds)
    {
        const RedactionPlan before = plan;
        const QUuid id = *plan.addManualRedaction(kLabel, kReason, bounds);
        EXPECT_TRUE(history.record(before, plan));
        return id;
    }

    const RedactionPlanEntry *entry(const QUuid &id) const
    {
        for (const RedactionPlanEntry &candidate : plan.entries()) {
            if (candidate.id() == id)
                return &candidate;
        }
        return nullptr;
    }
};

TEST_F(ManualRedactionEditHistoryTest, FreshHistoryHasNothingToUndoOrRedo)
{
    const RedactionPlan before = plan;
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.undo(plan));
    EXPECT_FALSE(history.redo(plan));
    EXPECT_EQ(plan, before);
    EXPECT_EQ(history, ManualRedactionEditHistory());
}

TEST_F(ManualRedactionEditHistoryTest, DrawUndoRedo)
{
    const QUuid id = draw({0.2, 0.2, 0.1, 0.1});
    const RedactionPlan drawn = plan;
    ASSERT_TRUE(history.undo(plan));
    EXPECT_EQ(entry(id), nullptr);
    EXPECT_EQ(plan.entries().size(), 1);
    EXPECT_TRUE(history.canRedo());
    EXPECT_FALSE(history.canUndo());

    ASSERT_TRUE(history.redo(plan));
    ASSERT_NE(entry(id), nullptr);
    EXPECT_TRUE(rectNear(entry(id)->detection.normalizedBounds, {0.2, 0.2, 0.1, 0.1}));
    EXPECT_EQ(plan, drawn);
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

TEST_F(ManualRedactionEditHistoryTest, RecordingNoChangeKeepsTheRedoList)
{
    draw({0.2, 0.2, 0.1, 0.1});
    ASSERT_TRUE(history.undo(plan));
    const ManualRedactionEditHistory afterUndo = history;

    EXPECT_FALSE(history.record(plan, plan));
    const QUuid finding = plan.entries().first().id();
    EXPECT_FALSE(history.record(plan, plan.settingActive(false, finding))); // toggles are not edits
    EXPECT_EQ(history, afterUndo);
    EXPECT_TRUE(history.canRedo());

    draw({0.5, 0.2, 0.1, 0.1});
    EXPECT_FALSE(history.canRedo());
}

TEST_F(ManualRedactionEditHistoryTest, UndoingAMoveKeepsTheCurrentOnOffState)
{
    const QUuid id = draw({0.2, 0.2, 0.1, 0.1});
    const RedactionPlan before = plan;
    ASSERT_TRUE(plan.updateBounds(id, {0.6, 0.6, 0.1, 0.1}));
    ASSERT_TRUE(history.record(before, plan));
    plan.setActive(false, id);

    ASSERT_TRUE(history.undo(plan));
    ASSERT_NE(entry(id), nullptr);
    EXPECT_EQ(entry(id)->detection, before.entries().last().detection);
    EXPECT_FALSE(entry(id)->isActive);

    // Redo brings the move back, still off.
    ASSERT_TRUE(history.redo(plan));
    EXPECT_TRUE(rectNear(entry(id)->detection.normalizedBounds, {0.6, 0.6, 0.1, 0.1}));
    EXPECT_FALSE(entry(id)->isActive);
}

TEST_F(ManualRedactionEditHistoryTest, UndoingADeleteRestoresTheDeletedState)
{
    const QUuid id = draw({0.2, 0.2, 0.1, 0.1});
    plan.setActive(false, id);
    const RedactionPlan before = plan;
    ASSERT_TRUE(plan.removeEntry(id));
    ASSERT_TRUE(history.record(before, plan));

    ASSERT_TRUE(history.undo(plan));
    ASSERT_NE(entry(id), nullptr);
    EXPECT_FALSE(entry(id)->isActive);
    EXPECT_EQ(plan, before);
}

TEST_F(ManualRedactionEditHistoryTest, AnEditOfThreeBoxesIsUndoneInOneStepInIdStringOrder)
{
    // String order B, C, A; QUuid's own order (variant first) would be C, A, B.
    const QUuid a(QStringLiteral("ffffffff-0000-4000-8000-000000000001"));
    const QUuid b(QStringLiteral("00000000-0000-4000-c000-000000000002"));
    const QUuid c(QStringLiteral("80000000-0000-4000-8000-000000000003"));
    ASSERT_LT(c, a);
    ASSERT_LT(a, b);
    // Same bottom and left edge: reading order ties, so the order in which the undo
    // puts them back stays visible.
    const auto manual = [](const QUuid &id, const NormRect &bounds, const char *label) {
        Detection detection = makeFinding(bounds);
        detection.id = id;
        detection.label = QString::fromLatin1(label);
        detection.source = DetectionSource::user;
        detection.boundsPrecision = DetectionBoundsPrecision::manual;
        detection.confidence = 1.0;
        return detection;
    };
    plan = RedactionPlan({}, {},
                         {manual(a, {0.1, 0.1, 0.1, 0.1}, "a"), manual(b, {0.1, 0.1, 0.5, 0.05}, "b"),
                          manual(c, {0.1, 0.1, 0.05, 0.5}, "c")});
    ASSERT_EQ(idsOf(plan), (QList<QUuid>{a, b, c}));

    const RedactionPlan before = plan;
    for (const QUuid &id : {a, b, c})
        ASSERT_TRUE(plan.removeEntry(id));
    ASSERT_TRUE(history.record(before, plan));

    ASSERT_TRUE(history.undo(plan));
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(idsOf(plan), (QList<QUuid>{b, c, a}));
}

TEST_F(ManualRedactionEditHistoryTest, ClearEmptiesBothLists)
{
    draw({0.2, 0.2, 0.1, 0.1});
    draw({0.5, 0.2, 0.1, 0.1});
    ASSERT_TRUE(history.undo(plan));
    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history, ManualRedactionEditHistory());
}

} // namespace
