// Feeds arbitrary text to the OBJ reader: it must never read out of bounds, and what it
// accepts must be whole triangles. The text after the first NUL byte, where there is one,
// is the material library m.mtl in a folder of the fuzzer's own, which the OBJ part may
// name; without one, libraries are looked for in a folder that does not exist.

#include "document/obj_format.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string g_folder;

void RemoveFolder() {
    std::remove((g_folder + "/m.mtl").c_str());
    rmdir(g_folder.c_str());
}

const std::string& LibraryFolder() {
    if (g_folder.empty()) {
        char name[] = "/tmp/kel-obj-fuzz-XXXXXX";
        if (mkdtemp(name) == nullptr)
            std::abort();
        g_folder = name;
        std::atexit(RemoveFolder);
    }
    return g_folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string folder = "/nonexistent-kel-fuzz";
    const std::size_t split = text.find('\0');
    if (split != std::string_view::npos) {
        folder = LibraryFolder();
        const std::string_view library = text.substr(split + 1);
        std::ofstream(folder + "/m.mtl", std::ios::binary | std::ios::trunc)
            .write(library.data(), static_cast<std::streamsize>(library.size()));
        text = text.substr(0, split);
    }
    MyApp::ModelTriangles model;
    std::string message;
    const bool read = MyApp::ReadObjText(text, folder, model, message);
    if (read ? model.corners.size() % 3 != 0 : message.empty())
        std::abort();
    return 0;
}
