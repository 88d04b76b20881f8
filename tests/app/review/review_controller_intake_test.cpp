#include "review_commands_fixture.h"

#include "app/review/folder_expansion.h"
#include "app/review/review_status_text.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/thread_pool_gate.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cstdio>

namespace velmora::test {
namespace {

class IntakeTest : public ReviewCommandsTest
{
protected:
    /// Writes `bytes` as the file `name` inside the test's folder, making its folders.
    QUrl writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(writeBytes(path, bytes));
        return QUrl::fromLocalFile(path);
    }
    /// A plain 30 × 20 PNG at `name` inside the test's folder.
    QUrl writeImage(const QString &name) { return writeFile(name, encodedPng(plainImage(120, 30, 20))); }

    QStringList itemNames() const { return namesOf(state().batch.items()); }

    QTemporaryDir m_dir;
};

TEST_F(IntakeTest, ADropOfTwoImagesAndATextFileLoadsTheImagesAndCountsTheSkip)
{
    QMimeData drop;
    drop.setUrls({writeImage("a.png"), writeFile("notes.txt", "hello"), writeImage("b.png")});
    ASSERT_TRUE(DroppedImages::from(drop).has_value());
    controller.openDroppedImages(*DroppedImages::from(drop));
    drainScans();
    EXPECT_EQ(itemNames(), QStringList({"a.png", "b.png"}));
    EXPECT_EQ(state().batch.items().first().sourceType(), SafeShareSourceType::folderBatch);
    EXPECT_EQ(state().batch.items().last().reviewStatusNote(), ReviewText::queuedForScan);
    EXPECT_EQ(state().errorText(), skippedFilesText(1));
    EXPECT_EQ(engine.callCount(), 1) << "the batch scan started with the first image";
}

TEST_F(IntakeTest, ADropWithoutFilesLoadsTheImageBytes)
{
    QMimeData drop;
    drop.setData(QStringLiteral("image/png"), encodedPng(plainImage(50, 12, 9)));
    ASSERT_TRUE(DroppedImages::from(drop).has_value());
    controller.openDroppedImages(*DroppedImages::from(drop));
    drainScans();
    ASSERT_EQ(state().batch.items().size(), 1);
    EXPECT_EQ(state().batch.items().first().sourceType(), SafeShareSourceType::unknown);
    EXPECT_EQ(state().image().size(), QSize(12, 9));
    EXPECT_TRUE(state().isChecking());
}

TEST(DroppedImages, ADropOfNothingUsableIsRefused)
{
    QMimeData text;
    text.setText(QStringLiteral("not an image"));
    EXPECT_EQ(DroppedImages::from(text), std::nullopt);
    EXPECT_EQ(DroppedImages::from(QMimeData()), std::nullopt);
}

TEST_F(IntakeTest, AFolderWithOneImageCountsAsAFileImport)
{
    writeImage("shots/only.png");
    writeFile("shots/readme.txt", "x");
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.filePath("shots"));
    controller.openFolderFromPanel();
    drainScans();
    ASSERT_EQ(itemNames(), QStringList({"only.png"}));
    EXPECT_EQ(state().batch.items().first().sourceType(), SafeShareSourceType::fileImport);
    EXPECT_FALSE(state().errorText().has_value());
    ASSERT_EQ(dialogs.folderRequests.size(), 1);
    EXPECT_EQ(dialogs.folderRequests.first().text.acceptLabel, "Open");

    // The single-image sentence, as it stands before the scan starts.
    controller.loadImageURLs({*dialogs.folderAnswer}, ReviewText::imageLoaded, false);
    drainScans();
    EXPECT_EQ(state().reviewStatusNote(), "Image loaded. Scanning on device...");
}

