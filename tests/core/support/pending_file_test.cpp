#include "core/support/pending_file.h"

#include "support/row_name.h"
#include "support/temp_folder_test.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace velmora::test {
namespace {

using PendingFileTest = TempFolderTest;

TEST_F(PendingFileTest, WritesANewFileAndNothingElseNeverOverWhatHoldsTheName)
{
    EXPECT_TRUE(writeWholeFile(path("out.png"), "cleaned", ExistingEntry::keep));
    EXPECT_EQ(fileBytes(path("out.png")), "cleaned");
    ASSERT_TRUE(QFile::link(path("out.png"), path("link.png")));
    write("not-a-folder", "x");

    EXPECT_FALSE(writeWholeFile(path("out.png"), "again", ExistingEntry::keep));
    EXPECT_FALSE(writeWholeFile(path("link.png"), "again", ExistingEntry::keep));
    EXPECT_FALSE(writeWholeFile(path("link.png"), "again", ExistingEntry::replace));
    EXPECT_FALSE(writeWholeFile(path("not-a-folder/out.png"), "again", ExistingEntry::keep));
    EXPECT_EQ(fileBytes(path("out.png")), "cleaned");
    EXPECT_EQ(entriesOf(path(".")), QStringList({"link.png", "not-a-folder", "out.png"}));
}

struct SwappedLinkRow
{
    const char *name;
    ExistingEntry existing;
    const char *before; ///< What the name held when the write began; null: nothing.
    bool overTheTemporaryFile = false; ///< The link takes the temporary file's name, not the file's.
};

class SwappedLink : public TempFolderTest, public ::testing::WithParamInterface<SwappedLinkRow> {};

// Someone who can write to the folder renames a link over the file's name, or over its
// temporary file, after the write began: what the link names is never written, the
// bytes land in the file's own entry or nowhere, and a write whose name then holds the
// link is not reported done.
TEST_P(SwappedLink, NeverRedirectsTheWrite)
{
    write("victim.txt", "keep me");
    if (GetParam().before)
        write("out.png", GetParam().before);
    std::optional<PendingFile> file = PendingFile::create(path("out.png"), GetParam().existing);
    ASSERT_TRUE(file.has_value());

    ASSERT_TRUE(QFile::link(path("victim.txt"), path("swapped")));
    const QStringList temporary = QDir(path(".")).entryList({".velmora-*.part"}, QDir::Files | QDir::Hidden);
    const QString over = path(GetParam().overTheTemporaryFile ? temporary.value(0) : "out.png");
    ASSERT_EQ(std::rename(QFile::encodeName(path("swapped")).constData(), QFile::encodeName(over).constData()), 0);
    const bool published = file->publish("cleaned");
    file.reset();

    EXPECT_EQ(fileBytes(path("victim.txt")), "keep me");
    EXPECT_EQ(entriesOf(path(".")), QStringList({"out.png", "victim.txt"}));
    EXPECT_EQ(QFileInfo(path("out.png")).isSymLink(), !published);
    if (published) {
        EXPECT_EQ(fileBytes(path("out.png")), "cleaned");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SwappedLink, ::testing::Values(
    SwappedLinkRow{"NewFile", ExistingEntry::keep, nullptr},
    SwappedLinkRow{"ConfirmedReplace", ExistingEntry::replace, "old"},
    SwappedLinkRow{"NewFileFromItsTemporaryFile", ExistingEntry::keep, nullptr, true},
    SwappedLinkRow{"ConfirmedReplaceFromItsTemporaryFile", ExistingEntry::replace, "old", true}), rowName);

} // namespace
} // namespace velmora::test
