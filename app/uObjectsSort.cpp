// Sorting of the found-objects list: the pane's row order only, the model keeps its hash order.
#include "app/uObjectsPane.h"

void TObjectsPane::HeaderClicked(int32_t column)
{
    if (rows_.empty() || column < 0 || column >= kObjectsColumnCount || column == cnQuota)
        return;
    sort_.Click(column);
    SortRows(column, sort_.Ascending());
    ShowSortImages();
}

void TObjectsPane::SortRows(int32_t column, bool ascending)
{
    const size_t count = rows_.size();
    std::vector<size_t> order;
    if (column == cnSize) {
        std::vector<int64_t> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = TListSort::ShownKo(rows_[i].object->GetSizeText(), rows_[i].object->GetSize());
        order = TListSort::Order(keys, ascending);
    } else {
        std::vector<std::string> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = column == cnCategory ? rows_[i].object->GetOptionName() : rows_[i].object->GetPath();
        order = TListSort::Order(keys, ascending);
    }
    TListSort::Permute(rows_, order);
    TListSort::FollowRows(view_, order);
    view_.RedrawAll();
}

void TObjectsPane::ShowSortImages()
{
    for (int32_t column = 0; column < kObjectsColumnCount; ++column)
        view_.SetSortImage(column, sort_.Image(column));
}
