#include "viewport/mesh_shading.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace KelUtility {
namespace {

// Faces meeting at more than this angle keep a crease between them.
constexpr float kCreaseCosine = 0.5f; // cos 60 degrees
// Up to this many faces at a position are grouped by bit masks.
constexpr std::size_t kFewFaces = 32;

// Floats: a normal needs no more, and the mesh's arrays stay small.
struct Vector {
    float x = 0;
    float y = 0;
    float z = 0;
};

Vector Minus(const DeviceVertex& a, const DeviceVertex& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vector Cross(const Vector& u, const Vector& v) {
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

float Dot(const Vector& u, const Vector& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }

inline Vector Unit(const Vector& v) {
    const float length = std::sqrt(Dot(v, v));
    if (!(length > 0) || !std::isfinite(length))
        return {};
    const float inverse = 1 / length;
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

std::uint64_t Mixed(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

std::uint64_t PositionKey(const DeviceVertex& v) {
    std::uint32_t bits[3];
    std::memcpy(&bits[0], &v.x, 4);
    std::memcpy(&bits[1], &v.y, 4);
    std::memcpy(&bits[2], &v.z, 4);
    // -0 and 0 are one place.
    for (std::uint32_t& word : bits)
        word = word == 0x80000000u ? 0 : word;
    return Mixed(Mixed(Mixed(0, bits[0]), bits[1]), bits[2]);
}

// The faces met at one position, in the order of their corners there.
struct FacesAt {
    std::vector<Vector> normals; // each as long as its face is large
    std::vector<Vector> units;
    std::vector<std::uint32_t> next; // the positions of each face's other two corners
    std::vector<std::uint32_t> previous;
    std::vector<std::uint32_t> group; // each face's group, named by its first face
};

bool Smooth(const Vector& u, const Vector& v) { return std::fabs(Dot(u, v)) > kCreaseCosine; }

// Few faces meet at most positions: every pair is compared, its join kept as a bit, and
// the groups grown from the bits, with few branches to mispredict.
void GroupFew(FacesAt& at) {
    const std::size_t count = at.units.size();
    std::uint32_t joins[kFewFaces];
    for (std::size_t i = 0; i < count; ++i)
        joins[i] = 1u << i;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = i + 1; j < count; ++j) {
            const bool sharesEdge = (at.next[i] == at.next[j]) | (at.next[i] == at.previous[j]) |
                                    (at.previous[i] == at.next[j]) | (at.previous[i] == at.previous[j]);
            const std::uint32_t join = sharesEdge & Smooth(at.units[i], at.units[j]);
            joins[i] |= join << j;
            joins[j] |= join << i;
        }
    }
    at.group.resize(count);
    std::uint32_t left = count == kFewFaces ? ~0u : (1u << count) - 1;
    while (left != 0) {
        // Faces usually come round a position in order, so one pass mostly reaches all.
        std::uint32_t reached = left & (~left + 1);
        std::uint32_t grown = 0;
        while (grown != reached && reached != left) {
            grown = reached;
            for (std::size_t i = 0; i < count; ++i)
                reached |= joins[i] & (0u - (reached >> i & 1u));
        }
        const auto first = static_cast<std::uint32_t>(__builtin_ctz(reached));
        for (std::uint32_t bits = reached; bits != 0; bits &= bits - 1)
            at.group[__builtin_ctz(bits)] = first;
        left &= ~reached;
    }
}

// Where many faces meet, the faces that share an edge from here have its far end in
// common: sorted by it, they lie side by side.
void GroupMany(FacesAt& at) {
    const std::size_t count = at.units.size();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ends; // the far end of an edge, face
    ends.reserve(2 * count);
    for (std::uint32_t i = 0; i < count; ++i) {
        ends.emplace_back(at.next[i], i);
        ends.emplace_back(at.previous[i], i);
    }
    std::sort(ends.begin(), ends.end());
    std::vector<std::uint32_t> joined(count);
    for (std::uint32_t i = 0; i < count; ++i)
        joined[i] = i;
    const auto root = [&](std::uint32_t face) {
        while (joined[face] != face)
            face = joined[face] = joined[joined[face]];
        return face;
    };
    for (std::size_t k = 1; k < ends.size(); ++k) {
        const std::uint32_t a = ends[k - 1].second;
        const std::uint32_t b = ends[k].second;
        if (ends[k - 1].first == ends[k].first && Smooth(at.units[a], at.units[b]))
            joined[root(a)] = root(b);
    }
    // Each group named by its first face, as the few are. The names go to their own list:
    // written over the joins, they would send root() to faces that are not there.
    std::vector<std::uint32_t> firstOfRoot(count, UINT32_MAX);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t& first = firstOfRoot[root(i)];
        first = std::min(first, i);
    }
    at.group.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
        at.group[i] = firstOfRoot[root(i)];
}

// The faces of the corners at one position.
void Gather(const DeviceVertex* vertices, const std::uint16_t* indices, const std::uint32_t* position,
            const std::uint32_t* corners, std::uint32_t count, FacesAt& at) {
    at.normals.resize(count);
    at.next.resize(count);
    at.previous.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t face = corners[i] - corners[i] % 3;
        const DeviceVertex& a = vertices[indices[face]];
        at.normals[i] = Cross(Minus(vertices[indices[face + 1]], a), Minus(vertices[indices[face + 2]], a));
        at.next[i] = position[indices[face + (corners[i] + 1) % 3]];
        at.previous[i] = position[indices[face + (corners[i] + 2) % 3]];
    }
}

// Most positions lie on a smooth surface wound one way. When every face there is within
// 30 degrees of their sum, any two are within 60 degrees of each other: they are one group,
// and its normal is that sum. Compared squared, without a root; a sum too large or too
// small for that says no, and the faces are grouped one by one.
bool OneSmoothGroup(const FacesAt& at, Vector& sum) {
    constexpr float kSquaredCosine = 0.75f; // cos 30 degrees, squared
    sum = {};
    for (const Vector& normal : at.normals)
        sum = {sum.x + normal.x, sum.y + normal.y, sum.z + normal.z};
    const float sumSquared = Dot(sum, sum);
    bool smooth = true;
    for (const Vector& normal : at.normals) {
        const float along = Dot(normal, sum);
        smooth &= along > 0 && along * along > kSquaredCosine * Dot(normal, normal) * sumSquared;
    }
    return smooth;
}

void FindUnits(FacesAt& at) {
    at.units.resize(at.normals.size());
    for (std::size_t i = 0; i < at.normals.size(); ++i)
        at.units[i] = Unit(at.normals[i]);
}

// Each group of faces at a position becomes a direction whose normal is the sum of its
// faces'. A face wound the other way adds its normal turned round: it points away from
// what its group has gathered so far (the faces come round in order, so the sum turns
// with them). The faces without area share one direction, the sum of all the faces there.
void JoinDirections(const FacesAt& at, std::vector<Vector>& directions, std::vector<std::uint32_t>& directionOf) {
    constexpr std::uint32_t kFlat = UINT32_MAX;
    const std::size_t count = at.units.size();
    directionOf.resize(count);
    Vector whole;
    bool flat = false;
    for (std::size_t i = 0; i < count; ++i) {
        const Vector& normal = at.normals[i];
        whole = {whole.x + normal.x, whole.y + normal.y, whole.z + normal.z};
        const std::uint32_t first = at.group[i];
        if (Dot(at.units[i], at.units[i]) == 0) {
            directionOf[i] = kFlat;
            flat = true;
        } else if (first == i) {
            directionOf[i] = static_cast<std::uint32_t>(directions.size());
            directions.push_back(normal);
        } else {
            directionOf[i] = directionOf[first];
            Vector& sum = directions[directionOf[i]];
            const Vector& gathered = Dot(sum, sum) > 0 ? sum : at.units[first];
            const float sign = Dot(at.units[i], gathered) < 0 ? -1.f : 1.f;
            sum = {sum.x + sign * normal.x, sum.y + sign * normal.y, sum.z + sign * normal.z};
        }
    }
    if (flat) {
        const auto direction = static_cast<std::uint32_t>(directions.size());
        directions.push_back(whole);
        std::replace(directionOf.begin(), directionOf.end(), kFlat, direction);
    }
}

} // namespace