TEST_F(IntakeTest, ThreeFilesWithOneCorruptLoadTwo)
{
    dialogs.imagesAnswer = {writeImage("one.png"), writeFile("two.png", "not a png"), writeImage("three.png")};
    controller.openImagesFromPanel();
    drainScans();
    EXPECT_EQ(itemNames(), QStringList({"one.png", "three.png"}));
    EXPECT_EQ(state().errorText(), "1 image file could not be opened and was skipped.");

    controller.loadImageURLs(dialogs.imagesAnswer, ReviewText::imageLoaded, false);
    drainScans();
    EXPECT_EQ(state().reviewStatusNote(), "2 images loaded. Scanning batch on device...");
}

// A name that is not UTF-8 cannot be opened: the folder scan counts it as skipped
// rather than leaving it out without a word.
TEST_F(IntakeTest, AFolderCountsANameThatIsNotUtf8AmongTheSkippedFiles)
{
    writeImage("shots/one.png");
    writeImage("shots/two.png");
    const QByteArray rawName = QFile::encodeName(m_dir.filePath("shots")) + "/caf\xe9.png";
    // QTemporaryDir cannot name this file to remove it, and would leave its folder behind.
    const auto removeRaw = qScopeGuard([&] { std::remove(rawName.constData()); });
    {
        const QByteArray bytes = fileBytes(m_dir.filePath("shots/one.png"));
        FILE *raw = std::fopen(rawName.constData(), "wb");
        ASSERT_NE(raw, nullptr);
        ASSERT_EQ(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), raw), size_t(bytes.size()));
        std::fclose(raw);
    }
    controller.loadImageURLs({QUrl::fromLocalFile(m_dir.filePath("shots"))}, ReviewText::imageLoaded, false);
    drainScans();
    EXPECT_EQ(itemNames(), QStringList({"one.png", "two.png"}));
    EXPECT_EQ(state().errorText(), skippedFilesText(1));
}

