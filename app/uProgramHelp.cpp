#include "app/uProgramHelp.h"

#include "cycle/uCycleSetup.h"

#include <utility>

namespace help_texts {
const char* const kDamaged = "Failed to display the Help topics because this copy of Quillsweep is damaged.\r\n"
                             "Please obtain a new copy of \"%s\".";
} // namespace help_texts

namespace {
std::function<void()>& HelpContents()
{
    static std::function<void()> show;
    return show;
}

std::shared_ptr<IProgramHelp>& ProcessHelp()
{
    static std::shared_ptr<IProgramHelp> help;
    return help;
}
} // namespace

void ShowHelpContents()
{
    if (HelpContents())
        HelpContents()();
}

void InstallHelpContents(std::function<void()> show) { HelpContents() = std::move(show); }

std::shared_ptr<IProgramHelp> ProgramHelp() { return ProcessHelp(); }

void StartProgramHelp(std::shared_ptr<IProgramHelp> help, IMessageBoxService& boxes, const std::string& executablePath)
{
    const std::string name = executablePath.substr(executablePath.find_last_of("\\/") + 1);
    help->SetFailureHandler([&boxes, text = TCycleSetup::FormatText(help_texts::kDamaged, name)] {
        // Monitor 0: the primary one, whichever window asked.
        boxes.Execute(TMsgBoxKind::mkError, text, 0, TMsgBoxFocus::mfAccept, msgbox_buttons::kCloseOnly);
    });
    ProcessHelp() = std::move(help);
    InstallHelpContents([] {
        if (auto current = ProcessHelp())
            current->ShowContents();
    });
}

void StopProgramHelp()
{
    InstallHelpContents(nullptr);
    ProcessHelp().reset();
}
