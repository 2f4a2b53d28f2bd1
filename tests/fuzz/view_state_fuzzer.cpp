// Feeds arbitrary bytes to the view-state reader.

#include "viewport/view_state_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KelUtility::ReadViewState(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
