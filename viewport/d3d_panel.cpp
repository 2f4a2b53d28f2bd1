#include "viewport/d3d_panel.h"

#include "document/format_text.h"
#include "document/model_files.h"
#include "document/model_pictures.h"
#include "document/picture_header.h"
#include "toolkit/busy_cursor.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"
#include "viewport/depth_range.h"
#include "viewport/device_formats.h"
#include "viewport/gdi_presenter.h"
#include "viewport/mesh_geometry.h"
#include "viewport/world_offset.h"
#include "viewport/x_model_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace KelUtility {
namespace {

constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 50;
constexpr float kFieldOfView = 0.7853982f; // 45 degrees
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 500.0f;
constexpr float kFarAway = 1000000.0f;
constexpr D3DCOLOR kWhite = 0xFFFFFFFF;
constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);
const char* const kErrorCaption = "errore";
// A texture file is read whole before it is decoded; one past this is no texture.
constexpr std::size_t kMaxTextureFileBytes = std::size_t{1} << 30;
// A texture may take the largest side the hardware has; its memory is not held to the
// budget of a picture taken from a model, as the user chose the file.
constexpr std::uint64_t kTextureBudget =
    static_cast<std::uint64_t>(MyApp::kMaxPictureSide) * MyApp::kMaxPictureSide * 4;
const char* const kNoDirect3D = "Inizializzazione DirectX fallita.";
const char* const kNoDevice = "Inizializzazione DirectX fallita (CreateDevice).";

// Why a texture file did not load, for the user: `problem` when its header told, else
// whether it is there at all.
std::string TextureFailureText(const std::string& file, const std::string& problem) {
    const bool missing = GetFileAttributesW(ToWide(file).c_str()) == INVALID_FILE_ATTRIBUTES;
    return "La texture " + file +
           (!problem.empty() ? " " + problem
            : missing        ? " non esiste"
                             : " non \xC3\xA8 un'immagine che si possa caricare") +
           ": il modello viene mostrato senza.";
}

// A side scaled by `scale`, never below one pixel.
UINT Scaled(UINT side, double scale) {
    return std::max<UINT>(1, static_cast<UINT>(side * scale));
}
const char* const kNoDeviceForModel =
    "Anteprima non disponibile: il dispositivo Direct3D non \xC3\xA8 stato creato, e senza "
    "di esso un file .x non si pu\xC3\xB2 leggere.";

template <class Item> bool SameBytes(const std::vector<Item>& a, const std::vector<Item>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Item)) == 0);
}

LPCWSTR ResourceName(std::int32_t id) {
    return MAKEINTRESOURCEW(static_cast<WORD>(id));
}

} // namespace

D3DPanel::D3DPanel(GUIElement* owner) : PanelChildren(owner) {
    if (GdiPresenter::Needed())
        m_gdiPresenter = std::make_unique<GdiPresenter>();
    tabStop = false;
    SetSize(kDefaultWidth, kDefaultHeight);
}

D3DPanel::~D3DPanel() {
    ReleaseDevice(true);
}

void D3DPanel::Create() {
    if (created)
        return;
    PanelChildren::Create();
    CreateDevice(window);
}

void D3DPanel::SetSize(int newWidth, int newHeight) {
    PanelChildren::SetSize(newWidth, newHeight);
    if (created && !device)
        CreateDevice(window);
}

void D3DPanel::RefreshSizeFromWindow() {
    RECT bounds;
    if (window != nullptr && GetWindowRect(window, &bounds)) {
        width = bounds.right - bounds.left;
        height = bounds.bottom - bounds.top;
    }
}

