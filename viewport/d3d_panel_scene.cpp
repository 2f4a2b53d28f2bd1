// The scene primitives besides the indexed meshes: triangles, quads, meshes from .x files,
// sprites, 2D and 3D text, and the free camera's collisions with the first three. Every
// object is made from its record, used and released within the draw of that one record.

#include "viewport/d3d_panel.h"

#include "toolkit/text_conversion.h"
#include "viewport/device_formats.h"
#include "viewport/mesh_geometry.h"
#include "viewport/scene_rules.h"
#include "viewport/world_offset.h"

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace KelUtility {
namespace {

constexpr std::int32_t kSolidTriangle = 0;
constexpr std::int32_t kSolidQuad = 1000;
constexpr std::int32_t kSolidXMesh = 3000;
constexpr D3DCOLOR kOpaqueWhite = 0xFFFFFFFF;
constexpr UINT kStride = sizeof(DeviceVertex);
constexpr float kFullHeight = 44.0f; // a 3D text of this height keeps its mesh's size
constexpr DWORD kTextFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
const WORD kQuadIndices[] = {0, 1, 2, 3, 1, 0};
const WORD kQuadCollisionIndices[] = {0, 1, 2, 3, 0, 1};
const WORD kTriangleIndices[] = {0, 1, 2};
const float kTriangleUV[][2] = {{0, 0}, {0, 1}, {1, 1}};
const float kQuadUV[][2] = {{0, 1}, {1, 0}, {0, 0}, {1, 1}};

D3DXVECTOR3 Vector(const RayDirection& direction) {
    return D3DXVECTOR3(direction.x, direction.y, direction.z);
}

D3DCOLORVALUE Colour(float r, float g, float b) {
    return D3DCOLORVALUE{r, g, b, 1.0f};
}

// Writes a triangle's or a quad's corners into a locked vertex buffer.
void WriteCorners(void* locked, const ScenePoint* corners, int count, std::uint32_t colour,
                  const float (*uv)[2]) {
    auto* vertices = static_cast<DeviceVertex*>(locked);
    for (int i = 0; i < count; ++i) {
        vertices[i] = DeviceVertex{static_cast<float>(corners[i].X),
                                   static_cast<float>(corners[i].Y),
                                   static_cast<float>(corners[i].Z),
                                   ToDeviceColor(colour),
                                   uv[i][0],
                                   uv[i][1]};
    }
}

// The corners of every face of the mesh, three by three; none when it cannot be read.
std::vector<Point3> TrianglesOf(ID3DXMesh& mesh) {
    std::vector<Point3> corners;
    unsigned char* vertices = nullptr;
    void* indices = nullptr;
    if (FAILED(mesh.LockVertexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&vertices))))
        return corners;
    if (SUCCEEDED(mesh.LockIndexBuffer(D3DLOCK_READONLY, &indices))) {
        const bool wide = (mesh.GetOptions() & D3DXMESH_32BIT) != 0;
        const DWORD stride = mesh.GetNumBytesPerVertex();
        const DWORD count = mesh.GetNumVertices();
        corners.reserve(mesh.GetNumFaces() * 3);
        for (DWORD i = 0; i < mesh.GetNumFaces() * 3; ++i) {
            const DWORD index =
                wide ? static_cast<const DWORD*>(indices)[i] : static_cast<const WORD*>(indices)[i];
            if (index >= count) {
                corners.clear();
                break;
            }
            const auto* position = reinterpret_cast<const float*>(vertices + index * stride);
            corners.push_back(Point3{position[0], position[1], position[2]});
        }
        mesh.UnlockIndexBuffer();
    }
    mesh.UnlockVertexBuffer();
    return corners;
}

} // namespace

