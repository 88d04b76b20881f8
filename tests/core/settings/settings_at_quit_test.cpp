#include "core/settings/settings_at_quit.h"
#include "core/settings/stored_settings.h"

#include "support/file_bytes.h"
#include "support/row_name.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace velmora;

namespace {

struct QuitRow
{
    const char *name;
    std::vector<HeldSettingsChoice> answers; ///< To each question in turn.
    int freedBefore; ///< The settings file's place is free again before this answer (-1: never).
    bool mayQuit;
};

// Quit while a folder takes the settings file's place, so that no save lands until it
// goes: the user is asked, with the reason, after each failed save.
class SettingsAtQuit : public ::testing::TestWithParam<QuitRow>
{
};

TEST_P(SettingsAtQuit, QuitsOnceSavedOrWhenTheUserSaysSo)
{
    const QuitRow &row = GetParam();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Velmora.conf"));
    const auto settings = StoredSettings::atIniFile(path);
    ASSERT_TRUE(row.answers.empty() || QDir().mkdir(path));
    settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));

    std::vector<SettingsSaveFailure> told;
    const bool mayQuit = mayQuitWithSettings(*settings, [&](SettingsSaveFailure failure) {
        told.push_back(failure);
        if (int(told.size()) == row.freedBefore + 1)
            QDir().rmdir(path);
        return told.size() <= row.answers.size() ? row.answers[told.size() - 1] : HeldSettingsChoice::stay;
    });
    EXPECT_EQ(mayQuit, row.mayQuit);
    EXPECT_EQ(told, std::vector<SettingsSaveFailure>(row.answers.size(), SettingsSaveFailure::other));
    const bool saved = row.freedBefore >= 0 || row.answers.empty();
    EXPECT_EQ(test::fileBytes(path).contains("Project Falcon"), saved);
    EXPECT_EQ(settings->saveFailure().has_value(), !saved);
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Project Falcon"));
}

using enum HeldSettingsChoice;
INSTANTIATE_TEST_SUITE_P(Rows, SettingsAtQuit, ::testing::Values(
    QuitRow{"SavedWithoutAQuestion", {}, -1, true},
    QuitRow{"TriedAgainUntilTheFolderIsFree", {tryAgain, tryAgain}, 1, true},
    QuitRow{"QuitAnyway", {tryAgain, quitAnyway}, -1, true},
    QuitRow{"Stay", {stay}, -1, false}), test::rowName);

} // namespace