// A failed device is tried again at every frame, and a size the platform cannot draw at
// (a project asking for 100000 pixels) fails at each of them: the user hears of it once,
// and again only when the panel fails at another size. The error box runs a message loop
// whose paint messages must not start another attempt inside this one.
void D3DPanel::CreateDevice(HWND target) {
    if (m_creatingDevice)
        return;
    m_creatingDevice = true;
    RefreshSizeFromWindow();
    if (!direct3D)
        direct3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
    if (!direct3D) {
        ReportDeviceFailure(target, kNoDirect3D);
    } else if (!CreateDeviceOfType(target, D3DDEVTYPE_HAL) &&
               !CreateDeviceOfType(target, D3DDEVTYPE_REF)) {
        AbortFrame = false;
        ReportDeviceFailure(target, kNoDevice);
    } else {
        m_failedSize.reset();
        PrimeDevice();
        LoadBackground();
        LoadSpriteSheet();
        AbortFrame = false;
    }
    m_creatingDevice = false;
}

void D3DPanel::ReportDeviceFailure(HWND target, const char* text) {
    RECT client = {};
    GetClientRect(target, &client);
    const SIZE size = {client.right, client.bottom};
    if (m_failedSize && m_failedSize->cx == size.cx && m_failedSize->cy == size.cy)
        return;
    m_failedSize = size;
    ShowError(parent, text, kErrorCaption);
}

// 24 bits of depth where the adapter has them: an imported model may span a hundred
// thousand times its nearest distance, which 16 bits cannot tell apart.
D3DFORMAT D3DPanel::DepthFormat(D3DDEVTYPE type) const {
    D3DDISPLAYMODE mode = {};
    if (SUCCEEDED(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)) &&
        SUCCEEDED(direct3D->CheckDeviceFormat(D3DADAPTER_DEFAULT, type, mode.Format,
                                              D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                              D3DFMT_D24X8)) &&
        SUCCEEDED(direct3D->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, type, mode.Format,
                                                   mode.Format, D3DFMT_D24X8)))
        return D3DFMT_D24X8;
    return D3DFMT_D16;
}

bool D3DPanel::CreateDeviceOfType(HWND target, D3DDEVTYPE type) {
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = target;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = DepthFormat(type);
    // The back buffer takes the client size; a panel without a client area still gets a
    // buffer of one pixel, so that the device exists and the panel simply shows nothing.
    RECT client = {};
    GetClientRect(target, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        parameters.BackBufferWidth = 1;
        parameters.BackBufferHeight = 1;
    }
    // Frames shown through GDI are drawn for the presenter's hidden window, at the size of
    // the panel's client area.
    if (m_gdiPresenter) {
        parameters.BackBufferWidth = static_cast<UINT>(std::max<LONG>(client.right, 1));
        parameters.BackBufferHeight = static_cast<UINT>(std::max<LONG>(client.bottom, 1));
        parameters.hDeviceWindow = m_gdiPresenter->DeviceWindow(client.right, client.bottom);
    }
    return SUCCEEDED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, type, parameters.hDeviceWindow,
                                            D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                            device.ReleaseAndGetAddressOf()));
}

void D3DPanel::PrimeDevice() {
    Camera.device = device.Get();
    Camera.position =
        D3DXVECTOR3(static_cast<float>(EyeX), static_cast<float>(EyeY), static_cast<float>(EyeZ));
    Camera.dirty = true;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
}

void D3DPanel::LoadBackground() {
    D3DXIMAGE_INFO info = {};
    const std::wstring file = ToWide(BackgroundFile);
    const bool fromFile = !BackgroundFile.empty();
    if (!fromFile && BackgroundResource == 0)
        return;
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRESULT read =
        fromFile ? D3DXGetImageInfoFromFileW(file.c_str(), &info)
                 : D3DXGetImageInfoFromResourceW(program, ResourceName(BackgroundResource), &info);
    if (FAILED(read) ||
        FAILED(device->CreateOffscreenPlainSurface(info.Width, info.Height, D3DFMT_X8R8G8B8,
                                                   D3DPOOL_SYSTEMMEM, &backgroundSurface, nullptr)))
        return;
    const HRESULT loaded =
        fromFile ? D3DXLoadSurfaceFromFileW(backgroundSurface.Get(), nullptr, nullptr, file.c_str(),
                                            nullptr, D3DX_FILTER_NONE, 0, nullptr)
                 : D3DXLoadSurfaceFromResourceW(backgroundSurface.Get(), nullptr, nullptr, program,
                                                ResourceName(BackgroundResource), nullptr,
                                                D3DX_FILTER_NONE, 0, nullptr);
    if (FAILED(loaded))
        backgroundSurface.Reset();
}

