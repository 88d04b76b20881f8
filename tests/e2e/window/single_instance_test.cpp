#include "app/review/review_controller.h"
#include "app/shell/command_line.h"
#include "app/shell/single_instance.h"
#include "app/shell/velmora_app.h"
#include "app/window/content_view.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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
    EXPECT_FALSE(SingleInstance::handOver({})) << "nothing runs yet";
    SingleInstance instance;
    ASSERT_TRUE(instance.listen());
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
    ASSERT_TRUE(second.waitForStarted(10000));
    // The event loop runs meanwhile, so this instance answers the second one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return batchNames(app) == QStringList{"c.png"}; }, 10000))
        << batchNames(app).join(u", ").toStdString();
}

TEST(CommandLineTest, VersionPrintsAndEndsWithoutADisplay)
{
    QProcess velmora;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    velmora.setProcessEnvironment(environment);
    velmora.start(QStringLiteral(VELMORA_EXECUTABLE), {QStringLiteral("--version")});
    ASSERT_TRUE(velmora.waitForFinished(10000));
    EXPECT_EQ(velmora.exitCode(), 0);
    EXPECT_TRUE(velmora.readAllStandardOutput().startsWith("Velmora "));

    velmora.start(QStringLiteral(VELMORA_EXECUTABLE), {QStringLiteral("--help")});
    ASSERT_TRUE(velmora.waitForFinished(10000));
    EXPECT_EQ(velmora.exitCode(), 0);
    EXPECT_TRUE(velmora.readAllStandardOutput().contains("[files...]"));
}

} // namespace
} // namespace velmora::test
