#pragma once
// The legend and the about box as their controllers see them. The Win32 forms implement these;
// tests use fakes.
#include "app/uMainView.h"
#include "engine/uEngineTypes.h"

#include <cstdint>
#include <functional>
#include <string>

struct TInfoWindowEvents {
    std::function<void()> onCloseClicked;        // the window's own Close button
    std::function<bool(uint32_t key)> onKeyDown; // key preview; true when handled
};

// What both small information windows have: a title, a Close button and the end of the modal run.
class IInfoWindowView {
public:
    virtual ~IInfoWindowView() = default;
    virtual TInfoWindowEvents& Events() = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetCloseCaption(const std::string& text) = 0;
    virtual void Close() = 0;
};

enum class TLegendText : uint8_t {
    ltClassification,
    ltSafe, ltSafeDescription,
    ltPotentiallyUnsafe, ltPotentiallyUnsafeDescription,
    ltUnsafe, ltUnsafeDescription,
};

class ILegendView : public IInfoWindowView {
public:
    virtual void SetText(TLegendText label, const std::string& text) = 0;
    // The picture beside a safety class's name.
    virtual void SetImage(TSafetyClass safety, const std::string& bitmapName) = 0;
    virtual void ShowHelp() = 0;
};

enum class TAboutText : uint8_t {
    atAppTitle, atAppVersion, atAppArchitecture, atAppClass,
    atOS, atOSArchitecture, atMemTotal, atMemAvail,
    atCredits1, atCredits2, atCredits3, atCredits4, atCredits5, atCredits6, atCredits7,
    atSourceRevision,
};
constexpr int kAboutCreditLines = 7;

class IAboutBoxView : public IInfoWindowView {
public:
    virtual void SetText(TAboutText label, const std::string& text) = 0;
    // An icon resource of the program, drawn size × size design pixels.
    virtual void SetLogo(const std::string& iconName, int32_t size) = 0;
    // The short bold note under the logo; colour is 0x00BBGGRR.
    virtual void ShowNote(const std::string& text, uint32_t colour) = 0;
};
