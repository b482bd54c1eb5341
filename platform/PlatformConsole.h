#pragma once
// The terminal as a console program sees it: which standard streams are terminals, UTF-8 output,
// the interrupt key, and answers typed by the user.
#include <string>

namespace platform {

enum class ConsoleStream { Input, Output, Error };

bool IsTerminal(ConsoleStream stream);

// Writes UTF-8 text to standard output or standard error (a Windows console receives it as UTF-16)
// and flushes it, so lines of both streams reach a terminal in the order written.
void WriteConsoleText(ConsoleStream stream, const std::string& text);

// Columns of the terminal behind standard error; 80 when unknown.
int TerminalColumns();

// Ctrl-C (and Ctrl-Break, SIGTERM) only raise a flag from now on; a second one ends the
// process the usual way, so a program that hangs can still be stopped.
void InstallInterruptHandler();
bool InterruptRequested();

// One line typed on standard input, without its line end; false at end of input or when the
// interrupt key broke the read.
bool ReadInputLine(std::string& line);

} // namespace platform
