#pragma once
// Creates the program's windows for the window services.
#include "app/uWindowServices.h"

class TfrmMain;

class TWin32WindowFactory : public IWindowFactory {
public:
    std::unique_ptr<IModalWindow> Create(TWindowKind kind, TWindowArguments& arguments) override;
    void BringWindowsToFront() override;
    void CreateMainWindow() override;

    // The main window, once created; it lives until the program ends.
    TfrmMain* MainWindow() { return main_.get(); }

private:
    std::shared_ptr<TfrmMain> main_;
};
