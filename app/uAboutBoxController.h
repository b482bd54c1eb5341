#pragma once
// The about box: the program's title, version and class, a summary of the system it runs on,
// and the credits.
#include "app/uAboutBoxView.h"
#include "app/uInfoWindowController.h"

#include <functional>
#include <string>

namespace about_texts {
extern const char* const kTitle;
extern const char* const kAppTitle;
extern const char* const kAppVersion;      // %s = the program's version
extern const char* const kArchitecture;    // %s = an architecture's name
extern const char* const kAppClass;
extern const char* const kOS;              // %s = the system's name, %s = its version
extern const char* const kMemTotal;        // %s = a capacity
extern const char* const kMemAvail;        // %s = a capacity
extern const char* const kSourceRevision;  // %s = the commit the program was built from
extern const char* const kCredits[kAboutCreditLines];
extern const char* const kNoteScrambled;   // the F2 note, stored scrambled
extern const char* const kClose;
extern const char* const kLogo;
constexpr int32_t kLogoSize = 48;
constexpr uint32_t kNoteColour = 0x0500C4; // RGB 196, 0, 5
} // namespace about_texts

// What the about box tells about the program and the system, read once when it is built.
struct TSystemFacts {
    std::string programVersion;   // "%d.%d.%d.%d", empty when unknown
    int programArchitecture = 0;  // TArchitecture
    int windowsVersion = 0;       // TWindowsVersion
    std::string windowsVersionText;
    int systemArchitecture = 0;   // TArchitecture
    int64_t totalMemoryKo = 0;
    int64_t availableMemoryKo = 0;
    std::string sourceRevision;
};

// The facts of the running program and system.
TSystemFacts ReadSystemFacts();

class TAboutBoxController : public TInfoWindowController, public IAboutBoxController {
public:
    using TFactsSource = std::function<TSystemFacts()>;

    // facts: by default ReadSystemFacts.
    explicit TAboutBoxController(IAboutBoxView& view, const TFactsSource& facts = {});

    int32_t ResizeHitTest(int32_t, int32_t, int32_t, int32_t, int32_t systemResult) override { return systemResult; }
    void LoadStrings() override;
    // Enter and Escape close; F1 does nothing here; F2 shows the note.
    bool KeyDown(uint32_t key) override;

protected:
    void LoadImages() override;

private:
    IAboutBoxView& view_;
    TSystemFacts facts_;
};
