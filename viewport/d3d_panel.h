#pragma once

// The 3D preview: a panel that owns a Direct3D 9 device bound to its own window and draws
// its scene lists into it at every paint. Every scene change re-creates the device and
// everything that lives on it.

#include "document/model_files.h"
#include "document/model_mesh.h"
#include "toolkit/panel_children.h"
#include "viewport/depth_range.h"
#include "viewport/scene_records.h"
#include "viewport/view_camera.h"

#include <d3d9.h>
#include <d3dx9.h>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include <wrl/client.h>

namespace KelUtility {

class GdiPresenter;
struct MeshShape;

// A texture that did not load, or whose name is not opened, and what to tell the user of it.
struct TextureFailure {
    std::string name; // as the mesh record names it
    std::string text;
};

struct TextureCacheEntry {
    Microsoft::WRL::ComPtr<IDirect3DTexture9> texture; // none when it did not load
    std::string FileName;                              // "" for a resource texture
    std::int32_t ResourceId = 0;                       // 0 for a file texture
};

class D3DPanel : public PanelChildren {
public:
    using CollisionHandlerType = bool (*)(GUIElement* parent, std::int32_t tag);
    using FrameUser = std::function<void(IDirect3DSurface9& backBuffer)>;

    explicit D3DPanel(GUIElement* owner);
    ~D3DPanel() override;

    void Create() override;
    // A panel left without a device tries again at its new size.
    void SetSize(int newWidth, int newHeight) override;
    // One frame of the current scene with the current view fields. A panel without a device
    // first tries to create one.
    void Paint() override;
    virtual void Redraw();
    // The rotation and the eye from the view-state file "data\file.x" under the current
    // folder; a missing file changes nothing. False when the file cannot be read as one,
    // or is far larger than one (kMaximumViewStateFile).
    virtual bool LoadViewState();
    // Writes the rotation and the eye to the view-state file; false when it was not written.
    virtual bool SaveViewState();

    // The current frame as a PNG picture of the back buffer's size.
    bool SavePicture(const std::string& fileName);
    // The record's mesh as a DirectX .x text file. error: 0 written, 1 the record builds no
    // mesh, 2 the file could not be written (or the texture name cannot be written in it).
    // A file that fails leaves what was there before.
    bool SaveMeshToX(const std::string& fileName, std::int32_t& error, SceneMesh record);
    // The .x model at path read on the panel's device into loose triangles (ReadXModel in
    // viewport/x_model_reader.h), of at most maxTriangles; false with the reason in Italian,
    // also when the panel has no device.
    bool ReadXModel(const std::string& path, MyApp::ModelTriangles& model, std::string& message,
                    std::size_t maxTriangles = MyApp::kMaxModelTriangles);
    // Why the last SavePicture or SaveMeshToX failed, as one sentence for the user; empty
    // after a success.
    std::string LastFileError;

    // Creates the device for the window. A failure is reported once for each size of the
    // window it happens at; the panel tries again at its next frame or size.
    void CreateDevice(HWND target);
    void ReleaseDevice(bool alsoDirect3D);
    // Everything ReleaseDevice releases but the device itself.
    void ReleaseDeviceObjects();
    // Replaces the seven lists and re-creates the device; before the window exists nothing
    // changes. Called while a frame is drawn (by the collision handler), the new scene
    // takes the place of the old one once that frame is presented.
    void SetScene(std::vector<SceneTriangle> triangles, std::vector<SceneQuad> quads,
                  std::vector<SceneSprite> sprites, std::vector<SceneXMesh> xMeshes,
                  std::vector<SceneText> texts, std::vector<SceneText3D> texts3D,
                  std::vector<SceneMesh> meshes);
    void RebuildScene();
    // Merges the record into the first mesh of the scene; true when anything changed. The
    // caller rebuilds and redraws.
    bool UpdateMesh(const SceneMesh& record);
    // The same for the record of the document, ToSceneMesh(document), without making it.
    bool UpdateMesh(const MyApp::MeshDocument& document);
    // The most triangles the device draws at once; without a device, the least any
    // Direct3D 9 hardware device draws.
    std::int32_t MaxDrawnFaces() const;

