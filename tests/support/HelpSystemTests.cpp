// The help carried at the end of the executable: its trailer, the copy made on the first request,
// the damaged rule, the copy's end, and a copy another program still holds.
#include "TestSupport.h"
#include "platform/PlatformFiles.h"
#include "support/VelaHelpSystem.h"
#ifndef _WIN32
#include "FifoTestSupport.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

const std::string kProgram = "MZ program bytes";
const std::string kHelp = std::string("ITSF help\0bytes", 15);

std::string Trailer(uint64_t length)
{
    std::string bytes;
    for (int i = 0; i < 8; ++i)
        bytes += static_cast<char>((length >> (8 * i)) & 0xFF);
    return bytes;
}

THelpPayload ReadPayload(const std::string& path)
{
    platform::FileHandle file(path, platform::FileAccess::ReadShared);
    THelpPayload payload;
    EXPECT_TRUE(THelpTrailer::Read(file, payload));
    return payload;
}

struct ViewerStart {
    std::string program, parameters;
    bool maximized;
};

class EmbeddedHelp : public ::testing::Test {
protected:
    void SetUp() override { WriteExecutable(kProgram + kHelp + Trailer(kHelp.size())); }

    void WriteExecutable(const std::string& bytes) { WriteBytes(exe, bytes); }

    std::unique_ptr<TEmbeddedHTMLHelpSystem> Create()
    {
        THelpEnvironment environment;
        environment.executablePath = exe;
        environment.tempDirectory = temp.Str() + platform::PathSeparator();
        environment.startViewer = [this](const std::string& program, const std::string& parameters, bool maximized) {
            starts.push_back({program, parameters, maximized});
        };
        auto help = std::make_unique<TEmbeddedHTMLHelpSystem>(environment);
        help->SetMaximized(true);
        help->SetTopicPrefix("source\\");
        help->SetFailureHandler([this] { ++failures; });
        return help;
    }

    TempDir program, temp;
    const std::string exe = program.File("quillswp32.exe");
    const std::string copy = temp.File("quillswp32.chm");
    std::vector<ViewerStart> starts;
    int failures = 0;
};

} // namespace

TEST(HelpTrailer, TellsWhereTheHelpLiesAndWhetherItFits)
{
    TempDir dir;
    const std::string file = dir.File("program.exe");

    WriteBytes(file, kProgram + kHelp + Trailer(kHelp.size()));
    THelpPayload payload = ReadPayload(file);
    EXPECT_EQ(kHelp.size(), payload.length);
    EXPECT_EQ(static_cast<int64_t>(kProgram.size()), payload.offset);
    EXPECT_TRUE(payload.fits);

    WriteBytes(file, kProgram + Trailer(0));
    payload = ReadPayload(file);
    EXPECT_EQ(0u, payload.length);
    EXPECT_TRUE(payload.fits) << "no help at all, yet nothing out of bounds";

    WriteBytes(file, "MZ\x01");
    payload = ReadPayload(file);
    EXPECT_FALSE(payload.fits) << "too short to hold a trailer";

    // Exactly what precedes the trailer fits; one byte more, or a length that would wrap, does not.
    WriteBytes(file, kProgram + Trailer(kProgram.size()));
    EXPECT_TRUE(ReadPayload(file).fits);
    EXPECT_EQ(0, ReadPayload(file).offset);
    WriteBytes(file, kProgram + Trailer(kProgram.size() + 1));
    EXPECT_FALSE(ReadPayload(file).fits);
    WriteBytes(file, kProgram + Trailer(~uint64_t(0) - 2));
    EXPECT_FALSE(ReadPayload(file).fits);
}

