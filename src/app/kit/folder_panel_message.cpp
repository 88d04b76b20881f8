#include "app/kit/folder_panel_message.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace velmora {

void showFolderPanelMessage(QFileDialog &dialog, const QString &message)
{
    if (message.isEmpty())
        return;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return;
    auto *label = new QLabel(message, &dialog);
    label->setObjectName(QStringLiteral("folder-panel-message"));
    label->setWordWrap(true);
    grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
    dialog.setAccessibleDescription(message);
}

} // namespace velmora
