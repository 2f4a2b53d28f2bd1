// The looks a mesh can have beyond its plain colours: shaded by a light from the eye, and
// with its triangles' edges drawn in it. Both are built from the plain mesh when its geometry
// changes, never per frame; with neither, the frame is the plain one.

#include "viewport/d3d_panel.h"

#include "viewport/device_formats.h"
#include "viewport/mesh_edges.h"
#include "viewport/mesh_shading.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

using Microsoft::WRL::ComPtr;

namespace KelUtility {
namespace {

constexpr DWORD kShadedFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
// How much of a colour the ambient part shows, and how much more the light from the eye
// adds to a face turned full towards it.
constexpr float kAmbient = 0.35f;
constexpr float kDiffuse = 0.65f;

// The light at a vertex, in r1.y: ambient plus diffuse light from the eye, which in view
// space lies along -Z, so |n.z| lights both faces of a triangle alike. c4-c6 hold the
// world-view's columns, c7 the two parts.
const std::string kLightFromEye = "m3x3 r0.xyz, v1, c4\n"
                                  "dp3 r1.x, r0, r0\n"
                                  "rsq r1.x, r1.x\n"
                                  "mul r0.z, r0.z, r1.x\n"
                                  "abs r1.y, r0.z\n"
                                  "mad r1.y, r1.y, c7.y, c7.x\n";

// The vertex colour (and texture) times the light; c0-c3 hold the transposed
// world-view-projection.
const std::string kShadingShader = "vs_2_0\n"
                                   "dcl_position v0\n"
                                   "dcl_normal v1\n"
                                   "dcl_color v2\n"
                                   "dcl_texcoord v3\n"
                                   "m4x4 oPos, v0, c0\n" +
                                   kLightFromEye +
                                   "mul oD0.xyz, v2, r1.y\n"
                                   "mov oD0.w, v2.w\n"
                                   "mov oT0, v3\n";

constexpr DWORD kEdgedFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2;
// How far from a triangle's edge, in pixels, the edge colour fades out: an edge that two
// triangles share is twice as wide.
constexpr float kEdgeReach = 0.8f;
// Every device draws this many triangles at once.
constexpr UINT kTrianglesADraw = 0xFFFF;

// The shading vertex shader again, passing on each corner's place in its triangle (the
// plain look is ambient 1 and diffuse 0).
const std::string kEdgedVertexShader = "vs_3_0\n"
                                       "dcl_position v0\n"
                                       "dcl_normal v1\n"
                                       "dcl_color v2\n"
                                       "dcl_texcoord0 v3\n"
                                       "dcl_texcoord1 v4\n"
                                       "dcl_position o0\n"
                                       "dcl_color o1\n"
                                       "dcl_texcoord0 o2.xy\n"
                                       "dcl_texcoord1 o3.xy\n"
                                       "m4x4 o0, v0, c0\n" +
                                       kLightFromEye +
                                       "mul o1.xyz, v2, r1.y\n"
                                       "mov o1.w, v2.w\n"
                                       "mov o2.xy, v3\n"
                                       "mov o3.xy, v4\n";

// The colour (times the texture when c1.x is 1), turned to the edge colour c0 near the
// triangle's edges: each of the three weights divided by how fast it changes across the
// screen is the distance to its edge in pixels, and c1.y is 1 over the reach.
const char kEdgedPixelShader[] = "ps_3_0\n"
                                 "def c2, 1, 0, 0.000001, 0\n"
                                 "dcl_color v0\n"
                                 "dcl_texcoord0 v1.xy\n"
                                 "dcl_texcoord1 v2.xy\n"
                                 "dcl_2d s0\n"
                                 "texld r0, v1, s0\n"
                                 "lrp r0, c1.x, r0, c2.x\n"
                                 "mul r0, r0, v0\n"
                                 "mov r1.xy, v2\n"
                                 "add r1.z, c2.x, -v2.x\n"
                                 "add r1.z, r1.z, -v2.y\n"
                                 "dsx r2.xyz, r1\n"
                                 "dsy r3.xyz, r1\n"
                                 "abs r2.xyz, r2\n"
                                 "abs r3.xyz, r3\n"
                                 "add r2.xyz, r2, r3\n"
                                 "add r2.xyz, r2, c2.z\n"
                                 "rcp r4.x, r2.x\n"
                                 "rcp r4.y, r2.y\n"
                                 "rcp r4.z, r2.z\n"
                                 "mul r1.xyz, r1, r4\n"
                                 "min r1.x, r1.x, r1.y\n"
                                 "min r1.x, r1.x, r1.z\n"
                                 "mad_sat r1.x, r1.x, -c1.y, c2.x\n"
                                 "lrp r0.xyz, r1.x, c0, r0\n"
                                 "mov oC0, r0\n";

// The code of an assembly text, or none.
ComPtr<ID3DXBuffer> Assembled(std::string_view text) {
    ComPtr<ID3DXBuffer> code;
    if (FAILED(D3DXAssembleShader(text.data(), static_cast<UINT>(text.size()), nullptr, nullptr, 0, &code,
                                  nullptr)))
        return nullptr;
    return code;
}

DWORD* CodeOf(ID3DXBuffer& code) { return static_cast<DWORD*>(code.GetBufferPointer()); }

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

// Makes a look's geometry; false when it cannot be had (memory runs out on a large mesh).
// The mesh is then drawn plain, and the look is tried again when the mesh changes: an
// exception let out here would leave the frame half drawn and every later one undrawn.
template <typename Make>
bool LookGeometry(const Make& make) {
    try {
        make();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

ComPtr<ID3DXMesh> D3DPanel::BuildShadedMesh(ID3DXMesh& plain) {
    std::vector<DeviceVertex> vertices;
    std::vector<std::uint16_t> indices;
    if (!ReadMesh(plain, vertices, indices))
        return nullptr;
    ShadedGeometry shaded;
    if (!LookGeometry([&] { shaded = ShadeTriangles(vertices.data(), vertices.size(), indices.data(), indices.size()); }))
        return nullptr;
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

bool D3DPanel::BuildEdged(ID3DXMesh& plain, BuiltMesh& built) {
    std::vector<DeviceVertex> vertices;
    std::vector<std::uint16_t> indices;
    if (!ReadMesh(plain, vertices, indices))
        return false;
    EdgedGeometry edged;
    if (!LookGeometry([&] {
            edged = EdgedTriangles(ShadeTriangles(vertices.data(), vertices.size(), indices.data(), indices.size()));
        }))
        return false;
    const bool wide = edged.vertices.size() > 0xFFFF;
    void* data = nullptr;
    if (edged.indices.empty() ||
        FAILED(device->CreateVertexBuffer(static_cast<UINT>(edged.vertices.size() * sizeof(EdgedVertex)),
                                          D3DUSAGE_WRITEONLY, kEdgedFormat, D3DPOOL_MANAGED,
                                          &built.edgedVertices, nullptr)) ||
        FAILED(built.edgedVertices->Lock(0, 0, &data, 0)))
        return false;
    std::memcpy(data, edged.vertices.data(), edged.vertices.size() * sizeof(EdgedVertex));
    built.edgedVertices->Unlock();
    if (FAILED(device->CreateIndexBuffer(static_cast<UINT>(edged.indices.size() * (wide ? 4 : 2)),
                                         D3DUSAGE_WRITEONLY, wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                         D3DPOOL_MANAGED, &built.edgedIndices, nullptr)) ||
        FAILED(built.edgedIndices->Lock(0, 0, &data, 0))) {
        built.edgedIndices.Reset();
        return false;
    }
    if (wide) {
        std::memcpy(data, edged.indices.data(), edged.indices.size() * 4);
    } else {
        auto* narrow = static_cast<std::uint16_t*>(data);
        for (std::uint32_t index : edged.indices)
            *narrow++ = static_cast<std::uint16_t>(index);
    }
    built.edgedIndices->Unlock();
    built.edgedVertexCount = static_cast<UINT>(edged.vertices.size());
    built.edgedTriangles = static_cast<UINT>(edged.indices.size() / 3);
    built.edgeColourOf = AverageColour(vertices);
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
        const ComPtr<ID3DXBuffer> code = Assembled(kShadingShader);
        if (!code || FAILED(device->CreateVertexShader(CodeOf(*code.Get()), &m_shadingShader)))
            return false;
        m_shadingFailed = false;
    }
    SetLightConstants(world, kAmbient, kDiffuse);
    device->SetVertexShader(m_shadingShader.Get());
    device->SetFVF(kShadedFormat);
    return true;
}

// c0-c3 the transposed world-view-projection, c4-c6 the world-view's columns, c7 the
// ambient and diffuse parts of the light.
void D3DPanel::SetLightConstants(const D3DXMATRIX& world, float ambient, float diffuse) {
    D3DXMATRIX view;
    D3DXMATRIX projection;
    device->GetTransform(D3DTS_VIEW, &view);
    device->GetTransform(D3DTS_PROJECTION, &projection);
    const D3DXMATRIX worldView = world * view;
    D3DXMATRIX whole = worldView * projection;
    D3DXMATRIX columns;
    D3DXMatrixTranspose(&whole, &whole);
    D3DXMatrixTranspose(&columns, &worldView);
    const float parts[4] = {ambient, diffuse, 0, 0};
    device->SetVertexShaderConstantF(0, whole, 4);
    device->SetVertexShaderConstantF(4, columns, 3);
    device->SetVertexShaderConstantF(7, parts, 1);
}

// A device without the shaders the edges need draws none, for its life.
bool D3DPanel::PrepareEdgedShaders() {
    if (m_edgedPixelShader)
        return true;
    if (m_edgedFailed)
        return false;
    m_edgedFailed = true;
    const ComPtr<ID3DXBuffer> vertexCode = Assembled(kEdgedVertexShader);
    const ComPtr<ID3DXBuffer> pixelCode = Assembled(kEdgedPixelShader);
    if (!vertexCode || !pixelCode ||
        FAILED(device->CreateVertexShader(CodeOf(*vertexCode.Get()), &m_edgedVertexShader)) ||
        FAILED(device->CreatePixelShader(CodeOf(*pixelCode.Get()), &m_edgedPixelShader))) {
        m_edgedVertexShader.Reset();
        m_edgedPixelShader.Reset();
        return false;
    }
    m_edgedFailed = false;
    return true;
}

// Draws the mesh at `position` with its edges, in the look in force; false when they
// cannot be drawn. A mesh whose edged triangles could not be made is not tried again until
// its geometry changes.
bool D3DPanel::DrawEdged(std::size_t position, const D3DXMATRIX& world, IDirect3DTexture9* texture) {
    BuiltMesh& built = m_builtMeshes[position];
    if (!built.edgedTried) {
        built.edgedTried = true;
        if (built.mesh)
            BuildEdged(*built.mesh.Get(), built);
    }
    if (!built.edgedIndices || !PrepareEdgedShaders())
        return false;
    SetLightConstants(world, Shaded ? kAmbient : 1, Shaded ? kDiffuse : 0);
    const D3DXCOLOR edge(EdgeColour(ClearColor(), built.edgeColourOf));
    const float look[4] = {texture != nullptr ? 1.f : 0.f, 1 / kEdgeReach, 0, 0};
    device->SetPixelShaderConstantF(0, edge, 1);
    device->SetPixelShaderConstantF(1, look, 1);
    UseTexture(texture);
    device->SetVertexShader(m_edgedVertexShader.Get());
    device->SetPixelShader(m_edgedPixelShader.Get());
    device->SetFVF(kEdgedFormat);
    device->SetStreamSource(0, built.edgedVertices.Get(), 0, sizeof(EdgedVertex));
    device->SetIndices(built.edgedIndices.Get());
    for (UINT first = 0; first < built.edgedTriangles; first += kTrianglesADraw)
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, built.edgedVertexCount, 3 * first,
                                     std::min(kTrianglesADraw, built.edgedTriangles - first));
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    return true;
}

} // namespace KelUtility
