#pragma once
// The about box as its controller sees it. The Win32 form implements it; tests use a fake.
#include "app/uInfoWindowView.h"

#include <cstdint>
#include <string>

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
