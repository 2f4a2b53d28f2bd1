#include "viewport/mesh_picking.h"

#include "document/number_text.h"
#include "viewport/mesh_geometry.h"

#include <algorithm>
#include <cmath>

namespace KelUtility {
namespace {

// Below these a pivot (against the largest entry) or the determinant of the pan's system
// (against its largest row, squared) is taken for zero: the float matrices carry about seven
// digits, so anything nearer is noise.
constexpr double kSingularInverse = 1e-12;
constexpr double kSingularPan = 1e-6;

using Matrix4d = std::array<double, 16>;

struct Vector4 {
    double x;
    double y;
    double z;
    double w;
};

// The point (x, y, z, 1) through a row-vector matrix, summed in double so that vertices far
// from the origin lose less to rounding.
template <typename Matrix> Vector4 Transform(double x, double y, double z, const Matrix& m) {
    return {x * m[0] + y * m[4] + z * m[8] + m[12], x * m[1] + y * m[5] + z * m[9] + m[13],
            x * m[2] + y * m[6] + z * m[10] + m[14], x * m[3] + y * m[7] + z * m[11] + m[15]};
}

// The position the device draws for a vertex.
Point3 DevicePosition(const MyApp::MeshVertex& vertex) {
    return {MyApp::NarrowToFloat(vertex.X), MyApp::NarrowToFloat(vertex.Y),
            MyApp::NarrowToFloat(vertex.Z)};
}

// Gauss-Jordan elimination with partial pivoting, in double.
std::optional<Matrix4d> Inverse(const Matrix4& m) {
    double rows[4][8] = {};
    double largest = 0;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            rows[r][c] = m[r * 4 + c];
            largest = std::max(largest, std::fabs(rows[r][c]));
        }
        rows[r][4 + r] = 1;
    }
    if (!(largest > 0) || !std::isfinite(largest))
        return std::nullopt;
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::fabs(rows[r][c]) > std::fabs(rows[pivot][c]))
                pivot = r;
        }
        if (!(std::fabs(rows[pivot][c]) > kSingularInverse * largest))
            return std::nullopt;
        std::swap(rows[c], rows[pivot]);
        const double scale = 1 / rows[c][c];
        for (double& value : rows[c])
            value *= scale;
        for (int r = 0; r < 4; ++r) {
            const double factor = rows[r][c];
            if (r == c || factor == 0)
                continue;
            for (int k = 0; k < 8; ++k)
                rows[r][k] -= factor * rows[c][k];
        }
    }
    Matrix4d inverse;
    for (int r = 0; r < 4; ++r)
        std::copy(rows[r] + 4, rows[r] + 8, inverse.begin() + r * 4);
    return inverse;
}

// Calls use(number, first, second, third) for each triangle the preview draws whole and in
// the vertex list, by its number and the numbers of its corners.
template <typename Use> void ForEachDrawnTriangle(const SceneMesh& mesh, Use use) {
    const std::optional<MeshShape> shape = ShapeOf(mesh);
    if (!mesh.Visible || !shape)
        return;
    const std::uint32_t faces = WholeFaces(mesh, *shape);
    const bool ownIndices = !mesh.Indices.empty();
    for (std::uint32_t number = 0; number < faces; ++number) {
        const std::size_t first = static_cast<std::size_t>(number) * 3;
        if (!ownIndices) {
            use(number, first, first + 1, first + 2);
            continue;
        }
        const std::size_t a = mesh.Indices[first];
        const std::size_t b = mesh.Indices[first + 1];
        const std::size_t c = mesh.Indices[first + 2];
        if (a < shape->vertices && b < shape->vertices && c < shape->vertices)
            use(number, a, b, c);
    }
}

// The positions the device draws, narrowed once for every triangle that shares them.
std::vector<Point3> DevicePositions(const SceneMesh& mesh) {
    std::vector<Point3> positions(mesh.Vertices.size());
    std::transform(mesh.Vertices.begin(), mesh.Vertices.end(), positions.begin(), DevicePosition);
    return positions;
}

