#include "ui/VelaUIIconImage.h"

#include "platform/win32/Win32Text.h"

namespace ui {

TIconImage::TIconImage(TContainer& parent, const TIconImageArgs& args)
    : TControl(
          parent,
          {.className = WC_STATICW, .style = WS_VISIBLE | SS_OWNERDRAW, .rect = args.rect, .anchors = args.anchors}),
      name_(args.icon)
{
    SetColours(kNoColour, args.backColour);
    Load();
}

void TIconImage::SetIcon(const std::string& name)
{
    name_ = name;
    Load();
    Invalidate();
}

void TIconImage::DpiChanged()
{
    Load();
    Invalidate();
}

void TIconImage::Load()
{
    // Asked for at the scaled size, the system picks the nearest drawn size and scales only that.
    const int width = Scale(DesignRect().width);
    const int height = Scale(DesignRect().height);
    icon_.reset(name_.empty() ? nullptr
                              : static_cast<HICON>(LoadImageW(TResourceRoutines::ProgramModule(),
                                                              platform::Widen(name_).c_str(), IMAGE_ICON, width,
                                                              height, LR_DEFAULTCOLOR)));
}

bool TIconImage::HandleDrawItem(DRAWITEMSTRUCT& item)
{
    if (HBRUSH ground = BackBrush())
        FillRect(item.hDC, &item.rcItem, ground);
    if (icon_)
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon_.get(), item.rcItem.right - item.rcItem.left,
                   item.rcItem.bottom - item.rcItem.top, 0, nullptr, DI_NORMAL);
    return true;
}

} // namespace ui
