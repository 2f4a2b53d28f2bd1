#include "document/mesh_transform.h"

#include "document/float_range.h"
#include "document/mesh_triangles.h"
#include "document/number_text.h"
#include "document/reported_number.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <utility>

namespace MyApp {
namespace {

using Point = std::array<double, 3>;

// The preview's turns with a quarter's exact sine and cosine: about X, y' = y cos - z sin
// and z' = y sin + z cos; about Y, x' = x cos + z sin and z' = -x sin + z cos; about Z,
// x' = x cos - y sin and y' = x sin + y cos.
Point Turned(QuarterTurn turn, const Point& p) {
    switch (turn) {
    case QuarterTurn::XPlus: return {p[0], -p[2], p[1]};
    case QuarterTurn::XMinus: return {p[0], p[2], -p[1]};
    case QuarterTurn::YPlus: return {p[2], p[1], -p[0]};
    case QuarterTurn::YMinus: return {-p[2], p[1], p[0]};
    case QuarterTurn::ZPlus: return {-p[1], p[0], p[2]};
    case QuarterTurn::ZMinus: return {p[1], -p[0], p[2]};
    case QuarterTurn::None: break;
    }
    return p;
}

std::pair<Point, Point> Box(const std::vector<Point>& points) {
    Point low{HUGE_VAL, HUGE_VAL, HUGE_VAL};
    Point high{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const Point& p : points)
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], p[axis]);
            high[axis] = std::max(high[axis], p[axis]);
        }
    return {low, high};
}

// The factor the transform asks for, or none (with the reason) when it cannot be had.
std::optional<double> ScaleOf(const MeshTransform& transform, const std::pair<Point, Point>& box,
                              std::string& message) {
    if (transform.largestSide > 0) {
        const double side = std::max({box.second[0] - box.first[0], box.second[1] - box.first[1],
                                      box.second[2] - box.first[2]});
        if (side > 0 && std::isfinite(side))
            return transform.largestSide / side;
        message = "La mesh non ha estensione: non si pu\xC3\xB2 scalare a una misura.";
        return std::nullopt;
    }
    if (transform.factor != 0 && std::isfinite(transform.factor))
        return transform.factor;
    message = "Il fattore di scala non pu\xC3\xB2 essere zero.";
    return std::nullopt;
}

// A coordinate as the preview's device takes it: a float, with the values below the smallest
// normal one flushed to 0, as graphics hardware flushes them.
float DeviceValue(double value) {
    const float narrowed = NarrowToFloat(value);
    return std::fabs(narrowed) < FLT_MIN ? 0.0f : narrowed;
}

// How many different places the vertices stand at, as the preview draws them.
std::size_t FloatPlaces(const std::vector<MeshVertex>& vertices) {
    std::vector<std::array<float, 3>> places;
    places.reserve(vertices.size());
    for (const MeshVertex& vertex : vertices)
        places.push_back({DeviceValue(vertex.X), DeviceValue(vertex.Y), DeviceValue(vertex.Z)});
    std::sort(places.begin(), places.end());
    return static_cast<std::size_t>(std::unique(places.begin(), places.end()) - places.begin());
}

} // namespace

bool FlipFaces(MeshDocument& document, std::string& message) {
    MeshTriangles triangles;
    if (!SplitTriangles(document, triangles, message))
        return false;
    for (auto* part : {&triangles.drawn, &triangles.broken, &triangles.rest})
        for (std::size_t first = 0; first + kCornersPerFace <= part->size(); first += kCornersPerFace)
            std::swap((*part)[first + 1], (*part)[first + 2]);
    JoinTriangles(triangles, document);
    return true;
}

double LargestSide(const std::vector<MeshVertex>& vertices) {
    if (vertices.empty())
        return 0;
    std::vector<Point> points;
    points.reserve(vertices.size());
    for (const MeshVertex& vertex : vertices)
        points.push_back({vertex.X, vertex.Y, vertex.Z});
    const auto [low, high] = Box(points);
    return std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
}

bool TransformMesh(MeshDocument& document, const MeshTransform& transform, std::string& message) {
    std::vector<Point> points;
    points.reserve(document.Vertices.size());
    for (const MeshVertex& vertex : document.Vertices)
        points.push_back(Turned(transform.turn, {vertex.X, vertex.Y, vertex.Z}));
    const std::optional<double> scale = ScaleOf(transform, Box(points), message);
    if (!scale)
        return false;
    for (Point& p : points)
        for (double& value : p)
            value *= *scale;
    Point shift{transform.moveX, transform.moveY, transform.moveZ};
    if (transform.centre && !points.empty()) {
        const auto [low, high] = Box(points);
        for (int axis = 0; axis < 3; ++axis)
            shift[axis] -= low[axis] / 2 + high[axis] / 2;
    }
    std::vector<MeshVertex> vertices = document.Vertices;
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        // Adding 0 makes a -0 the 0 the user expects to read.
        vertices[v].X = points[v][0] + shift[0] + 0.0;
        vertices[v].Y = points[v][1] + shift[1] + 0.0;
        vertices[v].Z = points[v][2] + shift[2] + 0.0;
    }
    if (const std::optional<ValuePastFloat> fault = FirstValuePastFloat(vertices)) {
        message = "La trasformazione porterebbe la mesh oltre i valori ammessi: " +
                  Described(*fault) + ".";
        return false;
    }
    const std::size_t placesBefore = FloatPlaces(document.Vertices);
    const std::size_t placesAfter = FloatPlaces(vertices);
    // Two corners a hair apart in a large model may meet when it shrinks, as float rounding
    // has it; a transform that merges more than a hundredth of the places is a collapse.
    if (placesBefore - placesAfter > placesBefore / 100) {
        message = "La trasformazione farebbe coincidere vertici ora distinti (" +
                  ReportedCount(placesBefore) + " posizioni diventerebbero " +
                  ReportedCount(placesAfter) +
                  "): la mesh sarebbe troppo piccola, o troppo lontana dall'origine, per i "
                  "numeri a 32 bit.";
        return false;
    }
    MeshDocument changed = document;
    changed.Vertices = std::move(vertices);
    if (*scale < 0 && !FlipFaces(changed, message))
        return false;
    document = std::move(changed);
    return true;
}

} // namespace MyApp
