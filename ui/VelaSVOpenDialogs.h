#pragma once
// The system's dialogs for choosing files and folders to open. Texts and paths are UTF-8.
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class TOpenDialogs {
public:
    // The standard open dialog, resizable, without the read-only box; every chosen file must
    // exist. filter: "description|pattern" pairs joined by '|'. The full paths in the dialog's
    // order; empty when cancelled.
    static std::vector<std::string> ChooseFiles(HWND owner, const std::string& title, const std::string& filter,
                                                const std::string& initialDir, bool multiSelect);
    // The folder dialog showing only the tree below root; the desktop's when root is "" or names
    // nothing the shell knows. The chosen folder's path; "" when cancelled or the folder has none.
    static std::string ChooseFolder(HWND owner, const std::string& title, const std::string& root);

    // The paths in an open dialog's multiple-selection answer: the folder, then each name, each
    // ended by a null; a single choice is one full path.
    static std::vector<std::string> SplitSelection(const wchar_t* buffer);
};

} // namespace ui
