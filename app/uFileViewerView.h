#pragma once
// The file viewer window as its controller sees it. The Win32 form implements it; tests use a fake.
#include <cstdint>
#include <string>

class IFileViewerView {
public:
    virtual ~IFileViewerView() = default;
    virtual void SetTitle(const std::string& text) = 0;
    // The whole text in one step (the view may keep it); lines separated by "\r\n". May throw
    // std::bad_alloc when the window cannot hold it.
    virtual void SetContent(std::string text) = 0;
    // Closes the window; asked before it shows, it does not show at all.
    virtual void Close() = 0;
    // For the message boxes the window raises.
    virtual int32_t MonitorNumber() = 0;
};
