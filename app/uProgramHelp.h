#pragma once
// The one way every window opens the help document's contents. The program entry installs
// the real help at start-up; until then (and in tests that install nothing) it does nothing.
#include <functional>

void ShowHelpContents();
void InstallHelpContents(std::function<void()> show);