// Wine's D3DXIntersect is a stub that never hits; the mesh's triangles are read and met
// here instead, both faces counted as D3DXIntersect counts them.
D3DPanel::RayResult D3DPanel::RayHit(ID3DXMesh& mesh, const D3DXVECTOR3& origin,
                                     const D3DXVECTOR3& direction) {
    RayResult result;
    const std::vector<Point3> corners = TrianglesOf(mesh);
    const std::optional<float> distance = NearestHit(
        {origin.x, origin.y, origin.z}, {direction.x, direction.y, direction.z}, corners);
    if (distance) {
        result.hit = true;
        result.distance = *distance;
        result.point = origin + *distance * direction;
    }
    return result;
}

// The rays are tried in turn; the first that meets the mesh decides.
bool D3DPanel::CameraBlocked(ID3DXMesh& mesh) {
    for (const RayDirection& ray : BlockingRays(HeadingDegrees(Camera.heading))) {
        const RayResult result = RayHit(mesh, Camera.position, Vector(ray));
        if (result.hit)
            return Blocks(result.distance);
    }
    return false;
}

float D3DPanel::DistanceAhead(ID3DXMesh& mesh) {
    const RayResult result =
        RayHit(mesh, Camera.position, Vector(AheadRay(HeadingDegrees(Camera.heading))));
    return result.hit ? result.distance : -1.0f;
}

bool D3DPanel::CollisionStep(ID3DXMesh& mesh, std::int32_t tag, std::int32_t solidTag) {
    if (CameraBlocked(mesh)) {
        if (tag == solidTag) {
            MessageBeep(0xFFFFFFFF);
            Camera.position -= Camera.look;
            Camera.dirty = true;
            return false;
        }
        return CollisionHandler != nullptr && CollisionHandler(parent, tag);
    }
    if (tag == solidTag) {
        const float distance = DistanceAhead(mesh);
        if (distance > -1 && distance < NearestDistance)
            NearestDistance = distance;
    }
    return false;
}

void D3DPanel::ToWorld(const ScenePoint* corners, int count, D3DXVECTOR3* world) {
    D3DXMATRIX transform;
    device->GetTransform(D3DTS_WORLD, &transform);
    for (int i = 0; i < count; ++i) {
        const D3DXVECTOR3 corner(static_cast<float>(corners[i].X), static_cast<float>(corners[i].Y),
                                 static_cast<float>(corners[i].Z));
        D3DXVec3TransformCoord(&world[i], &corner, &transform);
    }
}

bool D3DPanel::InView(const D3DXVECTOR3* corners, int count) const {
    for (int i = 0; i < count; ++i) {
        if (!Camera.IsInFrustum(corners[i].x, corners[i].y, corners[i].z))
            return false;
    }
    return true;
}

ComPtr<ID3DXMesh> D3DPanel::CollisionMesh(const D3DXVECTOR3* corners, DWORD count,
                                          const WORD* indices, DWORD faces) {
    ComPtr<ID3DXMesh> mesh;
    if (FAILED(D3DXCreateMesh(faces, count, D3DXMESH_SYSTEMMEM, kVertexDeclaration, device.Get(),
                              &mesh)))
        return nullptr;
    DeviceVertex* vertices = nullptr;
    WORD* written = nullptr;
    if (FAILED(mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices))))
        return nullptr;
    for (DWORD i = 0; i < count; ++i)
        vertices[i] = DeviceVertex{corners[i].x, corners[i].y, corners[i].z, kOpaqueWhite, 0, 0};
    mesh->UnlockVertexBuffer();
    if (FAILED(mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&written))))
        return nullptr;
    std::memcpy(written, indices, faces * 3 * sizeof(WORD));
    mesh->UnlockIndexBuffer();
    return mesh;
}

// A collision handler that answers true ends the lists of this frame.
bool D3DPanel::DrawTriangles() {
    bool drawn = false;
    for (SceneTriangle& record : triangles) {
        drawn = DrawTriangle(record) || drawn;
        if (AbortFrame)
            break;
    }
    return drawn;
}

