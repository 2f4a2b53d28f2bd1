#include "document/polygon_triangulator.h"

#include <algorithm>
#include <cmath>

namespace MyApp {
namespace {

// What the ear searches of one triangulator may spend, in tests of a corner against an ear:
// a start that lets a few of the hardest outlines of the most corners clipped be cut right
// (a spiral band of 500 corners takes about 740,000), and then so much for each corner
// cut, which most polygons (quads, convex faces, an L) never touch. A file built to hold
// the reader with nothing but such outlines spends it, and the rest of its polygons are
// cut as fans; its time stays in proportion to its corners.
constexpr std::size_t kStartingTests =
    4 * PolygonTriangulator::kMaxClippedCorners * PolygonTriangulator::kMaxClippedCorners;
constexpr std::size_t kTestsPerCorner = 256;

double SquaredDistance(const PolygonPoint& a, const PolygonPoint& b) {
    const double x = a.X - b.X;
    const double y = a.Y - b.Y;
    const double z = a.Z - b.Z;
    return x * x + y * y + z * z;
}

} // namespace

PolygonTriangulator::PolygonTriangulator() : m_tests(kStartingTests) {}

const std::vector<std::size_t>& PolygonTriangulator::Cut(const std::vector<PolygonPoint>& corners) {
    m_triangles.clear();
    const std::size_t count = corners.size();
    if (count < 3)
        return m_triangles;
    m_tests += std::min(count, kMaxClippedCorners) * kTestsPerCorner;
    if (count == 3 || !Flatten(corners))
        CutFan(count);
    else if (count == 4)
        CutQuad(corners);
    else
        ClipEars(count);
    return m_triangles;
}

// The corners seen along the axis the polygon faces most (Newell's normal), measured from
// the first corner so that a face far from the origin keeps its digits. False when the
// outline encloses no area there, or one no double holds.
bool PolygonTriangulator::Flatten(const std::vector<PolygonPoint>& corners) {
    const std::size_t count = corners.size();
    const PolygonPoint& origin = corners[0];
    double normal[3] = {0, 0, 0};
    for (std::size_t k = 0; k < count; ++k) {
        const PolygonPoint& p = corners[k];
        const PolygonPoint& q = corners[(k + 1) % count];
        const double px = p.X - origin.X, py = p.Y - origin.Y, pz = p.Z - origin.Z;
        const double qx = q.X - origin.X, qy = q.Y - origin.Y, qz = q.Z - origin.Z;
        normal[0] += (py - qy) * (pz + qz);
        normal[1] += (pz - qz) * (px + qx);
        normal[2] += (px - qx) * (py + qy);
    }
    int drop = 2;
    if (std::fabs(normal[0]) > std::fabs(normal[1]) && std::fabs(normal[0]) > std::fabs(normal[2]))
        drop = 0;
    else if (std::fabs(normal[1]) > std::fabs(normal[2]))
        drop = 1;
    // The normal's part along the dropped axis is twice the area seen along it, with the
    // sign of the way the outline turns there.
    const double area = normal[drop];
    if (area == 0 || !std::isfinite(area))
        return false;
    m_orientation = area < 0 ? -1 : 1;
    m_flat.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double at[3] = {corners[k].X - origin.X, corners[k].Y - origin.Y,
                              corners[k].Z - origin.Z};
        m_flat[k] = {at[(drop + 1) % 3], at[(drop + 2) % 3]};
    }
    return true;
}

// A corner that does not turn the outline's way (a notch, or a straight corner) takes the
// diagonal, the only one inside the quad; a convex quad takes the shorter, which keeps its
// triangles fat and a bent quad close to its corners.
void PolygonTriangulator::CutQuad(const std::vector<PolygonPoint>& corners) {
    bool fromFirst =
        SquaredDistance(corners[0], corners[2]) <= SquaredDistance(corners[1], corners[3]);
    for (std::size_t k = 0; k < 4; ++k) {
        if (!(Turn((k + 3) % 4, k, (k + 1) % 4) > 0)) {
            fromFirst = k % 2 == 0;
            break;
        }
    }
    if (fromFirst)
        m_triangles = {0, 1, 2, 0, 2, 3};
    else
        m_triangles = {0, 1, 3, 1, 2, 3};
}

