#pragma once
// What portable code asks of the toolkit's own small windows, the message box and the
// "Computing..." popup. Portable: the toolkit implements them, tests fake them.
#include <cstdint>
#include <memory>
#include <string>

enum class TMsgBoxKind : uint8_t { mkError = 0, mkWarning, mkInformation, mkConfirm, mkImportant, mkSafe };

// 1 accepted, 2 accepted for all items, 3 refused, 4 refused for all items.
enum class TMsgBoxResult : uint8_t { mrAccept = 1, mrAcceptAll = 2, mrRefuse = 3, mrRefuseAll = 4 };

enum class TMsgBoxFocus : uint8_t { mfAccept = 0, mfRefuse = 1 };

// Button bits of the message box; several captions of one button: the highest bit wins.
namespace msgbox_buttons {
constexpr uint32_t kApplyToAll = 1;
constexpr uint32_t kOK = 2;
constexpr uint32_t kYes = 4;
constexpr uint32_t kClose = 8;
constexpr uint32_t kCancel = 16;
constexpr uint32_t kNo = 32;
constexpr uint32_t kCloseOnly = kClose;
constexpr uint32_t kYesNo = kYes | kNo;
constexpr uint32_t kYesNoApplyToAll = kYes | kNo | kApplyToAll;
} // namespace msgbox_buttons

// The program's own message box, reached through this service so that tests can script the
// user's answers. Execute returns 1..4 (see TMsgBoxResult).
class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    virtual TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor,
                                  TMsgBoxFocus focus, uint32_t buttons) = 0;
};

// The small "Computing..." popup shown while the user-interface thread works on something
// long; optionally with a progress bar that counts the steps done.
class IComputingWindow {
public:
    virtual ~IComputingWindow() = default;
    virtual void Show() = 0;
    virtual void Close() = 0;
    virtual void SetMaximum(int32_t value) = 0;
    virtual void Step() = 0;
};

// Shows a computing popup (none when null) for one scope; it goes also when the work throws.
class TComputingScope {
public:
    explicit TComputingScope(std::shared_ptr<IComputingWindow> window) : window_(std::move(window))
    {
        if (window_)
            window_->Show();
    }
    ~TComputingScope()
    {
        if (window_)
            window_->Close();
    }
    TComputingScope(const TComputingScope&) = delete;
    TComputingScope& operator=(const TComputingScope&) = delete;

private:
    std::shared_ptr<IComputingWindow> window_;
};
