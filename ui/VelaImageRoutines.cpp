#include "ui/VelaImageRoutines.h"

#include "platform/win32/Win32Text.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

using platform::Narrow;
using platform::Widen;

namespace {
const COLORREF kTransparent = RGB(255, 0, 255);

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The tip as the tray keeps it: at most kMaxTrayTip units, never half a surrogate pair.
std::wstring CutTip(std::wstring tip)
{
    if (tip.size() > static_cast<size_t>(TIconRoutines::kMaxTrayTip)) {
        size_t length = TIconRoutines::kMaxTrayTip;
        if (IS_HIGH_SURROGATE(tip[length - 1]))
            --length;
        tip.resize(length);
    }
    return tip;
}

// The bitmap's pixels as 32-bit 0x00RRGGBB values, top row first, in a DIB section of its size.
struct TPixels {
    TBitmapHandle bitmap;
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

TPixels PixelsOf(HBITMAP source)
{
    TPixels pixels;
    const SIZE size = TBitmapRoutines::BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    pixels.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!pixels.bitmap)
        return pixels;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ previousFrom = SelectObject(from, source);
    HGDIOBJ previousTo = SelectObject(to, pixels.bitmap.get());
    BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
    SelectObject(from, previousFrom);
    SelectObject(to, previousTo);
    DeleteDC(from);
    DeleteDC(to);
    GdiFlush();
    pixels.bits = static_cast<uint32_t*>(bits);
    pixels.width = size.cx;
    pixels.height = size.cy;
    return pixels;
}

constexpr uint32_t kTransparentPixel = 0x00FF00FF; // magenta as a DIB holds it
uint32_t PixelOf(COLORREF colour) { return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour); }

// Near enough to the ground to be it: the pictures' edges are smoothed against their ground.
bool NearColour(uint32_t a, uint32_t b)
{
    constexpr int kNear = 24;
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > kNear)
            return false;
    return true;
}

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// How far a pixel's colour lies from another, over the three channels.
int Distance(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        sum += std::abs(Channel(a, shift) - Channel(b, shift));
    return sum;
}

// The pixels at the edge of a picture whose ground was taken out were smoothed against that
// ground: each is about a part of the colour inside it and the rest ground. That rest becomes
// the new ground, so no light or dark rim stays around the picture.
void Rematte(uint32_t* bits, int width, int height, uint32_t oldGround, uint32_t newGround)
{
    constexpr int kPlainColour = 48; // a colour inside that close to the ground tells no share
    const std::vector<uint32_t> source(bits, bits + static_cast<size_t>(width) * height);
    const auto at = [&](int x, int y) { return source[static_cast<size_t>(y) * width + x] & 0x00FFFFFF; };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = at(x, y);
            if (pixel == kTransparentPixel)
                continue;
            bool onEdge = false;
            uint32_t inside = pixel; // the neighbour farthest from the ground
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (x + dx < 0 || y + dy < 0 || x + dx >= width || y + dy >= height)
                        continue;
                    const uint32_t next = at(x + dx, y + dy);
                    if (next == kTransparentPixel)
                        onEdge = onEdge || dx == 0 || dy == 0;
                    else if (Distance(next, oldGround) > Distance(inside, oldGround))
                        inside = next;
                }
            const int whole = Distance(inside, oldGround);
            if (!onEdge || whole < kPlainColour)
                continue;
            const int share = std::min(Distance(pixel, oldGround), whole); // of 'whole'
            uint32_t result = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int moved = Channel(pixel, shift) +
                                  (Channel(newGround, shift) - Channel(oldGround, shift)) * (whole - share) / whole;
                result |= static_cast<uint32_t>(std::clamp(moved, 0, 255)) << shift;
            }
            bits[static_cast<size_t>(y) * width + x] = result == kTransparentPixel ? result ^ 1 : result;
        }
}

void ClearRecord(NOTIFYICONDATAW& data)
{
    data = NOTIFYICONDATAW{};
    data.cbSize = sizeof data;
}
} // namespace

