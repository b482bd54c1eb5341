#pragma once
// Lets tests stand in for the storage devices behind the Windows device queries, so that every way
// through the solid-state detection runs where no real disk answers (under Wine, without rights).
#include <windows.h>

#include <functional>
#include <string>

namespace platform::device_testing {

// Steps that are no device control code.
constexpr DWORD kOpenDevice = 0;
constexpr DWORD kNameVolume = 1;  // out: the volume's name, wide characters

// Asked before each step with the device (or mount point) and the control code. Returns false to
// let the system answer; otherwise sets error (0: success) and, on success, fills out and returned.
using TStandIn = std::function<bool(const std::string& device, DWORD code, void* out, DWORD outSize, DWORD& returned,
                                    DWORD& error)>;
// An empty stand-in gives every step back to the system.
void SetStandIn(TStandIn standIn);

} // namespace platform::device_testing
