#pragma once
// Makes each window's controller for its form; the forms never name controller classes.
#include "app/uControllerInterfaces.h"
#include "app/uMainPanes.h"
#include "app/uMainView.h"
#include "app/uReportView.h"

#include <memory>
#include <string>
#include <vector>

class TEditListController;
class TFileViewerController;
class IFileViewerView;
class IEditListView;
class TMainController;
class IOptionsWindowView;

class TControllerServices {
public:
    // arguments: the program's command line without its name.
    static std::shared_ptr<TMainController> CreateMainController(IMainView& view, IMainPanesFactory& panes,
                                                                 IMessageBoxService& messageBoxes,
                                                                 std::vector<std::string> arguments);
    // Over the process-wide preference values.
    static std::shared_ptr<TEditListController> CreateEditListController(IEditListView& view,
                                                                         IMessageBoxService& messageBoxes);
    static std::shared_ptr<TFileViewerController> CreateFileViewerController(IFileViewerView& view,
                                                                             IMessageBoxService& messageBoxes);
    static std::shared_ptr<IOptionsController> CreateOptionsController(IOptionsWindowView& view,
                                                                       IMessageBoxService& messageBoxes);
    static std::shared_ptr<IReportController> CreateReportController(IReportView& view,
                                                                     IMessageBoxService& messageBoxes);
};
