#pragma once
// The legend: what the three safety classes of found objects mean.
#include "app/uInfoWindowController.h"
#include "app/uLegendView.h"

namespace legend_texts {
extern const char* const kTitle;
extern const char* const kClassification;
extern const char* const kSafe;
extern const char* const kSafeDescription;
extern const char* const kPotentiallyUnsafe;
extern const char* const kPotentiallyUnsafeDescription;
extern const char* const kUnsafe;
extern const char* const kUnsafeDescription;
extern const char* const kClose;
} // namespace legend_texts

class TLegendController : public TInfoWindowController, public ILegendController {
public:
    explicit TLegendController(ILegendView& view);

    int32_t ResizeHitTest(int32_t, int32_t, int32_t, int32_t, int32_t systemResult) override { return systemResult; }
    void LoadStrings() override;
    // Enter and Escape close; F1 opens the help.
    bool KeyDown(uint32_t key) override;

protected:
    void LoadImages() override;

private:
    ILegendView& view_;
};
