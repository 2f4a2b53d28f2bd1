#pragma once

// Cuts the polygons of a model file into triangles, for every reader that meets faces of
// more than three corners (OBJ, PLY, STL): the triangles cover the polygon once and turn
// the way its outline turns, so that a concave face keeps its own area and its front. A
// reader uses one for the whole file: its ear searches share a measure of work that grows
// with the corners cut, so that no file makes the cutting quadratic.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace MyApp {

struct PolygonPoint {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

class PolygonTriangulator {
public:
    PolygonTriangulator();

    // Past this many corners a polygon that is not convex is cut as a fan around its first
    // corner: ear clipping costs more than the corners, and a face this large is rarely
    // more than a closed outline. A convex one is a fan whatever its size.
    static constexpr std::size_t kMaxClippedCorners = 512;

    // The triangles of the polygon whose corners, in order, lie at `corners`: the corners'
    // places in the list, three a triangle, each in the outline's own order, valid until
    // the next call. A polygon of n corners gives n - 2 triangles, always, so a reader can
    // count them before it cuts. A convex quad is split along its shorter diagonal (the
    // one from its first corner when both are as long); any other polygon loses its ears
    // one by one in the plane it lies in, which for a convex one is the fan around its
    // first corner. An outline without area, or twisted so that no ear is left, is still
    // cut into n - 2 triangles, covering what can be covered; fewer than three corners
    // give none.
    const std::vector<std::size_t>& Cut(const std::vector<PolygonPoint>& corners);

private:
    struct Flat {
        double u;
        double v;
    };

    bool Flatten(const std::vector<PolygonPoint>& corners);
    void CutQuad(const std::vector<PolygonPoint>& corners);
    void CutFan(std::size_t count);
    void ClipEars(std::size_t count);
    bool IsConvexAt(std::size_t corner) const;
    bool IsEar(std::size_t corner);
    void CutOff(std::size_t corner);
    double Turn(std::size_t a, std::size_t b, std::size_t c) const;
    bool SamePlace(std::size_t a, std::size_t b) const;

    std::vector<std::size_t> m_triangles;
    std::vector<Flat> m_flat;
    // The outline as it loses corners: each corner's neighbours among those left.
    std::vector<std::size_t> m_previous;
    std::vector<std::size_t> m_next;
    std::vector<std::size_t> m_reflex; // the corners left that may lie inside an ear
    std::vector<bool> m_isReflex;
    double m_orientation = 1; // the sign of the outline's area in the plane it is seen in
    std::size_t m_tests;      // what the ear searches may still spend
};

} // namespace MyApp
