#include "app/review/file_dialogs.h"

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

} // namespace velmora
