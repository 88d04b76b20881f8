#include "core/support/task_handle.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace velmora;

TEST(TaskHandleTest, CancellingRunsEachHandlerOnceInOrder)
{
    const TaskHandle task;
    QStringList ran;
    task.onCancel([&] { ran << QStringLiteral("first"); });
    const TaskHandle copy = task;
    copy.onCancel([&] { ran << QStringLiteral("second"); });
    EXPECT_TRUE(ran.isEmpty());

    copy.cancel();
    task.cancel();
    EXPECT_EQ(ran, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    EXPECT_TRUE(task.isCancelled());
}

TEST(TaskHandleTest, AHandlerLeftOnCancelledWorkRunsAtOnce)
{
    const TaskHandle task;
    task.cancel();
    bool ran = false;
    task.onCancel([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(TaskHandleTest, HandlesAreEqualOnlyForTheSameWork)
{
    const TaskHandle task;
    const TaskHandle copy = task;
    EXPECT_EQ(task, copy);
    EXPECT_NE(task, TaskHandle());
}
