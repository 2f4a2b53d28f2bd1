// Pointing at the preview's mesh: the portable mathematics of mesh_picking, given the
// transforms the frame draws with.

#include "viewport/d3d_panel.h"

#include "viewport/mesh_picking.h"

#include <cstring>

namespace KelUtility {
namespace {

Matrix4 ToMatrix4(const D3DXMATRIX& matrix) {
    Matrix4 copy;
    static_assert(sizeof copy == sizeof matrix, "sixteen floats, row by row");
    std::memcpy(copy.data(), &matrix, sizeof copy);
    return copy;
}

// The middle of the mesh's box, placed as the frame places it.
Point3 PlacedCentre(const SceneMesh& mesh, const D3DXMATRIX& world) {
    D3DXVECTOR3 low(0, 0, 0);
    D3DXVECTOR3 high(0, 0, 0);
    for (std::size_t i = 0; i < mesh.Vertices.size(); ++i) {
        const D3DXVECTOR3 at(static_cast<float>(mesh.Vertices[i].X),
                             static_cast<float>(mesh.Vertices[i].Y),
                             static_cast<float>(mesh.Vertices[i].Z));
        if (i == 0)
            low = high = at;
        D3DXVec3Minimize(&low, &low, &at);
        D3DXVec3Maximize(&high, &high, &at);
    }
    D3DXVECTOR3 centre = (low + high) * 0.5f;
    D3DXVec3TransformCoord(&centre, &centre, &world);
    return Point3{centre.x, centre.y, centre.z};
}

} // namespace

std::optional<std::size_t> D3DPanel::VertexAt(int x, int y, float radius) {
    if (meshes.empty())
        return std::nullopt;
    const SceneMesh& mesh = meshes.front();
    const Matrix4 transform = ToMatrix4(PlacedMatrix(mesh) * ViewMatrix() * ProjectionMatrix());
    return NearestSeenVertex(mesh, transform, width, height, static_cast<float>(x),
                             static_cast<float>(y), radius);
}

std::optional<std::size_t> D3DPanel::TriangleAt(int x, int y) {
    if (meshes.empty())
        return std::nullopt;
    const Matrix4 transform =
        ToMatrix4(PlacedMatrix(meshes.front()) * ViewMatrix() * ProjectionMatrix());
    const std::optional<Ray> ray =
        PixelRay(transform, width, height, static_cast<float>(x), static_cast<float>(y));
    return ray ? PickTriangle(meshes.front(), *ray) : std::nullopt;
}

std::optional<std::pair<double, double>> D3DPanel::PanFor(int dx, int dy) {
    if (meshes.empty())
        return std::nullopt;
    const Point3 anchor = PlacedCentre(meshes.front(), PlacedMatrix(meshes.front()));
    return PanStep(ToMatrix4(ViewMatrix() * ProjectionMatrix()), anchor, width, height,
                   static_cast<float>(dx), static_cast<float>(dy));
}

} // namespace KelUtility
