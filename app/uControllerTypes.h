#pragma once
// Types and numbers shared by the controllers and the windows; portable.
#include "engine/uEngineConstants.h"
#include "ui/models/uWidgetServices.h"

#include <cstdint>

// Non-client hit-test codes (the system's values, so forms can return them unchanged).
namespace hit_test {
constexpr int32_t kClient = 1;
constexpr int32_t kCaption = 2;
constexpr int32_t kLeft = 10;
constexpr int32_t kRight = 11;
constexpr int32_t kTop = 12;
constexpr int32_t kTopLeft = 13;
constexpr int32_t kTopRight = 14;
constexpr int32_t kBottom = 15;
constexpr int32_t kBottomLeft = 16;
constexpr int32_t kBottomRight = 17;
} // namespace hit_test

// Window kinds, each registered at most once while open.
enum class TWindowKind : uint8_t {
    wkMain, wkAbout, wkDriveInfo, wkEditList, wkFileViewer, wkLegend, wkOptions, wkReport, wkUninstall
};

// What the report window shows and saves: the scan report's list or the clean report's text.
enum TReportKind : uint8_t { rkScan = 0, rkClean = 1 };
