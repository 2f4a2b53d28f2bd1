#pragma once

// Every model format and the preview keep coordinates and texture coordinates as 32-bit
// floats, while the document keeps positions as doubles: this says which vertex holds a
// value that no float can carry, so that an import or an export refuses it by name
// rather than turning it into another number in silence.

#include "document/mesh_vertex.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace MyApp {

// A value a float cannot carry, and where it is.
struct ValuePastFloat {
    std::size_t vertex = 0; // counted from 1, as the vertex list shows it
    const char* field = ""; // "X", "Y", "Z", "Tu" or "Tv"
    double value = 0;
};

// Whether a float holds the value as a nearby number: finite and within ±FLT_MAX.
bool FitsFloat(double value);

// The first vertex with a coordinate or texture coordinate that is not finite or lies
// beyond the float range; none when every value fits.
std::optional<ValuePastFloat> FirstValuePastFloat(const std::vector<MeshVertex>& vertices);

// The fault in the user's words, without a capital or a full stop, to follow a colon:
// "il vertice 3 ha Y = 1e+40, oltre il massimo di un numero a 32 bit (3,40282e+38)".
std::string Described(const ValuePastFloat& fault);

} // namespace MyApp