TEST_F(EmbeddedHelp, FirstRequestCopiesTheHelpOutOnceAndEveryRequestStartsTheViewer)
{
    auto help = Create();
    EXPECT_EQ(program.File("quillswp32.chm"), help->GetHelpFile()) << "beside the executable until copied out";

    help->ShowContents();
    EXPECT_EQ(kHelp, ReadBytes(copy));
    EXPECT_EQ(copy, help->GetHelpFile());
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("HH.exe", starts[0].program);
    EXPECT_EQ("mk:@MSITStore:" + copy, starts[0].parameters);
    EXPECT_TRUE(starts[0].maximized);

    WriteBytes(copy, "left as it is");
    help->SetMaximized(false);
    help->ShowTopic("cleanup-options");
    EXPECT_EQ("left as it is", ReadBytes(copy)) << "copied once per run";
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ("mk:@MSITStore:" + copy + "::/source\\cleanup-options.html", starts[1].parameters);
    EXPECT_FALSE(starts[1].maximized);
    EXPECT_EQ(0, failures);
}

TEST_F(EmbeddedHelp, CopyGoesWithTheHelpObjectAndAnUnaskedHelpTouchesNothing)
{
    Create()->ShowContents();
    EXPECT_FALSE(std::filesystem::exists(testing_support::PathOf(copy)));

    WriteBytes(copy, "another run's copy");
    Create().reset();
    EXPECT_EQ("another run's copy", ReadBytes(copy));
}

TEST_F(EmbeddedHelp, ZeroedOrOverClaimingTrailerIsDamagedOnEveryRequest)
{
    for (const std::string& bytes : {kProgram + kHelp + Trailer(0), kProgram + kHelp + Trailer(kProgram.size() + kHelp.size() + 1)}) {
        WriteExecutable(bytes);
        starts.clear();
        failures = 0;
        auto help = Create();
        help->ShowContents();
        help->ShowContents();
        EXPECT_EQ(2, failures);
        EXPECT_TRUE(starts.empty());
        EXPECT_EQ("", ReadBytes(copy)) << "an empty copy stays until the end of the run";
    }
}

TEST_F(EmbeddedHelp, MissingExecutableOrTemporaryDirectoryFails)
{
    std::filesystem::remove(testing_support::PathOf(exe));
    auto help = Create();
    help->ShowContents();
    EXPECT_EQ(1, failures);

    WriteExecutable(kProgram + kHelp + Trailer(kHelp.size()));
    THelpEnvironment environment;
    environment.executablePath = exe;
    TEmbeddedHTMLHelpSystem homeless(environment);
    homeless.SetFailureHandler([this] { ++failures; });
    homeless.ShowContents();
    EXPECT_EQ(2, failures);
}

#ifdef _WIN32
// Windows refuses to replace a file another program holds, as a viewer left open by an earlier run does.
TEST_F(EmbeddedHelp, HeldCopyServesWhenItsSizeIsRight)
{
    WriteBytes(copy, kHelp);
    {
        platform::FileHandle viewer(copy, platform::FileAccess::WriteExisting);
        ASSERT_TRUE(viewer.IsOpen());
        auto help = Create();
        help->ShowContents();
        EXPECT_FALSE(help->Damaged());
        EXPECT_EQ(1u, starts.size());
    }
    WriteBytes(copy, "a stale copy of another size");
    {
        platform::FileHandle viewer(copy, platform::FileAccess::WriteExisting);
        ASSERT_TRUE(viewer.IsOpen());
        auto help = Create();
        help->ShowContents();
        EXPECT_TRUE(help->Damaged());
        EXPECT_EQ(1, failures);
    }
}
#else
// A copy that cannot be replaced and is not the help (here a FIFO, which is never opened) fails.
TEST_F(EmbeddedHelp, CopyThatCannotBeReplacedFailsUnlessItIsTheHelp)
{
    ASSERT_TRUE(testing_support::MakeFifo(copy));
    auto help = Create();
    ASSERT_TRUE(testing_support::FinishesWithoutWaitingOn(copy, [&] { help->ShowContents(); }));
    EXPECT_TRUE(help->Damaged());
    EXPECT_EQ(1, failures);
    EXPECT_TRUE(starts.empty());
}
#endif
