#include "app/uFileViewerController.h"

#include "cycle/uCycleSetup.h"
#include "app/uFileViewerRendering.h"
#include "app/uWindowServices.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace fileviewer_texts {
const char* const kTitleFormat = "%s File Viewer";
const char* const kModeNames[3] = {"Hexadecimal", "Binary", "Text"};
const char* const kOpenFailed = "Cannot open file \"%s\": %s";
const char* const kReadFailed = "Cannot read file \"%s\": %s";
const char* const kTooLarge = "Cannot show file \"%s\": there is not enough memory to hold it.";
} // namespace fileviewer_texts

namespace {

// The whole file, or the message that tells why not. A file that grows meanwhile is read as far
// as it was long when opened; one that shrinks, as far as it goes.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    using namespace fileviewer_texts;
    // Only a regular file opens, and opening never waits on a FIFO or device.
    platform::FileHandle file(path, platform::FileAccess::ReadShared);
    if (!file.IsOpen()) {
        error = TCycleSetup::FormatText(kOpenFailed, {path, platform::SystemErrorMessage(file.ErrorCode())});
        return false;
    }
    const int64_t size = file.Size();
    if (size < 0) {
        const int code = platform::LastErrorCode();
        error = TCycleSetup::FormatText(kReadFailed, {path, platform::SystemErrorMessage(code)});
        return false;
    }
    if (static_cast<uint64_t>(size) > bytes.max_size())
        throw std::bad_alloc();
    bytes.resize(static_cast<size_t>(size));
    const int64_t got = file.Read(bytes.data(), size);
    if (got < 0) {
        error = TCycleSetup::FormatText(kReadFailed, {path, platform::SystemErrorMessage(file.ErrorCode())});
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<size_t>(got));
    return true;
}

} // namespace

TFileViewerController::TFileViewerController(IFileViewerView& view, IMessageBoxService& messageBoxes)
    : view_(view), messageBoxes_(messageBoxes)
{
    Initialize();
}

int32_t TFileViewerController::ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult)
{
    return ResizeBand(x, y, width, height, systemResult);
}

void TFileViewerController::LoadStrings()
{
    std::string name;
    GetModeName(mode_, name);
    view_.SetTitle(TCycleSetup::FormatText(fileviewer_texts::kTitleFormat, name));
}

void TFileViewerController::GetModeName(int32_t mode, std::string& name)
{
    name = mode >= vmHexadecimal && mode <= vmText ? fileviewer_texts::kModeNames[mode] : "";
}

void TFileViewerController::Open(const TWindowArguments& arguments)
{
    mode_ = arguments.viewMode;
    LoadStrings();
    LoadFile(arguments.path, arguments.viewMode);
}

void TFileViewerController::LoadFile(const std::string& path, int32_t mode)
{
    if (path.empty() || !platform::FileExists(path))
        return;
    std::string error;
    try {
        std::string bytes;
        if (!ReadWholeFile(path, bytes, error)) {
            Fail(error);
            return;
        }
        std::string text = TFileViewRendering::Render(bytes, mode);
        // The file's bytes go before the control takes its own copy of the text.
        std::string().swap(bytes);
        view_.SetContent(std::move(text));
    } catch (const std::bad_alloc&) {
        Fail(TCycleSetup::FormatText(fileviewer_texts::kTooLarge, path));
    } catch (const std::length_error&) {
        Fail(TCycleSetup::FormatText(fileviewer_texts::kTooLarge, path));
    }
}

void TFileViewerController::Fail(const std::string& message)
{
    messageBoxes_.Execute(TMsgBoxKind::mkError, message, view_.MonitorNumber(), TMsgBoxFocus::mfAccept,
                          msgbox_buttons::kCloseOnly);
    view_.Close();
}
