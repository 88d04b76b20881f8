#include "app/window/qt_file_dialogs.h"

#include "app/kit/folder_panel_message.h"

#include <QDir>
#include <QFileDialog>

namespace velmora {

namespace {

const QString pngFilter = QStringLiteral("PNG image (*.png)");
const QString jpegFilter = QStringLiteral("JPEG image (*.jpg *.jpeg)");

} // namespace

QtFileDialogs::QtFileDialogs(QWidget *window) : m_window(window) {}

QString QtFileDialogs::imageNameFilter()
{
    return QStringLiteral("Images (*.png *.jpg *.jpeg *.tif *.tiff *.heic *.PNG *.JPG *.JPEG *.TIF *.TIFF *.HEIC)");
}

QList<QUrl> QtFileDialogs::chooseImages(const QString &startFolder)
{
    QFileDialog dialog(m_window, QStringLiteral("Open Images"), startFolder, imageNameFilter());
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Open"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedUrls() : QList<QUrl>();
}

std::optional<QUrl> QtFileDialogs::chooseFolder(const FolderPanelText &text, const QString &startFolder)
{
    QFileDialog dialog(m_window, text.title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, text.acceptLabel);
    showFolderPanelMessage(dialog, text.message);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty())
        return std::nullopt;
    return dialog.selectedUrls().first();
}

std::optional<QString> QtFileDialogs::chooseCleanedImageDestination(const QString &startFolder,
                                                                     const QString &defaultName)
{
    QFileDialog dialog(m_window, QStringLiteral("Export Cleaned Copy"), QDir(startFolder).filePath(defaultName));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({pngFilter, jpegFilter});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace velmora
