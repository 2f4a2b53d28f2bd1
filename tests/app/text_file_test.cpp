#include "app/text_file.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

using namespace MyApp;
using Lines = std::vector<std::string>;

namespace {

struct ReadResult {
    Lines lines;
    bool failed;
};

ReadResult ReadFileHolding(const TemporaryFolder& folder, const std::string& bytes) {
    const std::string path = folder.File("in.kv3");
    TemporaryFolder::WriteBytes(path, bytes);
    TextFile file(path);
    Lines lines = file.ReadLines();
    return {lines, file.Failed};
}

} // namespace

TEST(TextFile, WritesEveryLineWithCarriageReturnAndLineFeed) {
    TemporaryFolder folder;
    TextFile file(folder.File("out.kv3"));
    file.WriteLines({"KEL MORVANE", "", "a b\xE8"});
    EXPECT_FALSE(file.Failed);
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("out.kv3")),
              "KEL MORVANE\r\n\r\na b\xE8\r\n");
    EXPECT_EQ(folder.Entries(), Lines{"out.kv3"});

    file.WriteLines({});
    EXPECT_FALSE(file.Failed);
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("out.kv3")), "");
}

TEST(TextFile, ReadsLinesEndedByEitherLineBreak) {
    TemporaryFolder folder;
    const Lines expected = {"uno", "", "tre\rx", " quattro "};
    for (const char* bytes : {"uno\r\n\r\ntre\rx\r\n quattro \r\n", "uno\n\ntre\rx\n quattro \n",
                              "uno\r\n\ntre\rx\n quattro \r\n"}) {
        const ReadResult result = ReadFileHolding(folder, bytes);
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(result.lines, expected);
    }
}

TEST(TextFile, ALastLineWithoutLineBreakIsDroppedAndFails) {
    TemporaryFolder folder;
    ReadResult result = ReadFileHolding(folder, "KEL MORVANE\r\nEND INDEX");
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.lines, Lines{"KEL MORVANE"});

    result = ReadFileHolding(folder, "KEL MORVANE");
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(result.lines.empty());

    result = ReadFileHolding(folder, "");
    EXPECT_FALSE(result.failed);
    EXPECT_TRUE(result.lines.empty());
}

TEST(TextFile, ReadingWhatCannotBeOpenedFails) {
    TemporaryFolder folder;
    for (const std::string& path : {folder.File("missing.kv3"), folder.Path().string()}) {
        TextFile file(path);
        EXPECT_TRUE(file.ReadLines().empty());
        EXPECT_TRUE(file.Failed) << path;
    }
}

TEST(TextFile, ReadsBackLargeFilesAcrossBlockBoundaries) {
    TemporaryFolder folder;
    Lines lines;
    for (int i = 0; i < 100000; ++i)
        lines.push_back(std::to_string(i * 7919));
    TextFile file(folder.File("big.kv3"));
    file.WriteLines(lines);
    ASSERT_FALSE(file.Failed);
    EXPECT_EQ(file.ReadLines(), lines);
    EXPECT_FALSE(file.Failed);
}

TEST(TextFile, SavingReplacesTheWholeOldFile) {
    TemporaryFolder folder;
    const std::string path = folder.File("project.kv3");
    TemporaryFolder::WriteBytes(path, std::string(10000, 'x'));
    TextFile file(path);
    file.WriteLines({"nuovo"});
    EXPECT_FALSE(file.Failed);
    EXPECT_EQ(TemporaryFolder::ReadBytes(path), "nuovo\r\n");
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});
}

TEST(TextFile, AFailedSaveLeavesNoTraceAndKeepsTheOldFile) {
    TemporaryFolder folder;

    TextFile intoMissingFolder(folder.File("gone/project.kv3"));
    intoMissingFolder.WriteLines({"KEL MORVANE"});
    EXPECT_TRUE(intoMissingFolder.Failed);

    // A folder stands where the project would go: it cannot be replaced by a file.
    std::filesystem::create_directory(folder.Path() / "project.kv3");
    TemporaryFolder::WriteBytes(folder.File("project.kv3/inside.txt"), "old");
    TextFile overFolder(folder.File("project.kv3"));
    overFolder.WriteLines({"KEL MORVANE"});
    EXPECT_TRUE(overFolder.Failed);
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("project.kv3/inside.txt")), "old");
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});
}
