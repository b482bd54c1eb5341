#pragma once
// What the program's report-style lists share: column sorting (each column keeps its own
// direction, the first click sorts descending, rows keep their selection), the case-folding
// comparison, and the quota bar drawn in a cell. Portable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum TSortImage : uint8_t { siNone, siDown, siUp }; // "sort_down", "sort_up"

struct TListColumnInfo {
    std::string caption;
    int32_t width = 0; // design pixels
    bool fill = false; // takes the width the other columns leave
};

struct TCellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const TCellRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// What a view paints in a quota cell over the list's background.
struct TQuotaBar {
    bool visible = false;
    TCellRect box;  // filled white
    TCellRect fill; // filled dark blue, over the box
};

namespace quota_colours {
constexpr uint32_t kBox = 0xFFFFFF;
constexpr uint32_t kFill = 0x400000;
} // namespace quota_colours

// A list view's selection and focus, by row number.
class IRowSelection {
public:
    virtual ~IRowSelection() = default;
    // Ascending row indices.
    virtual std::vector<int32_t> SelectedRows() = 0;
    // Replaces the selection.
    virtual void SelectRows(const std::vector<int32_t>& rows) = 0;
    virtual int32_t FocusedRow() = 0; // -1 for none
    virtual void FocusRow(int32_t row) = 0;
    virtual void EnsureVisible(int32_t row) = 0;
};

// Sort column and per-column directions: -1 unsorted, 0 descending, 1 ascending.
class TListSortState {
public:
    explicit TListSortState(int32_t columns) : directions_(static_cast<size_t>(columns), -1) {}

    // The clicked column becomes the sort column; its direction goes -1 -> 0 -> 1 -> 0.
    // Returns the new direction.
    int32_t Click(int32_t column);
    void Reset();
    int32_t Column() const { return column_; }
    int32_t Direction(int32_t column) const;
    bool Ascending() const { return Direction(column_) == 1; }
    // The header image a column shows now.
    TSortImage Image(int32_t column) const;

private:
    int32_t column_ = -1;
    std::vector<int32_t> directions_;
};

class TListSort {
public:
    // Stable orders of row indices by their keys (texts by TStringRoutines::CompareIgnoringCase) (read once: a sort compares n log n times).
    static std::vector<size_t> Order(const std::vector<int64_t>& keys, bool ascending);
    static std::vector<size_t> Order(const std::vector<std::string>& keys, bool ascending);
    // The Ko a size text shows ("1,536 Mo" is 1,572,864), so sizes compare as the user reads
    // them; fallback when the text cannot be read.
    static int64_t ShownKo(const std::string& text, int64_t fallback);

    // rows[i] becomes rows[order[i]].
    template <class TRow>
    static void Permute(std::vector<TRow>& rows, const std::vector<size_t>& order)
    {
        std::vector<TRow> sorted;
        sorted.reserve(rows.size());
        for (size_t from : order)
            sorted.push_back(std::move(rows[from]));
        rows = std::move(sorted);
    }
    // After a sort by order: the view's selection and focus follow their rows to the new places,
    // and the selected row (the focused one among them) is scrolled into view.
    static void FollowRows(IRowSelection& view, const std::vector<size_t>& order);

    // The bar for part of whole in a cell: nothing unless both are above 0; at least 1 % of the
    // width (every non-empty part stays visible), at most all of it.
    static TQuotaBar QuotaBar(const TCellRect& cell, int64_t part, int64_t whole);
};
