#include "app/uControllerServices.h"

#include "app/uAboutBoxController.h"
#include "app/uDriveInfoController.h"
#include "app/uEditListController.h"
#include "app/uLegendController.h"
#include "app/uFileViewerController.h"
#include "app/uMainController.h"
#include "app/uOptionsController.h"
#include "app/uReportController.h"
#include "app/uUninstallController.h"
#include "app/uWindowServices.h"

std::shared_ptr<TMainController> TControllerServices::CreateMainController(IMainView& view,
                                                                           IMainPanesFactory& panes,
                                                                           IMessageBoxService& messageBoxes,
                                                                           std::vector<std::string> arguments)
{
    return std::make_shared<TMainController>(view, panes, messageBoxes, WindowServices(), Preferences(),
                                             std::move(arguments));
}

std::shared_ptr<TEditListController> TControllerServices::CreateEditListController(IEditListView& view,
                                                                                   IMessageBoxService& messageBoxes)
{
    return std::make_shared<TEditListController>(view, messageBoxes, Preferences());
}

std::shared_ptr<IOptionsController> TControllerServices::CreateOptionsController(IOptionsWindowView& view,
                                                                               IMessageBoxService& messageBoxes)
{
    return std::make_shared<TOptionsController>(view, messageBoxes, WindowServices(), Preferences());
}

std::shared_ptr<IReportController> TControllerServices::CreateReportController(IReportView& view,
                                                                               IMessageBoxService& messageBoxes)
{
    return std::make_shared<TReportController>(view, messageBoxes);
}

std::shared_ptr<ILegendController> TControllerServices::CreateLegendController(ILegendView& view)
{
    return std::make_shared<TLegendController>(view);
}

std::shared_ptr<IAboutBoxController> TControllerServices::CreateAboutBoxController(IAboutBoxView& view)
{
    return std::make_shared<TAboutBoxController>(view);
}

std::shared_ptr<IDriveInfoController> TControllerServices::CreateDriveInfoController(IDriveInfoView& view,
                                                                                     IMessageBoxService& messageBoxes,
                                                                                     TDriveInfoFactory factory)
{
    return std::make_shared<TDriveInfoController>(view, messageBoxes, std::move(factory));
}

std::shared_ptr<IUninstallController> TControllerServices::CreateUninstallController(IUninstallView& view,
                                                                                     IMessageBoxService& messageBoxes,
                                                                                     platform::IRegistry& registry)
{
    return std::make_shared<TUninstallController>(view, messageBoxes, Preferences(), registry);
}

std::shared_ptr<TFileViewerController> TControllerServices::CreateFileViewerController(IFileViewerView& view,
                                                                                       IMessageBoxService& messageBoxes)
{
    return std::make_shared<TFileViewerController>(view, messageBoxes);
}
