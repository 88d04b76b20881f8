#include "app/protection/autoclean_undo_coordinator.h"

#include "support/file_bytes.h"
#include "support/scoped_environment.h"
#include "support/xclip.h"
#include "x11/support/clipboard_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

// The clipboard guard running over the real clipboard, an undo window on the same
// manual clock, and a home of its own whose Trash the test can look into.
class AutoCleanUndoTest : public test::ClipboardFixture
{
protected:
    AutoCleanUndoTest()
        : m_home("HOME", QDir(m_homeFolder.path()).filePath(QStringLiteral("home")).toUtf8()),
          m_dataHome("XDG_DATA_HOME", QDir(m_homeFolder.path()).filePath(QStringLiteral("home/.local/share")).toUtf8())
    {
        QDir(m_homeFolder.path()).mkpath(QStringLiteral("home/.local/share"));
        QDir(m_homeFolder.path()).mkpath(QStringLiteral("output"));
    }

    QString outputPath(const QString &name) const
    {
        return QDir(m_homeFolder.path()).filePath(QStringLiteral("output/") + name);
    }

    QString trashedPath(const QString &name) const
    {
        return QDir(m_homeFolder.path()).filePath(QStringLiteral("home/.local/share/Trash/files/") + name);
    }

    QString writeGeneratedFile(const QString &name)
    {
        const QString path = outputPath(name);
        EXPECT_TRUE(test::writeBytes(path, test::encodedPng(testImage(Qt::black))));
        return path;
    }

    // What the AutoClean flows do: keep the clipboard as it was, write the cleaned PNG,
    // mark that write handled, and register the token.
    AutoCleanUndoToken autoCleanCopy(const QByteArray &cleanedPng, std::optional<QString> generatedFile = {})
    {
        AutoCleanUndoToken token;
        token.clipboardSnapshot = ClipboardUndoSnapshot::capture(m_clipboard);
        m_clipboard.write({{QStringLiteral("image/png"), cleanedPng}});
        token.clipboardOutputChangeCount = m_clipboard.changeCount();
        m_guard.monitorPlan().markHandled(m_clipboard.changeCount());
        if (generatedFile)
            token.generatedFileURL = QUrl::fromLocalFile(*generatedFile);
        m_undo.registerToken(token);
        return token;
    }

    QTemporaryDir m_homeFolder;
    test::ScopedEnvironmentVariable m_home;
    test::ScopedEnvironmentVariable m_dataHome;
    AutoCleanUndoCoordinator m_undo{m_clipboard, m_clock};
    const QByteArray m_originalPng = test::encodedPng(testImage(Qt::red));
    const QByteArray m_cleanedPng = test::encodedPng(testImage(Qt::white));
};

} // namespace

TEST_F(AutoCleanUndoTest, UndoSevenSecondsAfterACopyRestoresTheClipboardUnscanned)
{
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([&] { return test::xclipOffer(QStringLiteral("image/png"), m_originalPng); }));
    const QStringList originalTargets = test::xclipTargets();
    startGuard();
    autoCleanCopy(m_cleanedPng);
    ASSERT_EQ(test::xclipRead(QStringLiteral("image/png")), m_cleanedPng);

    m_clock.advance(7s);
    ASSERT_TRUE(m_undo.undo(m_guard));
    EXPECT_FALSE(m_undo.token());
    EXPECT_EQ(test::xclipTargets(), originalTargets);
    EXPECT_EQ(test::xclipRead(QStringLiteral("image/png")), m_originalPng);

    advancePolls(10);
    EXPECT_TRUE(m_candidates.isEmpty()) << "the guard scanned AutoClean's own output or its undo";
}

TEST_F(AutoCleanUndoTest, UndoRestoresEveryOriginalFormat)
{
    ASSERT_NO_FATAL_FAILURE(waitForForeignChange(
        [&] { return test::xclipOffer(QStringLiteral("text/uri-list"), "file:///tmp/a.png\r\n"); }));
    const QStringList originalTargets = test::xclipTargets();
    const QByteArray originalUris = test::xclipRead(QStringLiteral("text/uri-list"));
    startGuard();
    autoCleanCopy(m_cleanedPng);

    ASSERT_TRUE(m_undo.undo(m_guard));
    const QStringList restored = test::xclipTargets();
    for (const QString &target : originalTargets)
        EXPECT_TRUE(restored.contains(target)) << target.toStdString() << " is missing";
    EXPECT_FALSE(restored.contains(QStringLiteral("image/png")));
    EXPECT_EQ(test::xclipRead(QStringLiteral("text/uri-list")), originalUris);
}

TEST_F(AutoCleanUndoTest, UndoAfterEightSecondsAnswersFalseAndChangesNothing)
{
    startGuard();
    const QString file = writeGeneratedFile(QStringLiteral("Velmora-screen-cleaned.png"));
    autoCleanCopy(m_cleanedPng, file);
    const qint64 afterOutput = m_clipboard.changeCount();

    m_clock.advance(7999ms);
    EXPECT_TRUE(m_undo.token());
    m_clock.advance(1ms);
    EXPECT_FALSE(m_undo.token());
    EXPECT_FALSE(m_undo.undo(m_guard));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(m_clipboard.changeCount(), afterOutput);
    EXPECT_EQ(test::xclipRead(QStringLiteral("image/png")), m_cleanedPng);
}

