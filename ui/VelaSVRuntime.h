#pragma once
// Small routines the window controllers share: accelerator underlines, monitors, balloon tips,
// the drive a folder tree starts on, and list views used as checked lists of texts.
// Texts are UTF-8.
#include "ui/VelaUIControls.h"

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

namespace ui {

struct TToolTipDeleter {
    void operator()(HWND tip) const;
};
// Owner of a tip window; empty when none was made.
using TToolTipHandle = std::unique_ptr<std::remove_pointer_t<HWND>, TToolTipDeleter>;

class TSVRuntime {
public:
    // Shows the accelerator underlines of the top-level window holding any of its windows and
    // repaints its labels, check boxes, radio buttons and buttons; the number repainted.
    static int ShowAccelerators(HWND anyWindow);

    // The index, in the system's enumeration order, of the monitor that shows a top-level
    // window of this program; 0 when the window is null, not such a window, or on no monitor.
    static int MonitorOf(HWND window);
    // The bounds of monitor n; the primary monitor's when n names none.
    static RECT MonitorRect(int number);
    static int MonitorCount();

    // A balloon over the control with a title, a text and a TTI_ icon, on Windows 2000 and later;
    // empty on older systems. The tip lasts as long as the handle.
    static TToolTipHandle AttachBalloonTip(const TControl& control, const std::string& title,
                                           const std::string& text, int icon = TTI_INFO);

    // In a tree whose root is the computer with its drives below it, selects the first drive
    // whose path (pathOf) is a drive root such as "C:\", passing over A: and B: when asked.
    // The item selected, or null when no child qualifies.
    static HTREEITEM SelectDefaultDrive(TTreeView& tree, bool skipFloppies,
                                        const std::function<std::string(HTREEITEM)>& pathOf);
};

class TSVListRoutines {
public:
    // Checked lists: a list view with check boxes whose column 0 holds the texts.
    static int CountChecked(const TListView& list);
    // Adds the text unless an item has it exactly, then checks that item or clears its check;
    // the item's index.
    static int AddUnique(TListView& list, const std::string& text, bool checked = true);
    static void SetAllChecked(TListView& list, bool checked);
    static void SetAllSelected(TListView& list, bool selected);

    // The index of the item whose column 0 is the text exactly; -1 when none.
    static int FindText(const TListView& list, const std::string& text);
    // The same by binary search with TStringRoutines::CompareIgnoringCase, for lists sorted by it.
    static int FindTextSorted(const TListView& list, const std::string& text);

    // Shows image imageIndex of the header's image list right of the column's title, or clears
    // it for -1; the title stays. False for a missing column. A list view hands its small
    // images to its header whenever they change, so set the header's list (masked, see
    // MaskedImagesForDpi) after the small images.
    static bool SetHeaderImage(HWND listView, int column, int imageIndex);
    // Swaps the selected item with the one above or below (texts, check, image, data, selection)
    // and shows it; its new index, or -1 without a selection or at that end of the list.
    static int MoveSelectedUp(TListView& list) { return MoveSelected(list, -1); }
    static int MoveSelectedDown(TListView& list) { return MoveSelected(list, 1); }

private:
    static int MoveSelected(TListView& list, int step);
};

} // namespace ui
