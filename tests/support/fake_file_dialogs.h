#pragma once

#include "app/review/file_dialogs.h"

#include <QList>

namespace velmora::test {

// Panels that answer with what the test put in and remember what they were asked.
class FakeFileDialogs : public FileDialogs
{
public:
    struct SaveRequest
    {
        QString startFolder;
        QString defaultName;
    };
    struct FolderRequest
    {
        FolderPanelText text;
        QString startFolder;
    };

    QList<QUrl> imagesAnswer;
    std::optional<QUrl> folderAnswer;
    std::optional<QString> destinationAnswer;

    QList<QString> imageRequests;
    QList<FolderRequest> folderRequests;
    QList<SaveRequest> saveRequests;

    QList<QUrl> chooseImages(const QString &startFolder) override
    {
        imageRequests.append(startFolder);
        return imagesAnswer;
    }

    std::optional<QUrl> chooseFolder(const FolderPanelText &text, const QString &startFolder) override
    {
        folderRequests.append({text, startFolder});
        return folderAnswer;
    }

    std::optional<QString> chooseCleanedImageDestination(const QString &startFolder, const QString &defaultName) override
    {
        saveRequests.append({startFolder, defaultName});
        return destinationAnswer;
    }
};

} // namespace velmora::test
