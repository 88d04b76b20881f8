#pragma once

#include <QString>

#include <optional>

namespace velmora {

// The two file panels of the portable policy file, as the settings window reaches
// them. Each call shows a modal panel and answers once the user has chosen or
// cancelled (nothing). The application shows Qt's file dialogs; tests give answers.
class PolicyFileChooser
{
public:
    virtual ~PolicyFileChooser() = default;
    /// Where to write an exported policy, offered as "Velmora.velmorapolicy".
    virtual std::optional<QString> chooseExportDestination() = 0;
    /// One existing policy file to import.
    virtual std::optional<QString> chooseImportFile() = 0;
};

// The chooser over Qt's file dialogs, shown over the active window (the settings
// window whose button asked).
class QtPolicyFileChooser : public PolicyFileChooser
{
public:
    std::optional<QString> chooseExportDestination() override;
    std::optional<QString> chooseImportFile() override;
};

} // namespace velmora
