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
    ASSERT_TRUE(std::filesystem::create_directory(dir.Path() / "sub"));
    for (const char* name : {"sub/d.tmp", "sub/e"})
        testing_support::WriteBytes(dir.File(name), name);
    platform::DirectoryListing listing(dir.Str());
    ASSERT_TRUE(listing.IsOpen());
    ASSERT_EQ(4u, listing.Entries().size());
    // The folder below, opened through this one, is told its identity without its volume being
    // asked, and takes the proof of the ids from above: none of its entries is opened either.
    platform::DirectoryListing sub(listing, "sub", false);
    ASSERT_TRUE(sub.IsOpen());
    platform::FileIdentity subOwn;
    ASSERT_TRUE(platform::QueryFileIdentity(dir.File("sub"), subOwn));
    EXPECT_TRUE(sub.Identity() == subOwn);
    size_t file = 0;
    while (listing.Entries()[file].name == "sub")
        ++file;
    platform::FileIdentity first;
    ASSERT_TRUE(listing.Identify(file, first));
    listing.Release();
    sub.Release();
    for (const platform::DirectoryListing* each : {&listing, &sub}) {
        for (size_t i = 0; i < each->Entries().size(); ++i) {
            const std::string path = dir.File((each == &sub ? "sub/" : "") + each->Entries()[i].name);
#ifdef _WIN32
            EXPECT_TRUE(each->Knows(i)) << path << " would need its folder held again";
#endif
            platform::FileIdentity listed, own;
            ASSERT_TRUE(each->Identify(i, listed));
            ASSERT_TRUE(platform::QueryFileIdentity(path, own));
            EXPECT_TRUE(listed == own) << path;
        }
    }
}