void PolygonTriangulator::CutFan(std::size_t count) {
    for (std::size_t k = 1; k + 1 < count; ++k)
        m_triangles.insert(m_triangles.end(), {0, k, k + 1});
}

// Ears are looked for from the second corner on, and after each cut from the corner that
// followed it, so that a new ear is found where the last one left. A corner can only lie
// inside an ear if it is a notch, so only those are tested.
void PolygonTriangulator::ClipEars(std::size_t count) {
    m_previous.resize(count);
    m_next.resize(count);
    m_isReflex.assign(count, false);
    m_reflex.clear();
    for (std::size_t k = 0; k < count; ++k) {
        m_previous[k] = (k + count - 1) % count;
        m_next[k] = (k + 1) % count;
    }
    for (std::size_t k = 0; k < count; ++k) {
        m_isReflex[k] = !IsConvexAt(k);
        if (m_isReflex[k])
            m_reflex.push_back(k);
    }
    if (m_reflex.empty() || count > kMaxClippedCorners) {
        CutFan(count);
        return;
    }
    std::size_t left = count;
    std::size_t at = 1;
    std::size_t misses = 0;
    while (left > 3) {
        // Where no ear is left (a twisted or degenerate outline) or the searches have spent
        // what they may, the corner is cut off anyway, so that no part of the face is lost.
        if (m_tests > 0 && misses < left && !IsEar(at)) {
            at = m_next[at];
            ++misses;
            continue;
        }
        const std::size_t next = m_next[at];
        CutOff(at);
        at = next;
        --left;
        misses = 0;
    }
    m_triangles.insert(m_triangles.end(), {m_previous[at], at, m_next[at]});
}

bool PolygonTriangulator::IsConvexAt(std::size_t corner) const {
    return Turn(m_previous[corner], corner, m_next[corner]) > 0;
}

bool PolygonTriangulator::IsEar(std::size_t corner) {
    --m_tests;
    if (m_isReflex[corner])
        return false;
    const std::size_t a = m_previous[corner];
    const std::size_t c = m_next[corner];
    for (std::size_t notch : m_reflex) {
        if (m_tests == 0)
            return false;
        --m_tests;
        if (notch == a || notch == c || SamePlace(notch, a) || SamePlace(notch, corner) ||
            SamePlace(notch, c))
            continue; // where an outline touches itself, it may be cut through
        // Inside or on the rim: a cut through a notch on the diagonal would leave an outline
        // that runs back along itself, whose next ears cover the notch.
        if (Turn(a, corner, notch) >= 0 && Turn(corner, c, notch) >= 0 && Turn(c, a, notch) >= 0)
            return false;
    }
    return true;
}

// Takes the ear at `corner` off the outline. Its neighbours turn more sharply for it: a
// notch may become convex and leaves the notches, and in a twisted outline a convex corner
// may become a notch.
void PolygonTriangulator::CutOff(std::size_t corner) {
    const std::size_t a = m_previous[corner];
    const std::size_t c = m_next[corner];
    m_triangles.insert(m_triangles.end(), {a, corner, c});
    m_next[a] = c;
    m_previous[c] = a;
    bool stale = m_isReflex[corner];
    m_isReflex[corner] = false;
    for (std::size_t neighbour : {a, c}) {
        const bool reflex = !IsConvexAt(neighbour);
        if (reflex && !m_isReflex[neighbour])
            m_reflex.push_back(neighbour);
        stale = stale || (m_isReflex[neighbour] && !reflex);
        m_isReflex[neighbour] = reflex;
    }
    if (stale) {
        m_reflex.erase(std::remove_if(m_reflex.begin(), m_reflex.end(),
                                      [&](std::size_t k) { return !m_isReflex[k]; }),
                       m_reflex.end());
    }
}

bool PolygonTriangulator::SamePlace(std::size_t a, std::size_t b) const {
    return m_flat[a].u == m_flat[b].u && m_flat[a].v == m_flat[b].v;
}

// Positive where a, b, c turn the way the outline does, negative against it, zero in a line.
double PolygonTriangulator::Turn(std::size_t a, std::size_t b, std::size_t c) const {
    const Flat& p = m_flat[a];
    const Flat& q = m_flat[b];
    const Flat& r = m_flat[c];
    return ((q.u - p.u) * (r.v - q.v) - (q.v - p.v) * (r.u - q.u)) * m_orientation;
}

} // namespace MyApp
