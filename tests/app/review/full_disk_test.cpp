#include "app/review/batch_export.h"
#include "app/review/cleaned_output_files.h"
#include "core/history/safe_share_history_store.h"
#include "core/settings/policy_transfer.h"

#include "support/event_loop.h"
#include "support/file_size_limit.h"
#include "support/row_name.h"
#include "support/temp_folder_test.h"
#include "support/temp_settings.h"

#include <QRandomGenerator>

#include <functional>

namespace velmora::test {
namespace {

/// Room for QSettings' lock file, not for any file written below; each of those fits a
/// file's write buffer, so only its flush can fail.
constexpr rlim_t bytesLeftOnDisk = 1024;
/// What a file there beforehand holds: settings, for the row that needs them.
const char oldContent[] = "[General]\nvelmoraPolicySource=imported\n";

/// An image whose PNG is a few times larger than the room left.
QImage noisyImage()
{
    QImage image(40, 40, QImage::Format_RGB32);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(image.bits()), image.width() * image.height());
    return image;
}

struct FullDiskRow
{
    const char *name;
    const char *existing; ///< A file of this name is there beforehand; null: none.
    std::function<bool(const QString &folder)> write; ///< Whether it reported success.
};

class FullDisk : public TempFolderTest, public ::testing::WithParamInterface<FullDiskRow> {};

// The disk fills up while a file is written: the write reports failure and leaves
// nothing, neither a file cut short nor an empty one, and a file it would have replaced
// is as it was.
TEST_P(FullDisk, AFailedWriteIsReportedAndLeavesNothing)
{
    const QStringList before = GetParam().existing ? QStringList{GetParam().existing} : QStringList();
    if (GetParam().existing)
        write(GetParam().existing, oldContent);
    bool succeeded = true;
    {
        const FileSizeLimit fullDisk(bytesLeftOnDisk);
        succeeded = GetParam().write(path(QStringLiteral(".")));
    }
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(entriesOf(path(QStringLiteral("."))), before);
    if (GetParam().existing) {
        EXPECT_EQ(fileBytes(path(GetParam().existing)), oldContent);
    }
}

bool writeCleanedCopy(const QString &folder)
{
    return writeCleanedImageFile(noisyImage(), {}, folder + QStringLiteral("/out-redacted.png"), {});
}

INSTANTIATE_TEST_SUITE_P(Rows, FullDisk, ::testing::Values(
    FullDiskRow{"CleanedCopy", nullptr, writeCleanedCopy},
    FullDiskRow{"CleanedCopyInPlaceOfAnOldOne", "out-redacted.png", writeCleanedCopy},
    FullDiskRow{"BatchItem", nullptr, [](const QString &folder) {
        const BatchExportJob job{QStringLiteral("a-redacted.png"), ReviewImageSource::encode(noisyImage()), {}};
        return std::holds_alternative<QString>(writeBatchExport({job}, folder, [](int) {}, [] { return false; }));
    }},
    FullDiskRow{"PolicyExport", nullptr, [](const QString &folder) {
        TempSettings settings;
        QStringList terms;
        for (int i = 0; i < 100; ++i)
            terms.append(QStringLiteral("Project %1").arg(i));
        settings->setValue(Setting::customTermsText, terms.join(QLatin1Char('\n')));
        return exportPolicySettingsFile(*settings, folder + QStringLiteral("/team.velmorapolicy"), {});
    }},
    FullDiskRow{"SafeShareHistory", "settings.ini", [](const QString &folder) {
        const auto settings = StoredSettings::atIniFile(folder + QStringLiteral("/settings.ini"));
        for (int i = 0; i < 10; ++i)
            appendSafeShareHistoryRecord(*settings, SafeShareHistoryRecord::make(
                QUuid::createUuid(), QDateTime::fromSecsSinceEpoch(i), SafeShareSourceType::capture,
                SafeShareAction::copyCleanedPNG, {}, {}, {}, {}));
        drainEvents(); // The save a moment after the changes, then the one asked for.
        return settings->sync();
    }}), rowName);

} // namespace
} // namespace velmora::test