void D3DPanel::LoadSpriteSheet() {
    spriteSheetWidth = spriteSheetHeight = 0;
    if (SpriteSheetResource < 1)
        return;
    if (FAILED(D3DXCreateTextureFromResourceW(device.Get(), GetModuleHandleW(nullptr),
                                              ResourceName(SpriteSheetResource), &spriteSheet)))
        return;
    D3DSURFACE_DESC level = {};
    if (SUCCEEDED(spriteSheet->GetLevelDesc(0, &level))) {
        spriteSheetWidth = static_cast<std::int32_t>(level.Width);
        spriteSheetHeight = static_cast<std::int32_t>(level.Height);
    }
}

void D3DPanel::ReleaseDevice(bool alsoDirect3D) {
    ReleaseDeviceObjects();
    if (m_gdiPresenter)
        m_gdiPresenter->ReleaseDeviceObjects();
    device.Reset();
    Camera.device = nullptr;
    if (alsoDirect3D)
        direct3D.Reset();
}

void D3DPanel::ReleaseDeviceObjects() {
    backgroundSurface.Reset();
    temporaryIndexBuffer.Reset();
    for (TextureCacheEntry& entry : textureCache)
        entry.texture.Reset();
    textureCache.clear();
    spriteSheet.Reset();
    temporaryVertexBuffer.Reset();
    m_builtMeshes.clear();
    m_shadingShader.Reset();
    m_shadingFailed = false;
    m_edgedVertexShader.Reset();
    m_edgedPixelShader.Reset();
    m_edgedFailed = false;
}

void D3DPanel::SetScene(std::vector<SceneTriangle> newTriangles, std::vector<SceneQuad> newQuads,
                        std::vector<SceneSprite> newSprites, std::vector<SceneXMesh> newXMeshes,
                        std::vector<SceneText> newTexts, std::vector<SceneText3D> newTexts3D,
                        std::vector<SceneMesh> newMeshes) {
    if (window == nullptr)
        return;
    SceneLists scene{std::move(newTriangles), std::move(newQuads), std::move(newSprites),
                     std::move(newXMeshes),   std::move(newTexts), std::move(newTexts3D),
                     std::move(newMeshes)};
    // A collision handler may set a scene while the lists are walked and the device draws:
    // both must outlive the frame.
    if (m_drawingFrame) {
        m_pendingScene = std::make_unique<SceneLists>(std::move(scene));
        return;
    }
    TakeScene(std::move(scene));
}

void D3DPanel::TakeScene(SceneLists scene) {
    texts = std::move(scene.texts);
    texts3D = std::move(scene.texts3D);
    triangles = std::move(scene.triangles);
    quads = std::move(scene.quads);
    sprites = std::move(scene.sprites);
    xMeshes = std::move(scene.xMeshes);
    meshes = std::move(scene.meshes);
    RenewDevice();
}

void D3DPanel::RenewDevice() {
    if (RenewDeviceObjects())
        return;
    ReleaseDevice(false);
    CreateDevice(window);
}