bool D3DPanel::DrawTriangle(SceneTriangle& record) {
    IDirect3DTexture9* texture = TextureOf(record.TextureFile, record.TextureResource);
    const DWORD format = texture != nullptr ? kTexturedFormat : kColouredFormat;
    if (FAILED(device->CreateVertexBuffer(3 * kStride, 0, format, D3DPOOL_SYSTEMMEM,
                                          temporaryVertexBuffer.ReleaseAndGetAddressOf(), nullptr)))
        return false;
    void* locked = nullptr;
    if (SUCCEEDED(temporaryVertexBuffer->Lock(0, 0, &locked, 0))) {
        WriteCorners(locked, record.Corners, 3, record.Color, kTriangleUV);
        temporaryVertexBuffer->Unlock();
    }
    device->SetFVF(format);
    device->SetStreamSource(0, temporaryVertexBuffer.Get(), 0, kStride);
    UseTexture(texture);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    D3DXVECTOR3 world[3];
    ToWorld(record.Corners, 3, world);
    record.InView = InView(world, 3);
    if (const ComPtr<ID3DXMesh> solid = CollisionMesh(world, 3, kTriangleIndices, 1))
        AbortFrame = CollisionStep(*solid.Get(), record.Tag, kSolidTriangle);
    temporaryVertexBuffer.Reset();
    return true;
}

bool D3DPanel::DrawQuads() {
    bool drawn = false;
    for (SceneQuad& record : quads)
        drawn = DrawQuad(record) || drawn;
    return drawn;
}

bool D3DPanel::DrawQuad(SceneQuad& record) {
    IDirect3DTexture9* texture = TextureOf(record.TextureFile, record.TextureResource);
    const DWORD format = texture != nullptr ? kTexturedFormat : kColouredFormat;
    void* locked = nullptr;
    if (FAILED(device->CreateVertexBuffer(4 * kStride, 0, format, D3DPOOL_SYSTEMMEM,
                                          temporaryVertexBuffer.ReleaseAndGetAddressOf(), nullptr)))
        return false;
    if (FAILED(device->CreateIndexBuffer(sizeof kQuadIndices, 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM,
                                         temporaryIndexBuffer.ReleaseAndGetAddressOf(), nullptr))) {
        temporaryVertexBuffer.Reset();
        return false;
    }
    if (SUCCEEDED(temporaryVertexBuffer->Lock(0, 0, &locked, 0))) {
        WriteCorners(locked, record.Corners, 4, record.Color, kQuadUV);
        temporaryVertexBuffer->Unlock();
    }
    if (SUCCEEDED(temporaryIndexBuffer->Lock(0, 0, &locked, 0))) {
        std::memcpy(locked, kQuadIndices, sizeof kQuadIndices);
        temporaryIndexBuffer->Unlock();
    }
    device->SetFVF(format);
    device->SetStreamSource(0, temporaryVertexBuffer.Get(), 0, kStride);
    device->SetIndices(temporaryIndexBuffer.Get());
    UseTexture(texture);
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
    D3DXVECTOR3 world[4];
    ToWorld(record.Corners, 4, world);
    record.InView = InView(world, 4);
    if (const ComPtr<ID3DXMesh> solid = CollisionMesh(world, 4, kQuadCollisionIndices, 2))
        CollisionStep(*solid.Get(), record.Tag, kSolidQuad);
    temporaryIndexBuffer.Reset();
    temporaryVertexBuffer.Reset();
    return true;
}

// Draws the visible records of a list; true when any of them was drawn.
template <class Record>
bool D3DPanel::DrawVisible(const std::vector<Record>& records,
                           bool (D3DPanel::*draw)(const Record&)) {
    bool drawn = false;
    for (const Record& record : records) {
        if (record.Visible)
            drawn = (this->*draw)(record) || drawn;
    }
    return drawn;
}

bool D3DPanel::DrawXMeshes() {
    return DrawVisible(xMeshes, &D3DPanel::DrawXMesh);
}

