#include "viewport/depth_range.h"

#include <algorithm>
#include <cmath>

namespace KelUtility {
namespace {

constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 500.0f;
// Room around the mesh, the widest far-to-near ratio a 24-bit depth buffer still tells
// apart, and a far plane for a mesh that is no more than a point at the eye.
constexpr double kMargin = 1.05;
constexpr double kDeepestRatio = 100000.0;
constexpr double kNearestFarPlane = 1e-3;

} // namespace

// One pass over the vertices, at every frame: the sphere around their box, which holds them
// all and is at most a little wider than the smallest one.
std::optional<MeshSphere> SphereAround(const SceneMesh& mesh) {
    if (mesh.Vertices.empty())
        return std::nullopt;
    const MyApp::MeshVertex& first = mesh.Vertices.front();
    double low[3] = {first.X, first.Y, first.Z};
    double high[3] = {first.X, first.Y, first.Z};
    for (const MyApp::MeshVertex& vertex : mesh.Vertices) {
        const double at[3] = {vertex.X, vertex.Y, vertex.Z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], at[axis]);
            high[axis] = std::max(high[axis], at[axis]);
        }
    }
    MeshSphere sphere;
    sphere.x = (low[0] + high[0]) / 2;
    sphere.y = (low[1] + high[1]) / 2;
    sphere.z = (low[2] + high[2]) / 2;
    sphere.radius = std::hypot(high[0] - low[0], high[1] - low[1], high[2] - low[2]) / 2;
    return sphere;
}

DepthRange DepthRangeFor(double nearest, double farthest) {
    if (nearest >= kNearPlane && farthest <= kFarPlane)
        return {kNearPlane, kFarPlane};
    const double farPlane = std::max(farthest * kMargin, kNearestFarPlane);
    const double nearPlane = std::min<double>(
        kNearPlane, std::max(nearest / kMargin, farPlane / kDeepestRatio));
    return {static_cast<float>(nearPlane), static_cast<float>(farPlane)};
}

} // namespace KelUtility
