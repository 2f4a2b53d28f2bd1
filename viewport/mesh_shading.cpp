#include "viewport/mesh_shading.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace KelUtility {
namespace {

// Faces meeting at more than this angle keep a crease between them.
constexpr float kCreaseCosine = 0.5f; // cos 60 degrees
constexpr std::size_t kInsertionSorted = 32;
// Keys leave the top bit clear, so that none is the table's empty key.
constexpr std::uint64_t kKeyBits = ~std::uint64_t{0} >> 1;

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
    return {v.x / length, v.y / length, v.z / length};
}

std::uint64_t Mixed(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

// An open-addressed table from 64-bit keys to numbers, kept at most half full.
class NumberTable {
public:
    explicit NumberTable(std::size_t expected) { Resize(expected); }

    // The key's number, given `next` when the key is new; `added` says which.
    std::uint32_t Find(std::uint64_t key, std::uint32_t next, bool& added) {
        std::size_t slot = SlotOf(key);
        added = m_keys[slot] == kEmpty;
        if (added) {
            if (2 * (m_count + 1) > m_keys.size()) {
                Resize(m_count + 1);
                slot = SlotOf(key);
            }
            m_keys[slot] = key;
            m_numbers[slot] = next;
            ++m_count;
        }
        return m_numbers[slot];
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};

    std::size_t SlotOf(std::uint64_t key) const {
        const std::size_t mask = m_keys.size() - 1;
        std::size_t slot = Mixed(0, key) & mask;
        while (m_keys[slot] != kEmpty && m_keys[slot] != key)
            slot = (slot + 1) & mask;
        return slot;
    }

    void Resize(std::size_t count) {
        std::size_t slots = 16;
        while (slots < 4 * count)
            slots *= 2;
        std::vector<std::uint64_t> keys(slots, kEmpty);
        std::vector<std::uint32_t> numbers(slots, 0);
        keys.swap(m_keys);
        numbers.swap(m_numbers);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] != kEmpty) {
                const std::size_t slot = SlotOf(keys[i]);
                m_keys[slot] = keys[i];
                m_numbers[slot] = numbers[i];
            }
        }
    }

    std::vector<std::uint64_t> m_keys;
    std::vector<std::uint32_t> m_numbers;
    std::size_t m_count = 0;
};

std::uint64_t PositionKey(const DeviceVertex& v) {
    std::uint32_t bits[3];
    std::memcpy(&bits[0], &v.x, 4);
    std::memcpy(&bits[1], &v.y, 4);
    std::memcpy(&bits[2], &v.z, 4);
    // -0 and 0 are one place.
    for (std::uint32_t& word : bits)
        word = word == 0x80000000u ? 0 : word;
    return Mixed(Mixed(Mixed(0, bits[0]), bits[1]), bits[2]) & kKeyBits;
}

// A group of faces joined at a position, whose normal is the sum of its faces'.
struct Direction {
    Vector seed; // the unit normal of its first face
    Vector sum;  // its faces' normals, each as long as its face is large
};

} // namespace

