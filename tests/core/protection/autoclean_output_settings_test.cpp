#include "core/protection/autoclean_output_settings.h"

#include "core/settings/stored_settings.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <optional>

using namespace velmora;
using Mode = VelmoraCaptureOutputMode;
using Safety = VelmoraAutoCleanSafetyMode;

struct PolicyRow {
    const char *name;
    std::optional<QString> mode;
    std::optional<QString> safety;
    std::optional<bool> legacyRequiresNoReview;
    VelmoraCaptureOutputPolicy expected;
};

class CapturePolicyTest : public ::testing::TestWithParam<PolicyRow> {};

TEST_P(CapturePolicyTest, StoredValuesGiveThePolicy)
{
    const PolicyRow &row = GetParam();
    test::TempSettings settings;
    if (row.mode)
        settings->setValue(Setting::captureOutputModeID, *row.mode);
    if (row.safety)
        settings->setValue(Setting::captureOutputSafetyModeID, *row.safety);
    if (row.legacyRequiresNoReview)
        settings->setValue(Setting::captureOutputRequiresNoReviewFindings, *row.legacyRequiresNoReview);
    EXPECT_EQ(AutoCleanOutputCoordinator::currentPolicy(*settings), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, CapturePolicyTest, ::testing::Values(
    PolicyRow{"nothingStored", std::nullopt, std::nullopt, std::nullopt, {Mode::reviewInVelmora, Safety::pauseIfUnsure}},
    PolicyRow{"legacyFalse", QStringLiteral("saveCleanedPNG"), std::nullopt, false,
              {Mode::saveCleanedPNG, Safety::autoCleanEverything}},
    PolicyRow{"legacyTrue", QStringLiteral("copyCleanedPNG"), std::nullopt, true,
              {Mode::copyCleanedPNG, Safety::pauseIfUnsure}},
    PolicyRow{"safetyCaseDiffersNoLegacy", QStringLiteral("copyCleanedPNG"), QStringLiteral("PauseIfUnsure"), std::nullopt,
              {Mode::copyCleanedPNG, Safety::pauseIfUnsure}},
    PolicyRow{"safetyCaseDiffersLegacyFalse", QStringLiteral("copyCleanedPNG"), QStringLiteral("PauseIfUnsure"), false,
              {Mode::copyCleanedPNG, Safety::autoCleanEverything}},
    PolicyRow{"safetyKeyWinsOverLegacy", QStringLiteral("saveAndCopyCleanedPNG"), QStringLiteral("reviewFirst"), false,
              {Mode::saveAndCopyCleanedPNG, Safety::reviewFirst}},
    PolicyRow{"unknownModeIsReview", QStringLiteral("copycleanedpng"), QStringLiteral("autoCleanEverything"), std::nullopt,
              {Mode::reviewInVelmora, Safety::autoCleanEverything}}),
    test::rowName);

TEST(CaptureOutputFolderTest, StoringKeepsPathAndNameAndResolves)
{
    test::TempSettings settings;
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("Cleaned Captures"));
    ASSERT_TRUE(QDir().mkpath(folder));

    ASSERT_TRUE(AutoCleanOutputCoordinator::storeOutputFolder(*settings, folder));
    EXPECT_EQ(settings->value(Setting::captureOutputFolderDisplayName), QStringLiteral("Cleaned Captures"));
    EXPECT_EQ(settings->value(Setting::captureOutputFolderPath), folder);
    const auto resolved = AutoCleanOutputCoordinator::resolveOutputFolder(*settings);
    ASSERT_TRUE(std::holds_alternative<ResolvedCaptureOutputFolder>(resolved));
    EXPECT_EQ(std::get<ResolvedCaptureOutputFolder>(resolved), (ResolvedCaptureOutputFolder{folder, false}));
}

