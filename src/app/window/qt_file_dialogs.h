#pragma once

#include "app/review/file_dialogs.h"

#include <QPointer>
#include <QWidget>

namespace velmora {

// The review's panels as Qt file dialogs, window-modal over the main window. The
// export panel never asks to replace a file: the review refuses to write over one.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *window = nullptr);
    /// The window the panels open over from now on.
    void setWindow(QWidget *window) { m_window = window; }

    QList<QUrl> chooseImages(const QString &startFolder) override;
    std::optional<QUrl> chooseFolder(const FolderPanelText &text, const QString &startFolder) override;
    std::optional<QString> chooseCleanedImageDestination(const QString &startFolder,
                                                          const QString &defaultName) override;

    /// The name filter of the supported image types, for the open panel.
    static QString imageNameFilter();

private:
    QPointer<QWidget> m_window;
};

} // namespace velmora
