#include "core/protection/screenshot_folder_snapshot.h"

#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velmora;

namespace {

QStringList fileNames(const QList<ScreenshotWatchCandidate> &candidates)
{
    QStringList names;
    for (const ScreenshotWatchCandidate &candidate : candidates)
        names.append(candidate.url.fileName());
    return names;
}

} // namespace

TEST(ScreenshotFolderSnapshot, ListsSupportedImagesInNaturalOrder)
{
    QTemporaryDir folder;
    for (const char *name : {"Shot 10.png", "shot 2.JPG", "Shot 1.tiff", "photo.heic", "notes.txt", "clip.gif",
                             ".hidden.png"})
        ASSERT_TRUE(test::writeBytes(folder.filePath(QString::fromUtf8(name)), "x"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Folder.png")));
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("Shot 10.png")), folder.filePath(QStringLiteral("link.png"))));

    EXPECT_EQ(fileNames(ScreenshotFolderWatchSnapshot::candidates(folder.path())),
              (QStringList{QStringLiteral("photo.heic"), QStringLiteral("Shot 1.tiff"), QStringLiteral("shot 2.JPG"),
                           QStringLiteral("Shot 10.png")}));
}

TEST(ScreenshotFolderSnapshot, CarriesSizeAndModificationTime)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(test::writeBytes(path, QByteArray(37, 'x')));

    const QList<ScreenshotWatchCandidate> listed = ScreenshotFolderWatchSnapshot::candidates(folder.path());
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.first().fileSize, 37);
    EXPECT_EQ(listed.first().modificationDate, QFileInfo(path).lastModified());
    EXPECT_EQ(listed.first().id(), path);
}

TEST(ScreenshotFolderSnapshot, MissingFolderListsNothing)
{
    QTemporaryDir folder;
    EXPECT_TRUE(ScreenshotFolderWatchSnapshot::candidates(folder.filePath(QStringLiteral("gone"))).isEmpty());
}