TEST(CaptureOutputFolderTest, AFileOrMissingPathIsNotStored)
{
    test::TempSettings settings;
    QTemporaryDir parent;
    const QString file = parent.filePath(QStringLiteral("note.txt"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_FALSE(AutoCleanOutputCoordinator::storeOutputFolder(*settings, file));
    EXPECT_FALSE(AutoCleanOutputCoordinator::storeOutputFolder(*settings, parent.filePath(QStringLiteral("gone"))));
    EXPECT_FALSE(settings->contains(Setting::captureOutputFolderBookmark));
    EXPECT_FALSE(settings->contains(Setting::captureOutputFolderPath));
}

TEST(CaptureOutputFolderTest, ClearingRemovesTheThreeFolderKeysOnly)
{
    test::TempSettings settings;
    QTemporaryDir folder;
    settings->setValue(Setting::captureOutputModeID, QStringLiteral("saveCleanedPNG"));
    ASSERT_TRUE(AutoCleanOutputCoordinator::storeOutputFolder(*settings, folder.path()));
    AutoCleanOutputCoordinator::clearOutputFolder(*settings);
    EXPECT_FALSE(settings->contains(Setting::captureOutputFolderBookmark));
    EXPECT_FALSE(settings->contains(Setting::captureOutputFolderDisplayName));
    EXPECT_FALSE(settings->contains(Setting::captureOutputFolderPath));
    EXPECT_EQ(settings->value(Setting::captureOutputModeID), QStringLiteral("saveCleanedPNG"));
    EXPECT_EQ(std::get<CaptureAutoOutputError>(AutoCleanOutputCoordinator::resolveOutputFolder(*settings)),
              CaptureAutoOutputError::missingSaveFolder);
}

TEST(CaptureOutputFolderTest, AFolderRemovedSinceNoLongerResolves)
{
    test::TempSettings settings;
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(AutoCleanOutputCoordinator::storeOutputFolder(*settings, folder));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_EQ(std::get<CaptureAutoOutputError>(AutoCleanOutputCoordinator::resolveOutputFolder(*settings)),
              CaptureAutoOutputError::unresolvableFolder);
}

TEST(CaptureOutputModeTest, OnlyExactRawValuesAreModes)
{
    EXPECT_EQ(AutoCleanOutputCoordinator::outputMode(QStringLiteral("saveAndCopyCleanedPNG")), Mode::saveAndCopyCleanedPNG);
    EXPECT_EQ(AutoCleanOutputCoordinator::outputMode(QStringLiteral("SaveCleanedPNG")), std::nullopt);
    EXPECT_EQ(AutoCleanOutputCoordinator::outputMode(QString()), std::nullopt);
}

struct FileNameRow {
    const char *name;
    VelmoraCaptureMode mode;
    int takenBefore; ///< Names of the same second already in the folder: plain, -2, -3, ...
    const char *expected;
};

class CaptureOutputFileNameTest : public ::testing::TestWithParam<FileNameRow> {};

TEST_P(CaptureOutputFileNameTest, NamedByModeAndSecondAndMadeFree)
{
    const FileNameRow &row = GetParam();
    QTemporaryDir folder;
    const QDateTime date(QDate(2026, 3, 4), QTime(5, 6, 7), QTimeZone::systemTimeZone());
    for (int taken = 0; taken < row.takenBefore; ++taken) {
        const QString path = captureOutputFileName(folder.path(), row.mode, date);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString path = captureOutputFileName(folder.path(), row.mode, date);
    EXPECT_EQ(QFileInfo(path).fileName(), QString::fromLatin1(row.expected));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureOutputFileNameTest, ::testing::Values(
    FileNameRow{"screenFree", VelmoraCaptureMode::screen, 0, "Velmora-screen-20260304-050607-cleaned.png"},
    FileNameRow{"areaTakenOnce", VelmoraCaptureMode::area, 1, "Velmora-area-20260304-050607-cleaned-2.png"},
    FileNameRow{"windowTakenTwice", VelmoraCaptureMode::window, 2, "Velmora-window-20260304-050607-cleaned-3.png"}),
    test::rowName);

TEST(CaptureOutputFileNameTest, DigitsDoNotFollowTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    QTemporaryDir folder;
    const QString path = captureOutputFileName(folder.path(), VelmoraCaptureMode::screen,
                                               QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58), QTimeZone::systemTimeZone()));
    QLocale::setDefault(previous);
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("Velmora-screen-20261231-235958-cleaned.png"));
}