// A new scene at the size the device was made for keeps the device: what was made on it
// for the old scene goes (textures and the background picture are read again, meshes
// built again), as a new device would have it. Making a device costs more than the frame
// and a hundred milliseconds under Wine, where its first frame compiles what it draws with.
// False, with nothing released, where the device is not there or its size is not the
// window's.
bool D3DPanel::RenewDeviceObjects() {
    if (!device || m_creatingDevice || device->TestCooperativeLevel() != D3D_OK)
        return false;
    RefreshSizeFromWindow();
    RECT client = {};
    GetClientRect(window, &client);
    ComPtr<IDirect3DSurface9> backBuffer;
    D3DSURFACE_DESC frame = {};
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) ||
        FAILED(backBuffer->GetDesc(&frame)) || client.right <= 0 || client.bottom <= 0 ||
        frame.Width != static_cast<UINT>(client.right) || frame.Height != static_cast<UINT>(client.bottom))
        return false;
    backBuffer.Reset();
    ReleaseDeviceObjects();
    if (m_gdiPresenter)
        m_gdiPresenter->ReleaseDeviceObjects();
    PrimeDevice();
    LoadBackground();
    LoadSpriteSheet();
    AbortFrame = false;
    return true;
}

// The lists stay as they are; only a frame being drawn needs them copied, to take after it.
void D3DPanel::RebuildScene() {
    if (window == nullptr)
        return;
    if (m_drawingFrame)
        SetScene(triangles, quads, sprites, xMeshes, texts, texts3D, meshes);
    else
        RenewDevice();
}

std::int32_t D3DPanel::MaxDrawnFaces() const {
    constexpr DWORD kLeastHardwareFaces = 65535;
    D3DCAPS9 caps = {};
    if (!device || FAILED(device->GetDeviceCaps(&caps)) || caps.MaxPrimitiveCount == 0)
        return kLeastHardwareFaces;
    return static_cast<std::int32_t>(std::min<DWORD>(caps.MaxPrimitiveCount, INT32_MAX));
}

bool D3DPanel::ReadXModel(const std::string& path, MyApp::ModelTriangles& model,
                          std::string& message, std::size_t maxTriangles) {
    if (!device) {
        message = kNoDeviceForModel;
        return false;
    }
    return KelUtility::ReadXModel(*device.Get(), path, model, message, maxTriangles);
}

bool D3DPanel::UpdateMesh(const SceneMesh& record) {
    return !meshes.empty() && MergeSceneMesh(meshes.front(), record);
}

bool D3DPanel::UpdateMesh(const MyApp::MeshDocument& document) {
    return !meshes.empty() && MergeSceneMesh(meshes.front(), document);
}

D3DCOLOR D3DPanel::ClearColor() const {
    return backColor == kNoColor ? kWhite : ToDeviceColor(backColor);
}

// A device that can be reset comes back with the whole scene re-created; a device that is
// still lost simply shows nothing until then.
void D3DPanel::CheckDevice() {
    if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET)
        RebuildScene();
}

void D3DPanel::Redraw() {
    Paint();
}

void D3DPanel::Paint() {
    RECT client;
    if (window == nullptr || !GetClientRect(window, &client))
        return;
    // Asked for a frame while drawing one (by the collision handler): the next paint
    // message draws it.
    if (m_drawingFrame) {
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    // The frame covers the whole client area: nothing is left for the platform to erase.
    ValidateRect(window, nullptr);
    RefreshSizeFromWindow();
    if (client.right <= 0 || client.bottom <= 0 || width <= 0 || height <= 0)
        return;
    if (!device)
        CreateDevice(window);
    if (!device) {
        PaintWithoutDevice(client);
        return;
    }
    NearestDistance = kFarAway;
    CheckDevice();
    if (!device)
        return;
    m_drawingFrame = true;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearColor(), 1.0f, 0);
    device->BeginScene();
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    CopyBackground();
    ApplyWorld();
    ApplyViewProjection();
    DrawLists();
    device->EndScene();
    ComPtr<IDirect3DSurface9> backBuffer;
    if (m_frameUser != nullptr &&
        SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)))
        (*m_frameUser)(*backBuffer.Get());
    backBuffer.Reset();
    DrawHighlight();
    PresentFrame();
    m_drawingFrame = false;
    if (m_pendingScene) {
        const std::unique_ptr<SceneLists> scene = std::move(m_pendingScene);
        TakeScene(std::move(*scene));
    }
}

