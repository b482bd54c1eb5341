#include "engine/uCleanupList.h"
#include "engine/uEngineImplementation.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::shared_ptr<ICleanupList> NewList(bool sorted)
{
    auto list = TEngineServices::CreateCleanupList(TCRC32Services::CreateCRC32());
    list->SetSorted(sorted);
    return list;
}

bool AddPath(ICleanupList& list, const std::string& path, TSafetyClass safety = scSafe, int64_t size = 1)
{
    std::shared_ptr<ICleanupListItem> entry;
    const bool added = list.Add(true, safety, 13, "Temporary Files", path, size, -1, entry);
    EXPECT_EQ(added, entry != nullptr);
    return added;
}

void ExpectSortedAndFindable(ICleanupList& list)
{
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        const auto item = list.GetItem(i);
        ASSERT_NE(item, nullptr);
        if (i > 0) {
            ASSERT_LT(list.GetItem(i - 1)->GetHash(), item->GetHash());
        }
        ASSERT_EQ(list.IndexOfHash(item->GetHash()), i);
    }
}

} // namespace

TEST(CleanupList, DuplicatesAreEqualHashes)
{
    auto list = NewList(true);
    EXPECT_TRUE(AddPath(*list, "/tmp/a.tmp"));
    EXPECT_FALSE(AddPath(*list, "/tmp/a.tmp"));
    // Letter case changes the CRC-32, so these are two objects.
    EXPECT_TRUE(AddPath(*list, "/tmp/A.tmp"));

    // Two different paths with the same CRC-32 (found once by a birthday search).
    const std::string first = "/data/4624c045.tmp", second = "/data/8001de39.tmp";
    ASSERT_EQ(list->GetHasher()->Calculate(first), list->GetHasher()->Calculate(second));
    EXPECT_TRUE(AddPath(*list, first));
    EXPECT_FALSE(AddPath(*list, second));
    EXPECT_EQ(list->FindByPath(second)->GetPath(), first);
    EXPECT_EQ(list->GetCount(), 3);
}

TEST(CleanupList, SortedOrderAfterEveryAdd)
{
    std::mt19937 random(7);
    auto list = NewList(true);
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(AddPath(*list, "/r/" + std::to_string(random())));
        ExpectSortedAndFindable(*list);
    }
    // Long runs without reads, past the points where pending entries are merged.
    for (int i = 0; i < 40000; ++i)
        AddPath(*list, "/big/" + std::to_string(random()));
    ExpectSortedAndFindable(*list);
    for (int i = 0; i < 1000; ++i) {
        const std::string path = "/big/" + std::to_string(random());
        const bool fresh = list->FindByPath(path) == nullptr;
        EXPECT_EQ(AddPath(*list, path), fresh);
        EXPECT_NE(list->FindByPath(path), nullptr);
    }
    ExpectSortedAndFindable(*list);

    // Unsorted lists keep the order of addition until sorted.
    auto unsorted = NewList(false);
    for (const char* path : {"/c", "/a", "/b", "/d"})
        AddPath(*unsorted, path);
    EXPECT_EQ(unsorted->GetItem(1)->GetPath(), "/a");
    EXPECT_EQ(unsorted->IndexOfHash(unsorted->GetItem(3)->GetHash()), 3);
    EXPECT_FALSE(AddPath(*unsorted, "/b"));
    unsorted->SetSorted(true);
    ExpectSortedAndFindable(*unsorted);
}

TEST(CleanupList, GrowthClearAndSlots)
{
    auto list = NewList(true);
    EXPECT_EQ(list->GetItem(0), nullptr);
    EXPECT_EQ(list->IndexOfHash(0), -1);
    for (int i = 0; i < 8192; ++i)
        AddPath(*list, "/g/" + std::to_string(i));
    auto* concrete = dynamic_cast<TCleanupList*>(list.get());
    ASSERT_NE(concrete, nullptr);
    EXPECT_EQ(concrete->GetCapacity(), 8192);
    EXPECT_TRUE(AddPath(*list, "/g/8192"));
    EXPECT_EQ(concrete->GetCapacity(), 16384);
    EXPECT_EQ(list->GetCount(), 8193);
    EXPECT_NE(list->GetItem(8192), nullptr);
    EXPECT_EQ(list->GetItem(8193), nullptr);  // an empty slot
    EXPECT_EQ(list->GetItem(16384), nullptr); // outside the slots
    EXPECT_EQ(list->GetItem(-1), nullptr);

    list->Clear();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetItem(0), nullptr);
    EXPECT_EQ(concrete->GetCapacity(), 8192);
    EXPECT_TRUE(AddPath(*list, "/g/1"));
    EXPECT_EQ(list->GetItem(0)->GetPath(), "/g/1");
}

TEST(CleanupList, CheckingAndSums)
{
    auto list = NewList(true);
    AddPath(*list, "/s1", scSafe, 10);
    AddPath(*list, "/p1", scPotentiallyUnsafe, 20);
    AddPath(*list, "/u1", scUnsafe, 40);
    AddPath(*list, "/s2", scSafe, 5);
    EXPECT_EQ(list->GetTotalSize(), 75);

    list->CheckSafety(scSafe);
    EXPECT_EQ(list->GetCheckedCount(), 2);
    EXPECT_EQ(list->GetCheckedSize(), 15);
    EXPECT_FALSE(list->AnyCheckedOfSafety(scUnsafe));
    EXPECT_FALSE(list->FindByPath("/p1")->GetChecked());

    list->CheckAll(true);
    EXPECT_EQ(list->GetCheckedSize(), list->GetTotalSize());
    EXPECT_TRUE(list->AnyCheckedOfSafety(scUnsafe));
    list->CheckAll(false);
    EXPECT_EQ(list->GetCheckedSize(), 0);
    EXPECT_EQ(list->GetCheckedCount(), 0);

    const auto item = list->FindByPath("/u1");
    EXPECT_EQ(item->GetSafetyIndex(), 2);
    EXPECT_EQ(item->GetOptionName(), "Temporary Files");
    EXPECT_EQ(item->GetShellFolder(), -1);
    item->SetSize(2048);
    EXPECT_EQ(item->GetSizeText(), "2 Mo");
}
