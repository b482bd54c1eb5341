#pragma once
// The legend window: the three safety classes with their pictures and a Close button;
// TLegendController decides everything.
#include "app/uLegendView.h"
#include "forms/uInfoWindow.h"

#include <map>
#include <memory>

class TfrmLegend : public forms::TInfoWindow<ILegendView> {
public:
    explicit TfrmLegend(HWND owner);
    ~TfrmLegend() override;

    void SetText(TLegendText label, const std::string& text) override;
    void SetImage(TSafetyClass safety, const std::string& bitmapName) override;
    void ShowHelp() override;

private:
    void CreateControls();

    std::map<TLegendText, ui::TLabel*> labels_;
    std::map<TSafetyClass, ui::TImage*> images_;
    std::shared_ptr<ILegendController> controller_;
};