TEST_F(AutoCleanUndoTest, ANewOutputRestartsTheWindowAndReplacesTheFirst)
{
    startGuard();
    const AutoCleanUndoToken first = autoCleanCopy(m_cleanedPng);
    m_clock.advance(5s);
    const QByteArray secondPng = test::encodedPng(testImage(Qt::darkGreen));
    const AutoCleanUndoToken second = autoCleanCopy(secondPng);
    ASSERT_NE(first, second);

    m_clock.advance(7900ms); // Past the first output's window, inside the second's.
    ASSERT_TRUE(m_undo.token());
    EXPECT_EQ(*m_undo.token(), second);
    m_clock.advance(100ms);
    EXPECT_FALSE(m_undo.token());
    EXPECT_FALSE(m_undo.undo(m_guard));
}

TEST_F(AutoCleanUndoTest, SecondOutputUndoesToWhatItReplaced)
{
    startGuard();
    autoCleanCopy(m_cleanedPng);
    m_clock.advance(5s);
    autoCleanCopy(test::encodedPng(testImage(Qt::darkGreen)));
    m_clock.advance(7s);
    ASSERT_TRUE(m_undo.undo(m_guard));
    // Only the latest output can be taken back: the clipboard holds the first one's output.
    EXPECT_EQ(test::xclipRead(QStringLiteral("image/png")), m_cleanedPng);
}

TEST_F(AutoCleanUndoTest, SaveAndCopyUndoTrashesTheFileAndRestoresTheClipboard)
{
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([&] { return test::xclipOffer(QStringLiteral("image/png"), m_originalPng); }));
    startGuard();
    const QString name = QStringLiteral("Velmora-area-20260101-101500-cleaned.png");
    const QString file = writeGeneratedFile(name);
    autoCleanCopy(m_cleanedPng, file);

    ASSERT_TRUE(m_undo.undo(m_guard));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(trashedPath(name))) << "not in the Trash of the test's XDG_DATA_HOME";
    EXPECT_TRUE(QFileInfo::exists(
        QDir(m_homeFolder.path()).filePath(QStringLiteral("home/.local/share/Trash/info/") + name + ".trashinfo")));
    EXPECT_EQ(test::xclipRead(QStringLiteral("image/png")), m_originalPng);
}

TEST_F(AutoCleanUndoTest, UndoOfASaveWhoseFileIsGoneOnlyClearsTheToken)
{
    startGuard();
    const QString file = writeGeneratedFile(QStringLiteral("gone.png"));
    ASSERT_TRUE(QFile::remove(file));
    const qint64 before = m_clipboard.changeCount();
    AutoCleanUndoToken token;
    token.generatedFileURL = QUrl::fromLocalFile(file);
    m_undo.registerToken(token);

    EXPECT_TRUE(m_undo.undo(m_guard));
    EXPECT_FALSE(m_undo.token());
    EXPECT_EQ(m_clipboard.changeCount(), before);
    EXPECT_FALSE(QDir(QDir(m_homeFolder.path()).filePath(QStringLiteral("home/.local/share/Trash"))).exists());
}

// Once the user has copied something else, undo must not throw it away.
TEST_F(AutoCleanUndoTest, UndoLeavesALaterUserCopyAlone)
{
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([&] { return test::xclipOffer(QStringLiteral("image/png"), m_originalPng); }));
    startGuard();
    const QString name = QStringLiteral("Velmora-window-cleaned.png");
    const QString file = writeGeneratedFile(name);
    autoCleanCopy(m_cleanedPng, file);
    m_clock.advance(2s);
    ASSERT_NO_FATAL_FAILURE(waitForForeignChange(
        [] { return test::xclipOffer(QStringLiteral("UTF8_STRING"), "copied by the user"); }));
    const qint64 userChange = m_clipboard.changeCount();

    ASSERT_TRUE(m_undo.undo(m_guard));
    EXPECT_FALSE(m_undo.token());
    EXPECT_EQ(m_clipboard.changeCount(), userChange);
    EXPECT_EQ(test::xclipRead(QStringLiteral("UTF8_STRING")), QByteArray("copied by the user"));
    EXPECT_TRUE(QFileInfo::exists(trashedPath(name)));
}

TEST_F(AutoCleanUndoTest, EmptySnapshotRestoresAnEmptyClipboard)
{
    m_clipboard.write({});
    startGuard();
    const AutoCleanUndoToken token = autoCleanCopy(m_cleanedPng);
    ASSERT_TRUE(token.clipboardSnapshot);
    EXPECT_TRUE(token.clipboardSnapshot->items.isEmpty());

    ASSERT_TRUE(m_undo.undo(m_guard));
    EXPECT_TRUE(test::xclipTargets().isEmpty());
    EXPECT_TRUE(m_clipboard.types().isEmpty());
}

TEST_F(AutoCleanUndoTest, ClearForgetsTheTokenAtOnce)
{
    startGuard();
    autoCleanCopy(m_cleanedPng);
    int published = 0;
    QObject::connect(&m_undo, &AutoCleanUndoCoordinator::tokenChanged, [&] { ++published; });
    m_undo.clear();
    EXPECT_EQ(published, 1);
    EXPECT_FALSE(m_undo.token());
    EXPECT_FALSE(m_undo.undo(m_guard));
    EXPECT_EQ(test::xclipRead(QStringLiteral("image/png")), m_cleanedPng);
    EXPECT_EQ(m_clock.pendingCount(), 1) << "only the guard's poll should remain";
}

TEST_F(AutoCleanUndoTest, UndoWithNothingRegisteredAnswersFalse)
{
    startGuard();
    EXPECT_FALSE(m_undo.undo(m_guard));
}

TEST_F(AutoCleanUndoTest, PendingExpiryEndsWithTheCoordinator)
{
    auto coordinator = std::make_unique<AutoCleanUndoCoordinator>(m_clipboard, m_clock);
    coordinator->registerToken({});
    EXPECT_EQ(m_clock.pendingCount(), 1);
    coordinator.reset();
    EXPECT_EQ(m_clock.pendingCount(), 0);
    m_clock.advance(10s);
}
