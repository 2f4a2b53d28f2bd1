// A device that fills up part way through a save, made with the file-size limit: writes
// beyond it fail as they would on a full disk.

#include "document/mesh_document.h"
#include "document/text_file.h"

#include "tests/support/temporary_folder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace MyApp;

namespace {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

} // namespace

TEST(TextFile, ASaveThatRunsOutOfSpaceKeepsTheOldFileByteForByte) {
    TemporaryFolder folder;
    const std::string path = folder.File("project.kv3");
    MeshDocument old;
    old.ResetToSample();
    TextFile(path).WriteLines(old.ToLines());
    const std::string before = TemporaryFolder::ReadBytes(path);

    MeshDocument large;
    large.Vertices.resize(50000);
    TextFile file(path);
    {
        FileSizeLimit limit(before.size() + 1000);
        file.WriteLines(large.ToLines());
    }
    EXPECT_TRUE(file.Failed);
    EXPECT_EQ(file.Reason, "Il file supera la dimensione che il disco consente.");
    EXPECT_EQ(TemporaryFolder::ReadBytes(path), before);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.kv3"});
}
