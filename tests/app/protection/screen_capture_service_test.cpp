#include "app/protection/screen_capture_service.h"

#include "support/event_loop.h"
#include "support/fake_capture_tool.h"
#include "support/file_bytes.h"
#include "support/row_name.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace velmora::test {
namespace {

/// Runs one capture to its end.
CaptureOutcome runCapture(const ScreenCaptureService &service, VelmoraCaptureMode mode, const TaskHandle &task = {})
{
    QObject context;
    std::optional<CaptureOutcome> outcome;
    service.capture(mode, task, &context, [&](CaptureOutcome result) { outcome = std::move(result); });
    EXPECT_FALSE(outcome.has_value()) << "the outcome must come from the event loop";
    EXPECT_TRUE(waitUntil([&] { return outcome.has_value(); }, "the capture's outcome"));
    return outcome.value_or(VelmoraCaptureError::failed);
}

struct EndingRow {
    const char *name;
    const char *body;
    std::optional<VelmoraCaptureError> error; ///< Nothing: the capture succeeds.
};

class CaptureToolEndingTest : public ::testing::TestWithParam<EndingRow> {};

TEST_P(CaptureToolEndingTest, ExitStatusAndFileDecide)
{
    const EndingRow &row = GetParam();
    FakeCaptureTool fake(row.body);
    const CaptureOutcome outcome = runCapture(ScreenCaptureService(fake.tool()), VelmoraCaptureMode::area);
    if (row.error) {
        ASSERT_TRUE(std::holds_alternative<VelmoraCaptureError>(outcome));
        EXPECT_EQ(rawValue(std::get<VelmoraCaptureError>(outcome)), rawValue(*row.error));
        EXPECT_TRUE(fake.leftovers().isEmpty()) << fake.leftovers().join(' ').toStdString();
    } else {
        ASSERT_TRUE(std::holds_alternative<QString>(outcome));
        EXPECT_EQ(fileBytes(std::get<QString>(outcome)), QByteArray("png bytes"));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureToolEndingTest, ::testing::Values(
    EndingRow{"wroteFileExitZero", "printf 'png bytes' > \"$last\"\nexit 0", std::nullopt},
    EndingRow{"wroteFileExitOne", "printf 'partial' > \"$last\"\nexit 1", VelmoraCaptureError::canceled},
    EndingRow{"noFileExitTwo", "exit 2", VelmoraCaptureError::canceled},
    EndingRow{"noFileExitZero", "exit 0", VelmoraCaptureError::outputMissing},
    EndingRow{"killedBySignal", "printf 'partial' > \"$last\"\nkill -KILL $$", VelmoraCaptureError::canceled}),
    rowName);

struct ArgumentsRow {
    const char *name;
    VelmoraCaptureMode mode;
    QStringList arguments;
};

class CaptureToolArgumentsTest : public ::testing::TestWithParam<ArgumentsRow> {};

TEST_P(CaptureToolArgumentsTest, EachModeHasItsListAndThePathLast)
{
    const ArgumentsRow &row = GetParam();
    FakeCaptureTool fake("exit 1");
    runCapture(ScreenCaptureService(fake.tool()), row.mode);
    const QStringList arguments = fake.arguments();
    ASSERT_EQ(arguments.size(), row.arguments.size() + 1);
    EXPECT_EQ(arguments.mid(0, row.arguments.size()), row.arguments);
    const QString path = arguments.last();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(fake.temporaryFolder()).absoluteFilePath());
    const QString prefix = QStringLiteral("velmora-capture-%1-").arg(rawValue(row.mode));
    const QString name = QFileInfo(path).fileName();
    ASSERT_TRUE(name.startsWith(prefix) && name.endsWith(QStringLiteral(".png"))) << name.toStdString();
    const QString uuid = name.mid(prefix.size(), name.size() - prefix.size() - 4);
    EXPECT_FALSE(QUuid::fromString(uuid).isNull()) << uuid.toStdString();
    EXPECT_EQ(uuid, uuid.toUpper());
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureToolArgumentsTest, ::testing::Values(
    ArgumentsRow{"screen", VelmoraCaptureMode::screen, {"-u", "-f", "png"}},
    ArgumentsRow{"window", VelmoraCaptureMode::window, {"-u", "-s", "-t", "9999999", "-f", "png"}},
    ArgumentsRow{"area", VelmoraCaptureMode::area, {"-u", "-s", "-t", "0", "-f", "png"}}),
    rowName);

TEST(ScreenCaptureServiceTest, EveryCaptureGetsANewName)
{
    FakeCaptureTool fake("exit 1");
    const ScreenCaptureService service(fake.tool());
    EXPECT_NE(service.temporaryFilePath(VelmoraCaptureMode::screen), service.temporaryFilePath(VelmoraCaptureMode::screen));
}

TEST(ScreenCaptureServiceTest, AMissingToolIsUnavailableAndNothingRuns)
{
    FakeCaptureTool fake("exit 0");
    ScreenCaptureTool tool = fake.tool();
    tool.executablePath = fake.executablePath() + QStringLiteral("-missing");
    const CaptureOutcome outcome = runCapture(ScreenCaptureService(tool), VelmoraCaptureMode::screen);
    EXPECT_EQ(std::get<VelmoraCaptureError>(outcome), VelmoraCaptureError::captureToolUnavailable);
}

TEST(ScreenCaptureServiceTest, AToolThatIsNotExecutableIsUnavailable)
{
    FakeCaptureTool fake("exit 0");
    QFile::setPermissions(fake.executablePath(), QFile::ReadOwner | QFile::WriteOwner);
    const CaptureOutcome outcome = runCapture(ScreenCaptureService(fake.tool()), VelmoraCaptureMode::screen);
    EXPECT_EQ(std::get<VelmoraCaptureError>(outcome), VelmoraCaptureError::captureToolUnavailable);
    EXPECT_TRUE(fake.arguments().isEmpty());
}

TEST(ScreenCaptureServiceTest, RefusedAccessRunsNoToolAndLeavesNoFile)
{
    FakeCaptureTool fake("printf 'png bytes' > \"$last\"");
    int requests = 0;
    const CaptureOutcome outcome =
        runCapture(ScreenCaptureService(fake.tool(false, false, &requests)), VelmoraCaptureMode::screen);
    EXPECT_EQ(std::get<VelmoraCaptureError>(outcome), VelmoraCaptureError::permissionDenied);
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(fake.arguments().isEmpty());
    EXPECT_TRUE(fake.leftovers().isEmpty());
}

TEST(ScreenCaptureServiceTest, AGrantedRequestAfterARefusedPreflightCaptures)
{
    FakeCaptureTool fake("printf 'png bytes' > \"$last\"");
    int requests = 0;
    const CaptureOutcome outcome =
        runCapture(ScreenCaptureService(fake.tool(false, true, &requests)), VelmoraCaptureMode::screen);
    EXPECT_TRUE(std::holds_alternative<QString>(outcome));
    EXPECT_EQ(requests, 1);
}

TEST(ScreenCaptureServiceTest, AGrantedPreflightAsksNoRequest)
{
    FakeCaptureTool fake("printf 'png bytes' > \"$last\"");
    int requests = 0;
    runCapture(ScreenCaptureService(fake.tool(true, false, &requests)), VelmoraCaptureMode::screen);
    EXPECT_EQ(requests, 0);
}

TEST(ScreenCaptureServiceTest, AToolThatCannotStartFails)
{
    FakeCaptureTool fake("exit 0");
    writeBytes(fake.executablePath(), "#!/nonexistent/interpreter\n");
    const CaptureOutcome outcome = runCapture(ScreenCaptureService(fake.tool()), VelmoraCaptureMode::window);
    EXPECT_EQ(std::get<VelmoraCaptureError>(outcome), VelmoraCaptureError::failed);
}

// The tool has written part of its file and waits for the user (here: for input that
// never comes); cancelling the capture's task must end it and leave no file.
TEST(ScreenCaptureServiceTest, CancellingTerminatesTheToolAndRemovesItsFile)
{
    FakeCaptureTool fake("printf 'partial' > \"$last\"\nexec cat");
    const ScreenCaptureService service(fake.tool());
    QObject context;
    const TaskHandle task;
    std::optional<CaptureOutcome> outcome;
    service.capture(VelmoraCaptureMode::area, task, &context, [&](CaptureOutcome result) { outcome = std::move(result); });
    ASSERT_TRUE(waitUntil([&] { return fake.leftovers().size() == 1; }, "the tool to write its file"));

    task.cancel();
    ASSERT_TRUE(waitUntil([&] { return outcome.has_value(); }, "the capture's outcome"));
    EXPECT_TRUE(std::holds_alternative<CaptureCancelled>(*outcome));
    EXPECT_TRUE(fake.leftovers().isEmpty()) << fake.leftovers().join(' ').toStdString();
}

TEST(ScreenCaptureServiceTest, ACaptureCancelledBeforeItStartsRunsNoTool)
{
    FakeCaptureTool fake("printf 'png bytes' > \"$last\"");
    const TaskHandle task;
    task.cancel();
    const CaptureOutcome outcome = runCapture(ScreenCaptureService(fake.tool()), VelmoraCaptureMode::screen, task);
    EXPECT_TRUE(std::holds_alternative<CaptureCancelled>(outcome));
    EXPECT_TRUE(fake.arguments().isEmpty());
}

// Without an X11 display (this suite runs offscreen) there is no capture tool.
TEST(ScreenCaptureServiceTest, NoToolWithoutAnX11Display)
{
    EXPECT_TRUE(ScreenCaptureTool::forThisDesktop().executablePath.isEmpty());
}

} // namespace
} // namespace velmora::test
