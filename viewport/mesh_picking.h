#pragma once

// The mathematics of pointing at the preview: where the vertices of a mesh fall on the
// panel, which of them is nearest the pointer, which triangle lies under it, and how far to
// move the mesh so that it follows a drag. Matrices are Direct3D's, for row vectors.

#include "viewport/scene_records.h"
#include "viewport/scene_rules.h"

#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace KelUtility {

// A 4x4 matrix as Direct3D keeps it, row by row (_11, _12, ... _44), for row vectors: a point
// p becomes p·M. A D3DXMATRIX copies into it byte for byte.
using Matrix4 = std::array<float, 16>;

// a·b: first a, then b, as D3DXMatrixMultiply.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);

// A place on a panel width × height pixels: x to the right and y down from the top left
// corner, with pixel centres on whole numbers as Direct3D 9 draws them, so a mouse position
// in client coordinates compares as it is.
struct ScreenPoint {
    float x;
    float y;
    bool visible;
};

// Each vertex through `transform` (world·view·projection) onto the panel, its position
// narrowed to float as the preview draws it. A vertex behind the eye or outside the depth
// range (w <= 0, or z/w outside 0..1), or on a panel without size, is not visible, and then
// its x and y mean nothing.
std::vector<ScreenPoint> ProjectVertices(const std::vector<MyApp::MeshVertex>& vertices,
                                         const Matrix4& transform, int width, int height);

// One flag per vertex of the record: whether a triangle the preview draws uses it. Those are
// the first whole triangles of the face count (its indices three by three, or without indices
// its vertices three by three) whose corners all lie in the vertex list; a hidden record, or
// one that builds no mesh, draws none.
std::vector<bool> DrawnVertices(const SceneMesh& mesh);

// The number of the drawn, visible point nearest (x, y) and at most `radius` pixels from it;
// of two equally near, the lower number. None when no such point is that close.
std::optional<std::size_t> NearestVertex(const std::vector<ScreenPoint>& points,
                                         const std::vector<bool>& drawn, float x, float y,
                                         float radius);

// A ray in the space a transform starts from: a point and a unit direction.
struct Ray {
    Point3 origin;
    Point3 direction;
};

// The number of the vertex nearest (x, y), at most `radius` pixels from it, that the user
// sees through `transform` (world·view·projection) on a panel width × height: drawn, visible
// (as NearestVertex takes them) and hidden by no drawn triangle nearer the eye along the
// line from its pixel on the near plane to it. A triangle that uses the vertex, or that
// line meets within a ten-thousandth of the vertex's distance (a corner at the same place),
// does not hide it. Of two equally near, the lower number. The nearest
// kMostHiddenPassed hidden vertices are passed over, no more, so that a pointer over a
// large face of a large mesh costs a bounded time; past them the answer is none.
constexpr std::size_t kMostHiddenPassed = 32;
std::optional<std::size_t> NearestSeenVertex(const SceneMesh& mesh, const Matrix4& transform,
                                             int width, int height, float x, float y,
                                             float radius);

// The ray through the pixel (x, y) in the space `transform` starts from (the mesh's own, for
// world·view·projection): its point lies on the near plane and it points away from the eye.
// None when the matrix cannot be inverted or the panel has no size.
std::optional<Ray> PixelRay(const Matrix4& transform, int width, int height, float x, float y);

// The nearest drawn triangle the ray meets, from either side, by its number: its corners
// start at 3 × number in the record's index list, or in its vertex list without indices. Of
// two at the same distance, the lower number. None when it meets none, or the record draws
// nothing.
std::optional<std::size_t> PickTriangle(const SceneMesh& mesh, const Ray& ray);

// How far to move the mesh along world X and Y (to add to MoveX and MoveY) so that the world
// point `anchor` moves by (dx, dy) pixels on screen (dy down) through `viewProjection`
// (view·projection, no world). Exact, not a step along the slope: the anchor lands where the
// ray through the target pixel meets the plane through it parallel to X and Y. None when
// that plane holds the eye (looking along X or Y at the anchor), the anchor is behind the
// eye, the target lies past the plane's horizon, or the panel has no size.
std::optional<std::pair<double, double>> PanStep(const Matrix4& viewProjection,
                                                 const Point3& anchor, int width, int height,
                                                 float dx, float dy);

} // namespace KelUtility
