// The tool's cleans leave records, and clean --from cleans a saved review: only the checked objects
// still as the document describes them, and nothing else.
#include "CliProcess.h"
#include "JsonSchemaCheck.h"
#include "TestSupport.h"

#include "support/RoutinesTestHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>

using cli_testing::RunTool;
using cli_testing::TToolRun;
using routines_testing::ScopedEnvironment;
using testing::HasSubstr;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace fs = std::filesystem;

namespace {

nlohmann::json Document(const TToolRun& run, const nlohmann::json& schema = cli_testing::ToolSchema())
{
    const nlohmann::json document = nlohmann::json::parse(run.out, nullptr, false);
    if (document.is_discarded()) {
        ADD_FAILURE() << run.out << run.err;
        return {};
    }
    for (const std::string& error : cli_testing::SchemaErrors(schema, document))
        ADD_FAILURE() << error;
    return document;
}

nlohmann::json Record(const nlohmann::json& clean)
{
    if (!clean.contains("recordFile")) {
        ADD_FAILURE() << clean.dump();
        return {};
    }
    const nlohmann::json record = nlohmann::json::parse(ReadBytes(clean["recordFile"]), nullptr, false);
    EXPECT_FALSE(record.is_discarded());
    for (const std::string& error : cli_testing::SchemaErrors(cli_testing::RecordSchema(), record))
        ADD_FAILURE() << error;
    return record;
}

// What became of each object, by the last part of its path.
std::map<std::string, std::string> Outcomes(const nlohmann::json& record)
{
    std::map<std::string, std::string> outcomes;
    for (const auto& object : record["objects"]) {
        const std::string path = object["path"];
        outcomes[path.substr(path.find_last_of("/\\") + 1)] =
            object["outcome"].get<std::string>() + (object.contains("reason") ? " " + object["reason"].get<std::string>() : "");
    }
    return outcomes;
}

// The records go where the tests say, never to the user's own folder.
class StateFolder {
public:
    StateFolder() : xdg_("XDG_STATE_HOME", dir.Str()), local_("LOCALAPPDATA", dir.Str()) {}
    TempDir dir;

private:
    ScopedEnvironment xdg_, local_;
};

} // namespace

TEST(CleanRecords, TheToolRecordsEachCleanAndCleansWithoutAFolderForThem)
{
    StateFolder state;
    cli_testing::TScratchFolder tree;
    WriteBytes(tree.File("app.cache"), "cc");
    WriteBytes(tree.File("old.bak"), "b");
    const TToolRun run =
        RunTool({"clean", tree.Str(), "--options", "14,15", "--check", "safe", "--no-prefs", "--yes", "--json"});
    ASSERT_EQ(0, run.status) << run.err;
    const nlohmann::json record = Record(Document(run)["clean"]);
    EXPECT_EQ("commandLine", record["from"]);
    EXPECT_EQ("scan", record["review"]);
    EXPECT_EQ((std::map<std::string, std::string>{{"app.cache", "removed"}, {"old.bak", "skipped unchecked"}}),
              Outcomes(record));
    EXPECT_EQ(2, record["totals"]["removedSize"]);
    EXPECT_TRUE(record["objects"][0]["identity"].is_object());

    // The records' folder cannot be made: the clean runs, and says what it could not do.
    WriteBytes(state.dir.File("blocked"), "a file where the folder would go");
    ScopedEnvironment xdg("XDG_STATE_HOME", state.dir.File("blocked")), local("LOCALAPPDATA", state.dir.File("blocked"));
    WriteBytes(tree.File("app.cache"), "cc");
    const TToolRun blocked = RunTool({"clean", tree.Str(), "--options", "14", "--no-prefs", "--yes", "--json"});
    EXPECT_EQ(0, blocked.status);
    EXPECT_FALSE(tree.Exists("app.cache"));
    const nlohmann::json clean = Document(blocked)["clean"];
    if (clean.contains("recordFile"))
        GTEST_SKIP() << "this system chose the data folder itself: " << clean["recordFile"];
    EXPECT_THAT(blocked.err, HasSubstr("The record of this clean could not be written"));
    EXPECT_THAT(clean["recordProblem"].get<std::string>(), HasSubstr("could not be written"));
}

