#pragma once
// What the user sees and answers: data lines on standard output, messages, questions and the
// progress line on standard error.
#include "engine/uEngineTypes.h"

#include <chrono>
#include <string>

class TCliTerminal {
public:
    // assumeYes: every question is answered yes without asking.
    explicit TCliTerminal(bool assumeYes);
    ~TCliTerminal();
    TCliTerminal(const TCliTerminal&) = delete;
    TCliTerminal& operator=(const TCliTerminal&) = delete;

    void Out(const std::string& line);
    // Exactly these bytes, with no line end added.
    void OutRaw(const std::string& bytes);
    // Writes the data lines held back so far (they go out in large writes, not one per line).
    void FlushOutput();
    // A message of the program's windows; its "\r\n" breaks become plain line ends.
    void Message(const std::string& text);

    // A Yes/No question; without a terminal (and without assumeYes) it cannot be asked.
    enum class TAnswer { Yes, No, NotAsked };
    TAnswer AskYesNo(const std::string& question);
    // The cleaner's per-object question; no without a terminal.
    TConfirmAnswer AskConfirm(const std::string& question);

    // The one-line progress display, kept only while standard error is a terminal.
    void Progress(const std::string& status, const std::string& counters, bool force = false);
    void ClearProgress();

    bool Interactive() const { return interactive_; }
    // Whether Progress shows anything: its texts need not be built otherwise.
    bool ShowsProgress() const { return progressEnabled_; }

    // Without control characters, so a strange name cannot break or forge an output line.
    static std::string Printable(const std::string& text);
    static std::string PlainLines(const std::string& text);

private:
    std::string Ask(const std::string& prompt);

    bool assumeYes_;
    bool interactive_;
    bool progressShown_ = false;
    bool progressEnabled_;
    std::chrono::steady_clock::time_point lastProgress_{};
    std::string pendingOutput_;
};
