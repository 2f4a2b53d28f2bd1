// The looks a mesh can have beyond its plain colours: shaded by a light from the eye, and
// with its edges drawn over it. Both are built from the plain mesh when its geometry
// changes, never per frame; with neither, the frame is the plain one.

#include "viewport/d3d_panel.h"

#include "viewport/device_formats.h"
#include "viewport/mesh_edges.h"
#include "viewport/mesh_shading.h"

#include <algorithm>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace KelUtility {
namespace {

constexpr DWORD kShadedFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
// How much of a colour the ambient part shows, and how much more the light from the eye
// adds to a face turned full towards it.
constexpr float kAmbient = 0.35f;
constexpr float kDiffuse = 0.65f;

// The vertex colour (and texture) times ambient plus diffuse light from the eye, which in
// view space lies along -Z: |n.z| lights both faces of a triangle alike. c0-c3 hold the
// transposed world-view-projection, c4-c6 the world-view's columns, c7 the two parts.
const char kShadingShader[] = "vs_2_0\n"
                              "dcl_position v0\n"
                              "dcl_normal v1\n"
                              "dcl_color v2\n"
                              "dcl_texcoord v3\n"
                              "m4x4 oPos, v0, c0\n"
                              "m3x3 r0.xyz, v1, c4\n"
                              "dp3 r1.x, r0, r0\n"
                              "rsq r1.x, r1.x\n"
                              "mul r0.z, r0.z, r1.x\n"
                              "abs r1.y, r0.z\n"
                              "mad r1.y, r1.y, c7.y, c7.x\n"
                              "mul oD0.xyz, v2, r1.y\n"
                              "mov oD0.w, v2.w\n"
                              "mov oT0, v3\n";

// The plain mesh's vertices and indices, as it was filled.
bool ReadMesh(ID3DXMesh& mesh, std::vector<DeviceVertex>& vertices,
              std::vector<std::uint16_t>& indices) {
    void* data = nullptr;
    if (FAILED(mesh.LockVertexBuffer(D3DLOCK_READONLY, &data)))
        return false;
    const auto* first = static_cast<const DeviceVertex*>(data);
    vertices.assign(first, first + mesh.GetNumVertices());
    mesh.UnlockVertexBuffer();
    if (FAILED(mesh.LockIndexBuffer(D3DLOCK_READONLY, &data)))
        return false;
    const auto* index = static_cast<const std::uint16_t*>(data);
    indices.assign(index, index + 3 * std::size_t{mesh.GetNumFaces()});
    mesh.UnlockIndexBuffer();
    return true;
}

// A colour that stands out from both the background and the mesh's average colour: of a
// few plain ones, the one farthest from the nearer of the two.
D3DCOLOR EdgeColour(D3DCOLOR background, D3DCOLOR mesh) {
    const D3DCOLOR candidates[] = {0xFF000000, 0xFFFFFFFF, 0xFFFF8000, 0xFF0060FF, 0xFF00C000};
    const auto distance = [](D3DCOLOR a, D3DCOLOR b) {
        int sum = 0;
        for (int shift : {0, 8, 16}) {
            const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    return *std::max_element(std::begin(candidates), std::end(candidates), [&](D3DCOLOR a, D3DCOLOR b) {
        return std::min(distance(a, background), distance(a, mesh)) <
               std::min(distance(b, background), distance(b, mesh));
    });
}

D3DCOLOR AverageColour(const std::vector<DeviceVertex>& vertices) {
    std::uint64_t sum[3] = {};
    for (const DeviceVertex& v : vertices)
        for (int k = 0; k < 3; ++k)
            sum[k] += (v.color >> (8 * k)) & 0xFF;
    const std::uint64_t count = std::max<std::size_t>(vertices.size(), 1);
    return 0xFF000000u | static_cast<D3DCOLOR>(sum[2] / count) << 16 |
           static_cast<D3DCOLOR>(sum[1] / count) << 8 | static_cast<D3DCOLOR>(sum[0] / count);
}

} // namespace

ComPtr<ID3DXMesh> D3DPanel::BuildShadedMesh(ID3DXMesh& plain) {
    std::vector<DeviceVertex> vertices;
    std::vector<std::uint16_t> indices;
    if (!ReadMesh(plain, vertices, indices))
        return nullptr;
    const ShadedGeometry shaded = ShadeTriangles(vertices.data(), vertices.size(), indices.data(), indices.size());
    const bool wide = shaded.vertices.size() > 0xFFFF;
    ComPtr<ID3DXMesh> mesh;
    if (shaded.indices.empty() ||
        FAILED(D3DXCreateMeshFVF(static_cast<DWORD>(shaded.indices.size() / 3),
                                 static_cast<DWORD>(shaded.vertices.size()),
                                 D3DXMESH_SYSTEMMEM | (wide ? D3DXMESH_32BIT : 0), kShadedFormat,
                                 device.Get(), &mesh)))
        return nullptr;
    void* data = nullptr;
    if (FAILED(mesh->LockVertexBuffer(0, &data)))
        return nullptr;
    std::memcpy(data, shaded.vertices.data(), shaded.vertices.size() * sizeof(ShadedVertex));
    mesh->UnlockVertexBuffer();
    if (FAILED(mesh->LockIndexBuffer(0, &data)))
        return nullptr;
    if (wide) {
        std::memcpy(data, shaded.indices.data(), shaded.indices.size() * 4);
    } else {
        auto* narrow = static_cast<std::uint16_t*>(data);
        for (std::uint32_t index : shaded.indices)
            *narrow++ = static_cast<std::uint16_t>(index);
    }
    mesh->UnlockIndexBuffer();
    return mesh;
}

bool D3DPanel::BuildEdges(ID3DXMesh& plain, BuiltMesh& built) {
    std::vector<DeviceVertex> vertices;
    std::vector<std::uint16_t> indices;
    if (!ReadMesh(plain, vertices, indices))
        return false;
    const std::vector<std::uint16_t> edges = EdgeList(vertices.data(), vertices.size(), indices.data(), indices.size());
    built.edgeCount = static_cast<UINT>(edges.size() / 2);
    built.edgeColourOf = AverageColour(vertices);
    void* data = nullptr;
    if (edges.empty() ||
        FAILED(device->CreateIndexBuffer(static_cast<UINT>(edges.size() * 2), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                         D3DPOOL_MANAGED, &built.edges, nullptr)) ||
        FAILED(built.edges->Lock(0, 0, &data, 0)))
        return false;
    std::memcpy(data, edges.data(), edges.size() * 2);
    built.edges->Unlock();
    // The lines keep their own copy of the vertices on the device: the plain mesh's lives
    // in system memory, which would cross to the device at every frame.
    const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(DeviceVertex));
    if (FAILED(device->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, kTexturedFormat, D3DPOOL_MANAGED,
                                          &built.edgeVertices, nullptr)) ||
        FAILED(built.edgeVertices->Lock(0, 0, &data, 0))) {
        built.edges.Reset();
        return false;
    }
    std::memcpy(data, vertices.data(), bytes);
    built.edgeVertices->Unlock();
    built.edgeVertexCount = static_cast<UINT>(vertices.size());
    return true;
}