// Whether a drawn triangle that does not use the vertex lies between `from` and it. The
// distance along the line is the vertex's own, so that a face through the vertex's place
// meets it at the same distance, give or take the float rounding the tolerance covers.
bool BehindAFace(const SceneMesh& mesh, const std::vector<Point3>& positions,
                 std::size_t vertex, const Point3& from) {
    constexpr float kSamePlace = 1e-4f;
    const Point3& at = positions[vertex];
    const Point3 line{at.x - from.x, at.y - from.y, at.z - from.z};
    const float length = std::sqrt(line.x * line.x + line.y * line.y + line.z * line.z);
    if (!(length > 0) || !std::isfinite(length))
        return false;
    const Point3 direction{line.x / length, line.y / length, line.z / length};
    const float nearer = length * (1 - kSamePlace);
    bool hidden = false;
    ForEachDrawnTriangle(mesh, [&](std::size_t, std::size_t a, std::size_t b, std::size_t c) {
        if (hidden || a == vertex || b == vertex || c == vertex)
            return;
        const std::optional<float> distance =
            RayTriangleDistance(from, direction, {positions[a], positions[b], positions[c]});
        hidden = distance && *distance < nearer;
    });
    return hidden;
}

} // namespace

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += static_cast<double>(a[r * 4 + k]) * b[k * 4 + c];
            product[r * 4 + c] = static_cast<float>(sum);
        }
    }
    return product;
}

std::vector<ScreenPoint> ProjectVertices(const std::vector<MyApp::MeshVertex>& vertices,
                                         const Matrix4& transform, int width, int height) {
    std::vector<ScreenPoint> points(vertices.size(), ScreenPoint{0, 0, false});
    if (width <= 0 || height <= 0)
        return points;
    // A copy of its own: the points written are floats too, and might otherwise be the
    // matrix, which would then be read again for every vertex.
    Matrix4d m;
    std::copy(transform.begin(), transform.end(), m.begin());
    const double halfWidth = width / 2.0;
    const double halfHeight = height / 2.0;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Point3 p = DevicePosition(vertices[i]);
        const Vector4 clip = Transform(p.x, p.y, p.z, m);
        if (!(clip.w > 0 && clip.z >= 0 && clip.z <= clip.w))
            continue;
        const double reciprocal = 1 / clip.w;
        const double x = (clip.x * reciprocal + 1) * halfWidth;
        const double y = (1 - clip.y * reciprocal) * halfHeight;
        if (std::isfinite(x) && std::isfinite(y))
            points[i] = {static_cast<float>(x), static_cast<float>(y), true};
    }
    return points;
}

std::vector<bool> DrawnVertices(const SceneMesh& mesh) {
    std::vector<bool> drawn(mesh.Vertices.size(), false);
    ForEachDrawnTriangle(mesh, [&](std::size_t, std::size_t a, std::size_t b, std::size_t c) {
        drawn[a] = drawn[b] = drawn[c] = true;
    });
    return drawn;
}

std::optional<std::size_t> NearestVertex(const std::vector<ScreenPoint>& points,
                                         const std::vector<bool>& drawn, float x, float y,
                                         float radius) {
    if (!(radius >= 0))
        return std::nullopt;
    const double limit = static_cast<double>(radius) * radius;
    std::optional<std::size_t> nearest;
    double nearestSquared = 0;
    const std::size_t count = std::min(points.size(), drawn.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!drawn[i] || !points[i].visible)
            continue;
        const double across = static_cast<double>(points[i].x) - x;
        const double down = static_cast<double>(points[i].y) - y;
        const double squared = across * across + down * down;
        if (squared <= limit && (!nearest || squared < nearestSquared)) {
            nearest = i;
            nearestSquared = squared;
        }
    }
    return nearest;
}

// The pixel's points on the near and far planes, brought back through the inverse.
std::optional<Ray> PixelRay(const Matrix4& transform, int width, int height, float x, float y) {
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const std::optional<Matrix4d> inverse = Inverse(transform);
    if (!inverse)
        return std::nullopt;
    const double ndcX = 2.0 * x / width - 1;
    const double ndcY = 1 - 2.0 * y / height;
    const Vector4 nearPoint = Transform(ndcX, ndcY, 0, *inverse);
    const Vector4 farPoint = Transform(ndcX, ndcY, 1, *inverse);
    const double ox = nearPoint.x / nearPoint.w;
    const double oy = nearPoint.y / nearPoint.w;
    const double oz = nearPoint.z / nearPoint.w;
    const double rx = farPoint.x / farPoint.w - ox;
    const double ry = farPoint.y / farPoint.w - oy;
    const double rz = farPoint.z / farPoint.w - oz;
    const double length = std::sqrt(rx * rx + ry * ry + rz * rz);
    if (!(length > 0) || !std::isfinite(length) || !std::isfinite(ox + oy + oz))
        return std::nullopt;
    return Ray{{static_cast<float>(ox), static_cast<float>(oy), static_cast<float>(oz)},
               {static_cast<float>(rx / length), static_cast<float>(ry / length),
                static_cast<float>(rz / length)}};
}

