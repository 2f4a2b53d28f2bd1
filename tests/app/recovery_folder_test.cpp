// The recovery folder as two editors starting together find it, with the real files and
// the system's rules for files held open by another program.

#include "app/recovery_folder.h"
#include "toolkit/text_conversion.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

using namespace MyApp;
using KelUtility::ToWide;

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The one name in the folder that ends so, or nothing.
std::string OnlyFileEnding(const TemporaryFolder& folder, const std::string& ending) {
    std::string found;
    for (const std::string& name : folder.Entries())
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            found = found.empty() ? folder.File(name) : "more than one";
    return found;
}

} // namespace

// A copy of an ended editor goes to one of two editors starting together, however many
// vertices it holds; a record whose copy is gone is not offered and goes; a copy held open
// by another program keeps its record, so that it is still found, and the failure is told.
TEST(RecoveryFolder, TwoEditorsStartingTogetherNeverShareACopyAndNothingIsLeftOrphaned) {
    TemporaryFolder folder;
    const std::string path = folder.Path().string();
    MeshDocument large;
    large.ResetToSample();
    large.Vertices.resize(70000);
    large.Indices = {0, 1, 65534};
    {
        RecoveryFolder ended(path);
        std::string reason;
        ASSERT_TRUE(ended.Write(large, "C:\\lavori\\grande.kv3", reason)) << reason;
    } // its lock goes with it, as when an editor is killed
    const std::string lonelyRecord = folder.File("copia-1-1.txt");
    TemporaryFolder::WriteBytes(lonelyRecord, RecordText({"", "2026-01-01 10:00:00"}));

    Sleep(50); // the editors' names count milliseconds
    RecoveryFolder first(path);
    Sleep(50);
    RecoveryFolder second(path);
    std::vector<std::string> damaged;
    const std::vector<FoundCopy> seenByFirst = CopiesToOffer(first.OtherCopies(damaged));
    const std::vector<FoundCopy> seenBySecond = CopiesToOffer(second.OtherCopies(damaged));
    ASSERT_EQ(seenByFirst.size(), 1u);
    ASSERT_EQ(seenBySecond.size(), 1u);
    EXPECT_EQ(seenByFirst[0].record.projectPath, "C:\\lavori\\grande.kv3");
    EXPECT_TRUE(damaged.empty());
    EXPECT_FALSE(Exists(lonelyRecord));

    MeshDocument read;
    ASSERT_EQ(second.Read(seenBySecond[0], read), RecoveryFolder::ReadResult::Read);
    EXPECT_EQ(read.Vertices.size(), 70000u);
    EXPECT_EQ(read.Indices, large.Indices);
    MeshDocument again;
    EXPECT_EQ(first.Read(seenByFirst[0], again), RecoveryFolder::ReadResult::Gone);
    EXPECT_TRUE(CopiesToOffer(first.OtherCopies(damaged)).empty());
    EXPECT_TRUE(first.TakeProblems().empty());

    // Another program holds the copy: the next copy fails and the discard cannot delete it.
    const std::string copy = OnlyFileEnding(folder, ".kv3");
    const std::string record = OnlyFileEnding(folder, ".txt");
    ASSERT_TRUE(Exists(copy) && Exists(record)) << copy << " " << record;
    const HANDLE held = CreateFileW(ToWide(copy).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    second.WriteInBackground(read, "");
    second.Discard();
    EXPECT_EQ(second.TakeFailure(), "") << "a copy of work given up is no longer wanted";
    const std::vector<std::string> problems = second.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(copy + ": ", 0), 0u) << problems[0];
    EXPECT_TRUE(Exists(copy) && Exists(record));
    CloseHandle(held);
    second.Discard();
    EXPECT_TRUE(second.TakeProblems().empty());
    EXPECT_EQ(OnlyFileEnding(folder, ".kv3"), "");
    EXPECT_EQ(OnlyFileEnding(folder, ".txt"), "");
}