// Without a device the panel shows its background colour rather than the last frame of
// another scene.
void D3DPanel::PaintWithoutDevice(const RECT& client) {
    HDC context = GetDC(window);
    if (context == nullptr)
        return;
    const D3DCOLOR colour = ClearColor();
    HBRUSH brush =
        CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    FillRect(context, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, context);
}

void D3DPanel::PresentFrame() {
    if (m_gdiPresenter)
        m_gdiPresenter->Show(*device.Get(), window);
    else
        device->Present(nullptr, nullptr, nullptr, nullptr);
}

// The picture is copied unscaled at the top-left corner; one larger than the back buffer
// is not copied at all.
void D3DPanel::CopyBackground() {
    ComPtr<IDirect3DSurface9> backBuffer;
    if (!backgroundSurface ||
        FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)))
        return;
    D3DSURFACE_DESC picture = {};
    D3DSURFACE_DESC target = {};
    backgroundSurface->GetDesc(&picture);
    backBuffer->GetDesc(&target);
    if (picture.Width <= target.Width && picture.Height <= target.Height)
        device->UpdateSurface(backgroundSurface.Get(), nullptr, backBuffer.Get(), nullptr);
}

// Each list only while no collision has ended the frame's lists.
void D3DPanel::DrawLists() {
    const auto draw = [this](bool empty, bool (D3DPanel::*routine)()) {
        if (!AbortFrame && !empty)
            (this->*routine)();
    };
    draw(triangles.empty(), &D3DPanel::DrawTriangles);
    draw(quads.empty(), &D3DPanel::DrawQuads);
    draw(xMeshes.empty(), &D3DPanel::DrawXMeshes);
    draw(meshes.empty(), &D3DPanel::DrawMeshes);
    draw(sprites.empty(), &D3DPanel::DrawSprites);
    draw(texts.empty(), &D3DPanel::DrawTexts);
    draw(texts3D.empty(), &D3DPanel::DrawTexts3D);
}

void D3DPanel::ApplyWorld() {
    const D3DXMATRIX world = WorldMatrix();
    device->SetTransform(D3DTS_WORLD, &world);
}

D3DXMATRIX D3DPanel::WorldMatrix() const {
    D3DXMATRIX rotation;
    D3DXMATRIX translation;
    D3DXMatrixRotationYawPitchRoll(&rotation, static_cast<float>(Yaw), static_cast<float>(Pitch),
                                   static_cast<float>(Roll));
    D3DXMatrixTranslation(&translation, static_cast<float>(MoveX), static_cast<float>(MoveY),
                          static_cast<float>(MoveZ));
    return rotation * translation;
}

D3DXMATRIX D3DPanel::PlacedMatrix(const SceneMesh& record) const {
    D3DXMATRIX offset;
    D3DXMatrixTranslation(&offset, static_cast<float>(record.X), static_cast<float>(record.Y),
                          static_cast<float>(record.Z));
    return WorldMatrix() * offset;
}

D3DXMATRIX D3DPanel::ViewMatrix() const {
    const D3DXVECTOR3 eye(static_cast<float>(EyeX), static_cast<float>(EyeY),
                          static_cast<float>(EyeZ));
    const D3DXVECTOR3 origin(0, 0, 0);
    const D3DXVECTOR3 upwards(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &origin, &upwards);
    return view;
}

// The aspect is the true ratio of the panel's outer size; Paint draws nothing for a panel
// without height, so there is no division by zero. The free camera walks among the
// primitives at the fixed depths; the look-at view follows the mesh, whatever its size.
D3DXMATRIX D3DPanel::ProjectionMatrix() {
    RefreshSizeFromWindow();
    const float aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1;
    const D3DXVECTOR3 eye(static_cast<float>(EyeX), static_cast<float>(EyeY),
                          static_cast<float>(EyeZ));
    const DepthRange depth = UseCamera ? DepthRange{kNearPlane, kFarPlane} : LookAtDepth(eye);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, kFieldOfView, aspect, depth.nearPlane, depth.farPlane);
    return projection;
}

