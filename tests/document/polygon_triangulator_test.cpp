// The polygon triangulator on outlines written out by hand: each must give its corners less
// two triangles that turn its way and, where it is simple, cover it exactly once.

#include "document/polygon_triangulator.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace MyApp;

namespace {

struct Vector {
    double x, y, z;
};

// Twice the area of the triangle, as a vector along its front's normal.
Vector DoubledArea(const PolygonPoint& a, const PolygonPoint& b, const PolygonPoint& c) {
    const Vector u{b.X - a.X, b.Y - a.Y, b.Z - a.Z};
    const Vector v{c.X - a.X, c.Y - a.Y, c.Z - a.Z};
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

// Twice the area the outline encloses, along its normal (Newell's).
Vector DoubledArea(const std::vector<PolygonPoint>& outline) {
    Vector sum{0, 0, 0};
    for (std::size_t k = 1; k + 1 < outline.size(); ++k) {
        const Vector part = DoubledArea(outline[0], outline[k], outline[k + 1]);
        sum = {sum.x + part.x, sum.y + part.y, sum.z + part.z};
    }
    return sum;
}

double Dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

std::vector<PolygonPoint> Flat(std::initializer_list<std::pair<double, double>> points) {
    std::vector<PolygonPoint> outline;
    for (const auto& [x, y] : points)
        outline.push_back({x, y, 0});
    return outline;
}

// A comb of `teeth` notches cut into the top of a bar, drawn counter-clockwise.
std::vector<PolygonPoint> Comb(int teeth) {
    std::vector<PolygonPoint> outline{{0, 0, 0}, {2.0 * teeth, 0, 0}};
    for (int t = teeth; t-- > 0;) {
        outline.push_back({2.0 * t + 2, 3, 0});
        outline.push_back({2.0 * t + 1, 1, 0});
    }
    return outline;
}

std::vector<PolygonPoint> Circle(int corners) {
    std::vector<PolygonPoint> outline;
    for (int k = 0; k < corners; ++k) {
        const double angle = 6.283185307179586 * k / corners;
        outline.push_back({std::cos(angle), std::sin(angle), 0});
    }
    return outline;
}

} // namespace

TEST(PolygonTriangulator, CutsEachOutlineIntoTrianglesThatCoverItOnceAndTurnItsWay) {
    enum Check { Covers, CoversWithoutSlivers, OnlyCounts };
    struct Case {
        const char* what;
        std::vector<PolygonPoint> outline;
        Check check;
        std::vector<std::size_t> expected; // the exact triangles, where they are fixed
    };
    const Case cases[] = {
        {"triangle", Flat({{0, 0}, {1, 0}, {0, 1}}), Covers, {0, 1, 2}},
        {"square: diagonals as long, the first corner's",
         Flat({{0, 0}, {1, 0}, {1, 1}, {0, 1}}),
         Covers,
         {0, 1, 2, 0, 2, 3}},
        {"rhombus: the shorter diagonal",
         Flat({{0, 0}, {2, -1}, {4, 0}, {2, 1}}),
         Covers,
         {0, 1, 3, 1, 2, 3}},
        {"bent quad standing in YZ",
         {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0.3, 1, 0}},
         Covers,
         {0, 1, 2, 0, 2, 3}},
        {"arrow quad: through its notch, not the shorter diagonal",
         Flat({{0, 2}, {1, 1}, {0, 0}, {10, 1}}),
         Covers,
         {0, 1, 3, 1, 2, 3}},
        {"quad with a straight corner: through it",
         Flat({{0, 0}, {1, 0}, {2, 0}, {1, 5}}),
         CoversWithoutSlivers,
         {0, 1, 3, 1, 2, 3}},
        {"L", Flat({{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}), Covers, {}},
        {"arrow, clockwise and tilted",
         {{0, 0, 0}, {-1, 3, 1}, {4, 0, -4}, {-1, -3, 1}},
         Covers,
         {}},
        {"square with corners on its sides",
         Flat({{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {0, 2}, {0, 1}}),
         CoversWithoutSlivers,
         {}},
        {"notch on the rim of the first ear, beside a straight corner",
         Flat({{2, 1}, {0, 2}, {0, 1}, {0, 0}, {1, 1}}),
         CoversWithoutSlivers,
         {}},
        {"notch on the diagonal of a convex corner",
         Flat({{0, 0}, {4, 0}, {4, 2}, {2, 1}, {0, 2}, {-2, 0}}),
         Covers,
         {}},
        {"comb of 40 notches", Comb(40), Covers, {}},
        {"convex 600-gon, past the clipped corners", Circle(600), Covers, {}},
        {"comb past the clipped corners", Comb(300), OnlyCounts, {}},
        {"all on a line", Flat({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}), OnlyCounts, {}},
        {"one point over and over", Flat({{1, 1}, {1, 1}, {1, 1}, {1, 1}}), OnlyCounts, {}},
        {"bow tie", Flat({{0, 0}, {2, 2}, {2, 0}, {0, 2}}), OnlyCounts, {}},
        {"pentagram", Flat({{0, 3}, {2, -3}, {-3, 1}, {3, 1}, {-2, -3}}), OnlyCounts, {}},
        {"keyhole touching itself",
         Flat({{0, 0},
               {4, 0},
               {4, 4},
               {2, 4},
               {2, 3},
               {3, 3},
               {3, 1},
               {1, 1},
               {1, 3},
               {2, 3},
               {2, 4},
               {0, 4}}),
         Covers,
         {}},
        {"two corners", Flat({{0, 0}, {1, 0}}), OnlyCounts, {}},
    };
    PolygonTriangulator triangulator;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::size_t>& triangles = triangulator.Cut(c.outline);
        const std::size_t count = c.outline.size();
        ASSERT_EQ(triangles.size(), count < 3 ? 0 : 3 * (count - 2));
        for (std::size_t k : triangles) {
            ASSERT_LT(k, count);
        }
        if (!c.expected.empty()) {
            EXPECT_EQ(triangles, c.expected);
        }
        if (c.check == OnlyCounts)
            continue;
        const Vector whole = DoubledArea(c.outline);
        const double length = std::sqrt(Dot(whole, whole));
        double covered = 0;
        for (std::size_t i = 0; i < triangles.size(); i += 3) {
            const Vector part = DoubledArea(c.outline[triangles[i]], c.outline[triangles[i + 1]],
                                            c.outline[triangles[i + 2]]);
            const double along = Dot(part, whole) / length;
            EXPECT_GE(along, c.check == CoversWithoutSlivers ? 1e-9 : -1e-9)
                << "triangle " << i / 3;
            covered += std::fabs(along);
        }
        EXPECT_NEAR(covered, length, 1e-9 * length);
    }
}
