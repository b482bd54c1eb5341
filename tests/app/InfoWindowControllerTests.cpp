// The legend and the about box against views that record what they are told; the about box's
// system facts are the test's own.
#include "app/uAboutBoxController.h"
#include "app/uLegendController.h"
#include "support/VelaDetect.h"

#include <gtest/gtest.h>

#include <map>

namespace {

template <class TView>
class FakeInfoView : public TView {
public:
    TInfoWindowEvents& Events() override { return events; }
    void SetTitle(const std::string& text) override { title = text; }
    void SetCloseCaption(const std::string& text) override { closeCaption = text; }
    void Close() override { ++closes; }

    TInfoWindowEvents events;
    std::string title, closeCaption;
    int closes = 0;
};

class FakeLegendView : public FakeInfoView<ILegendView> {
public:
    void SetText(TLegendText label, const std::string& text) override { texts[label] = text; }
    void SetImage(TSafetyClass safety, const std::string& bitmapName) override { images[safety] = bitmapName; }
    void ShowHelp() override { ++helps; }

    std::map<TLegendText, std::string> texts;
    std::map<TSafetyClass, std::string> images;
    int helps = 0;
};

class FakeAboutView : public FakeInfoView<IAboutBoxView> {
public:
    void SetText(TAboutText label, const std::string& text) override { texts[label] = text; }
    void SetLogo(const std::string& iconName, int32_t size) override { logo = iconName, logoSize = size; }
    void ShowNote(const std::string& text, uint32_t colour) override { note = text, noteColour = colour; }

    std::map<TAboutText, std::string> texts;
    std::string logo, note;
    int32_t logoSize = 0;
    uint32_t noteColour = 0;
};

TSystemFacts SomeSystem()
{
    TSystemFacts facts;
    facts.programVersion = "2.1.0.7";
    facts.programArchitecture = ar32;
    facts.windowsVersion = wv10;
    facts.windowsVersionText = "10.0.19045";
    facts.systemArchitecture = ar64;
    facts.totalMemoryKo = 8388608 + 1023; // whole Mo only
    facts.availableMemoryKo = 1024;       // still counted in Ko
    facts.sourceRevision = "0123456789ab";
    return facts;
}

} // namespace

TEST(AboutBoxController, TellsTheProgramAndTheSystemFromTheFactsReadOnce)
{
    FakeAboutView view;
    int reads = 0;
    TAboutBoxController controller(view, [&] {
        ++reads;
        return SomeSystem();
    });
    EXPECT_EQ("About", view.title);
    EXPECT_EQ("Close", view.closeCaption);
    EXPECT_EQ("MAINICON", view.logo);
    EXPECT_EQ(48, view.logoSize);
    EXPECT_EQ("Quillsweep", view.texts[TAboutText::atAppTitle]);
    EXPECT_EQ("Version: 2.1.0.7", view.texts[TAboutText::atAppVersion]);
    EXPECT_EQ("Architecture: 32-bit (x86)", view.texts[TAboutText::atAppArchitecture]);
    EXPECT_EQ("Class: System Cleanup Utility", view.texts[TAboutText::atAppClass]);
    EXPECT_EQ("Microsoft Windows 10 (Version: 10.0.19045)", view.texts[TAboutText::atOS]);
    EXPECT_EQ("Architecture: 64-bit (x64)", view.texts[TAboutText::atOSArchitecture]);
    EXPECT_EQ("Total physical memory size: 8,192 Mo", view.texts[TAboutText::atMemTotal]);
    EXPECT_EQ("Available physical memory size: 1,024 Ko", view.texts[TAboutText::atMemAvail]);
    EXPECT_EQ("Revision: 0123456789ab", view.texts[TAboutText::atSourceRevision]);
    for (int i = 0; i < kAboutCreditLines; ++i)
        EXPECT_FALSE(view.texts[static_cast<TAboutText>(static_cast<int>(TAboutText::atCredits1) + i)].empty()) << i;

    controller.LoadStrings();
    EXPECT_EQ(1, reads) << "the figures are not refreshed";
}

TEST(AboutBoxController, ASystemWhoseVersionIsUnknownIsNamedAlone)
{
    FakeAboutView view;
    TAboutBoxController controller(view, [] {
        TSystemFacts facts = SomeSystem();
        facts.windowsVersion = wv8;
        facts.windowsVersionText.clear(); // WMI did not answer
        facts.programArchitecture = arUnknown;
        return facts;
    });
    EXPECT_EQ("Microsoft Windows 8", view.texts[TAboutText::atOS]);
    EXPECT_EQ("Architecture: Unknown", view.texts[TAboutText::atAppArchitecture]);
}

TEST(AboutBoxController, EnterAndEscapeCloseF1DoesNothingF2ShowsTheRedNote)
{
    FakeAboutView view;
    TAboutBoxController controller(view, SomeSystem);

    EXPECT_TRUE(view.events.onKeyDown(keys::kF1));
    EXPECT_EQ(0, view.closes);
    EXPECT_FALSE(view.events.onKeyDown(keys::kF3)) << "other keys pass on";

    EXPECT_TRUE(view.events.onKeyDown(keys::kF2));
    EXPECT_EQ(0x0500C4u, view.noteColour);
    ASSERT_FALSE(view.note.empty());
    for (char c : view.note)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "decoded to readable text: " << view.note;
    EXPECT_NE(std::string(about_texts::kNoteScrambled), view.note) << "not stored readable";
    EXPECT_EQ(0, view.closes);

    EXPECT_TRUE(view.events.onKeyDown(keys::kEnter));
    EXPECT_TRUE(view.events.onKeyDown(keys::kEscape));
    view.events.onCloseClicked();
    EXPECT_EQ(3, view.closes);
}

TEST(LegendController, ExplainsEachSafetyClassWithItsImage)
{
    FakeLegendView view;
    TLegendController controller(view);
    EXPECT_EQ("Legend", view.title);
    EXPECT_EQ("Close", view.closeCaption);
    // The texts themselves are checked where the user reads them, in the window test.
    EXPECT_EQ(7u, view.texts.size());
    for (const auto& [label, text] : view.texts)
        EXPECT_FALSE(text.empty()) << static_cast<int>(label);
    EXPECT_EQ((std::map<TSafetyClass, std::string>{
                  {scSafe, "fsafe16"}, {scPotentiallyUnsafe, "fpunsafe16"}, {scUnsafe, "funsafe16"}}),
              view.images);
}

TEST(LegendController, F1OpensTheHelpEnterEscapeAndCloseClose)
{
    FakeLegendView view;
    {
        TLegendController controller(view);
        EXPECT_TRUE(view.events.onKeyDown(keys::kF1));
        EXPECT_EQ(1, view.helps);
        EXPECT_EQ(0, view.closes);
        EXPECT_FALSE(view.events.onKeyDown(keys::kF2));
        EXPECT_TRUE(view.events.onKeyDown(keys::kEscape));
        EXPECT_TRUE(view.events.onKeyDown(keys::kEnter));
        view.events.onCloseClicked();
        EXPECT_EQ(3, view.closes);
    }
    EXPECT_FALSE(view.events.onKeyDown) << "a closing window reaches no controller that is gone";
    EXPECT_FALSE(view.events.onCloseClicked);
}