    void ApplyWorld();
    void ApplyViewProjection();
    // The device mesh of a record, or none; built anew for every draw.
    Microsoft::WRL::ComPtr<ID3DXMesh> BuildMesh(const SceneMesh& record);
    // Writes the record's vertices and indices into a mesh of its shape.
    bool FillMesh(ID3DXMesh& mesh, const SceneMesh& record, const MeshShape& shape);
    IDirect3DTexture9* TextureFromFile(const std::string& name);
    // The file a texture name stands for, from TextureFolder; empty for a name not opened.
    const std::string& TextureFileOf(const std::string& name);
    Microsoft::WRL::ComPtr<IDirect3DTexture9> LoadTexture(const std::string& file,
                                                          std::string& problem);
    // The texture files that did not load and the names not opened since the last call, each
    // once, with a sentence for the user.
    std::vector<TextureFailure> TakeTextureFailures();
    IDirect3DTexture9* TextureFromResource(std::int32_t resourceId);

    // Where a ray from origin along direction first meets the mesh, if it does.
    struct RayResult {
        bool hit = false;
        float distance = 0;
        D3DXVECTOR3 point{0, 0, 0};
    };
    RayResult RayHit(ID3DXMesh& mesh, const D3DXVECTOR3& origin, const D3DXVECTOR3& direction);
    // True when the mesh is within reach of the free camera on one of its collision rays.
    bool CameraBlocked(ID3DXMesh& mesh);
    // How far ahead of the free camera the mesh is; -1 when it is not ahead.
    float DistanceAhead(ID3DXMesh& mesh);
    // The extruded text of a record at its height, or none when it cannot be made.
    Microsoft::WRL::ComPtr<ID3DXMesh> BuildText3D(const SceneText3D& record);

    // Draws one frame and lends its back buffer to `use` before the frame is presented:
    // after a discarding present the back buffer's content is undefined. False when no
    // frame was drawn.
    bool DrawAndCapture(const FrameUser& use);

    CollisionHandlerType CollisionHandler = nullptr;
    std::vector<SceneTriangle> triangles;
    std::vector<SceneQuad> quads;
    std::vector<SceneSprite> sprites;
    std::vector<SceneXMesh> xMeshes;
    std::vector<SceneText> texts;
    std::vector<SceneText3D> texts3D;
    std::vector<SceneMesh> meshes;
    // The looks of the meshes: lit by a light from the eye (both faces alike), and with
    // their triangles' edges drawn over them. Both off: the plain frame.
    bool Shaded = false;
    bool ShowEdges = false;
    // Where a relative texture name is looked for first: the project's folder.
    std::string TextureFolder;
    // The texture name the user typed or chose, or an import resolved: opened on that word,
    // where a name a project file gives may not reach another machine (name_resolver.h).
    std::string TrustedTexture;
    std::string BackgroundFile;
    std::int32_t BackgroundResource = 0;
    std::int32_t SpriteSheetResource = 0;
    float NearestDistance = 1000000.0f;
    double Yaw = 0.0; // radians
    double Pitch = 0.0;
    double Roll = 0.0;
    double MoveY = 0.0;
    double MoveX = 0.0;
    double MoveZ = 0.0;
    double EyeY = 0.0;
    double EyeX = 0.0;
    double EyeZ = -10.0;
    bool AbortFrame = false; // skips the remaining lists of the frame being drawn
    Microsoft::WRL::ComPtr<IDirect3D9> direct3D;
    Microsoft::WRL::ComPtr<IDirect3DDevice9> device;
    Microsoft::WRL::ComPtr<IDirect3DVertexBuffer9> temporaryVertexBuffer;
    std::vector<TextureCacheEntry> textureCache;
    Microsoft::WRL::ComPtr<IDirect3DTexture9> spriteSheet;
    std::int32_t spriteSheetWidth = 0;
    std::int32_t spriteSheetHeight = 0;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> backgroundSurface;
    Microsoft::WRL::ComPtr<IDirect3DIndexBuffer9> temporaryIndexBuffer;
    ViewCamera Camera;
    bool UseCamera = true;
    // What the first mesh shows selected, over everything and never in a saved picture: a
    // vertex as a marker, and a drawn triangle, by its number, as an outline; -1 for none.
    std::int32_t HighlightedVertex = -1;
    std::int32_t HighlightedTriangle = -1;

