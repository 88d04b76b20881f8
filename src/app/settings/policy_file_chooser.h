#pragma once

#include <QString>

#include <optional>

namespace velmora {

/// A panel that chooses one existing folder.
struct FolderPanel
{
    QString title;
    QString message;
    QString prompt;      ///< The accepting button's label.
    QString startFolder; ///< Empty: the panel's own choice.
    bool canCreateFolders = false;
};

// The file and folder panels of the settings window: the portable policy file and the
// protections' folders. Each call shows a modal panel and answers once the user has
// chosen or cancelled (nothing). The application shows Qt's file dialogs; tests give
// answers.
class PolicyFileChooser
{
public:
    virtual ~PolicyFileChooser() = default;
    /// Where to write an exported policy, offered as "Velmora.velmorapolicy".
    virtual std::optional<QString> chooseExportDestination() = 0;
    /// One existing policy file to import.
    virtual std::optional<QString> chooseImportFile() = 0;
    /// One existing folder.
    virtual std::optional<QString> chooseFolder(const FolderPanel &panel) = 0;
};

// The chooser over Qt's file dialogs, shown over the active window (the settings
// window whose button asked).
class QtPolicyFileChooser : public PolicyFileChooser
{
public:
    std::optional<QString> chooseExportDestination() override;
    std::optional<QString> chooseImportFile() override;
    std::optional<QString> chooseFolder(const FolderPanel &panel) override;
};

} // namespace velmora