std::vector<std::uint32_t> PositionNumbers(const DeviceVertex* vertices, std::size_t count) {
    // An open-addressed table, at most half full, of the first vertex at each position.
    std::size_t slots = 16;
    while (slots < 2 * count)
        slots *= 2;
    std::vector<std::uint32_t> firstAt(slots, UINT32_MAX);
    std::vector<std::uint32_t> numbers(count);
    std::uint32_t positions = 0;
    for (std::size_t v = 0; v < count; ++v) {
        const DeviceVertex& here = vertices[v];
        for (std::size_t slot = PositionKey(here) & (slots - 1);; slot = (slot + 1) & (slots - 1)) {
            const std::uint32_t first = firstAt[slot];
            if (first == UINT32_MAX) {
                firstAt[slot] = static_cast<std::uint32_t>(v);
                numbers[v] = positions++;
                break;
            }
            const DeviceVertex& there = vertices[first];
            if (there.x == here.x && there.y == here.y && there.z == here.z) {
                numbers[v] = numbers[first];
                break;
            }
        }
    }
    return numbers;
}

ShadedGeometry ShadeTriangles(const DeviceVertex* vertices, std::size_t vertexCount,
                              const std::uint16_t* indices, std::size_t indexCount) {
    const std::size_t corners = indexCount - indexCount % 3;
    const std::vector<std::uint32_t> position = PositionNumbers(vertices, vertexCount);
    const std::size_t positions =
        position.empty() ? 0 : *std::max_element(position.begin(), position.end()) + 1;

    // Each position's corners, gathered position by position.
    std::vector<std::uint32_t> start(positions + 1, 0);
    for (std::size_t c = 0; c < corners; ++c)
        ++start[position[indices[c]] + 1];
    for (std::size_t p = 0; p < positions; ++p)
        start[p + 1] += start[p];
    std::vector<std::uint32_t> cornersAt(corners);
    for (std::size_t c = corners; c-- > 0;)
        cornersAt[--start[position[indices[c]] + 1]] = static_cast<std::uint32_t>(c);
    // Each position's range now begins at start[p + 1] and ends where the next one's does.
    start.erase(start.begin());
    start.push_back(static_cast<std::uint32_t>(corners));

    // Position by position, the faces there are joined across the edges they share where
    // they meet at less than the crease (whichever way each is wound), and each joined group
    // is one direction with one normal. Each corner then takes the device vertex of its
    // vertex and direction: most vertices keep one normal, so each remembers its first
    // device vertex, and only the others are looked up.
    std::vector<Vector> directions; // each the sum of its faces' normals
    directions.reserve(positions);
    ShadedGeometry shaded;
    shaded.indices.resize(corners);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> made; // vertex, direction
    made.reserve(vertexCount);
    std::vector<std::uint32_t> firstMade(vertexCount, UINT32_MAX);
    std::unordered_map<std::uint64_t, std::uint32_t> others; // the vertices of more than one normal
    FacesAt at;
    std::vector<std::uint32_t> directionOf;
    for (std::size_t p = 0; p < positions; ++p) {
        const std::uint32_t count = start[p + 1] - start[p];
        const std::uint32_t* const cornersHere = cornersAt.data() + start[p];
        Gather(vertices, indices, position.data(), cornersHere, count, at);
        Vector sum;
        if (OneSmoothGroup(at, sum)) {
            directionOf.assign(count, static_cast<std::uint32_t>(directions.size()));
            directions.push_back(sum);
        } else {
            FindUnits(at);
            if (count <= kFewFaces)
                GroupFew(at);
            else
                GroupMany(at);
            JoinDirections(at, directions, directionOf);
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t corner = cornersHere[i];
            const std::uint32_t vertex = indices[corner];
            const std::uint32_t direction = directionOf[i];
            const auto next = static_cast<std::uint32_t>(made.size());
            bool added = firstMade[vertex] == UINT32_MAX;
            std::uint32_t number = firstMade[vertex];
            if (added)
                firstMade[vertex] = number = next;
            else if (made[number].second != direction) {
                const auto [place, isNew] = others.try_emplace(std::uint64_t{vertex} << 32 | direction, next);
                number = place->second;
                added = isNew;
            }
            if (added)
                made.emplace_back(vertex, direction);
            shaded.indices[corner] = number;
        }
    }

    shaded.vertices.reserve(made.size());
    for (const auto& [vertex, direction] : made) {
        Vector normal = Unit(directions[direction]);
        if (Dot(normal, normal) == 0)
            normal = {0, 0, -1};
        const DeviceVertex& v = vertices[vertex];
        shaded.vertices.push_back({v.x, v.y, v.z, normal.x, normal.y, normal.z, v.color, v.tu, v.tv});
    }
    return shaded;
}

} // namespace KelUtility
