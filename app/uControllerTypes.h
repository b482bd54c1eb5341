#pragma once
// Types and numbers shared by the controllers and the windows; portable.
#include "engine/uEngineConstants.h"

#include <cstdint>

enum class TMsgBoxKind : uint8_t { mkError = 0, mkWarning, mkInformation, mkConfirm, mkImportant, mkSafe };

// 1 accepted, 2 accepted for all items, 3 refused, 4 refused for all items.
enum class TMsgBoxResult : uint8_t { mrAccept = 1, mrAcceptAll = 2, mrRefuse = 3, mrRefuseAll = 4 };

enum class TMsgBoxFocus : uint8_t { mfAccept = 0, mfRefuse = 1 };

// Button bits of the message box; several captions of one button: the highest bit wins.
namespace msgbox_buttons {
constexpr uint32_t kApplyToAll = 1;
constexpr uint32_t kOK = 2;
constexpr uint32_t kYes = 4;
constexpr uint32_t kClose = 8;
constexpr uint32_t kCancel = 16;
constexpr uint32_t kNo = 32;
constexpr uint32_t kCloseOnly = kClose;
constexpr uint32_t kYesNo = kYes | kNo;
constexpr uint32_t kYesNoApplyToAll = kYes | kNo | kApplyToAll;
} // namespace msgbox_buttons

// The main window's private messages; the workers' two (WM_SCANFINISHED, WM_CLEANFINISHED) are
// the engine's.
constexpr uint32_t WM_TRAYNOTIFY = 0x89B6;
constexpr uint32_t WM_AFTERSHOW = 0x89B7;

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

// Mouse messages the tray icon reports.
constexpr uint32_t kTrayLeftButtonDown = 0x0201;
constexpr uint32_t kTrayRightButtonDown = 0x0204;

// Window kinds, each registered at most once while open.
enum class TWindowKind : uint8_t {
    wkMain, wkAbout, wkDriveInfo, wkEditList, wkFileViewer, wkLegend, wkOptions, wkReport, wkUninstall
};

// What the report window shows and saves: the scan report's list or the clean report's text.
enum TReportKind : uint8_t { rkScan = 0, rkClean = 1 };
