#include "app/settings/policy_file_chooser.h"

#include "app/kit/folder_panel_message.h"
#include "core/settings/portable_settings.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace velmora {

namespace {

// The policy type first, then plain JSON.
QStringList nameFilters()
{
    return {QObject::tr("Velmora policy (*.%1)").arg(VelmoraPortableSettings::fileExtension),
            QObject::tr("JSON (*.json)")};
}

std::optional<QString> chosenPath(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

std::optional<QString> QtPolicyFileChooser::chooseExportDestination()
{
    QFileDialog dialog(QApplication::activeWindow(), QObject::tr("Export Settings"), QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters());
    dialog.setDefaultSuffix(VelmoraPortableSettings::fileExtension);
    dialog.selectFile(VelmoraPortableSettings::defaultFileName);
    return chosenPath(dialog);
}

std::optional<QString> QtPolicyFileChooser::chooseImportFile()
{
    QFileDialog dialog(QApplication::activeWindow(), QObject::tr("Import Settings"), QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters());
    dialog.setLabelText(QFileDialog::Accept, QObject::tr("Import"));
    return chosenPath(dialog);
}

std::optional<QString> QtPolicyFileChooser::chooseFolder(const FolderPanel &panel)
{
    QFileDialog dialog(QApplication::activeWindow(), panel.title, panel.startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // Without folder creation the panel offers no way to make or change entries.
    dialog.setOption(QFileDialog::ReadOnly, !panel.canCreateFolders);
    dialog.setLabelText(QFileDialog::Accept, panel.prompt);
    showFolderPanelMessage(dialog, panel.message);
    return chosenPath(dialog);
}

} // namespace velmora
