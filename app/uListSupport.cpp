#include "app/uListSupport.h"

#include "support/VelaRoutines.h"

#include <algorithm>
#include <numeric>

namespace {

template <class TKey, class TLess>
std::vector<size_t> StableOrder(const std::vector<TKey>& keys, bool ascending, TLess less)
{
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return ascending ? less(keys[a], keys[b]) : less(keys[b], keys[a]);
    });
    return order;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TListSortState

int32_t TListSortState::Click(int32_t column)
{
    int32_t& direction = directions_.at(static_cast<size_t>(column));
    direction = direction == 0 ? 1 : 0;
    column_ = column;
    return direction;
}

void TListSortState::Reset()
{
    column_ = -1;
    std::fill(directions_.begin(), directions_.end(), -1);
}

int32_t TListSortState::Direction(int32_t column) const
{
    return column >= 0 && static_cast<size_t>(column) < directions_.size() ? directions_[static_cast<size_t>(column)]
                                                                            : -1;
}

TSortImage TListSortState::Image(int32_t column) const
{
    if (column != column_ || column_ < 0)
        return siNone;
    return Direction(column) == 1 ? siUp : siDown;
}

// ---------------------------------------------------------------------------------------------
// TListSort

std::vector<size_t> TListSort::Order(const std::vector<int64_t>& keys, bool ascending)
{
    return StableOrder(keys, ascending, [](int64_t a, int64_t b) { return a < b; });
}

std::vector<size_t> TListSort::Order(const std::vector<std::string>& keys, bool ascending)
{
    return StableOrder(keys, ascending,
                       [](const std::string& a, const std::string& b) { return TStringRoutines::CompareIgnoringCase(a, b) < 0; });
}

int64_t TListSort::ShownKo(const std::string& text, int64_t fallback)
{
    try {
        return TNumberRoutines::ParseCapacity(text);
    } catch (const EConvertError&) {
        return fallback;
    }
}

void TListSort::FollowRows(IRowSelection& view, const std::vector<size_t>& order)
{
    const size_t count = order.size();
    std::vector<int32_t> newIndex(count);
    for (size_t i = 0; i < count; ++i)
        newIndex[order[i]] = static_cast<int32_t>(i);
    auto valid = [count](int32_t row) { return row >= 0 && static_cast<size_t>(row) < count; };

    std::vector<int32_t> selected = view.SelectedRows();
    selected.erase(std::remove_if(selected.begin(), selected.end(), [&](int32_t row) { return !valid(row); }),
                   selected.end());
    const int32_t focused = view.FocusedRow();
    int32_t target = -1;
    if (!selected.empty())
        target = std::find(selected.begin(), selected.end(), focused) != selected.end() ? focused : selected.front();
    for (int32_t& row : selected)
        row = newIndex[static_cast<size_t>(row)];
    std::sort(selected.begin(), selected.end());
    view.SelectRows(selected);
    if (target >= 0) {
        const int32_t place = newIndex[static_cast<size_t>(target)];
        view.FocusRow(place);
        view.EnsureVisible(place);
    } else if (valid(focused)) {
        // Keys act on the focused row: it has to stay on the same item.
        view.FocusRow(newIndex[static_cast<size_t>(focused)]);
    }
}

TQuotaBar TListSort::QuotaBar(const TCellRect& cell, int64_t part, int64_t whole)
{
    TQuotaBar bar;
    if (part <= 0 || whole <= 0)
        return bar;
    float ratio = static_cast<float>(part) / static_cast<float>(whole);
    // The smallest parts still show a sliver; figures out of step never overflow the cell.
    ratio = std::min(std::max(ratio, 0.01f), 1.0f);
    const TCellRect inner{cell.left + 3, cell.top + 2, cell.right - 3, cell.bottom - 2};
    if (inner.right <= inner.left || inner.bottom <= inner.top)
        return bar;
    bar.visible = true;
    bar.box = inner;
    bar.box.right += 2;
    bar.fill = inner;
    // The single-precision 1 % lies just below 0.01: without the allowance 1 % of 100 pixels
    // would truncate to an empty bar.
    constexpr double kAllowance = 1e-4;
    bar.fill.right =
        inner.left + static_cast<int32_t>(static_cast<double>(inner.right - inner.left) * ratio + kAllowance);
    return bar;
}
