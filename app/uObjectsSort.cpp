// Sorting of the found-objects list: the pane's row order only, the model keeps its hash order.
#include "app/uObjectsPane.h"

#include "support/VelaRoutines.h"

#include <algorithm>
#include <numeric>

namespace {

unsigned char Folded(char ch)
{
    const auto byte = static_cast<unsigned char>(ch);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

// The Ko the size text shows, so that sizes compare as the user reads them.
int64_t ShownKo(ICleanupListItem& object)
{
    try {
        return TNumberRoutines::ParseCapacity(object.GetSizeText());
    } catch (const EConvertError&) {
        return object.GetSize();
    }
}

} // namespace

int TObjectsPane::CompareFolded(const std::string& a, const std::string& b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]), y = Folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void TObjectsPane::HeaderClicked(int32_t column)
{
    if (rows_.empty() || column < 0 || column >= kObjectsColumnCount || column == cnQuota)
        return;
    // -1 -> 0 -> 1 -> 0: the first click sorts descending.
    int32_t& direction = directions_[column];
    direction = direction == 0 ? 1 : 0;
    sortColumn_ = column;
    SortRows(column, direction);
    ShowSortImages();
}

void TObjectsPane::SortRows(int32_t column, int32_t direction)
{
    const size_t count = rows_.size();
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    const bool ascending = direction == 1;

    // Keys are read once: the objects hand out copies, and a sort compares n log n times.
    if (column == cnSize) {
        std::vector<int64_t> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = ShownKo(*rows_[i].object);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
        });
    } else {
        std::vector<std::string> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = column == cnCategory ? rows_[i].object->GetOptionName() : rows_[i].object->GetPath();
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return ascending ? CompareFolded(keys[a], keys[b]) < 0 : CompareFolded(keys[b], keys[a]) < 0;
        });
    }

    // The view's selection and focus are row numbers: they follow their objects to the new places.
    std::vector<int32_t> selected = Selection();
    const int32_t focused = view_.FocusedRow();
    std::vector<TRow> sorted;
    sorted.reserve(count);
    std::vector<int32_t> newIndex(count);
    for (size_t i = 0; i < count; ++i) {
        newIndex[order[i]] = static_cast<int32_t>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);

    int32_t target = -1;
    if (!selected.empty())
        target = std::find(selected.begin(), selected.end(), focused) != selected.end() ? focused : selected.front();
    for (int32_t& row : selected)
        row = newIndex[static_cast<size_t>(row)];
    std::sort(selected.begin(), selected.end());
    view_.SelectRows(selected);
    if (target >= 0) {
        const int32_t place = newIndex[static_cast<size_t>(target)];
        view_.FocusRow(place);
        view_.EnsureVisible(place);
    } else if (ValidRow(focused)) {
        // Space checks the focused row: it has to stay on the same object.
        view_.FocusRow(newIndex[static_cast<size_t>(focused)]);
    }
    view_.RedrawAll();
}

void TObjectsPane::ShowSortImages()
{
    for (int32_t column = 0; column < kObjectsColumnCount; ++column) {
        TSortImage image = siNone;
        if (column == sortColumn_)
            image = directions_[column] == 1 ? siUp : siDown;
        view_.SetSortImage(column, image);
    }
}
