#include "app/uLegendController.h"

namespace legend_texts {
const char* const kTitle = "Legend";
const char* const kClassification =
    "Quillsweep classifies files and directories into one of the following categories.";
const char* const kSafe = "Safe";
const char* const kSafeDescription = "Files and directories that can generally be safely deleted.";
const char* const kPotentiallyUnsafe = "Potentially Unsafe";
const char* const kPotentiallyUnsafeDescription =
    "Files and directories that require extra care in order to be deleted.";
const char* const kUnsafe = "Unsafe";
const char* const kUnsafeDescription = "Files and directories that require your attention in order to be deleted.";
const char* const kClose = "Close";
} // namespace legend_texts

TLegendController::TLegendController(ILegendView& view) : TInfoWindowController(view), view_(view)
{
    Initialize();
}

void TLegendController::LoadImages()
{
    // The same pictures the objects list and the scan report give each class.
    view_.SetImage(scSafe, "fsafe16");
    view_.SetImage(scPotentiallyUnsafe, "fpunsafe16");
    view_.SetImage(scUnsafe, "funsafe16");
}

void TLegendController::LoadStrings()
{
    using namespace legend_texts;
    view_.SetTitle(kTitle);
    view_.SetText(TLegendText::ltClassification, kClassification);
    view_.SetText(TLegendText::ltSafe, kSafe);
    view_.SetText(TLegendText::ltSafeDescription, kSafeDescription);
    view_.SetText(TLegendText::ltPotentiallyUnsafe, kPotentiallyUnsafe);
    view_.SetText(TLegendText::ltPotentiallyUnsafeDescription, kPotentiallyUnsafeDescription);
    view_.SetText(TLegendText::ltUnsafe, kUnsafe);
    view_.SetText(TLegendText::ltUnsafeDescription, kUnsafeDescription);
    view_.SetCloseCaption(kClose);
}

bool TLegendController::KeyDown(uint32_t key)
{
    if (key != keys::kF1)
        return TInfoWindowController::KeyDown(key);
    view_.ShowHelp();
    return true;
}
