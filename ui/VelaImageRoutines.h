#pragma once
// Named bitmaps, icons, the tray icon and the system's small file icons (Windows only).
// Names are the resource names of the program module (case does not matter); texts and paths
// are UTF-8.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <type_traits>

struct TBitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
struct TIconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct TImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

// Owners of one handle each; empty when the handle could not be had.
using TBitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TBitmapDeleter>;
using TIconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, TIconDeleter>;
using TImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TImageListDeleter>;

class TResourceRoutines {
public:
    // The module whose resources the windows use: the running program.
    static HINSTANCE ProgramModule();
    static bool HasBitmapResource(const std::string& name);
};

class TBitmapRoutines {
public:
    // The named bitmap as drawn (24 bits a pixel, not converted to the screen's format); empty when missing.
    static TBitmapHandle LoadBitmapResource(const std::string& name);
    // The form of the named bitmap drawn for a DPI: beside <name> (96 DPI) there are <name>_150 and
    // <name>_200. Takes the smallest scale of 1, 1.5 and 2 that reaches dpi / 96 (2 above that), else
    // the next smaller one there is, then <name>; percent, when given, receives the scale of the one
    // taken (100, 150 or 200). Empty when even <name> is missing.
    static TBitmapHandle LoadBitmapForDpi(const std::string& name, int dpi, int* percent = nullptr);
    // A bitmap's own size in pixels; 0 by 0 for none.
    static SIZE BitmapSize(HBITMAP bitmap);
    // Draws the bitmap into the rectangle with magenta left out; stretched only when the sizes differ.
    static void DrawTransparent(HDC dc, HBITMAP bitmap, const RECT& target);
    // Draws every pixel of the bitmap that is not magenta in one colour, as the system draws a
    // disabled picture in high contrast.
    static void DrawSilhouette(HDC dc, HBITMAP bitmap, const RECT& target, COLORREF colour);
    // A copy of a picture drawn on a ground of its own (its corner's colour) for another ground:
    // its ground made magenta where it reaches the edges, the edges smoothed against the old ground
    // smoothed against the new one instead; the same colour inside the picture stays. Empty for
    // none; a copy as it is when the ground is magenta already.
    static TBitmapHandle WithoutGround(HBITMAP bitmap, COLORREF newGround);
    // Adds the named bitmap with magenta (0xFF00FF) as the transparent colour; the index, or -1 when
    // the list is null or the bitmap missing.
    static int AddBitmapToImageList(HIMAGELIST list, const std::string& name);
};

// The program's icon in the notification area: valid exactly while the icon is shown. Going out
// of scope removes it, so no icon outlives its window's record.
class TTrayIconRecord {
public:
    TTrayIconRecord();
    ~TTrayIconRecord();
    TTrayIconRecord(const TTrayIconRecord&) = delete;
    TTrayIconRecord& operator=(const TTrayIconRecord&) = delete;

    bool Valid() const { return valid_; }
    const NOTIFYICONDATAW& Data() const { return data_; }
    std::string Tip() const;

private:
    friend class TIconRoutines;
    NOTIFYICONDATAW data_;
    TIconHandle icon_;
    bool valid_ = false;
};

class TIconRoutines {
public:
    // The longest tip the tray icon shows, in UTF-16 units.
    static constexpr int kMaxTrayTip = 63;

    // Shows the 16x16 form of MAINICON for the window, reporting mouse messages as callbackMessage,
    // with an empty tip. A record already shown is removed first. False when nothing is shown.
    static bool AddTrayIcon(TTrayIconRecord& record, HWND window, UINT callbackMessage);
    // False when the record was not shown; it is invalid afterwards in every case.
    static bool RemoveTrayIcon(TTrayIconRecord& record);
    // Sends the tip (cut to kMaxTrayTip) only when the icon is shown and the tip changes; true when sent.
    static bool SetTrayTip(TTrayIconRecord& record, const std::string& text);

    // Icons in an executable, library or icon file; 0 when it does not exist or holds none.
    static int GetIconCount(const std::string& path);
    static bool HasIcons(const std::string& path);
    // The small form of the file's first icon; empty when there is none.
    static TIconHandle ExtractSmallIcon(const std::string& path);

    // The system's shared list of small file icons; never destroyed.
    static HIMAGELIST SystemSmallImageList();
    // The index in that list of the icon a file or folder of that name gets; the disk is not
    // consulted. -1 when the system gives none.
    static int SystemSmallIconIndex(const std::string& path, bool isDirectory);
};