ID3DXMesh* D3DPanel::ShadedMeshFor(std::size_t position) {
    BuiltMesh& built = m_builtMeshes[position];
    if (!built.shadedTried && built.mesh)
        built.shaded = BuildShadedMesh(*built.mesh.Get());
    built.shadedTried = true;
    return built.shaded.Get();
}

// A shader that does not assemble leaves the plain look for the device's life.
bool D3DPanel::PrepareShading(const D3DXMATRIX& world) {
    if (!m_shadingShader) {
        if (m_shadingFailed)
            return false;
        m_shadingFailed = true;
        ComPtr<ID3DXBuffer> code;
        if (FAILED(D3DXAssembleShader(kShadingShader, sizeof kShadingShader - 1, nullptr, nullptr, 0,
                                      &code, nullptr)) ||
            FAILED(device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                              &m_shadingShader)))
            return false;
        m_shadingFailed = false;
    }
    D3DXMATRIX view;
    D3DXMATRIX projection;
    device->GetTransform(D3DTS_VIEW, &view);
    device->GetTransform(D3DTS_PROJECTION, &projection);
    const D3DXMATRIX worldView = world * view;
    D3DXMATRIX whole = worldView * projection;
    D3DXMATRIX columns;
    D3DXMatrixTranspose(&whole, &whole);
    D3DXMatrixTranspose(&columns, &worldView);
    const float parts[4] = {kAmbient, kDiffuse, 0, 0};
    device->SetVertexShaderConstantF(0, whole, 4);
    device->SetVertexShaderConstantF(4, columns, 3);
    device->SetVertexShaderConstantF(7, parts, 1);
    device->SetVertexShader(m_shadingShader.Get());
    device->SetFVF(kShadedFormat);
    return true;
}

// While the edges show, the surface under them is pushed a little away from the eye, so
// that it never hides its own edges while what lies in front still does. The push goes on
// the triangles, not the lines: OpenGL, which Direct3D runs on under Wine, offsets only
// filled polygons.
void D3DPanel::PushSurfaceBack(bool back) {
    const float bias = back ? 0.00002f : 0.0f;
    const float slope = back ? 1.0f : 0.0f;
    DWORD biasBits = 0;
    DWORD slopeBits = 0;
    std::memcpy(&biasBits, &bias, 4);
    std::memcpy(&slopeBits, &slope, 4);
    device->SetRenderState(D3DRS_DEPTHBIAS, biasBits);
    device->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, slopeBits);
}

// A mesh whose edges could not be made is not tried again until its geometry changes.
void D3DPanel::DrawEdges(std::size_t position) {
    BuiltMesh& built = m_builtMeshes[position];
    if (!built.edgesTried) {
        built.edgesTried = true;
        if (built.mesh)
            BuildEdges(*built.mesh.Get(), built);
    }
    if (!built.edges || !built.edgeVertices)
        return;
    device->SetRenderState(D3DRS_TEXTUREFACTOR, EdgeColour(ClearColor(), built.edgeColourOf));
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device->SetFVF(kTexturedFormat);
    device->SetStreamSource(0, built.edgeVertices.Get(), 0, sizeof(DeviceVertex));
    device->SetIndices(built.edges.Get());
    device->DrawIndexedPrimitive(D3DPT_LINELIST, 0, 0, built.edgeVertexCount, 0, built.edgeCount);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
}

} // namespace KelUtility
