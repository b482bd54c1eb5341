#pragma once
// "Undo Clean", as the main window's objects page and the report window of that clean offer it:
// one clean's record, the question, the restore from the bin and what could not come back. The
// restore itself is the tool's (cycle/uRestore.h); this only asks and tells through the window.
#include "cycle/uCleanRecord.h"
#include "ui/models/uWidgetServices.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ICleanReport;

namespace undo_texts {
extern const char* const kUndoClean;
} // namespace undo_texts

class TUndoClean {
public:
    // Paths listed in the result box before "and N more".
    static constexpr size_t kListedPaths = 10;

    TUndoClean(std::string file, clean_record::Json record);

    // The record written at file when it moved objects to the bin that are not restored yet;
    // null otherwise (a deletion, nothing moved, no record).
    static std::shared_ptr<TUndoClean> ForRecord(const std::string& file);

    // Whether objects of the clean are still in the bin as far as the record knows.
    bool Pending() const;

    // Asks once, then restores and shows what could not be restored and why. The computing popup
    // (may be null) shows while it restores, counting the objects. False when refused.
    bool Run(IMessageBoxService& messageBoxes, int32_t monitor, const std::shared_ptr<IComputingWindow>& computing);

    // The undo a clean report's window offers: the one of the clean it reports, if any. The main
    // window attaches it when the clean ends and detaches it (null) when the clean's page goes.
    static void Attach(const ICleanReport* report, std::shared_ptr<TUndoClean> undo);
    static std::shared_ptr<TUndoClean> Of(const ICleanReport* report);

private:
    std::string file_;
    clean_record::Json record_;
};
