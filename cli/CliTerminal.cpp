#include "cli/CliTerminal.h"
#include "support/VelaRoutines.h"

#include "platform/PlatformConsole.h"

#include <algorithm>
#include <cctype>

using platform::ConsoleStream;

namespace {

// Progress is redrawn at most this often; every redraw is a write to the terminal.
constexpr std::chrono::milliseconds kProgressInterval(100);

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The first count characters of UTF-8 text.
std::string Head(const std::string& text, size_t count)
{
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (characters == count)
                return text.substr(0, i);
            ++characters;
        }
    }
    return text;
}

size_t Characters(const std::string& text)
{
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

TCliTerminal::TCliTerminal(bool assumeYes)
    : assumeYes_(assumeYes), interactive_(platform::IsTerminal(ConsoleStream::Input)),
      progressEnabled_(platform::IsTerminal(ConsoleStream::Error))
{
}

std::string TCliTerminal::Printable(const std::string& text)
{
    return TStringRoutines::PrintableText(text);
}

std::string TCliTerminal::PlainLines(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

TCliTerminal::~TCliTerminal() { FlushOutput(); }

void TCliTerminal::Out(const std::string& line)
{
    OutRaw(line + "\n");
}

void TCliTerminal::OutRaw(const std::string& bytes)
{
    constexpr size_t kFlushAt = 65536;
    // On a terminal each line shows as it comes; into a pipe or file they go in large writes.
    if (progressShown_ || interactive_) {
        ClearProgress();
        pendingOutput_ += bytes;
        FlushOutput();
        return;
    }
    pendingOutput_ += bytes;
    if (pendingOutput_.size() >= kFlushAt)
        FlushOutput();
}

void TCliTerminal::FlushOutput()
{
    if (pendingOutput_.empty())
        return;
    platform::WriteConsoleText(ConsoleStream::Output, pendingOutput_);
    pendingOutput_.clear();
}

void TCliTerminal::Message(const std::string& text)
{
    FlushOutput();
    ClearProgress();
    platform::WriteConsoleText(ConsoleStream::Error, PlainLines(text) + "\n");
}

std::string TCliTerminal::Ask(const std::string& prompt)
{
    FlushOutput();
    ClearProgress();
    platform::WriteConsoleText(ConsoleStream::Error, prompt);
    std::string line;
    const bool answered = platform::ReadInputLine(line);
    if (!answered)
        platform::WriteConsoleText(ConsoleStream::Error, "\n");
    return answered ? Lower(line) : std::string();
}

TCliTerminal::TAnswer TCliTerminal::AskYesNo(const std::string& question)
{
    if (assumeYes_)
        return TAnswer::Yes;
    if (!interactive_)
        return TAnswer::NotAsked;
    std::string prompt = PlainLines(question) + " [y/N] ";
    for (;;) {
        const std::string answer = Ask(prompt);
        if (answer == "y" || answer == "yes")
            return TAnswer::Yes;
        // End of input and the interrupt key refuse, as closing the box does.
        if (answer.empty() || answer == "n" || answer == "no" || platform::InterruptRequested())
            return TAnswer::No;
        prompt = "Please answer y (yes) or n (no); Enter means no. [y/N] ";
    }
}

TConfirmAnswer TCliTerminal::AskConfirm(const std::string& question)
{
    if (assumeYes_)
        return caYes;
    if (!interactive_)
        return caNo;
    std::string prompt = PlainLines(question) + " [y/N/ya/na] ";
    for (;;) {
        const std::string answer = Ask(prompt);
        if (answer == "y" || answer == "yes")
            return caYes;
        if (answer == "ya")
            return caYesToAll;
        if (answer == "na")
            return caNoToAll;
        if (answer.empty() || answer == "n" || answer == "no" || platform::InterruptRequested())
            return caNo;
        prompt = "Please answer y (yes), n (no), ya (yes to all) or na (no to all); Enter means no. [y/N/ya/na] ";
    }
}

void TCliTerminal::Progress(const std::string& status, const std::string& counters, bool force)
{
    if (!progressEnabled_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && progressShown_ && now - lastProgress_ < kProgressInterval)
        return;
    lastProgress_ = now;
    const size_t width = static_cast<size_t>(std::max(20, platform::TerminalColumns() - 1));
    std::string line = counters + "  " + Printable(status);
    line = Head(line, width);
    line += std::string(width - Characters(line), ' ');
    platform::WriteConsoleText(ConsoleStream::Error, "\r" + line);
    progressShown_ = true;
}

void TCliTerminal::ClearProgress()
{
    if (!progressShown_)
        return;
    const size_t width = static_cast<size_t>(std::max(20, platform::TerminalColumns() - 1));
    platform::WriteConsoleText(ConsoleStream::Error, "\r" + std::string(width, ' ') + "\r");
    progressShown_ = false;
}
