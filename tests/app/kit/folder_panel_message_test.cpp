#include "app/settings/policy_file_chooser.h"
#include "app/window/qt_file_dialogs.h"

#include "support/row_name.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

struct PanelRow
{
    const char *name;
    /// Shows the folder panel with `message`, starting in `folder`.
    std::function<void(const QString &message, const QString &folder)> choose;
};

// Every folder panel shows its message where the user reads it, in the panel itself.
class FolderPanelMessage : public ::testing::TestWithParam<PanelRow>
{
};

TEST_P(FolderPanelMessage, StandsVisibleInThePanel)
{
    const QString message = QStringLiteral("Choose where Velmora saves cleaned PNGs from capture auto-output modes.");
    QTemporaryDir dir;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            shown = shown || (label->text() == message && label->isVisible());
        dialog->reject();
    });
    GetParam().choose(message, dir.path());
    EXPECT_TRUE(shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderPanelMessage, ::testing::Values(
    PanelRow{"reviewFolderPanel", [](const QString &message, const QString &folder) {
        QtFileDialogs(nullptr).chooseFolder({QStringLiteral("Choose Batch Export Folder"), message,
                                             QStringLiteral("Export Batch")}, folder);
    }},
    PanelRow{"settingsFolderPanel", [](const QString &message, const QString &folder) {
        QtPolicyFileChooser().chooseFolder({QStringLiteral("Choose Capture Output Folder"), message,
                                            QStringLiteral("Use Folder"), folder, true});
    }}), rowName);

} // namespace
} // namespace velmora::test