// A file that does not load is passed over; it is read again at the next frame.
bool D3DPanel::DrawXMesh(const SceneXMesh& record) {
    device->SetTexture(0, nullptr);
    ComPtr<ID3DXMesh> mesh;
    ComPtr<ID3DXBuffer> materialBuffer;
    DWORD materialCount = 0;
    if (FAILED(D3DXLoadMeshFromXW(ToWide(record.File).c_str(), D3DXMESH_SYSTEMMEM, device.Get(),
                                  nullptr, &materialBuffer, nullptr, &materialCount, &mesh)))
        return false;
    const auto* materials =
        materialBuffer != nullptr
            ? static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer())
            : nullptr;
    const WorldOffset offset(*device.Get(), record.X, record.Y, record.Z);
    for (DWORD i = 0; materials != nullptr && i < materialCount; ++i) {
        D3DMATERIAL9 material = materials[i].MatD3D;
        material.Ambient = material.Diffuse;
        device->SetMaterial(&material);
        const char* file = materials[i].pTextureFilename;
        if (file != nullptr && file[0] != '\0') {
            if (IDirect3DTexture9* texture = TextureFromFile(file))
                device->SetTexture(0, texture);
        }
        mesh->DrawSubset(i);
    }
    ComPtr<ID3DXMesh> solid;
    if (SUCCEEDED(mesh->CloneMeshFVF(D3DXMESH_SYSTEMMEM, kTexturedFormat, device.Get(), &solid))) {
        DeviceVertex* vertices = nullptr;
        if (SUCCEEDED(solid->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices)))) {
            for (DWORD i = 0; i < solid->GetNumVertices(); ++i) {
                D3DXVECTOR3 position(vertices[i].x, vertices[i].y, vertices[i].z);
                D3DXVec3TransformCoord(&position, &position, &offset.placed);
                vertices[i].x = position.x;
                vertices[i].y = position.y;
                vertices[i].z = position.z;
            }
            solid->UnlockVertexBuffer();
            CollisionStep(*solid.Get(), record.Tag, kSolidXMesh);
        }
    }
    return true;
}

bool D3DPanel::DrawSprites() {
    bool drawn = false;
    for (const SceneSprite& record : sprites)
        drawn = DrawSprite(record) || drawn;
    return drawn;
}

// Without a sheet, or without width, a sprite has no scale and is passed over.
bool D3DPanel::DrawSprite(const SceneSprite& record) {
    const std::optional<SpriteCut> cut = CutSprite(record, spriteSheetWidth);
    ComPtr<ID3DXSprite> sprite;
    if (!cut || !spriteSheet || FAILED(D3DXCreateSprite(device.Get(), &sprite)))
        return false;
    device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ZERO);
    device->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_ONE);
    D3DXMATRIX scaling;
    const D3DXVECTOR2 scale(cut->scale, cut->scale);
    D3DXMatrixTransformation2D(&scaling, nullptr, 0, &scale, nullptr, 0, nullptr);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->SetTransform(&scaling);
    const RECT source = {cut->left, cut->top, cut->right, cut->bottom};
    const D3DXVECTOR3 position(cut->x, cut->y, 0);
    const bool drawn =
        SUCCEEDED(sprite->Draw(spriteSheet.Get(), &source, nullptr, &position, kOpaqueWhite));
    sprite->End();
    return drawn;
}

bool D3DPanel::DrawTexts() {
    return DrawVisible(texts, &D3DPanel::DrawText);
}

// The rectangle is fitted to the text first, and the text centred in it.
bool D3DPanel::DrawText(const SceneText& record) {
    ComPtr<ID3DXSprite> sprite;
    ComPtr<ID3DXFont> font;
    if (FAILED(D3DXCreateSprite(device.Get(), &sprite)) ||
        FAILED(D3DXCreateFontW(device.Get(), record.Height, 0, record.Bold ? FW_BOLD : 0, 0,
                               record.Italic, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                               DEFAULT_QUALITY, 0, ToWide(record.FaceName).c_str(), &font)))
        return false;
    const std::wstring text = ToWide(record.Text);
    RECT area = {record.X, record.Y, record.X + 100, record.Y + record.Height};
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    font->DrawTextW(sprite.Get(), text.c_str(), -1, &area, DT_CALCRECT, record.Color);
    font->DrawTextW(sprite.Get(), text.c_str(), -1, &area, DT_CENTER | DT_NOCLIP, record.Color);
    sprite->End();
    return true;
}