TEST_F(IntakeTest, CancelledPanelsLoadNothing)
{
    controller.openImagesFromPanel();
    drainScans();
    controller.openFolderFromPanel();
    drainScans();
    EXPECT_EQ(dialogs.imageRequests.size(), 1);
    EXPECT_TRUE(state().batch.items().isEmpty());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(IntakeTest, NothingSupportedOrNothingReadableSaysSo)
{
    writeFile("empty/readme.txt", "x");
    controller.loadImageURLs({QUrl::fromLocalFile(m_dir.filePath("empty"))}, ReviewText::imageLoaded, true);
    drainScans();
    EXPECT_EQ(state().errorText(), "Use a PNG, JPEG, TIFF, or HEIC image.");
    EXPECT_EQ(state().reviewStatusNote(), "Try another image.");

    controller.loadImageURLs({writeFile("broken.png", "nope"), writeFile("also.jpg", "nope")}, ReviewText::imageLoaded,
                             true);
    drainScans();
    EXPECT_EQ(state().errorText(), "That image could not be opened.");
    EXPECT_TRUE(state().batch.items().isEmpty());

    // A folder named as an image is no image that could be opened.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("x.png")));
    controller.loadImageURLs({QUrl::fromLocalFile(m_dir.filePath("x.png"))}, ReviewText::imageLoaded, true);
    drainScans();
    EXPECT_EQ(state().errorText(), "That image could not be opened.");
    EXPECT_EQ(state().reviewStatusNote(), "Try another image.");
}

TEST_F(IntakeTest, FoldersExpandInNaturalOrderWithSubfoldersWithoutHiddenFiles)
{
    for (const char *name : {"shots/img10.png", "shots/img2.png", "shots/IMG3.jpg", "shots/.hidden.png",
                             "shots/day 2/a.png", "shots/day 10/b.tiff", "shots/.cache/c.png"})
        writeImage(QString::fromLatin1(name));
    writeFile("shots/notes.txt", "x");
    const QUrl loose = QUrl::fromLocalFile("/elsewhere/loose.png");
    const QString shots = m_dir.filePath("shots");
    const QList<QUrl> expanded = expandFolders({loose, QUrl::fromLocalFile(shots)});
    QStringList names;
    for (const QUrl &url : expanded)
        names << (url == loose ? url.fileName() : QDir(shots).relativeFilePath(url.toLocalFile()));
    EXPECT_EQ(names, QStringList({"loose.png", "day 2/a.png", "day 10/b.tiff", "img2.png", "IMG3.jpg", "img10.png"}));
}

TEST_F(IntakeTest, AFolderIsWalkedOffTheMainThread)
{
    writeFile("shots/deep/notes.txt", "x");
    const QUrl folder = QUrl::fromLocalFile(m_dir.filePath("shots"));
    {
        ThreadPoolGate gate;
        controller.loadImageURLs({folder}, ReviewText::imageLoaded, true);
        EXPECT_FALSE(state().errorText().has_value()) << "walked on the main thread";
    }
    finishPoolWork();
    EXPECT_EQ(state().errorText(), ReviewText::unsupportedImage);
}

TEST_F(IntakeTest, PasteWithoutAnImageSaysWhatToDo)
{
    clipboard.write({{QStringLiteral("text/plain"), "hello"}});
    controller.pasteImageFromClipboard();
    EXPECT_EQ(state().errorText(), "Clipboard does not contain an image Velmora can open.");
    EXPECT_EQ(state().reviewStatusNote(), "Copy an image, then use Paste Image.");
}

TEST_F(IntakeTest, PasteLoadsTheClipboardImageAndMarksItHandled)
{
    clipboard.write({{QStringLiteral("image/png"), encodedPng(plainImage(80, 16, 8))}});
    controller.pasteImageFromClipboard();
    drainScans();
    ASSERT_EQ(itemNames(), QStringList({"Clipboard image"}));
    EXPECT_EQ(state().batch.items().first().sourceType(), SafeShareSourceType::clipboardImport);
    EXPECT_TRUE(state().isChecking());
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));

    // While that scan runs, a second paste does nothing, not even clear the error line.
    const QTemporaryDir emptyFolder;
    controller.loadImageURLs({QUrl::fromLocalFile(emptyFolder.path())}, {}, true);
    const auto error = state().errorText();
    const auto id = state().batch.items().first().id();
    controller.pasteImageFromClipboard();
    EXPECT_EQ(state().errorText(), error);
    EXPECT_EQ(state().batch.items().first().id(), id);
}

TEST_F(IntakeTest, AFolderShowsItsFirstImageAndScansOnceEveryFileIsIn)
{
    for (int i = 0; i < 6; ++i)
        writeFile(QStringLiteral("shot %1.png").arg(i), encodedPng(plainImage(20 + i)));
    controller.loadImageURLs({QUrl::fromLocalFile(m_dir.path())}, ReviewText::imageLoaded, true);
    drainScans();

    ASSERT_EQ(state().batch.items().size(), 6);
    EXPECT_EQ(state().batch.selectedID(), state().batch.items().first().id());
    EXPECT_EQ(state().image().pixel(0, 0), plainImage(20).pixel(0, 0));
    EXPECT_EQ(engine.callCount(), 1) << "one batch scan, started once all six were in";
    EXPECT_EQ(state().reviewStatusNote(), "Checking text and visual content on device...");
}

TEST_F(IntakeTest, ClosingWhileFilesAreReadOpensNoneOfThem)
{
    for (int i = 0; i < 6; ++i)
        writeFile(QStringLiteral("shot %1.png").arg(i), encodedPng(plainImage(20 + i)));
    controller.loadImageURLs({QUrl::fromLocalFile(m_dir.path())}, ReviewText::imageLoaded, true);
    controller.closeCurrentReview();
    drainScans();

    EXPECT_TRUE(state().batch.items().isEmpty());
    EXPECT_EQ(engine.callCount(), 0);
}

} // namespace
} // namespace velmora::test