std::vector<std::uint32_t> PositionNumbers(const DeviceVertex* vertices, std::size_t count) {
    std::vector<std::uint32_t> numbers(count);
    std::vector<std::uint32_t> firstOf;
    NumberTable table(count);
    for (std::size_t v = 0; v < count; ++v) {
        // Keys that collide are told apart by the vertex they stand for.
        std::uint64_t key = PositionKey(vertices[v]);
        for (;;) {
            bool added = false;
            const std::uint32_t number = table.Find(key, static_cast<std::uint32_t>(firstOf.size()), added);
            if (added)
                firstOf.push_back(static_cast<std::uint32_t>(v));
            const DeviceVertex& first = vertices[firstOf[number]];
            if (first.x == vertices[v].x && first.y == vertices[v].y && first.z == vertices[v].z) {
                numbers[v] = number;
                break;
            }
            key = Mixed(key, 1) & kKeyBits;
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

    // A face's normal, as long as the face is large; made again at each of its corners,
    // which costs less than keeping them all.
    const auto faceNormal = [&](std::size_t face) {
        const DeviceVertex& a = vertices[indices[3 * face]];
        return Cross(Minus(vertices[indices[3 * face + 1]], a), Minus(vertices[indices[3 * face + 2]], a));
    };

    // Position by position, the faces there are joined across the edges they share where
    // they meet at less than the crease (whichever way each is wound), and each joined group
    // is one direction with one normal. Each corner then takes the device vertex of its
    // vertex and direction: most vertices keep one normal, so each remembers its first
    // device vertex, and only the others are looked up.
    constexpr std::uint32_t kFlat = UINT32_MAX; // a corner of a triangle without area
    std::vector<Direction> directions;
    directions.reserve(positions);
    std::vector<Vector> whole(positions); // the sum of all faces, for corners without area
    ShadedGeometry shaded;
    shaded.indices.resize(corners);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> made; // vertex, direction
    made.reserve(vertexCount);
    std::vector<std::uint32_t> firstMade(vertexCount, UINT32_MAX);
    NumberTable others(0);
    std::vector<Vector> normals;
    std::vector<Vector> units;
    std::vector<std::uint32_t> joined;                        // each face's group, by its root
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ends; // the far end of an edge, face
    std::vector<std::uint32_t> directionOfRoot;
    const auto root = [&](std::uint32_t face) {
        while (joined[face] != face)
            face = joined[face] = joined[joined[face]];
        return face;
    };
    for (std::size_t p = 0; p < positions; ++p) {
        const std::uint32_t count = start[p + 1] - start[p];
        normals.resize(count);
        units.resize(count);
        joined.resize(count);
        ends.clear();
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t corner = cornersAt[start[p] + i];
            normals[i] = faceNormal(corner / 3);
            units[i] = Unit(normals[i]);
            joined[i] = i;
            whole[p] = {whole[p].x + normals[i].x, whole[p].y + normals[i].y, whole[p].z + normals[i].z};
            const std::size_t face = corner - corner % 3;
            for (std::size_t other = 1; other < 3; ++other) {
                const std::uint32_t end = position[indices[face + (corner % 3 + other) % 3]];
                if (end != p)
                    ends.emplace_back(end, i);
            }
        }
        const auto join = [&](std::size_t j, std::size_t k) {
            const std::uint32_t a = ends[j].second;
            const std::uint32_t b = ends[k].second;
            if (ends[j].first == ends[k].first && std::fabs(Dot(units[a], units[b])) > kCreaseCosine)
                joined[root(a)] = root(b);
        };
        // The faces that share an edge from here have its far end in common: sorted by it,
        // they lie side by side (a usual position has a dozen ends, which an insertion sort
        // orders fastest).
        if (ends.size() <= kInsertionSorted) {
            for (std::size_t k = 1; k < ends.size(); ++k)
                for (std::size_t j = k; j > 0 && ends[j] < ends[j - 1]; --j)
                    std::swap(ends[j], ends[j - 1]);
        } else {
            std::sort(ends.begin(), ends.end());
        }
        for (std::size_t k = 1; k < ends.size(); ++k)
            join(k - 1, k);
        directionOfRoot.assign(count, kFlat);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t direction = kFlat;
            if (Dot(units[i], units[i]) > 0) {
                std::uint32_t& ofRoot = directionOfRoot[root(i)];
                if (ofRoot == kFlat) {
                    ofRoot = static_cast<std::uint32_t>(directions.size());
                    directions.push_back({units[i], {}});
                }
                direction = ofRoot;
                // A face wound the other way adds its normal turned round: it points away
                // from what its group has gathered so far (the faces come round in order,
                // so the group's sum turns with them).
                Direction& joint = directions[direction];
                const Vector& gathered = Dot(joint.sum, joint.sum) > 0 ? joint.sum : joint.seed;
                const float sign = Dot(units[i], gathered) < 0 ? -1.f : 1.f;
                joint.sum = {joint.sum.x + sign * normals[i].x, joint.sum.y + sign * normals[i].y,
                             joint.sum.z + sign * normals[i].z};
            }
            const std::uint32_t corner = cornersAt[start[p] + i];
            const std::uint32_t vertex = indices[corner];
            const auto next = static_cast<std::uint32_t>(made.size());
            bool added = firstMade[vertex] == UINT32_MAX;
            std::uint32_t number = firstMade[vertex];
            if (added)
                firstMade[vertex] = number = next;
            else if (made[number].second != direction)
                number = others.Find(std::uint64_t{vertex} << 32 | direction, next, added);
            if (added)
                made.emplace_back(vertex, direction);
            shaded.indices[corner] = number;
        }
    }

    shaded.vertices.reserve(made.size());
    for (const auto& [vertex, direction] : made) {
        Vector normal = Unit(direction == kFlat ? whole[position[vertex]] : directions[direction].sum);
        if (Dot(normal, normal) == 0)
            normal = {0, 0, -1};
        const DeviceVertex& v = vertices[vertex];
        shaded.vertices.push_back({v.x, v.y, v.z, normal.x, normal.y, normal.z, v.color, v.tu, v.tv});
    }
    return shaded;
}

} // namespace KelUtility
