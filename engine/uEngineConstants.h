#pragma once
// Fixed numbers of the engine.
#include <cstdint>

// Private messages of the main window that the workers post when they end.
constexpr uint32_t WM_SCANFINISHED = 0x89B9;
constexpr uint32_t WM_CLEANFINISHED = 0x89BA;

// Number of clean-up options in the catalogue; the engine loops over 0 .. count - 1.
constexpr int CleanupOptionCount = 23;
// The option whose single found object stands for the whole recycle bin.
constexpr int RecycleBinOption = 1;

// Shell folder of a found object: an ordinary path, or the recycle-bin pseudo-object.
constexpr int32_t ShellFolderNone = -1;
constexpr int32_t ShellFolderRecycleBin = 10;

// File attribute bits as the platform reports them for a directory entry.
constexpr uint32_t faReadOnly = 0x01;
constexpr uint32_t faHidden = 0x02;
constexpr uint32_t faSysFile = 0x04;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;
constexpr uint32_t faSymLink = 0x40;
constexpr uint32_t faAnyFile = 0x3F;

// Growth steps of the engine's arrays.
constexpr int32_t CleanupListGrowth = 8192;
constexpr int32_t ValidatorsGrowth = 8;