TEST(CleanFromReview, OnlyCheckedObjectsStillAsReviewedAreCleaned)
{
    StateFolder state;
    cli_testing::TScratchFolder tree;
    fs::create_directories(tree.dir.Path() / "sub");
    for (const char* name : {"same.tmp", "sub/also.tmp", "unchecked.tmp", "replaced.tmp", "grown.tmp", "linked.tmp"})
        WriteBytes(tree.File(name), "data");
    WriteBytes(tree.File("keep.txt"), "keep");
    const TToolRun scan = RunTool({"scan", tree.Str(), "--options", "temp-files", "--no-prefs", "--json"});
    ASSERT_EQ(0, scan.status) << scan.err;
    nlohmann::json review = Document(scan);
    ASSERT_EQ(6u, review["scan"]["objects"].size());
    for (auto& object : review["scan"]["objects"]) {
        EXPECT_TRUE(object.contains("identity") && object.contains("modified") && object.contains("root")) << object;
        // As a script unchecks an object with jq.
        if (object["path"] == tree.File("unchecked.tmp"))
            object["checked"] = false;
    }
    WriteBytes(tree.File("review.json"), review.dump());

    // After the review: one file saved over by another of the same size, one grown, one made a
    // link; one new that the review never saw.
    WriteBytes(tree.File("replaced.new"), "data");
    fs::rename(tree.dir.Path() / "replaced.new", tree.dir.Path() / "replaced.tmp");
    WriteBytes(tree.File("grown.tmp"), "data and more");
#ifndef _WIN32
    fs::remove(tree.dir.Path() / "linked.tmp");
    fs::create_symlink("keep.txt", tree.dir.Path() / "linked.tmp");
#endif
    WriteBytes(tree.File("late.tmp"), "late");

    const TToolRun run = RunTool({"clean", "--from", tree.File("review.json"), "--yes", "--no-prefs", "--json"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_FALSE(tree.Exists("same.tmp"));
    EXPECT_FALSE(tree.Exists("sub/also.tmp"));
    for (const char* name : {"unchecked.tmp", "replaced.tmp", "grown.tmp", "late.tmp", "keep.txt"})
        EXPECT_TRUE(tree.Exists(name)) << name;
    EXPECT_EQ("keep", ReadBytes(tree.File("keep.txt")));
    EXPECT_THAT(run.err, HasSubstr("Changed since the review, skipped: " + tree.File("replaced.tmp")));
    EXPECT_THAT(run.err, HasSubstr("Changed since the review, skipped: " + tree.File("grown.tmp")));

    std::map<std::string, std::string> expected = {
        {"same.tmp", "removed"},
        {"also.tmp", "removed"},
        {"unchecked.tmp", "skipped unchecked"},
        {"replaced.tmp", "skipped changedSinceReview"},
        {"grown.tmp", "skipped changedSinceReview"},
        {"linked.tmp", "skipped changedSinceReview"},
    };
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(tree.dir.Path() / "linked.tmp"));
#else
    expected["linked.tmp"] = "removed";
#endif
    const nlohmann::json document = Document(run);
    const nlohmann::json record = Record(document["clean"]);
    EXPECT_EQ("document", record["review"]);
    EXPECT_EQ(expected, Outcomes(record));
    size_t skipped = 0;
    for (const auto& [name, outcome] : expected)
        skipped += outcome.rfind("skipped", 0) == 0;
    EXPECT_EQ(skipped, document["clean"]["skipped"].size()) << document["clean"]["skipped"].dump();

    // Not a review: refused before anything is done.
    WriteBytes(tree.File("other.json"), "{\"schemaVersion\": 1, \"command\": \"options\"}");
    const TToolRun refused = RunTool({"clean", "--from", tree.File("other.json"), "--yes", "--no-prefs"});
    EXPECT_EQ(2, refused.status);
    EXPECT_THAT(refused.err, HasSubstr("is not a scan document"));
    EXPECT_TRUE(tree.Exists("late.tmp"));
    EXPECT_EQ(2, RunTool({"clean", "--from", tree.File("review.json"), tree.Str(), "--yes"}).status)
        << "targets come from the document";
}
