#include "app/uUndoClean.h"

#include "cycle/uRestore.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace undo_texts {
const char* const kUndoClean = "Undo Clean";
} // namespace undo_texts

namespace {

std::string Objects(size_t count)
{
    return TNumberRoutines::GroupThousands(static_cast<int64_t>(count)) + (count == 1 ? " object" : " objects");
}

std::string Question(size_t pending, size_t moved)
{
    if (pending == 1 && moved == 1)
        return "Restore the object this clean moved to the Recycle Bin to its place?";
    if (pending == moved)
        return "Restore the " + Objects(pending) + " this clean moved to the Recycle Bin to their places?";
    return pending == 1 ? "Restore the object of this clean still in the Recycle Bin to its place?"
                        : "Restore the " + Objects(pending) + " of this clean still in the Recycle Bin to their places?";
}

std::string Outcome(const std::vector<restore::TObjectResult>& results)
{
    size_t restored = 0, already = 0;
    std::vector<const restore::TObjectResult*> left;
    for (const restore::TObjectResult& result : results) {
        if (result.outcome == restore::TOutcome::Restored)
            ++restored;
        else if (result.outcome == restore::TOutcome::AlreadyRestored)
            ++already;
        else
            left.push_back(&result);
    }
    std::string text = Objects(restored) + " restored";
    if (already > 0)
        text += ", " + TNumberRoutines::GroupThousands(static_cast<int64_t>(already)) + " already back at " +
                (already == 1 ? "its place" : "their places");
    text += ".";
    if (left.empty())
        return text;
    if (restored == 0 && already == 0)
        text = "None of the " + Objects(left.size()) + " could be restored:\r\n";
    else
        text += " " + TNumberRoutines::GroupThousands(static_cast<int64_t>(left.size())) + " could not be:\r\n";
    const size_t listed = std::min(left.size(), TUndoClean::kListedPaths);
    for (size_t i = 0; i < listed; ++i) {
        text += "\r\n" + left[i]->path + ": " + restore::OutcomeText(left[i]->outcome);
        if (!left[i]->detail.empty())
            text += " (" + left[i]->detail + ")";
        text += ".";
    }
    if (left.size() > listed)
        text += "\r\nand " + TNumberRoutines::GroupThousands(static_cast<int64_t>(left.size() - listed)) + " more.";
    return text;
}

std::vector<std::pair<const ICleanReport*, std::weak_ptr<TUndoClean>>>& Attached()
{
    static std::vector<std::pair<const ICleanReport*, std::weak_ptr<TUndoClean>>> attached;
    return attached;
}

} // namespace

TUndoClean::TUndoClean(std::string file, clean_record::Json record) : file_(std::move(file)), record_(std::move(record))
{
}

std::shared_ptr<TUndoClean> TUndoClean::ForRecord(const std::string& file)
{
    if (file.empty())
        return nullptr;
    std::ifstream in(std::filesystem::u8path(file), std::ios::binary);
    if (!in)
        return nullptr;
    std::ostringstream text;
    text << in.rdbuf();
    clean_record::Json record = clean_record::Json::parse(text.str(), nullptr, false);
    if (record.is_discarded() || !record.is_object() || !record.contains("objects") || !record["objects"].is_array())
        return nullptr;
    auto undo = std::make_shared<TUndoClean>(file, std::move(record));
    return undo->Pending() ? undo : nullptr;
}

bool TUndoClean::Pending() const
{
    return !restore::PendingObjects(record_).empty();
}

bool TUndoClean::Run(IMessageBoxService& messageBoxes, int32_t monitor,
                     const std::shared_ptr<IComputingWindow>& computing)
{
    const size_t moved = restore::MovedCount(record_);
    const size_t pending = restore::PendingObjects(record_).size();
    if (pending == 0) {
        messageBoxes.Execute(TMsgBoxKind::mkInformation,
                             moved == 1 ? "The object this clean moved to the Recycle Bin is already restored."
                                        : "All " + Objects(moved) +
                                              " this clean moved to the Recycle Bin are already restored.",
                             monitor, TMsgBoxFocus::mfAccept, msgbox_buttons::kClose);
        return false;
    }
    if (messageBoxes.Execute(TMsgBoxKind::mkConfirm, Question(pending, moved), monitor, TMsgBoxFocus::mfAccept,
                             msgbox_buttons::kYesNo) != TMsgBoxResult::mrAccept)
        return false;

    std::vector<restore::TObjectResult> results;
    {
        if (computing)
            computing->SetMaximum(static_cast<int32_t>(pending));
        const TComputingScope shown(computing);
        // Asked before each object: the popup counts them, and nothing stops a restore midway.
        results = restore::RestoreRecord(record_, [&computing] {
            if (computing)
                computing->Step();
            return false;
        });
    }
    std::string text = Outcome(results);
    // What stays in the bin is a warning; all back, or back already, is news.
    const bool anyLeft = std::any_of(results.begin(), results.end(), [](const restore::TObjectResult& result) {
        return result.outcome != restore::TOutcome::Restored && result.outcome != restore::TOutcome::AlreadyRestored;
    });
    std::string error;
    // As the tool does: a record that says what came back keeps a later restore from trying again.
    if (!clean_record::UpdateRecord(file_, record_, error))
        text += "\r\n\r\nThe record of this clean could not be updated: " + error + ".";
    messageBoxes.Execute(anyLeft ? TMsgBoxKind::mkWarning : TMsgBoxKind::mkInformation, text, monitor,
                         TMsgBoxFocus::mfAccept, msgbox_buttons::kClose);
    return true;
}

void TUndoClean::Attach(const ICleanReport* report, std::shared_ptr<TUndoClean> undo)
{
    auto& attached = Attached();
    attached.erase(std::remove_if(attached.begin(), attached.end(),
                                  [report](const auto& entry) { return entry.first == report || entry.second.expired(); }),
                   attached.end());
    if (report && undo)
        attached.emplace_back(report, std::move(undo));
}

std::shared_ptr<TUndoClean> TUndoClean::Of(const ICleanReport* report)
{
    for (const auto& [attachedReport, undo] : Attached())
        if (attachedReport == report)
            return undo.lock();
    return nullptr;
}
