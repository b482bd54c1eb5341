// Trees deeper than MAX_PATH (build outputs, package caches) are scanned, sized and cleaned like
// any other, and their paths are shown in the normal form.
#ifdef _WIN32
#include "CleanerTestSupport.h"
#include "ScannerTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

using testing_support::TempDir;

namespace {

// The tree is made and checked without the program's calls, which are what is tested; mingw's
// std::filesystem stops at MAX_PATH.
std::wstring Extended(const std::string& path) { return L"\\\\?\\" + testing_support::PathOf(path).wstring(); }

bool Exists(const std::string& path) { return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeFile(const std::string& path, const std::string& data)
{
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                    written == data.size();
    CloseHandle(file);
    return ok;
}

} // namespace

TEST(DeepTrees, AFileBeyondMaxPathIsFoundSizedAndCleaned)
{
    TempDir target, outside;
    std::vector<std::string> folders{target.Str()};
    while (folders.back().size() < 300) {
        folders.push_back(folders.back() + "\\" + std::string(50, 'd'));
        ASSERT_TRUE(CreateDirectoryW(Extended(folders.back()).c_str(), nullptr));
    }
    const std::string deep = folders.back() + "\\deep.zq1", kept = outside.File("kept.zq1");
    const std::string data(70000, 'x');
    ASSERT_TRUE(MakeFile(deep, data));
    ASSERT_TRUE(MakeFile(kept, "outside"));

    scanner_testing::TScanSetup setup;
    setup.options = {21};
    setup.targets = target.Str();
    setup.customFileMasks = "*.zq1";
    const auto scan = scanner_testing::RunScan(setup);
    ASSERT_EQ(1u, scan.found.size());
    EXPECT_EQ(deep, scan.found[0]->GetPath());
    EXPECT_EQ(TNumberRoutines::BytesToKo(70000), scan.found[0]->GetSize());
    EXPECT_EQ(TNumberRoutines::BytesToKo(70000), scan.counters->GetFoundCapacity());

    cleaner_testing::TCleanRun run;
    run.list = scan.list;
    run.figures = scan.counters;
    run.targets = {target.Str()};
    run.Clean();
    ASSERT_EQ(1u, run.notices.size());
    EXPECT_FALSE(Exists(deep));
    EXPECT_TRUE(run.SkippedPaths().empty()) << testing::PrintToString(run.SkippedPaths());
    EXPECT_EQ("outside", testing_support::ReadBytes(kept));

    // The scratch folder's own clean-up stops at MAX_PATH.
    DeleteFileW(Extended(deep).c_str());
    for (size_t i = folders.size() - 1; i > 0; --i)
        RemoveDirectoryW(Extended(folders[i]).c_str());
}
#endif
