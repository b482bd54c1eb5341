#include "support/VelaHelpSystem.h"

#include "platform/PlatformFiles.h"
#include "platform/PlatformShell.h"
#include "platform/PlatformSystem.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <vector>

namespace {

const char kViewerProgram[] = "HH.exe";
const char kStorePrefix[] = "mk:@MSITStore:";

size_t NameStart(const std::string& path)
{
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

std::string WithExtension(const std::string& path, const std::string& extension)
{
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= NameStart(path);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

bool CopyRange(platform::FileHandle& source, int64_t offset, int64_t length, platform::FileHandle& target)
{
    if (!source.Seek(offset))
        return false;
    std::vector<char> buffer(64 * 1024);
    while (length > 0) {
        const int64_t chunk = std::min<int64_t>(length, static_cast<int64_t>(buffer.size()));
        const int64_t read = source.Read(buffer.data(), chunk);
        if (read <= 0 || target.Write(buffer.data(), read) != read)
            return false;
        length -= read;
    }
    return true;
}

} // namespace

THelpEnvironment THelpEnvironment::System()
{
    THelpEnvironment environment;
    environment.executablePath = platform::ExecutablePath();
    environment.tempDirectory = TDirectoryRoutines::GetTempDir();
    environment.startViewer = [](const std::string& program, const std::string& parameters, bool maximized) {
        platform::ShellOpen(program, parameters, maximized);
    };
    return environment;
}

bool THelpTrailer::Read(platform::FileHandle& file, THelpPayload& payload)
{
    payload = THelpPayload{};
    const int64_t size = file.Size();
    if (size < 0)
        return false;
    if (size < kSize)
        return true;
    unsigned char bytes[kSize] = {};
    if (!file.Seek(size - kSize) || file.Read(bytes, kSize) != kSize)
        return false;
    for (int i = kSize - 1; i >= 0; --i)
        payload.length = (payload.length << 8) | bytes[i];
    // Compared unsigned, so a length near 2^64 cannot wrap into a plausible offset.
    const uint64_t before = static_cast<uint64_t>(size - kSize);
    payload.fits = payload.length <= before;
    payload.offset = payload.fits ? static_cast<int64_t>(before - payload.length) : 0;
    return true;
}

THelpSystem::THelpSystem(THelpEnvironment environment) : environment_(std::move(environment)) {}

void THelpSystem::Show(const std::string& parameters)
{
    if (!damaged_ && platform::FileExists(helpFile_) && TFileRoutines::GetFileSizeBytes(helpFile_) > 0) {
        // Whether the viewer really came up is not checked.
        if (environment_.startViewer)
            environment_.startViewer(viewerProgram_, parameters, maximized_);
        return;
    }
    Fail();
}

void THelpSystem::Fail()
{
    if (failureHandler_)
        failureHandler_();
}

THTMLHelpSystem::THTMLHelpSystem(THelpEnvironment environment) : THelpSystem(std::move(environment))
{
    viewerProgram_ = kViewerProgram;
    helpFile_ = WithExtension(environment_.executablePath, ".chm");
}

void THTMLHelpSystem::ShowContents() { Show(kStorePrefix + helpFile_); }

void THTMLHelpSystem::ShowTopic(const std::string& topic)
{
    Show(kStorePrefix + helpFile_ + "::/" + topicPrefix_ + topic + ".html");
}

TEmbeddedHTMLHelpSystem::TEmbeddedHTMLHelpSystem(THelpEnvironment environment)
    : THTMLHelpSystem(std::move(environment))
{
}

TEmbeddedHTMLHelpSystem::~TEmbeddedHTMLHelpSystem()
{
    if (extracted_ && !copyPath_.empty() && platform::FileExists(copyPath_))
        platform::DeleteFileAt(copyPath_);
}

void TEmbeddedHTMLHelpSystem::ShowContents()
{
    if (!extracted_)
        Extract();
    THTMLHelpSystem::ShowContents();
}

void TEmbeddedHTMLHelpSystem::ShowTopic(const std::string& topic)
{
    if (!extracted_)
        Extract();
    THTMLHelpSystem::ShowTopic(topic);
}

void TEmbeddedHTMLHelpSystem::Extract()
{
    extracted_ = true;
    damaged_ = true;
    if (environment_.tempDirectory.empty())
        return;
    copyPath_ = environment_.tempDirectory + FileNameOf(helpFile_);
    helpFile_ = copyPath_;

    platform::FileHandle source(environment_.executablePath, platform::FileAccess::ReadShared);
    THelpPayload payload;
    const bool readable = source.IsOpen() && THelpTrailer::Read(source, payload);
    const auto expected = static_cast<int64_t>(payload.length);
    platform::FileHandle target(copyPath_, platform::FileAccess::CreateTruncate);
    if (!target.IsOpen()) {
        // A viewer left open by an earlier run may hold the copy: a copy of the right size serves.
        damaged_ = !(readable && payload.fits && expected > 0 && TFileRoutines::GetFileSizeBytes(copyPath_) == expected);
        return;
    }
    // Nothing before the file's start is read: a trailer claiming more than precedes it leaves
    // the copy empty, and so damaged.
    if (readable && payload.fits)
        CopyRange(source, payload.offset, expected, target);
    target.Close();
    source.Close();
    damaged_ = !readable || !payload.fits || TFileRoutines::GetFileSizeBytes(copyPath_) != expected;
}

std::shared_ptr<IProgramHelp> THelpSystemAccess::CreateHelpSystem(bool maximized, const std::string& topicPrefix)
{
    auto help = std::make_shared<TEmbeddedHTMLHelpSystem>();
    help->SetMaximized(maximized);
    help->SetTopicPrefix(topicPrefix);
    return help;
}