// ---- resources and bitmaps ----

HINSTANCE TResourceRoutines::ProgramModule()
{
    return GetModuleHandleW(nullptr);
}

bool TResourceRoutines::HasBitmapResource(const std::string& name)
{
    return !name.empty() && FindResourceW(ProgramModule(), Widen(name).c_str(), RT_BITMAP) != nullptr;
}

TBitmapHandle TBitmapRoutines::LoadBitmapResource(const std::string& name)
{
    if (!TResourceRoutines::HasBitmapResource(name))
        return nullptr;
    // A DIB section keeps the drawn 24 bits; a screen-compatible copy could lose the exact magenta.
    return TBitmapHandle(static_cast<HBITMAP>(
        LoadImageW(TResourceRoutines::ProgramModule(), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

TBitmapHandle TBitmapRoutines::LoadBitmapForDpi(const std::string& name, int dpi, int* percent)
{
    struct TVariant {
        int percent;
        const char* suffix;
    };
    static const TVariant kVariants[] = {{100, ""}, {150, "_150"}, {200, "_200"}};
    if (percent)
        *percent = 100;
    if (name.empty())
        return nullptr;
    // Larger drawn smaller keeps more of the drawing than smaller drawn larger.
    int wanted = 0;
    while (wanted < 2 && kVariants[wanted].percent * 96 < dpi * 100)
        ++wanted;
    for (int i = wanted; i >= 0; --i)
        if (TBitmapHandle bitmap = LoadBitmapResource(name + kVariants[i].suffix)) {
            if (percent)
                *percent = kVariants[i].percent;
            return bitmap;
        }
    return nullptr;
}

SIZE TBitmapRoutines::BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void TBitmapRoutines::DrawTransparent(HDC dc, HBITMAP bitmap, const RECT& target)
{
    if (!bitmap)
        return;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    TransparentBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source, 0, 0,
                   info.bmWidth, info.bmHeight, kTransparent);
    SelectObject(source, previous);
    DeleteDC(source);
}

void TBitmapRoutines::DrawSilhouette(HDC dc, HBITMAP bitmap, const RECT& target, COLORREF colour)
{
    TPixels pixels = PixelsOf(bitmap);
    if (!pixels.bits)
        return;
    const uint32_t shape = PixelOf(colour == kTransparent ? RGB(254, 0, 254) : colour);
    for (int i = 0; i < pixels.width * pixels.height; ++i)
        if ((pixels.bits[i] & 0x00FFFFFF) != kTransparentPixel)
            pixels.bits[i] = shape;
    DrawTransparent(dc, pixels.bitmap.get(), target);
}

TBitmapHandle TBitmapRoutines::WithoutGround(HBITMAP bitmap, COLORREF newGround)
{
    TPixels pixels = PixelsOf(bitmap);
    if (!pixels.bits)
        return nullptr;
    const int width = pixels.width;
    const int height = pixels.height;
    uint32_t* bits = pixels.bits;
    const uint32_t ground = bits[0] & 0x00FFFFFF;
    if (ground == kTransparentPixel)
        return std::move(pixels.bitmap);
    // Filled from every edge pixel of the ground's colour inwards.
    std::vector<int> pending;
    auto take = [&](int x, int y) {
        const int at = y * width + x;
        if ((bits[at] & 0x00FFFFFF) != kTransparentPixel && NearColour(bits[at], ground)) {
            bits[at] = kTransparentPixel;
            pending.push_back(at);
        }
    };
    for (int x = 0; x < width; ++x) {
        take(x, 0);
        take(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        take(0, y);
        take(width - 1, y);
    }
    while (!pending.empty()) {
        const int at = pending.back();
        pending.pop_back();
        const int x = at % width;
        const int y = at / width;
        if (x > 0)
            take(x - 1, y);
        if (x + 1 < width)
            take(x + 1, y);
        if (y > 0)
            take(x, y - 1);
        if (y + 1 < height)
            take(x, y + 1);
    }
    Rematte(bits, width, height, ground, PixelOf(newGround));
    return std::move(pixels.bitmap);
}

int TBitmapRoutines::AddBitmapToImageList(HIMAGELIST list, const std::string& name)
{
    if (!list)
        return -1;
    const TBitmapHandle bitmap = LoadBitmapResource(name);
    if (!bitmap)
        return -1;
    return ImageList_AddMasked(list, bitmap.get(), kTransparent);
}

// ---- tray icon ----

TTrayIconRecord::TTrayIconRecord()
{
    ClearRecord(data_);
}

TTrayIconRecord::~TTrayIconRecord()
{
    TIconRoutines::RemoveTrayIcon(*this);
}

std::string TTrayIconRecord::Tip() const
{
    return Narrow(data_.szTip);
}

bool TIconRoutines::AddTrayIcon(TTrayIconRecord& record, HWND window, UINT callbackMessage)
{
    RemoveTrayIcon(record);
    if (!window)
        return false;
    TIconHandle icon(
        static_cast<HICON>(LoadImageW(TResourceRoutines::ProgramModule(), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
    if (!icon)
        return false;
    NOTIFYICONDATAW& data = record.data_;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon.get();
    data.szTip[0] = L'\0';
    if (!Shell_NotifyIconW(NIM_ADD, &data)) {
        ClearRecord(data);
        return false;
    }
    record.icon_ = std::move(icon);
    record.valid_ = true;
    return true;
}

bool TIconRoutines::RemoveTrayIcon(TTrayIconRecord& record)
{
    if (!record.valid_)
        return false;
    const bool removed = Shell_NotifyIconW(NIM_DELETE, &record.data_) != FALSE;
    record.valid_ = false;
    record.icon_.reset();
    ClearRecord(record.data_);
    return removed;
}

bool TIconRoutines::SetTrayTip(TTrayIconRecord& record, const std::string& text)
{
    if (!record.valid_)
        return false;
    const std::wstring tip = CutTip(Widen(text));
    if (tip == record.data_.szTip)
        return false;
    // The record changes only once the shell took the tip, so a refused tip is offered again.
    NOTIFYICONDATAW data = record.data_;
    data.uFlags = NIF_TIP;
    tip.copy(data.szTip, tip.size());
    data.szTip[tip.size()] = L'\0';
    if (!Shell_NotifyIconW(NIM_MODIFY, &data))
        return false;
    tip.copy(record.data_.szTip, tip.size());
    record.data_.szTip[tip.size()] = L'\0';
    return true;
}

// ---- icons of files ----

int TIconRoutines::GetIconCount(const std::string& path)
{
    const std::wstring file = Widen(path);
    const TWow64RedirectionOff redirection;
    if (file.empty() || !IsFile(file))
        return 0;
    const UINT count = ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0);
    // Some failures come back as UINT_MAX rather than 0.
    return count > static_cast<UINT>(INT_MAX) ? 0 : static_cast<int>(count);
}

bool TIconRoutines::HasIcons(const std::string& path)
{
    return GetIconCount(path) > 0;
}

TIconHandle TIconRoutines::ExtractSmallIcon(const std::string& path)
{
    const std::wstring file = Widen(path);
    const TWow64RedirectionOff redirection;
    if (file.empty() || !IsFile(file))
        return nullptr;
    HICON smallIcon = nullptr;
    if (ExtractIconExW(file.c_str(), 0, nullptr, &smallIcon, 1) == 0 || !smallIcon)
        return nullptr;
    return TIconHandle(smallIcon);
}

HIMAGELIST TIconRoutines::SystemSmallImageList()
{
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                                                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
}

int TIconRoutines::SystemSmallIconIndex(const std::string& path, bool isDirectory)
{
    SHFILEINFOW info{};
    const DWORD attributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!SHGetFileInfoW(Widen(path).c_str(), attributes, &info, sizeof info,
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        return -1;
    return info.iIcon;
}
