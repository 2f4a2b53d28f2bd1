#include "viewport/depth_range.h"

#include <algorithm>
#include <cmath>

namespace KelUtility {
namespace {

constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 500.0f;
// Room around the mesh, and the widest far-to-near ratio a depth buffer still tells apart.
constexpr double kMargin = 1.05;
constexpr double kDeepestRatio = 100000.0;

} // namespace

double MeshReach(const std::vector<SceneMesh>& meshes, double moveX, double moveY, double moveZ) {
    double reach = 0;
    for (const SceneMesh& mesh : meshes) {
        if (!mesh.Visible)
            continue;
        double farthest = 0; // squared, one root at the end
        for (const MyApp::MeshVertex& vertex : mesh.Vertices)
            farthest = std::max(farthest, vertex.X * vertex.X + vertex.Y * vertex.Y + vertex.Z * vertex.Z);
        reach = std::max(reach, std::sqrt(farthest) + std::hypot(mesh.X, mesh.Y, mesh.Z));
    }
    return reach + std::hypot(moveX, moveY, moveZ);
}

DepthRange DepthRangeFor(double eyeDistance, double reach) {
    const double nearest = eyeDistance - reach;
    const double farthest = eyeDistance + reach;
    if (nearest >= kNearPlane && farthest <= kFarPlane)
        return {kNearPlane, kFarPlane};
    const double farPlane = std::max<double>(kFarPlane, farthest * kMargin);
    const double nearPlane = std::min<double>(
        kNearPlane, std::max(nearest / kMargin, farPlane / kDeepestRatio));
    return {static_cast<float>(nearPlane), static_cast<float>(farPlane)};
}

} // namespace KelUtility
