#include "app/review/batch_export.h"
#include "app/review/cleaned_output_files.h"
#include "core/history/safe_share_history_store.h"
#include "core/settings/policy_transfer.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/file_size_limit.h"
#include "support/row_name.h"
#include "support/temp_settings.h"
#include "support/temp_folder_test.h"

#include <QImage>

#include <functional>

namespace velmora::test {
namespace {

/// A disk with 1 KB left: room for QSettings' lock file, not for any file written below.
/// Each of those is smaller than a file's write buffer, so only its flush can fail.
constexpr rlim_t writableBytes = 1024;

/// An image whose PNG is a few times larger than the room left.
QImage noisyImage()
{
    QImage image(40, 40, QImage::Format_RGB32);
    quint32 state = 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, state >> 8);
        }
    }
    return image;
}

struct FullDiskRow
{
    const char *name;
    const char *existing; ///< A file of this name is in the folder beforehand; null: none.
    /// Writes into the folder; whether it reported success.
    std::function<bool(const QString &folder)> write;
};

/// What a file that is there beforehand holds: settings too, for the row that needs them.
const char oldContent[] = "[General]\nvelmoraPolicySource=imported\n";

class FullDisk : public TempFolderTest, public ::testing::WithParamInterface<FullDiskRow> {};

// A disk that fills up while a file is written: the write is reported as failed, and
// nothing is left of it, neither a file cut short nor an empty one, and a file it would
// have replaced is as it was.
TEST_P(FullDisk, AFailedWriteIsReportedAndLeavesNothing)
{
    const QString folder = path(QStringLiteral("."));
    QStringList before;
    if (GetParam().existing) {
        write(GetParam().existing, oldContent);
        before.append(GetParam().existing);
    }
    bool succeeded = true;
    {
        const FileSizeLimit fullDisk(writableBytes);
        succeeded = GetParam().write(folder);
    }
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(entriesOf(folder), before);
    if (GetParam().existing)
        EXPECT_EQ(fileBytes(path(GetParam().existing)), oldContent);
}

bool writeCleanedCopy(const QString &folder)
{
    return writeCleanedImageFile(noisyImage(), RedactionPlan(), folder + QStringLiteral("/out-redacted.png"), {});
}

bool exportBatch(const QString &folder)
{
    const QList<BatchExportJob> jobs{{QStringLiteral("a-redacted.png"), ReviewImageSource::encode(noisyImage()), {}}};
    return !std::holds_alternative<BatchExportFailure>(writeBatchExport(jobs, folder, [](int) {}, [] { return false; }));
}

bool exportPolicy(const QString &folder)
{
    TempSettings settings;
    QStringList terms;
    for (int i = 0; i < 100; ++i)
        terms.append(QStringLiteral("Project %1").arg(i));
    settings->setValue(Setting::customTermsText, terms.join(QLatin1Char('\n')));
    return exportPolicySettingsFile(*settings, folder + QStringLiteral("/team.velmorapolicy"), {});
}

bool recordShare(const QString &folder)
{
    const auto settings = StoredSettings::atIniFile(folder + QStringLiteral("/settings.ini"));
    for (int i = 0; i < 10; ++i)
        appendSafeShareHistoryRecord(*settings, SafeShareHistoryRecord::make(QUuid::createUuid(),
                                                                             QDateTime::fromSecsSinceEpoch(i),
                                                                             SafeShareSourceType::capture,
                                                                             SafeShareAction::copyCleanedPNG, {}, {}, {}, {}));
    // QSettings' own save after a change comes first, then the explicit one.
    drainEvents();
    return settings->sync();
}

INSTANTIATE_TEST_SUITE_P(Rows, FullDisk, ::testing::Values(
    FullDiskRow{"CleanedCopy", nullptr, writeCleanedCopy},
    FullDiskRow{"CleanedCopyInPlaceOfAnOldOne", "out-redacted.png", writeCleanedCopy},
    FullDiskRow{"BatchItem", nullptr, exportBatch},
    FullDiskRow{"PolicyExport", nullptr, exportPolicy},
    FullDiskRow{"SafeShareHistory", "settings.ini", recordShare}), rowName);

} // namespace
} // namespace velmora::test