DepthRange D3DPanel::LookAtDepth(const D3DXVECTOR3& eye) const {
    double nearest = HUGE_VAL;
    double farthest = 0;
    for (const SceneMesh& mesh : meshes) {
        const std::optional<MeshSphere> sphere = mesh.Visible ? SphereAround(mesh) : std::nullopt;
        if (!sphere)
            continue;
        D3DXVECTOR3 centre(static_cast<float>(sphere->x), static_cast<float>(sphere->y),
                           static_cast<float>(sphere->z));
        const D3DXMATRIX placed = PlacedMatrix(mesh);
        D3DXVec3TransformCoord(&centre, &centre, &placed);
        const double distance = std::hypot(double{centre.x} - eye.x, double{centre.y} - eye.y,
                                           double{centre.z} - eye.z);
        nearest = std::min(nearest, distance - sphere->radius);
        farthest = std::max(farthest, distance + sphere->radius);
    }
    return nearest == HUGE_VAL ? DepthRange{kNearPlane, kFarPlane}
                               : DepthRangeFor(nearest, farthest);
}

void D3DPanel::ApplyViewProjection() {
    if (UseCamera) {
        Camera.Apply();
    } else {
        const D3DXMATRIX view = ViewMatrix();
        device->SetTransform(D3DTS_VIEW, &view);
    }
    const D3DXMATRIX projection = ProjectionMatrix();
    device->SetTransform(D3DTS_PROJECTION, &projection);
}

ComPtr<ID3DXMesh> D3DPanel::BuildMesh(const SceneMesh& record) {
    const std::optional<MeshShape> shape = ShapeOf(record);
    ComPtr<ID3DXMesh> mesh;
    if (!shape || !device ||
        FAILED(D3DXCreateMesh(shape->faces, shape->vertices, D3DXMESH_SYSTEMMEM, kVertexDeclaration,
                              device.Get(), &mesh)))
        return nullptr;
    return FillMesh(*mesh.Get(), record, *shape) ? mesh : nullptr;
}

// A mesh whose indices could not be written is not drawn: they would be unknown.
bool D3DPanel::FillMesh(ID3DXMesh& mesh, const SceneMesh& record, const MeshShape& shape) {
    void* vertices = nullptr;
    if (FAILED(mesh.LockVertexBuffer(0, &vertices)))
        return false;
    WriteVertices(record, static_cast<DeviceVertex*>(vertices));
    mesh.UnlockVertexBuffer();
    void* indices = nullptr;
    if (FAILED(mesh.LockIndexBuffer(0, &indices)))
        return false;
    WriteIndices(record, shape, static_cast<std::uint16_t*>(indices));
    mesh.UnlockIndexBuffer();
    return true;
}

// A relative name is looked for in TextureFolder first, so the cache keeps the file
// found. A file that does not load is kept as none, and reported once.
IDirect3DTexture9* D3DPanel::TextureFromFile(const std::string& name) {
    const std::string& file = TextureFileOf(name);
    if (file.empty())
        return nullptr;
    for (const TextureCacheEntry& entry : textureCache) {
        if (entry.FileName == file)
            return entry.texture.Get();
    }
    TextureCacheEntry entry;
    entry.FileName = file;
    std::string problem;
    entry.texture = LoadTexture(file, problem);
    if (!entry.texture && m_reportedTextures.insert(file).second)
        m_textureFailures.push_back({name, TextureFailureText(file, problem)});
    textureCache.push_back(std::move(entry));
    return textureCache.back().texture.Get();
}

