#include "app/uProgramHelp.h"

#include <utility>

namespace {
std::function<void()>& HelpContents()
{
    static std::function<void()> show;
    return show;
}
} // namespace

void ShowHelpContents()
{
    if (HelpContents())
        HelpContents()();
}

void InstallHelpContents(std::function<void()> show) { HelpContents() = std::move(show); }