// The candidates are taken nearest first, so that the usual case, a vertex in sight under
// the pointer, costs one pass over the triangles.
std::optional<std::size_t> NearestSeenVertex(const SceneMesh& mesh, const Matrix4& transform,
                                             int width, int height, float x, float y,
                                             float radius) {
    if (!(radius >= 0))
        return std::nullopt;
    const std::vector<ScreenPoint> points = ProjectVertices(mesh.Vertices, transform, width, height);
    const std::vector<bool> drawn = DrawnVertices(mesh);
    const double limit = static_cast<double>(radius) * radius;
    std::vector<std::pair<double, std::size_t>> near;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!drawn[i] || !points[i].visible)
            continue;
        const double across = static_cast<double>(points[i].x) - x;
        const double down = static_cast<double>(points[i].y) - y;
        const double squared = across * across + down * down;
        if (squared <= limit)
            near.emplace_back(squared, i);
    }
    const std::size_t tried = std::min(near.size(), kMostHiddenPassed + 1);
    std::partial_sort(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(tried), near.end());
    const std::vector<Point3> positions = DevicePositions(mesh);
    for (std::size_t k = 0; k < tried; ++k) {
        const std::size_t vertex = near[k].second;
        const std::optional<Ray> ray = PixelRay(transform, width, height, points[vertex].x,
                                                points[vertex].y);
        if (!ray || !BehindAFace(mesh, positions, vertex, ray->origin))
            return vertex;
    }
    return std::nullopt;
}

std::optional<std::size_t> PickTriangle(const SceneMesh& mesh, const Ray& ray) {
    const std::vector<Point3> positions = DevicePositions(mesh);
    std::optional<std::size_t> nearest;
    float nearestDistance = 0;
    ForEachDrawnTriangle(
        mesh, [&](std::size_t number, std::size_t a, std::size_t b, std::size_t c) {
            const std::optional<float> distance = RayTriangleDistance(
                ray.origin, ray.direction, {positions[a], positions[b], positions[c]});
            if (distance && (!nearest || *distance < nearestDistance)) {
                nearest = number;
                nearestDistance = *distance;
            }
        });
    return nearest;
}

// The anchor moved by (mx, my, 0) lands on the target (tx, ty) in normalised coordinates when
// clip.x - tx·clip.w = 0 and clip.y - ty·clip.w = 0. Both are linear in mx and my, because
// the clip coordinates are the anchor's plus mx times the matrix's X row plus my times its Y
// row. With the target at the anchor itself the system is the screen's change per unit of X
// and of Y there, times w: singular exactly when the plane holds the eye, and then no target
// off the plane's one line on screen can be reached. Solved by Cramer's rule.
std::optional<std::pair<double, double>> PanStep(const Matrix4& viewProjection,
                                                 const Point3& anchor, int width, int height,
                                                 float dx, float dy) {
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const Matrix4& m = viewProjection;
    const Vector4 clip = Transform(anchor.x, anchor.y, anchor.z, m);
    if (!(clip.w > 0))
        return std::nullopt;
    struct System {
        double a11, a12, a21, a22;
        double Determinant() const { return a11 * a22 - a12 * a21; }
    };
    const auto systemAt = [&](double tx, double ty) {
        return System{m[0] - tx * m[3], m[4] - tx * m[7], m[1] - ty * m[3], m[5] - ty * m[7]};
    };
    const System atAnchor = systemAt(clip.x / clip.w, clip.y / clip.w);
    const double scale =
        std::max(std::hypot(atAnchor.a11, atAnchor.a12), std::hypot(atAnchor.a21, atAnchor.a22));
    if (!(std::fabs(atAnchor.Determinant()) > kSingularPan * scale * scale))
        return std::nullopt;
    const double tx = clip.x / clip.w + 2.0 * dx / width;
    const double ty = clip.y / clip.w - 2.0 * dy / height;
    const System s = systemAt(tx, ty);
    const double b1 = tx * clip.w - clip.x;
    const double b2 = ty * clip.w - clip.y;
    const double determinant = s.Determinant();
    const double mx = (b1 * s.a22 - s.a12 * b2) / determinant;
    const double my = (s.a11 * b2 - s.a21 * b1) / determinant;
    // A target past the horizon meets the plane behind the eye, or not at all.
    const double w = clip.w + mx * m[3] + my * m[7];
    if (!(w > 0) || !std::isfinite(mx) || !std::isfinite(my))
        return std::nullopt;
    return std::make_pair(mx, my);
}

} // namespace KelUtility