// Where a name leads asks the file system, a round trip on the network for a project on a
// share, so it is worked out when the name, the folder or the trust changes, never per frame.
// A name that is not opened is reported once.
const std::string& D3DPanel::TextureFileOf(const std::string& name) {
    const bool trusted = name == TrustedTexture;
    const auto found = m_seenTextures.find(name);
    if (found != m_seenTextures.end() && found->second.folder == TextureFolder &&
        found->second.trusted == trusted)
        return found->second.file;
    const MyApp::ResolvedName resolved = MyApp::ProjectTexture(
        TextureFolder, name, trusted ? MyApp::NameScope::UsersWord : MyApp::NameScope::Project);
    // The key of a refusal cannot be a file's: no path starts with a line break.
    if (resolved.refusal != MyApp::NameRefusal::None &&
        m_reportedTextures.insert("\n" + name).second)
        m_textureFailures.push_back({name, MyApp::RefusedTextureNote(name, resolved.refusal)});
    SeenTexture& seen = m_seenTextures[name];
    seen = {TextureFolder, trusted, resolved.path};
    return seen.file;
}

// The picture is read once: its header, where it is a kind the program reads, is checked
// before D3DX decodes it, and a picture larger than the device takes is made smaller as it
// loads rather than refused. `problem` says why when the header refused it.
ComPtr<IDirect3DTexture9> D3DPanel::LoadTexture(const std::string& file, std::string& problem) {
    const BusyCursor busy;
    std::string bytes;
    if (!device || !MyApp::ReadWholeFile(file, bytes, kMaxTextureFileBytes))
        return nullptr;
    const std::size_t dot = file.find_last_of('.');
    const bool namedTga = dot != std::string::npos &&
                          MyApp::AsciiLowered(std::string_view(file).substr(dot)) == ".tga";
    const MyApp::PictureHeader header = MyApp::ReadPictureHeader(bytes, namedTga);
    if (header.kind != MyApp::PictureKind::Unknown) {
        problem = MyApp::PictureSizeProblem(header, kTextureBudget);
        if (!problem.empty())
            return nullptr;
    }
    D3DXIMAGE_INFO info = {};
    D3DCAPS9 caps = {};
    if (FAILED(D3DXGetImageInfoFromFileInMemory(bytes.data(), static_cast<UINT>(bytes.size()),
                                                &info)) ||
        FAILED(device->GetDeviceCaps(&caps)))
        return nullptr;
    // A kind told by D3DX alone (DDS, PFM) is held to the same largest side.
    problem =
        MyApp::PictureSizeProblem({header.kind, true, info.Width, info.Height, 0}, kTextureBudget);
    if (!problem.empty())
        return nullptr;
    // Both sides shrink by one scale, so that the picture keeps its proportions.
    UINT width = D3DX_DEFAULT;
    UINT height = D3DX_DEFAULT;
    if (info.Width > caps.MaxTextureWidth || info.Height > caps.MaxTextureHeight) {
        const double scale = std::min(static_cast<double>(caps.MaxTextureWidth) / info.Width,
                                      static_cast<double>(caps.MaxTextureHeight) / info.Height);
        width = Scaled(info.Width, scale);
        height = Scaled(info.Height, scale);
    }
    ComPtr<IDirect3DTexture9> texture;
    D3DXCreateTextureFromFileInMemoryEx(
        device.Get(), bytes.data(), static_cast<UINT>(bytes.size()), width, height, D3DX_DEFAULT, 0,
        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
    return texture;
}

std::vector<TextureFailure> D3DPanel::TakeTextureFailures() {
    return std::exchange(m_textureFailures, {});
}

IDirect3DTexture9* D3DPanel::TextureFromResource(std::int32_t resourceId) {
    for (const TextureCacheEntry& entry : textureCache) {
        if (entry.ResourceId == resourceId) {
            if (entry.texture)
                return entry.texture.Get();
            break;
        }
    }
    TextureCacheEntry entry;
    entry.ResourceId = resourceId;
    D3DXCreateTextureFromResourceW(device.Get(), GetModuleHandleW(nullptr),
                                   ResourceName(resourceId), &entry.texture);
    textureCache.push_back(std::move(entry));
    return textureCache.back().texture.Get();
}

bool D3DPanel::DrawMeshes() {
    bool anyVisible = false;
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        if (!meshes[i].Visible)
            continue;
        anyVisible = true;
        DrawMesh(meshes[i], i);
    }
    return anyVisible;
}

