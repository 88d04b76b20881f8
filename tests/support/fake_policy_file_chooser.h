#pragma once

#include "app/settings/policy_file_chooser.h"

#include <QList>

namespace velmora::test {

// File panels with canned answers: nothing (cancelled) until a test gives a path.
class FakePolicyFileChooser : public PolicyFileChooser
{
public:
    std::optional<QString> exportDestination;
    std::optional<QString> importFile;
    std::optional<QString> folder;
    QList<FolderPanel> folderPanels;
    int panelsShown = 0;

    std::optional<QString> chooseExportDestination() override
    {
        ++panelsShown;
        return exportDestination;
    }
    std::optional<QString> chooseImportFile() override
    {
        ++panelsShown;
        return importFile;
    }
    std::optional<QString> chooseFolder(const FolderPanel &panel) override
    {
        ++panelsShown;
        folderPanels.append(panel);
        return folder;
    }
};

} // namespace velmora::test
