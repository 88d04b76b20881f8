#include "core/support/pending_file.h"

#include "support/row_name.h"
#include "support/temp_folder_test.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace velmora::test {
namespace {

using PendingFileTest = TempFolderTest;

TEST_F(PendingFileTest, WritesTheBytesUnderANewNameAndNothingElse)
{
    EXPECT_TRUE(writeWholeFile(path("out.png"), "cleaned", ExistingEntry::keep));
    EXPECT_EQ(fileBytes(path("out.png")), "cleaned");
    EXPECT_EQ(entriesOf(path(".")), QStringList({"out.png"}));
}

TEST_F(PendingFileTest, ANewFileNeverReplacesAnythingAndNeverWritesThroughALink)
{
    write("source.png", "original");
    ASSERT_TRUE(QFile::link(path("source.png"), path("link.png")));
    EXPECT_FALSE(writeWholeFile(path("source.png"), "cleaned", ExistingEntry::keep));
    EXPECT_FALSE(writeWholeFile(path("link.png"), "cleaned", ExistingEntry::keep));
    EXPECT_FALSE(writeWholeFile(path("link.png"), "cleaned", ExistingEntry::replace));
    EXPECT_EQ(fileBytes(path("source.png")), "original");
    EXPECT_EQ(entriesOf(path(".")), QStringList({"link.png", "source.png"}));
}

TEST_F(PendingFileTest, AReplacedFileKeepsItsPermissions)
{
    write("out.png", "old");
    ASSERT_TRUE(QFile::setPermissions(path("out.png"), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_TRUE(writeWholeFile(path("out.png"), "new", ExistingEntry::replace));
    EXPECT_EQ(fileBytes(path("out.png")), "new");
    EXPECT_EQ(QFile::permissions(path("out.png")), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(entriesOf(path(".")), QStringList({"out.png"}));
}

TEST_F(PendingFileTest, FailsWithoutLeavingAnythingWhenTheParentIsAFile)
{
    write("not-a-folder", "x");
    EXPECT_FALSE(writeWholeFile(path("not-a-folder/out.png"), "cleaned", ExistingEntry::keep));
    EXPECT_EQ(entriesOf(path(".")), QStringList({"not-a-folder"}));
}

struct SwappedLinkRow
{
    const char *name;
    ExistingEntry existing;
    const char *before; ///< What the name held when the file was claimed; null: nothing.
};

class SwappedLink : public TempFolderTest, public ::testing::WithParamInterface<SwappedLinkRow> {};

// Someone who can write to the folder puts a link where the file goes after the write
// began: what the link names is never written, and the bytes go nowhere else than the
// file's own entry.
TEST_P(SwappedLink, NeverRedirectsTheWrite)
{
    write("victim.txt", "keep me");
    if (GetParam().before)
        write("out.png", GetParam().before);
    std::optional<PendingFile> file = PendingFile::create(path("out.png"), GetParam().existing);
    ASSERT_TRUE(file.has_value());

    ASSERT_TRUE(QFile::link(path("victim.txt"), path("swapped")));
    ASSERT_EQ(std::rename(QFile::encodeName(path("swapped")).constData(), QFile::encodeName(path("out.png")).constData()), 0);
    const bool published = file->publish("cleaned");
    file.reset();

    EXPECT_EQ(fileBytes(path("victim.txt")), "keep me");
    EXPECT_EQ(entriesOf(path(".")), QStringList({"out.png", "victim.txt"}));
    if (published) {
        EXPECT_FALSE(QFileInfo(path("out.png")).isSymLink());
        EXPECT_EQ(fileBytes(path("out.png")), "cleaned");
    } else {
        EXPECT_TRUE(QFileInfo(path("out.png")).isSymLink());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SwappedLink, ::testing::Values(
    SwappedLinkRow{"NewFile", ExistingEntry::keep, nullptr},
    SwappedLinkRow{"ConfirmedReplace", ExistingEntry::replace, "old"}), rowName);

} // namespace
} // namespace velmora::test
