#include "app/review/review_controller.h"
#include "app/shell/command_line.h"
#include "app/shell/single_instance.h"
#include "app/shell/velmora_app.h"
#include "app/window/content_view.h"
#include "core/settings/stored_settings.h"
#include "core/support/file_descriptor.h"

#include "support/event_loop.h"
#include "support/process_waits.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"
#include "velmora_process.h"

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace velmora::test {
namespace {

// Velmora started with files, and a second launch that hands its file to the first:
// this process is the first instance, the real executable the second.
class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings->setValue(Setting::didCompleteOnboarding, true);
        for (const char *name : {"a.png", "b.png", "c.png"}) {
            QImage image(120, 80, QImage::Format_RGB32);
            image.fill(Qt::white);
            ASSERT_TRUE(image.save(m_folder.filePath(QLatin1String(name))));
        }
    }

    QString file(const char *name) const { return m_folder.filePath(QLatin1String(name)); }

    QStringList batchNames(VelmoraApp &app) const
    {
        ReviewController &review = app.mainWindow()->contentView()->session().review();
        // The files are read off the main thread first.
    finishPoolWork();
        drainEvents();
        QStringList names;
        for (const ReviewDocument &item : review.state().batch.items())
            names.append(item.displayName());
        return names;
    }

    QTemporaryDir m_folder;
    ScopedEnvironmentVariable m_runtime{"XDG_RUNTIME_DIR", m_folder.path().toLocal8Bit()};
    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings m_settings;
};

TEST_F(SingleInstanceTest, FilesOnTheCommandLineOpenAsOneBatch)
{
    const CommandLine line = CommandLine::parse({QStringLiteral("velmora"), file("a.png"), file("b.png")});
    EXPECT_EQ(line.paths, (QStringList{file("a.png"), file("b.png")}));
    VelmoraApp app(*m_settings);
    app.start();
    app.openPaths(line.paths);
    EXPECT_EQ(batchNames(app), (QStringList{"a.png", "b.png"}));
    EXPECT_TRUE(app.mainWindow()->isVisible());
}

TEST_F(SingleInstanceTest, ASecondLaunchHandsItsFileToTheFirstAndEnds)
{
    SingleInstance instance;
    ASSERT_EQ(instance.start({}), SingleInstance::Start::instance) << "nothing runs yet";
    VelmoraApp app(*m_settings);
    QObject::connect(&instance, &SingleInstance::pathsReceived, &app, &VelmoraApp::openPaths);
    app.start();
    app.openPaths({file("a.png"), file("b.png")});

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(m_folder.path());
    second.start(QStringLiteral(VELMORA_EXECUTABLE), {QStringLiteral("c.png")});
    ASSERT_TRUE(waitUntilStarted(second));
    // The event loop runs meanwhile, so this instance answers the second one.
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, "the second launch to end"));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(waitUntil([&] { return batchNames(app) == QStringList{"c.png"}; }, "the handed-over file to open"))
        << batchNames(app).join(u", ").toStdString();
}

/// Leaves a socket at `path` that nothing listens on, as an instance that crashed does.
bool leaveStaleSocket(const QString &path)
{
    sockaddr_un address{AF_UNIX, {}};
    const QByteArray name = QFile::encodeName(path);
    std::copy_n(name.constData(), std::min<size_t>(name.size(), sizeof(address.sun_path) - 1), address.sun_path);
    const FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return ::bind(socket.fd(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
}

// Two launches at the same moment, each with a file, as a file manager may start them,
// over and over: one becomes the instance and opens both files, the other hands its file
// over and ends. Both run on one processor, as on a busy machine, so that each may be
// interrupted anywhere in its start. Every other round, a socket that a crashed instance
// left waits there.
TEST_F(SingleInstanceTest, TwoLaunchesAtOnceMakeOneInstanceThatOpensBothFiles)
{
    const auto launch = [this](const char *name) {
        return VelmoraLaunch{
            .environment = {{QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("com.orlwick.kavri.shell.info=true")}},
            .prefix = {QStringLiteral("taskset"), QStringLiteral("-c"), QString::number(::sched_getcpu())},
            .arguments = {file(name)},
            .home = m_folder.path()};
    };
    for (int round = 0; round < 40; ++round) {
        if (round % 2 == 1) {
            ASSERT_TRUE(leaveStaleSocket(SingleInstance::socketPath()));
        }
        RunningVelmora first(launch("a.png"));
        RunningVelmora second(launch("b.png"));
        ASSERT_TRUE(waitUntil([&] {
            return first.process.state() == QProcess::NotRunning || second.process.state() == QProcess::NotRunning;
        }, "one launch to end")) << "round " << round << ": both launches still run";
        const bool firstEnded = first.process.state() == QProcess::NotRunning;
        QProcess &ended = (firstEnded ? first : second).process;
        QProcess &instance = (firstEnded ? second : first).process;
        EXPECT_TRUE(ended.exitStatus() == QProcess::NormalExit && ended.exitCode() == 0) << "round " << round;
        ASSERT_EQ(instance.state(), QProcess::Running) << "round " << round;
        QString log;
        EXPECT_TRUE(waitUntil([&] {
            log += QString::fromLocal8Bit(instance.readAllStandardError());
            return log.contains(file("a.png")) && log.contains(file("b.png"));
        }, "the instance to open both files")) << "round " << round << ", the instance's log:\n" << log.toStdString();
        instance.terminate();
        ASSERT_TRUE(waitUntilEnded(instance) && instance.exitCode() == 0) << "round " << round;
    }
}

TEST(CommandLineTest, VersionPrintsAndEndsWithoutADisplay)
{
    QProcess velmora;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    velmora.setProcessEnvironment(environment);
    velmora.start(QStringLiteral(VELMORA_EXECUTABLE), {QStringLiteral("--version")});
    ASSERT_TRUE(waitUntilEnded(velmora));
    EXPECT_EQ(velmora.exitCode(), 0);
    EXPECT_TRUE(velmora.readAllStandardOutput().startsWith("Velmora "));

    velmora.start(QStringLiteral(VELMORA_EXECUTABLE), {QStringLiteral("--help")});
    ASSERT_TRUE(waitUntilEnded(velmora));
    EXPECT_EQ(velmora.exitCode(), 0);
    EXPECT_TRUE(velmora.readAllStandardOutput().contains("[files...]"));
}

} // namespace
} // namespace velmora::test