// Building a large mesh costs more than drawing it, so a mesh is kept while the record's
// geometry stays the same. The bytes are compared: equal bytes are surely the same mesh,
// and anything else (even a 0 that became -0) merely builds it again. A mesh of the same
// shape, as after a vertex is edited, is written again in place.
ID3DXMesh* D3DPanel::MeshFor(const SceneMesh& record, std::size_t position) {
    if (m_builtMeshes.size() <= position)
        m_builtMeshes.resize(position + 1);
    BuiltMesh& built = m_builtMeshes[position];
    if (!built.mesh || built.geometry.FaceCount != record.FaceCount ||
        !SameBytes(built.geometry.Vertices, record.Vertices) ||
        !SameBytes(built.geometry.Indices, record.Indices)) {
        const std::optional<MeshShape> shape = ShapeOf(record);
        const bool sameShape = built.mesh && shape &&
                               built.mesh->GetNumFaces() == shape->faces &&
                               built.mesh->GetNumVertices() == shape->vertices;
        if (!sameShape || !FillMesh(*built.mesh.Get(), record, *shape))
            built.mesh = BuildMesh(record);
        built.shaded.Reset();
        built.edgedVertices.Reset();
        built.edgedIndices.Reset();
        built.shadedTried = built.edgedTried = false;
        built.geometry.FaceCount = record.FaceCount;
        built.geometry.Vertices = record.Vertices;
        built.geometry.Indices = record.Indices;
    }
    return built.mesh.Get();
}

IDirect3DTexture9* D3DPanel::TextureOf(const std::string& file, std::int32_t resource) {
    if (!file.empty())
        return TextureFromFile(file);
    if (resource >= 1)
        return TextureFromResource(resource);
    return nullptr;
}

// Texture colour times vertex colour, no alpha.
void D3DPanel::UseTexture(IDirect3DTexture9* texture) {
    device->SetTexture(0, texture);
    if (texture == nullptr)
        return;
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    // Smooth at every distance: blended texels, and blended levels of the mipmaps D3DX
    // makes for a texture it loads.
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
}

void D3DPanel::DrawMesh(const SceneMesh& record, std::size_t position) {
    IDirect3DTexture9* texture = TextureOf(record.TextureFile, record.TextureResource);
    ID3DXMesh* mesh = MeshFor(record, position);
    if (mesh == nullptr)
        return;
    const WorldOffset offset(*device.Get(), record.X, record.Y, record.Z);
    if (ShowEdges && DrawEdged(position, offset.placed, texture))
        return;
    ID3DXMesh* shaded = Shaded ? ShadedMeshFor(position) : nullptr;
    if (shaded != nullptr && PrepareShading(offset.placed)) {
        UseTexture(texture);
        shaded->DrawSubset(0);
        device->SetVertexShader(nullptr);
    } else {
        if (texture != nullptr)
            device->SetFVF(kTexturedFormat);
        UseTexture(texture);
        mesh->DrawSubset(0);
    }
}

bool D3DPanel::DrawAndCapture(const FrameUser& use) {
    bool captured = false;
    const FrameUser user = [&](IDirect3DSurface9& backBuffer) {
        captured = true;
        use(backBuffer);
    };
    const FrameUser* outer = std::exchange(m_frameUser, &user);
    Redraw();
    m_frameUser = outer;
    return captured;
}

} // namespace KelUtility
