// The file viewer's renderings, and its controller over real files with a fake window.
#include "app/uFileViewerController.h"
#include "app/uFileViewerRendering.h"
#include "app/uWindowServices.h"
#include "platform/PlatformError.h"

#include "FifoTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <vector>

namespace {

using testing_support::TempDir;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Characters as the window shows them, not UTF-8 bytes.
size_t Characters(const std::string& text)
{
    size_t count = 0;
    for (char byte : text)
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    return count;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

std::string Padded(std::string text, size_t width) { return text.append(width - Characters(text), ' '); }

TEST(FileViewRendering, HexLinesHoldSixteenBytesAtFixedPositions)
{
    const std::string hello = Bytes({0x48, 0x65, 0x6C, 0x6C, 0x6F, 0x0A});
    EXPECT_EQ(Padded(Padded("0000: 48 65 6C 6C 6F 0A", 56) + "Hello.", 72), TFileViewRendering::HexDump(hello));

    std::string seventeen = "ABCDEFGHIJKLMNO";
    seventeen += '\t';
    seventeen += ' ';
    const auto lines = Lines(TFileViewRendering::HexDump(seventeen));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("0000: 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 09   ABCDEFGHIJKLMNO.", lines[0]);
    EXPECT_EQ(Padded(Padded("0010: 20", 56) + " ", 72), lines[1]) << "the byte at 7-8, its character at 57";
    EXPECT_EQ(1u, Lines(TFileViewRendering::HexDump(std::string(16, 'x'))).size());
    EXPECT_EQ("", TFileViewRendering::HexDump(""));
}

TEST(FileViewRendering, HexOffsetsCountInUpperCaseAndWidenOnlyWhereFourDigitsCannotHoldThem)
{
    const auto small = Lines(TFileViewRendering::HexDump(std::string(0xB0, 'a')));
    ASSERT_EQ(11u, small.size());
    EXPECT_EQ("0010:", small[1].substr(0, 5));
    EXPECT_EQ("00A0:", small[10].substr(0, 5));

    const auto largest = Lines(TFileViewRendering::HexDump(std::string(65536, 'a')));
    EXPECT_EQ("FFF0: 61", largest.back().substr(0, 8));
    EXPECT_EQ(72u, Characters(largest.back()));

    const auto wide = Lines(TFileViewRendering::HexDump(std::string(70000, 'a')));
    ASSERT_EQ(4375u, wide.size());
    EXPECT_EQ("00000: 61", wide[0].substr(0, 9));
    EXPECT_EQ("10000: 61", wide[4096].substr(0, 9)) << "not cut to 1000";
    EXPECT_EQ("11160: 61", wide.back().substr(0, 9));
    for (const std::string& line : wide)
        ASSERT_EQ(73u, Characters(line)) << line;
    EXPECT_EQ(std::string(16, 'a'), wide[4096].substr(57));
}

TEST(FileViewRendering, HighBytesShowAsTheOemCharacterSetDrawsThem)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const auto lines = Lines(TFileViewRendering::HexDump(all));
    ASSERT_EQ(16u, lines.size());
    for (const std::string& line : lines)
        EXPECT_EQ(72u, Characters(line)) << line;
    EXPECT_EQ("................", lines[0].substr(56));
    EXPECT_EQ("pqrstuvwxyz{|}~\u2302", lines[7].substr(56));
    EXPECT_EQ("\u00C7\u00FC\u00E9", lines[8].substr(56, 6));
    EXPECT_EQ("\u2591\u2592\u2593\u2502", lines[11].substr(56, 12));
    EXPECT_EQ("\u00A0", TFileViewRendering::OemCharacter(0xFF));
    EXPECT_EQ("\u03B1", TFileViewRendering::OemCharacter(0xE0));
}

TEST(FileViewRendering, BinaryLinesHoldEightyCharactersAndMaskControlCharacters)
{
    std::string bytes(79, 'z');
    bytes += Bytes({0x09, 0x7F});
    const auto lines = Lines(TFileViewRendering::Binary(bytes));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(std::string(79, 'z') + ".", lines[0]);
    EXPECT_EQ(Padded("\u2302", 80), lines[1]);
    EXPECT_EQ(Padded(". \u00C7", 80), TFileViewRendering::Binary(Bytes({0x00, 0x20, 0x80})));
    EXPECT_EQ("", TFileViewRendering::Binary(""));
}

TEST(FileViewRendering, TextKeepsItsLinesWhateverTheirBreaks)
{
    EXPECT_EQ("a\r\nb\r\nc\r\n\r\nd\te \u263A caf\u00E9",
              TFileViewRendering::Text(std::string("a\r\nb\nc\r\rd\te\0\x01 caf\x82", 18)));
    EXPECT_EQ("", TFileViewRendering::Render("abc", 3));
}

class FakeFileViewerView : public IFileViewerView {
public:
    void SetTitle(const std::string& text) override { title = text; }
    void SetContent(std::string text) override
    {
        if (full)
            throw std::bad_alloc();
        content = text;
    }
    void Close() override { closed = true; }
    int32_t MonitorNumber() override { return 1; }