    // Pointing at the first mesh, at a point of the panel's client area: the drawn vertex
    // nearest on screen within `radius` pixels that no face hides; the drawn triangle under the point, by its
    // number; and the move along X and Y that keeps the mesh's centre under a pointer that
    // moved by (dx, dy) pixels.
    std::optional<std::size_t> VertexAt(int x, int y, float radius);
    std::optional<std::size_t> TriangleAt(int x, int y);
    std::optional<std::pair<double, double>> PanFor(int dx, int dy);

    // The transforms a frame draws the meshes with, as it sets them on the device.
    D3DXMATRIX WorldMatrix() const;
    // The world transform and then the record's own offset, as the record is drawn.
    D3DXMATRIX PlacedMatrix(const SceneMesh& record) const;
    D3DXMATRIX ViewMatrix() const;
    D3DXMATRIX ProjectionMatrix();
    // The look-at view's planes for an eye at `eye`: the visible meshes placed as a frame
    // places them, each within the sphere around it.
    DepthRange LookAtDepth(const D3DXVECTOR3& eye) const;

private:
    struct SceneLists {
        std::vector<SceneTriangle> triangles;
        std::vector<SceneQuad> quads;
        std::vector<SceneSprite> sprites;
        std::vector<SceneXMesh> xMeshes;
        std::vector<SceneText> texts;
        std::vector<SceneText3D> texts3D;
        std::vector<SceneMesh> meshes;
    };

    void TakeScene(SceneLists scene);
    void ReportDeviceFailure(HWND target, const char* text);
    void PaintWithoutDevice(const RECT& client);
    D3DFORMAT DepthFormat(D3DDEVTYPE type) const;
    bool CreateDeviceOfType(HWND target, D3DDEVTYPE type);
    // What the scene was drawn with made again: on the same device where it can be kept,
    // else on a new one.
    void RenewDevice();
    bool RenewDeviceObjects();
    void PrimeDevice();
    void LoadBackground();
    void LoadSpriteSheet();
    void CheckDevice();
    void PresentFrame();
    void CopyBackground();
    void DrawLists();
    void DrawHighlight();
    void DrawMarker(const D3DXVECTOR3& place, const D3DXMATRIX& world);
    void DrawOutline(const SceneMesh& mesh, std::size_t triangle);
    template <class Record>
    bool DrawVisible(const std::vector<Record>& records, bool (D3DPanel::*draw)(const Record&));
    bool DrawTriangles();
    bool DrawQuads();
    bool DrawXMeshes();
    bool DrawMeshes();
    bool DrawSprites();
    bool DrawTexts();
    bool DrawTexts3D();
    void DrawMesh(const SceneMesh& record, std::size_t position);
    // The device mesh of the record at that position of the mesh list, built again only
    // when its geometry differs from the one it was last built from.
    ID3DXMesh* MeshFor(const SceneMesh& record, std::size_t position);
    bool DrawTriangle(SceneTriangle& record);
    bool DrawQuad(SceneQuad& record);
    bool DrawXMesh(const SceneXMesh& record);
    bool DrawSprite(const SceneSprite& record);
    bool DrawText(const SceneText& record);
    bool DrawText3D(const SceneText3D& record);
    IDirect3DTexture9* TextureOf(const std::string& file, std::int32_t resource);
    // Stage 0 draws the texture times the vertex colour, or the vertex colour alone.
    void UseTexture(IDirect3DTexture9* texture);
    // Corners of a triangle or quad in world space, under the current world matrix.
    void ToWorld(const ScenePoint* corners, int count, D3DXVECTOR3* world);
    bool InView(const D3DXVECTOR3* corners, int count) const;
    Microsoft::WRL::ComPtr<ID3DXMesh> CollisionMesh(const D3DXVECTOR3* corners, DWORD count,
                                                    const WORD* indices, DWORD faces);
    // Pushes the camera back from a solid mesh, reports another tagged one, or measures the
    // distance ahead. True when the collision handler asked to end the frame's lists.
    bool CollisionStep(ID3DXMesh& mesh, std::int32_t tag, std::int32_t solidTag);
    void LightText3D(std::uint32_t color);
    D3DCOLOR ClearColor() const;
    void RefreshSizeFromWindow();
    std::string ViewStatePath() const;

