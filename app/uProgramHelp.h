#pragma once
// The one way every window opens the help document's contents, and the process-wide help object
// behind it. The program entry starts the help before the first window and stops it at exit;
// until then (and in tests that start nothing) a request does nothing.
#include "app/uControllerInterfaces.h"
#include "support/VelaHelpSystem.h"

#include <functional>
#include <memory>
#include <string>

namespace help_texts {
extern const char* const kDamaged;  // %s: the executable's file name
} // namespace help_texts

void ShowHelpContents();
void InstallHelpContents(std::function<void()> show);

// The process-wide help; empty outside StartProgramHelp .. StopProgramHelp.
std::shared_ptr<IProgramHelp> ProgramHelp();
// help becomes the process-wide help and every F1 opens its contents; a request it cannot serve
// shows the damaged-copy notice for executablePath's file name through boxes, which must outlive it.
void StartProgramHelp(std::shared_ptr<IProgramHelp> help, IMessageBoxService& boxes, const std::string& executablePath);
// Releases the help, which deletes its extracted copy.
void StopProgramHelp();
