#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace velmora {

/// The texts of a folder panel.
struct FolderPanelText
{
    QString title;
    QString message;     ///< Shown above the buttons; empty for none.
    QString acceptLabel; ///< The confirm button's title.

    friend bool operator==(const FolderPanelText &, const FolderPanelText &) = default;
};

// The open and save panels as the review reaches them. Each call shows a modal panel
// and answers once the user has chosen or cancelled. The application shows Qt's file
// dialogs over the main window; tests give canned answers and see what was asked.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    /// One or more supported image files; empty when cancelled.
    virtual QList<QUrl> chooseImages(const QString &startFolder) = 0;
    /// One folder; nothing when cancelled.
    virtual std::optional<QUrl> chooseFolder(const FolderPanelText &text, const QString &startFolder) = 0;
    /// Where to save one cleaned image (PNG or JPEG), starting in `startFolder` with
    /// `defaultName`; nothing when cancelled. A file that exists is returned only after
    /// the panel asked whether to replace it and the user agreed.
    virtual std::optional<QString> chooseCleanedImageDestination(const QString &startFolder,
                                                                  const QString &defaultName) = 0;

    /// Panels for where none can be shown: each one answers as if cancelled.
    static FileDialogs &none();
};

/// Where a panel starts for the image read from `sourceURL`: the file's folder, or the
/// home folder for an image that was not read from one.
QString panelStartFolder(const std::optional<QUrl> &sourceURL);

} // namespace velmora