    const FrameUser* m_frameUser = nullptr;
    bool m_creatingDevice = false;
    // The client size at which the device last failed to be created, reported once.
    std::optional<SIZE> m_failedSize;
    std::set<std::string> m_reportedTextures;
    std::vector<TextureFailure> m_textureFailures;
    // The file each texture name stands for, worked out once for the folder and trust it
    // was seen with (TextureFileOf).
    struct SeenTexture {
        std::string folder;
        bool trusted = false;
        std::string file; // empty: the name is not opened
    };
    std::map<std::string, SeenTexture> m_seenTextures;
    // Set between the start of a frame and its present: the lists are being walked.
    bool m_drawingFrame = false;
    std::unique_ptr<SceneLists> m_pendingScene;
    struct BuiltMesh {
        SceneMesh geometry; // vertices, indices and face count it was built from
        Microsoft::WRL::ComPtr<ID3DXMesh> mesh;
        // Made from `mesh` when first drawn in those looks.
        Microsoft::WRL::ComPtr<ID3DXMesh> shaded;
        Microsoft::WRL::ComPtr<IDirect3DVertexBuffer9> edgedVertices;
        Microsoft::WRL::ComPtr<IDirect3DIndexBuffer9> edgedIndices; // a triangle list
        UINT edgedVertexCount = 0;
        UINT edgedTriangles = 0;
        D3DCOLOR edgeColourOf = 0; // the mesh's average colour, which the edges stand out from
        bool shadedTried = false;  // made, or found impossible, for this geometry
        bool edgedTried = false;
    };
    Microsoft::WRL::ComPtr<ID3DXMesh> BuildShadedMesh(ID3DXMesh& plain);
    bool BuildEdged(ID3DXMesh& plain, BuiltMesh& built);
    ID3DXMesh* ShadedMeshFor(std::size_t position);
    // Puts the shading vertex shader in force for a mesh placed by `world`.
    bool PrepareShading(const D3DXMATRIX& world);
    void SetLightConstants(const D3DXMATRIX& world, float ambient, float diffuse);
    bool PrepareEdgedShaders();
    bool DrawEdged(std::size_t position, const D3DXMATRIX& world, IDirect3DTexture9* texture);
    Microsoft::WRL::ComPtr<IDirect3DVertexShader9> m_shadingShader;
    bool m_shadingFailed = false;
    Microsoft::WRL::ComPtr<IDirect3DVertexShader9> m_edgedVertexShader;
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> m_edgedPixelShader;
    bool m_edgedFailed = false;
    std::vector<BuiltMesh> m_builtMeshes; // lives on the device
    // Set where the device's own present does not reach the screen.
    std::unique_ptr<GdiPresenter> m_gdiPresenter;
};

} // namespace KelUtility
