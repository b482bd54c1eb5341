#include "app/uAboutBoxController.h"

#include "cycle/uCycleSetup.h"
#include "prefs/VelaCrypto.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <exception>

namespace about_texts {
const char* const kTitle = "About";
const char* const kAppTitle = "Quillsweep";
const char* const kAppVersion = "Version: %s";
const char* const kArchitecture = "Architecture: %s";
const char* const kAppClass = "Class: System Cleanup Utility";
const char* const kOS = "%s (Version: %s)";
const char* const kMemTotal = "Total physical memory size: %s";
const char* const kMemAvail = "Available physical memory size: %s";
const char* const kSourceRevision = "Revision: %s";
const char* const kCredits[kAboutCreditLines] = {
    "Quillsweep finds the files your drives no longer need.",
    "Design and programming: the Quillsweep team.",
    "Icons, bitmaps and the help document were made for it.",
    "Thanks to everyone who reported problems and ideas.",
    "Always review the found objects before you clean.",
    "This program is provided as is, without any warranty.",
    "Keep your drives tidy.",
};
// "Sweep on!"
const char* const kNoteScrambled = "\xD2\xF6\xE4\xE4\xEF\x9F\xEE\xED\xA0";
const char* const kClose = "Close";
const char* const kLogo = "MAINICON";
} // namespace about_texts

namespace {
std::string Format(const char* format, const std::string& value) { return TCycleSetup::FormatText(format, value); }
} // namespace

TSystemFacts ReadSystemFacts()
{
    // A fact the system will not tell (an unreadable executable, a failing WMI service) stays
    // unknown; the box still opens.
    const auto guarded = [](auto read, auto fallback) {
        try {
            return read();
        } catch (const std::exception&) {
            return fallback;
        }
    };
    TSystemFacts facts;
    facts.programVersion = TDetect::GetProgramVersion();
    facts.programArchitecture = guarded(&TDetect::GetProgramArchitecture, 0);
    facts.windowsVersion = guarded(&TDetect::GetWindowsVersion, 0);
    facts.windowsVersionText = guarded(&TDetect::GetWindowsVersionText, std::string());
    facts.systemArchitecture = TDetect::GetArchitecture();
    facts.totalMemoryKo = TDetect::GetTotalMemoryKo();
    facts.availableMemoryKo = TDetect::GetAvailableMemoryKo();
    facts.sourceRevision = TDetect::GetSourceRevision();
    return facts;
}

TAboutBoxController::TAboutBoxController(IAboutBoxView& view, const TFactsSource& facts)
    : TInfoWindowController(view), view_(view), facts_(facts ? facts() : ReadSystemFacts())
{
    Initialize();
}

void TAboutBoxController::LoadImages()
{
    view_.SetLogo(about_texts::kLogo, about_texts::kLogoSize);
}

void TAboutBoxController::LoadStrings()
{
    using namespace about_texts;
    view_.SetTitle(kTitle);
    view_.SetText(TAboutText::atAppTitle, kAppTitle);
    view_.SetText(TAboutText::atAppVersion, Format(kAppVersion, facts_.programVersion));
    view_.SetText(TAboutText::atAppArchitecture,
                  Format(kArchitecture, TConvert::ArchitectureName(facts_.programArchitecture)));
    view_.SetText(TAboutText::atAppClass, kAppClass);
    // A version that could not be read leaves the name alone rather than an empty "(Version: )".
    const std::string osName = TConvert::WindowsName(facts_.windowsVersion);
    view_.SetText(TAboutText::atOS, facts_.windowsVersionText.empty()
                                        ? osName
                                        : TCycleSetup::FormatText(kOS, {osName, facts_.windowsVersionText}));
    view_.SetText(TAboutText::atOSArchitecture,
                  Format(kArchitecture, TConvert::ArchitectureName(facts_.systemArchitecture)));
    view_.SetText(TAboutText::atMemTotal, Format(kMemTotal, TNumberRoutines::FormatCapacity(facts_.totalMemoryKo)));
    view_.SetText(TAboutText::atMemAvail,
                  Format(kMemAvail, TNumberRoutines::FormatCapacity(facts_.availableMemoryKo)));
    for (int i = 0; i < kAboutCreditLines; ++i)
        view_.SetText(static_cast<TAboutText>(static_cast<int>(TAboutText::atCredits1) + i), kCredits[i]);
    view_.SetText(TAboutText::atSourceRevision, Format(kSourceRevision, facts_.sourceRevision));
    view_.SetCloseCaption(kClose);
}

bool TAboutBoxController::KeyDown(uint32_t key)
{
    if (key == keys::kF1)
        return true; // the about box has no help of its own
    if (key == keys::kF2) {
        view_.ShowNote(TStringCryptography::Transcode(about_texts::kNoteScrambled, Decode), about_texts::kNoteColour);
        return true;
    }
    return TInfoWindowController::KeyDown(key);
}
