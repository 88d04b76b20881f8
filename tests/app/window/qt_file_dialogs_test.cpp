#include "app/window/qt_file_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace velmora {
namespace {

/// Runs `answer` on the panel once it is up (the panel is modal: exec() returns after).
void whenPanelShows(std::function<void(QFileDialog &)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

TEST(QtFileDialogs, ExportPanelStartsAtTheSuggestedNameAndAsksBeforeReplacing)
{
    QTemporaryDir dir;
    QtFileDialogs dialogs(nullptr);
    whenPanelShows([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog.nameFilters(), QStringList({"PNG image (*.png)", "JPEG image (*.jpg *.jpeg)"}));
        EXPECT_EQ(dialog.selectedFiles().value(0), dir.filePath("shot-redacted.png"));
        dialog.selectFile(dir.filePath("typed"));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(dialogs.chooseCleanedImageDestination(dir.path(), "shot-redacted.png"), dir.filePath("typed.png"));
}

TEST(QtFileDialogs, FolderPanelShowsItsTextsAndCancelGivesNothing)
{
    QTemporaryDir dir;
    QtFileDialogs dialogs(nullptr);
    const FolderPanelText text{"Choose Batch Export Folder", "A message above the buttons.", "Export Batch"};
    whenPanelShows([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), text.title);
        EXPECT_EQ(dialog.labelText(QFileDialog::Accept), text.acceptLabel);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        bool hasMessage = false;
        for (const QLabel *label : dialog.findChildren<QLabel *>())
            hasMessage = hasMessage || label->text() == text.message;
        EXPECT_TRUE(hasMessage);
        dialog.reject();
    });
    EXPECT_EQ(dialogs.chooseFolder(text, dir.path()), std::nullopt);
}

TEST(QtFileDialogs, OpenPanelTakesSeveralImages)
{
    QTemporaryDir dir;
    for (const char *name : {"a.png", "b.jpg"}) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::gray);
        ASSERT_TRUE(image.save(dir.filePath(name)));
    }
    QtFileDialogs dialogs(nullptr);
    whenPanelShows([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
        dialog.selectFile(QStringLiteral("\"a.png\" \"b.jpg\""));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const QList<QUrl> chosen = dialogs.chooseImages(dir.path());
    EXPECT_EQ(chosen, QList<QUrl>({QUrl::fromLocalFile(dir.filePath("a.png")), QUrl::fromLocalFile(dir.filePath("b.jpg"))}));
}

} // namespace
} // namespace velmora
