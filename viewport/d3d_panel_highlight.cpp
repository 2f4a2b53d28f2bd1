// The selection drawn over the preview's frame: after the picture a file may take of the
// frame, so that an exported picture never shows it, and with the depth test off, so that
// nothing hides it.

#include "viewport/d3d_panel.h"

#include "viewport/device_formats.h"
#include "viewport/mesh_geometry.h"

#include <array>

namespace KelUtility {
namespace {

constexpr DWORD kScreenFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
constexpr D3DCOLOR kMarkerEdge = 0xFF000000;
constexpr D3DCOLOR kMarkerFill = 0xFFFFFF00;
constexpr float kMarkerEdgeHalf = 5.0f;
constexpr float kMarkerFillHalf = 3.0f;

struct ScreenVertex {
    float x;
    float y;
    float z;
    float rhw;
    D3DCOLOR colour;
};

struct LineVertex {
    float x;
    float y;
    float z;
    D3DCOLOR colour;
};

std::array<ScreenVertex, 4> Square(const D3DXVECTOR3& centre, float half, D3DCOLOR colour) {
    const auto corner = [&](float dx, float dy) {
        return ScreenVertex{centre.x + dx, centre.y + dy, 0.0f, 1.0f, colour};
    };
    return {corner(-half, -half), corner(half, -half), corner(-half, half), corner(half, half)};
}

} // namespace

void D3DPanel::DrawHighlight() {
    if (meshes.empty() || !meshes.front().Visible ||
        (HighlightedVertex < 0 && HighlightedTriangle < 0))
        return;
    const SceneMesh& mesh = meshes.front();
    device->BeginScene();
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    const D3DXMATRIX placed = PlacedMatrix(mesh);
    device->SetTransform(D3DTS_WORLD, &placed);
    ApplyViewProjection();
    if (HighlightedTriangle >= 0)
        DrawOutline(mesh, static_cast<std::size_t>(HighlightedTriangle));
    if (HighlightedVertex >= 0 &&
        static_cast<std::size_t>(HighlightedVertex) < mesh.Vertices.size()) {
        const MyApp::MeshVertex& vertex =
            mesh.Vertices[static_cast<std::size_t>(HighlightedVertex)];
        DrawMarker(D3DXVECTOR3(static_cast<float>(vertex.X), static_cast<float>(vertex.Y),
                               static_cast<float>(vertex.Z)),
                   placed);
    }
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->EndScene();
}

// A yellow square in a black frame shows against any background and any mesh.
void D3DPanel::DrawMarker(const D3DXVECTOR3& place, const D3DXMATRIX& world) {
    D3DVIEWPORT9 viewport = {};
    device->GetViewport(&viewport);
    const D3DXMATRIX view = ViewMatrix();
    const D3DXMATRIX projection = ProjectionMatrix();
    D3DXVECTOR3 screen;
    D3DXVec3Project(&screen, &place, &viewport, &projection, &view, &world);
    if (screen.z < 0.0f || screen.z > 1.0f)
        return;
    device->SetFVF(kScreenFormat);
    for (const auto& [half, colour] :
         {std::pair{kMarkerEdgeHalf, kMarkerEdge}, std::pair{kMarkerFillHalf, kMarkerFill}}) {
        const std::array<ScreenVertex, 4> square = Square(screen, half, colour);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, square.data(), sizeof(ScreenVertex));
    }
}

// The triangle's three sides in the mesh's own place; a triangle past the drawn ones, or
// with a corner past the vertex list, is not outlined.
void D3DPanel::DrawOutline(const SceneMesh& mesh, std::size_t triangle) {
    const std::optional<MeshShape> shape = ShapeOf(mesh);
    if (!shape || triangle >= WholeFaces(mesh, *shape))
        return;
    std::array<LineVertex, 4> corners = {};
    for (std::size_t corner = 0; corner < 3; ++corner) {
        const std::size_t place = 3 * triangle + corner;
        const std::size_t vertex = mesh.Indices.empty() ? place : mesh.Indices[place];
        if (vertex >= mesh.Vertices.size())
            return;
        const MyApp::MeshVertex& at = mesh.Vertices[vertex];
        corners[corner] = LineVertex{static_cast<float>(at.X), static_cast<float>(at.Y),
                                     static_cast<float>(at.Z), kMarkerFill};
    }
    corners[3] = corners[0];
    device->SetFVF(kColouredFormat);
    device->DrawPrimitiveUP(D3DPT_LINESTRIP, 3, corners.data(), sizeof(LineVertex));
}

} // namespace KelUtility
