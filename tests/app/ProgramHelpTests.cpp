// The process-wide help behind every F1: the damaged-copy notice and the release at exit.
#include "TestSupport.h"
#include "app/uProgramHelp.h"
#include "platform/PlatformFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct RecordedBoxes : IMessageBoxService {
    struct Box {
        TMsgBoxKind kind;
        std::string text;
        int32_t monitor;
        uint32_t buttons;
    };
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus,
                          uint32_t buttons) override
    {
        shown.push_back({kind, text, monitor, buttons});
        return TMsgBoxResult::mrAccept;
    }
    std::vector<Box> shown;
};

} // namespace

TEST(ProgramHelp, DamagedCopyNamesTheExecutableInAnErrorBoxOnThePrimaryMonitor)
{
    TempDir program, temp;
    const std::string exe = program.File("quillswp32.exe");
    WriteBytes(exe, std::string("MZ\0\0\0\0\0\0\0\0", 10));  // a zeroed trailer: no help
    THelpEnvironment environment;
    environment.executablePath = exe;
    environment.tempDirectory = temp.Str() + platform::PathSeparator();
    int viewers = 0;
    environment.startViewer = [&](const std::string&, const std::string&, bool) { ++viewers; };
    RecordedBoxes boxes;

    StartProgramHelp(std::make_shared<TEmbeddedHTMLHelpSystem>(environment), boxes, exe);
    ASSERT_TRUE(ProgramHelp());
    ShowHelpContents();
    ShowHelpContents();
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown[0].kind);
    EXPECT_EQ("Failed to display the Help topics because this copy of Quillsweep is damaged.\r\n"
              "Please obtain a new copy of \"quillswp32.exe\".",
              boxes.shown[0].text);
    EXPECT_EQ(0, boxes.shown[0].monitor);
    EXPECT_EQ(msgbox_buttons::kCloseOnly, boxes.shown[0].buttons);
    EXPECT_EQ(0, viewers);

    const auto copy = testing_support::PathOf(temp.File("quillswp32.chm"));
    EXPECT_TRUE(std::filesystem::exists(copy));
    StopProgramHelp();
    EXPECT_FALSE(ProgramHelp());
    EXPECT_FALSE(std::filesystem::exists(copy)) << "released at exit with its copy";
    ShowHelpContents();
    EXPECT_EQ(2u, boxes.shown.size()) << "no help after the exit";
}
