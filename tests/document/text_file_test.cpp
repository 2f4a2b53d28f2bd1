#include "document/text_file.h"

#include "document/file_replace.h"
#include "document/safe_save.h"
#include "tests/support/temporary_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace MyApp;
using Lines = std::vector<std::string>;

namespace {

// The reasons the system gives: Windows tells a missing file from a missing folder.
#ifdef _WIN32
const char* const kNoFile = "Il file non esiste.";
const char* const kNoFolder = "La cartella non esiste.";
#else
const char* const kNoFile = "Il file o la cartella non esiste.";
const char* const kNoFolder = kNoFile;
#endif

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
        EXPECT_FALSE(file.Reason.empty()) << path;
    }
    TextFile missing(folder.File("missing.kv3"));
    missing.ReadText();
    EXPECT_EQ(missing.Reason, kNoFile);
    TemporaryFolder::WriteBytes(folder.File("cut.kv3"), "KEL MORVANE\r\n1");
    TextFile cut(folder.File("cut.kv3"));
    cut.ReadText();
    EXPECT_EQ(cut.Reason, "Il file termina a met\xC3\xA0 di una riga: potrebbe essere incompleto.");
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
    EXPECT_EQ(intoMissingFolder.Reason, kNoFolder);

    // A folder stands where the project would go: it cannot be replaced by a file.
    std::filesystem::create_directory(folder.Path() / "project.kv3");
    TemporaryFolder::WriteBytes(folder.File("project.kv3/inside.txt"), "old");
    TextFile overFolder(folder.File("project.kv3"));
    overFolder.WriteLines({"KEL MORVANE"});
    EXPECT_TRUE(overFolder.Failed);
    EXPECT_FALSE(overFolder.Reason.empty());
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("project.kv3/inside.txt")), "old");
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});
}

TEST(TextFile, ReadTextKeepsEveryCompleteLineAndFailsLikeReadLines) {
    TemporaryFolder folder;
    const std::string path = folder.File("in.kv3");
    const struct {
        std::string bytes;
        std::string text;
        bool failed;
    } cases[] = {
        {"uno\r\n\ntre\rx\r\n", "uno\r\n\ntre\rx\r\n", false},
        {"KEL MORVANE\r\nEND INDEX", "KEL MORVANE\r\n", true},
        {"KEL MORVANE", "", true},
        {"", "", false},
        // Larger than one read block, so the rest of the file is sized and read at once.
        {std::string(300000, 'x') + "\n" + std::string(300000, 'y'),
         std::string(300000, 'x') + "\n", true},
    };
    for (const auto& c : cases) {
        TemporaryFolder::WriteBytes(path, c.bytes);
        TextFile file(path);
        EXPECT_EQ(file.ReadText(), c.text);
        EXPECT_EQ(file.Failed, c.failed);
        const bool failed = file.Failed;
        file.ReadLines();
        EXPECT_EQ(file.Failed, failed);
    }
    for (const std::string& unreadable : {folder.File("missing.kv3"), folder.Path().string()}) {
        TextFile file(unreadable);
        EXPECT_EQ(file.ReadText(), "");
        EXPECT_TRUE(file.Failed) << unreadable;
    }
}

TEST(TextFile, WriteTextSavesTheBytesSafely) {
    TemporaryFolder folder;
    const std::string path = folder.File("project.kv3");
    TemporaryFolder::WriteBytes(path, "vecchio\r\n");
    TextFile file(path);
    file.WriteText("KEL MORVANE\r\n\r\n");
    EXPECT_FALSE(file.Failed);
    EXPECT_EQ(TemporaryFolder::ReadBytes(path), "KEL MORVANE\r\n\r\n");
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});

    TextFile intoMissingFolder(folder.File("gone/project.kv3"));
    intoMissingFolder.WriteText("KEL MORVANE\r\n");
    EXPECT_TRUE(intoMissingFolder.Failed);
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});
}

// Two writers of one file at once (here the second starts while the first is half way)
// each have a temporary file of their own, so neither cuts the other's short; a read-only
// file is not written over; and a set of files that cannot all take their places leaves
// every old one where it was.
TEST(SafeSave, WritersKeepToTheirOwnFilesAndNeverHalfReplaceOne) {
    TemporaryFolder folder;
    const std::string path = folder.File("project.kv3");
    const std::string first(300000, 'a');
    std::string inner;
    ASSERT_TRUE(SafeSave(path, [&](std::FILE* file) {
        const bool half = std::fwrite(first.data(), 1, first.size() / 2, file) == first.size() / 2;
        std::fflush(file);
        SafeSaveBytes(path, "secondo", 7, &inner);
        return half && std::fwrite(first.data(), 1, first.size() / 2, file) == first.size() / 2;
    }));
    EXPECT_EQ(inner, "");
    EXPECT_EQ(TemporaryFolder::ReadBytes(path), first);
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});
    const std::optional<FileStamp> saved = StampOf(path);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->size, first.size());

    std::filesystem::permissions(path, std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_TRUE(IsReadOnlyFile(path));
    TextFile readOnly(path);
    readOnly.WriteText("KEL MORVANE\r\n");
    EXPECT_TRUE(readOnly.Failed);
    EXPECT_EQ(readOnly.Reason, "Il file \xC3\xA8 di sola lettura.");
    EXPECT_EQ(TemporaryFolder::ReadBytes(path), first);
    EXPECT_TRUE(IsReadOnlyFile(path));
    EXPECT_EQ(StampOf(path), saved);
    std::string failed;
    std::string reason;
    const std::string beside = folder.File("project.mtl");
    EXPECT_FALSE(SafeSaveFiles({{beside, "nuovo"}, {path, "nuovo"}}, failed, reason));
    EXPECT_EQ(failed, path);
    EXPECT_EQ(folder.Entries(), Lines{"project.kv3"});
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);

    // The second target is a folder, which no file replaces: the first goes back.
    TemporaryFolder::WriteBytes(beside, "vecchio");
    const std::string occupied = folder.File("occupato");
    std::filesystem::create_directories(occupied + "/dentro");
    EXPECT_FALSE(SafeSaveFiles({{beside, "nuovo"}, {occupied, "nuovo"}}, failed, reason));
    EXPECT_EQ(failed, occupied);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(TemporaryFolder::ReadBytes(beside), "vecchio");
    EXPECT_EQ(folder.Entries(), (Lines{"occupato", "project.kv3", "project.mtl"}));
    EXPECT_TRUE(SafeSaveFiles({{beside, "nuovo"}, {folder.File("nuovo.obj"), "obj"}}, failed, reason));
    EXPECT_EQ(TemporaryFolder::ReadBytes(beside), "nuovo");
    EXPECT_EQ(folder.Entries(), (Lines{"nuovo.obj", "occupato", "project.kv3", "project.mtl"}));
}

// Run on its own under a file-size limit (see tests/CMakeLists.txt), which cuts a write
// short as a disk that fills does: the failure is told as the failed write it is, with the
// system's reason, and never as a bad name.
TEST(TextFile, AWriteCutShortIsToldAsAFailedWrite) {
    if (std::getenv("KEL_FILE_SIZE_LIMITED") == nullptr)
        GTEST_SKIP() << "runs under a file-size limit";
    TemporaryFolder folder;
    TextFile file(folder.File("project.kv3"));
    file.WriteText(std::string(8 << 20, 'x'));
    EXPECT_TRUE(file.Failed);
    EXPECT_FALSE(file.Reason.empty());
    EXPECT_NE(file.Reason, "Il nome del file non \xC3\xA8 valido.");
    EXPECT_TRUE(folder.Entries().empty());
}
