// Memory that runs out on a thread that helps to write a project. This program replaces the
// global operator new, so it runs alone: allocations fail on every thread but the test's
// own while the test asks for it.

#include "document/mesh_document.h"
#include "document/text_file.h"

#include "tests/support/temporary_folder.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <thread>

namespace {

std::atomic<bool> g_failOtherThreads{false};
std::thread::id g_testThread;

} // namespace

// The replacements take their memory from malloc, so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    if (g_failOtherThreads && std::this_thread::get_id() != g_testThread)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

using namespace MyApp;

// The save fails, says why, and leaves the old file whole; the program goes on.
TEST(WriterThread, MemoryThatRunsOutForTheHelperFailsTheSave) {
    TemporaryFolder folder;
    const std::string path = folder.File("project.kv3");
    MeshDocument old;
    old.ResetToSample();
    TextFile(path).WriteText(old.ToText());
    const std::string before = TemporaryFolder::ReadBytes(path);

    // Enough runs that the helper starts long before this thread could take them all.
    MeshDocument large;
    large.Vertices.resize(1000000);
    g_testThread = std::this_thread::get_id();
    g_failOtherThreads = true;
    TextFile file(path);
    file.WriteText([&large](const TextSink& take) { return large.WriteText(take); });
    g_failOtherThreads = false;
    EXPECT_TRUE(file.Failed);
    EXPECT_EQ(file.Reason, "La memoria non basta.");
    EXPECT_TRUE(TemporaryFolder::ReadBytes(path) == before);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.kv3"});

    file.WriteText([&large](const TextSink& take) { return large.WriteText(take); });
    EXPECT_FALSE(file.Failed) << file.Reason;
    EXPECT_TRUE(TemporaryFolder::ReadBytes(path) == large.ToText());
}