bool D3DPanel::DrawTexts3D() {
    return DrawVisible(texts3D, &D3DPanel::DrawText3D);
}

// The font's height is in points of the screen; the mesh D3DX makes for it is scaled so
// that a height of 44 keeps its size.
ComPtr<ID3DXMesh> D3DPanel::BuildText3D(const SceneText3D& record) {
    if (!device)
        return nullptr;
    HDC context = CreateCompatibleDC(nullptr);
    if (context == nullptr)
        return nullptr;
    const int pixels = MulDiv(record.Height, GetDeviceCaps(context, LOGPIXELSY), 72);
    HFONT font =
        CreateFontW(-pixels, 0, 0, 0, record.Bold ? FW_BOLD : FW_NORMAL, record.Italic, 0, 0,
                    DEFAULT_CHARSET, 0, 0, 0, 0, ToWide(FontFaceName(record.FaceName)).c_str());
    // Without its font the text would come out in whatever font the context holds.
    if (font == nullptr) {
        DeleteDC(context);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(context, font);
    ComPtr<ID3DXMesh> text;
    const HRESULT made = D3DXCreateTextW(device.Get(), context, ToWide(record.Text).c_str(), 0.001f,
                                         0.4f, &text, nullptr, nullptr);
    SelectObject(context, previous);
    DeleteObject(font);
    DeleteDC(context);
    ComPtr<ID3DXMesh> scaled;
    if (FAILED(made) ||
        FAILED(text->CloneMeshFVF(D3DXMESH_SYSTEMMEM, kTextFormat, device.Get(), &scaled)))
        return nullptr;
    const float factor = static_cast<float>(record.Height) / kFullHeight;
    const DWORD stride = scaled->GetNumBytesPerVertex();
    unsigned char* vertices = nullptr;
    if (FAILED(scaled->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices))))
        return nullptr;
    for (DWORD i = 0; i < scaled->GetNumVertices(); ++i) {
        auto* position = reinterpret_cast<D3DXVECTOR3*>(vertices + i * stride);
        *position *= factor;
    }
    scaled->UnlockVertexBuffer();
    return scaled;
}

// Lighting stays on until the next frame turns it off: 3D text is the frame's last list.
void D3DPanel::LightText3D(std::uint32_t color) {
    device->SetTexture(0, nullptr);
    D3DMATERIAL9 yellow = {};
    yellow.Diffuse = yellow.Ambient = Colour(1, 1, 0);
    device->SetMaterial(&yellow);
    D3DLIGHT9 light = {};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = Colour(1, 1, 1);
    light.Position = D3DXVECTOR3(-10, -10, 10);
    D3DXVECTOR3 direction(-10, -10, 10);
    D3DXVec3Normalize(&direction, &direction);
    light.Direction = direction;
    light.Range = 1000;
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_DITHERENABLE, TRUE);
    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, 0x80808080);
    D3DMATERIAL9 own = {};
    own.Diffuse = own.Ambient = Colour((color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                                       ((color >> 16) & 0xFF) / 255.0f);
    device->SetMaterial(&own);
}

bool D3DPanel::DrawText3D(const SceneText3D& record) {
    const ComPtr<ID3DXMesh> text = BuildText3D(record);
    if (!text)
        return false;
    LightText3D(record.Color);
    const WorldOffset offset(*device.Get(), record.X, record.Y, record.Z);
    text->DrawSubset(0);
    return true;
}

} // namespace KelUtility