    std::string title, content;
    bool closed = false, full = false;
};

class RecordedBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t, TMsgBoxFocus, uint32_t buttons) override
    {
        EXPECT_EQ(TMsgBoxKind::mkError, kind);
        EXPECT_EQ(msgbox_buttons::kCloseOnly, buttons);
        shown.push_back(text);
        return TMsgBoxResult::mrAccept;
    }
    std::vector<std::string> shown;
};

class FileViewerController : public ::testing::Test {
protected:
    void Open(const std::string& path, int32_t mode)
    {
        TWindowArguments arguments;
        arguments.path = path;
        arguments.viewMode = mode;
        TFileViewerController(view, boxes).Open(arguments);
    }
    TempDir dir;
    FakeFileViewerView view;
    RecordedBoxes boxes;
};

TEST_F(FileViewerController, ShowsTheFileInTheChosenModeUnderItsTitle)
{
    const std::string file = dir.File("hello.txt");
    testing_support::WriteBytes(file, "Hello\n");
    Open(file, vmHexadecimal);
    EXPECT_EQ("Hexadecimal File Viewer", view.title);
    EXPECT_EQ(TFileViewRendering::HexDump("Hello\n"), view.content);
    Open(file, vmBinary);
    EXPECT_EQ("Binary File Viewer", view.title);
    EXPECT_EQ(Padded("Hello.", 80), view.content);
    Open(file, vmText);
    EXPECT_EQ("Text File Viewer", view.title);
    EXPECT_EQ("Hello\r\n", view.content);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(view.closed);
}

TEST_F(FileViewerController, AMissingFileGivesAnEmptyWindow)
{
    Open(dir.File("gone.bin"), vmHexadecimal);
    Open("", vmText);
    EXPECT_EQ("", view.content);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(view.closed);
}

#ifndef _WIN32
TEST_F(FileViewerController, AFifoIsReportedWithTheSystemsTextWithoutWaitingAndTheWindowCloses)
{
    const std::string fifo = dir.File("pipe");
    ASSERT_TRUE(testing_support::MakeFifo(fifo));
    EXPECT_TRUE(testing_support::FinishesWithoutWaitingOn(fifo, [&] { Open(fifo, vmText); }));
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("Cannot open file \"" + fifo + "\": " + platform::SystemErrorMessage(EINVAL), boxes.shown[0]);
    EXPECT_TRUE(view.closed);
    EXPECT_EQ("", view.content);
}
#endif

TEST_F(FileViewerController, TextTooLargeForTheWindowIsReportedAndTheWindowCloses)
{
    const std::string file = dir.File("big.log");
    testing_support::WriteBytes(file, "log");
    view.full = true;
    Open(file, vmText);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("Cannot show file \"" + file + "\": there is not enough memory to hold it.", boxes.shown[0]);
    EXPECT_TRUE(view.closed);
}

} // namespace
