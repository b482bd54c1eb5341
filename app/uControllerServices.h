#pragma once
// Makes each window's controller for its form; the forms never name controller classes.
#include "app/uControllerInterfaces.h"
#include "app/uAboutBoxView.h"
#include "app/uDriveInfoView.h"
#include "app/uLegendView.h"
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
class IUninstallView;
namespace platform {
class IRegistry;
}

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
    static std::shared_ptr<ILegendController> CreateLegendController(ILegendView& view);
    // Over the facts of the running program and system.
    static std::shared_ptr<IAboutBoxController> CreateAboutBoxController(IAboutBoxView& view);
    // An empty factory reads the real drives.
    static std::shared_ptr<IDriveInfoController> CreateDriveInfoController(IDriveInfoView& view,
                                                                           IMessageBoxService& messageBoxes,
                                                                           TDriveInfoFactory factory = {});
    // Over the process-wide preference values and the given registry.
    static std::shared_ptr<IUninstallController> CreateUninstallController(IUninstallView& view,
                                                                           IMessageBoxService& messageBoxes,
                                                                           platform::IRegistry& registry);
};
