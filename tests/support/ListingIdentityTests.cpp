// A scan takes each found object's identity from its folder's listing where it can: it must be the
// identity the clean will find on the object itself.
#include "TestSupport.h"
#include "platform/PlatformDirectory.h"

#include <gtest/gtest.h>

using testing_support::TempDir;

TEST(ListingIdentities, AreTheEntriesOwnAndNeedNoFolderOnceOneProvedRight)
{
    TempDir dir;
    for (const char* name : {"a.tmp", "b.tmp", "c"})
        testing_support::WriteBytes(dir.File(name), name);
    platform::DirectoryListing listing(dir.Str());
    ASSERT_TRUE(listing.IsOpen());
    ASSERT_EQ(3u, listing.Entries().size());
    platform::FileIdentity first;
    ASSERT_TRUE(listing.Identify(0, first));
    listing.Release();
    for (size_t i = 0; i < listing.Entries().size(); ++i) {
#ifdef _WIN32
        EXPECT_TRUE(listing.Knows(i)) << "entry " << i << " would need its folder held again";
#endif
        platform::FileIdentity listed, own;
        ASSERT_TRUE(listing.Identify(i, listed));
        ASSERT_TRUE(platform::QueryFileIdentity(dir.File(listing.Entries()[i].name), own));
        EXPECT_TRUE(listed == own) << listing.Entries()[i].name;
    }
}
