// Feeds arbitrary text to the OBJ reader: it must never read out of bounds, and what it
// accepts must be whole triangles. Material libraries are looked for in a folder that does
// not exist, so no input reaches a file.

#include "document/obj_format.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MyApp::ModelTriangles model;
    std::string message;
    const bool read = MyApp::ReadObjText(text, "/nonexistent-kel-fuzz", model, message);
    if (read ? model.corners.size() % 3 != 0 : message.empty())
        std::abort();
    return 0;
}
