#pragma once

// The small file in which the preview keeps its view: the rotation about each axis and the
// eye position, as one MY_GAME_INFO object named "Dati" in DirectX .x text. The file holds
// no templates; a reader of the format registers kViewStateTemplates first.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KelUtility {

// The longest view-state file read: the file holds a few hundred bytes, and anything far
// larger is not one.
constexpr std::size_t kMaximumViewStateFile = 1 << 20;

// The template text, as DirectX file readers register it.
extern const char* const kViewStateTemplates;

struct ViewState {
    float x = 0; // rotations in radians
    float y = 0;
    float z = 0;
    float px = 0; // eye position
    float py = 0;
    float pz = 0;
};

// The file's lines, without line breaks.
std::vector<std::string> ViewStateLines(const ViewState& state);

struct ViewStateReading {
    bool readable = false;          // the text is a DirectX .x text file
    std::optional<ViewState> state; // from the last complete MY_GAME_INFO object
};

// Reads objects until the text ends or stops making sense; an object with fewer values
// than the template has is passed over.
ViewStateReading ReadViewState(std::string_view text);

} // namespace KelUtility
