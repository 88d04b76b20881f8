#include "core/settings/settings_file_save.h"
#include "core/support/pending_file.h"

#include "support/row_name.h"
#include "support/temp_folder_test.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora::test {
namespace {

enum class Cleanup { settingsAtStart, nextExport };
enum class Entry { file, pipe, link, hardLink };

struct LeftoverRow
{
    const char *name;
    Cleanup cleanup;
    const char *entry;
    Entry kind;
    bool removed;
};

class OwnLeftovers : public TempFolderTest, public ::testing::WithParamInterface<LeftoverRow> {};

// The cleanups remove the hidden files of the exact forms Velmora gives them, when they
// are regular files of this user with no other name; a user's own file named alike, a
// pipe, a link and a file with a second name stay.
TEST_P(OwnLeftovers, OnlyTheProgramsOwnAreRemoved)
{
    const LeftoverRow &row = GetParam();
    const QString users = write("notes.txt", "the user's notes");
    const QByteArray entry = QFile::encodeName(path(row.entry));
    switch (row.kind) {
    case Entry::file:
        write(row.entry, "left");
        break;
    case Entry::pipe:
        ASSERT_EQ(::mkfifo(entry.constData(), 0600), 0);
        break;
    case Entry::link:
        ASSERT_TRUE(QFile::link(users, path(row.entry)));
        break;
    case Entry::hardLink:
        ASSERT_EQ(::link(QFile::encodeName(users).constData(), entry.constData()), 0);
        break;
    }

    if (row.cleanup == Cleanup::settingsAtStart)
        removeSettingsLeftovers(path("Velmora.conf"));
    else
        ASSERT_TRUE(writeWholeFile(path("shot-redacted.png"), "cleaned", ExistingEntry::keep));

    struct stat left {};
    EXPECT_EQ(::lstat(entry.constData(), &left) != 0, row.removed);
    EXPECT_EQ(fileBytes(users), "the user's notes");
}

INSTANTIATE_TEST_SUITE_P(Rows, OwnLeftovers, ::testing::Values(
    LeftoverRow{"savingCopy", Cleanup::settingsAtStart, ".Velmora.conf.saving-0123456789abcdef", Entry::file, true},
    LeftoverRow{"checkCopy", Cleanup::settingsAtStart, ".Velmora.conf.check-0123456789abcdef", Entry::file, true},
    LeftoverRow{"savingLock", Cleanup::settingsAtStart, ".Velmora.conf.saving-0123456789abcdef.lock", Entry::file, true},
    LeftoverRow{"olderKeptCopy", Cleanup::settingsAtStart, ".Velmora.conf.kept-0123abcd", Entry::file, true},
    LeftoverRow{"usersSavingNotes", Cleanup::settingsAtStart, ".Velmora.conf.saving-notes", Entry::file, false},
    LeftoverRow{"usersKeptCopy", Cleanup::settingsAtStart, ".Velmora.conf.kept-2024-01-01", Entry::file, false},
    LeftoverRow{"pipeNamedAsASavingCopy", Cleanup::settingsAtStart, ".Velmora.conf.saving-0123456789abcdef", Entry::pipe,
                false},
    LeftoverRow{"linkNamedAsACheckCopy", Cleanup::settingsAtStart, ".Velmora.conf.check-0123456789abcdef", Entry::link,
                false},
    LeftoverRow{"hardLinkNamedAsASavingCopy", Cleanup::settingsAtStart, ".Velmora.conf.saving-0123456789abcdef",
                Entry::hardLink, false},
    LeftoverRow{"temporaryFile", Cleanup::nextExport, ".velmora-0123456789abcdef.part", Entry::file, true},
    LeftoverRow{"claimingTemporaryFile", Cleanup::nextExport, ".velmora-0123456789abcdef.claim-fedcba9876543210.part",
                Entry::file, true},
    LeftoverRow{"usersShortPart", Cleanup::nextExport, ".velmora-cafe.part", Entry::file, false},
    LeftoverRow{"pipeNamedAsATemporaryFile", Cleanup::nextExport, ".velmora-0123456789abcdef.part", Entry::pipe, false},
    LeftoverRow{"linkNamedAsATemporaryFile", Cleanup::nextExport, ".velmora-0123456789abcdef.part", Entry::link, false},
    LeftoverRow{"hardLinkNamedAsATemporaryFile", Cleanup::nextExport, ".velmora-0123456789abcdef.part", Entry::hardLink,
                false}), rowName);

} // namespace
} // namespace velmora::test
