#include "app/review/file_dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

class NoFileDialogs final : public FileDialogs
{
public:
    QList<QUrl> chooseImages(const QString &) override { return {}; }
    std::optional<QUrl> chooseFolder(const FolderPanelText &, const QString &) override { return std::nullopt; }
    std::optional<QString> chooseCleanedImageDestination(const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

} // namespace

FileDialogs &FileDialogs::none()
{
    static NoFileDialogs dialogs;
    return dialogs;
}

QString panelStartFolder(const std::optional<QUrl> &sourceURL)
{
    if (sourceURL && sourceURL->isLocalFile())
        return QFileInfo(sourceURL->toLocalFile()).absolutePath();
    return QDir::homePath();
}

} // namespace velmora
