#include "app/review/output_naming.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct FormatRow
{
    const char *name;
    const char *fileName;
    CleanedImageFormat format;
};

class CleanedImageFormats : public ::testing::TestWithParam<FormatRow>
{
};

TEST_P(CleanedImageFormats, FollowTheChosenExtension)
{
    EXPECT_EQ(cleanedImageFormat(QString::fromUtf8(GetParam().fileName)), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Rows, CleanedImageFormats, ::testing::Values(
    FormatRow{"Png", "/tmp/shot-redacted.png", CleanedImageFormat::png},
    FormatRow{"LowerJpg", "/tmp/shot.jpg", CleanedImageFormat::jpeg},
    FormatRow{"UpperJpg", "/tmp/shot.JPG", CleanedImageFormat::jpeg},
    FormatRow{"LowerJpeg", "/tmp/shot.jpeg", CleanedImageFormat::jpeg},
    FormatRow{"MixedJpeg", "/tmp/shot.JpEg", CleanedImageFormat::jpeg},
    FormatRow{"JpgOnlyInTheStem", "/tmp/shot.jpg.png", CleanedImageFormat::png},
    FormatRow{"Tiff", "/tmp/shot.tiff", CleanedImageFormat::png},
    FormatRow{"NoExtension", "/tmp/shot", CleanedImageFormat::png},
    FormatRow{"FolderNamedJpg", "/tmp/photos.jpg/shot", CleanedImageFormat::png}),
    test::rowName);

struct NameRow
{
    const char *name;
    std::optional<QUrl> sourceURL;
    const char *title;
    const char *expected;
};

class RedactedFileNames : public ::testing::TestWithParam<NameRow>
{
};

TEST_P(RedactedFileNames, TakeTheSourceStemOrTheTitle)
{
    EXPECT_EQ(redactedFileName(GetParam().sourceURL, QString::fromUtf8(GetParam().title)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, RedactedFileNames, ::testing::Values(
    NameRow{"Png", QUrl::fromLocalFile("/home/a/Shot 1.png"), "Shot 1.png", "Shot 1-redacted.png"},
    NameRow{"JpegSourceStillPng", QUrl::fromLocalFile("/home/a/photo.JPEG"), "photo.JPEG", "photo-redacted.png"},
    NameRow{"OnlyTheLastExtension", QUrl::fromLocalFile("/home/a/shot.final.tiff"), "x", "shot.final-redacted.png"},
    NameRow{"NoExtension", QUrl::fromLocalFile("/home/a/README"), "x", "README-redacted.png"},
    NameRow{"ClipboardTitle", std::nullopt, "Clipboard image", "Clipboard image-redacted.png"},
    NameRow{"SlashInTitle", std::nullopt, "Area capture 10/05", "Area capture 10-05-redacted.png"},
    NameRow{"EveryCharacterFatRefuses", std::nullopt, "a\"b*c<d>e?f\\g|h\ti\x7fj:k", "a-b-c-d-e-f-g-h-i-j-k-redacted.png"}),
    test::rowName);

// Cut to fit every file system, with room for a number that keeps it unique.
TEST(RedactedFileNames, ALongNameIsCutBeforeItsEnding)
{
    const QString name = redactedFileName(QUrl::fromLocalFile(QStringLiteral("/home/a/") + QString(300, u'é') + ".png"), {});
    EXPECT_EQ(name, QString(113, u'é') + QStringLiteral("-redacted.png"));
    EXPECT_LE(name.toUtf8().size(), 240);
}

TEST(AsciiFileNames, KeepWhatAsciiCanSay)
{
    EXPECT_EQ(asciiFileName(QStringLiteral("Capture d’écran 1-redacted.png")), "Capture d'ecran 1-redacted.png");
    EXPECT_EQ(asciiFileName(QStringLiteral("Ünïcödé “quoted”.png")), "Unicode 'quoted'.png");
    EXPECT_EQ(asciiFileName(QStringLiteral("日本-redacted.png")), "---redacted.png");
    EXPECT_EQ(asciiFileName(QStringLiteral("plain-redacted.png")), "plain-redacted.png");
}

TEST(UniqueFileNames, NumberLaterDuplicatesBeforeTheExtension)
{
    const QStringList names = uniqueFileNames({"a-redacted.png", "b-redacted.png", "a-redacted.png", "A-Redacted.png",
                                               "a-redacted-2.png", "a-redacted.png"});
    EXPECT_EQ(names, QStringList({"a-redacted.png", "b-redacted.png", "a-redacted-2.png", "A-Redacted-3.png",
                                  "a-redacted-2-2.png", "a-redacted-4.png"}));
}

TEST(UniqueFileNames, LeaveDistinctNamesAlone)
{
    const QStringList names{"one-redacted.png", "two-redacted.png"};
    EXPECT_EQ(uniqueFileNames(names), names);
    EXPECT_TRUE(uniqueFileNames({}).isEmpty());
}

TEST(BatchExportFolderNames, StartPlainThenNumberFromTwo)
{
    EXPECT_EQ(batchExportFolderName(1), "Velmora Cleaned");
    EXPECT_EQ(batchExportFolderName(2), "Velmora Cleaned 2");
    EXPECT_EQ(batchExportFolderName(11), "Velmora Cleaned 11");
}

} // namespace
} // namespace velmora
