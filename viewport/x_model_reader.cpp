#include "viewport/x_model_reader.h"

#include "document/model_files.h"
#include "document/name_resolver.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <d3dx9.h>
#include <memory>
#include <set>
#include <utility>
#include <vector>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace KelUtility {
namespace {

// The program's text is UTF-8; accented letters are spelled as their bytes.
const char* const kMissing = "Il file .x non esiste o non si pu\xC3\xB2 aprire.";
const char* const kUnreadable = "Il file .x non \xC3\xA8 valido o non si pu\xC3\xB2 leggere";
const char* const kNotLocked = "Il modello letto dal file .x non si pu\xC3\xB2 leggere dalla "
                               "memoria.";
const char* const kNoPositions = "Il modello del file .x non ha le posizioni dei vertici in "
                                 "una forma che si possa leggere.";
const char* const kBadIndex = "Il modello del file .x ha un triangolo con un vertice che non "
                              "esiste.";

constexpr std::uint32_t kWhite = 0x00FFFFFF;

// What D3DX's file errors mean, in the user's words. D3DX reads .x files through the
// DirectX file services, whose codes (dxfile.h) it passes on, or its own (d3dx9xof.h).
struct FileError {
    unsigned long code;
    const char* meaning;
};
constexpr unsigned long kDirectXFile = 0x88760000; // MAKE_DDHRESULT(0)
constexpr FileError kFileErrors[] = {
    {kDirectXFile + 861, "non comincia come un file .x"},
    {kDirectXFile + 862, "la versione del formato non \xC3\xA8 gestita"},
    {kDirectXFile + 863, "la dimensione dei numeri non \xC3\xA8 gestita"},
    {kDirectXFile + 864, "la compressione non \xC3\xA8 gestita"},
    {kDirectXFile + 865, "il contenuto \xC3\xA8 rovinato"},
    {kDirectXFile + 866, "il testo non segue la sintassi dei file .x"},
    {kDirectXFile + 850, "un oggetto del file \xC3\xA8 rovinato"},
    {kDirectXFile + 851, "un valore non \xC3\xA8 valido"},
    {kDirectXFile + 852, "un oggetto ha un tipo sconosciuto"},
    {kDirectXFile + 913, "non comincia come un file .x"},
    {kDirectXFile + 914, "la versione del formato non \xC3\xA8 gestita"},
    {kDirectXFile + 915, "la dimensione dei numeri non \xC3\xA8 gestita"},
    {kDirectXFile + 917, "il contenuto \xC3\xA8 rovinato"},
    {kDirectXFile + 918, "il testo non segue la sintassi dei file .x"},
    {static_cast<unsigned long>(E_OUTOFMEMORY), "memoria insufficiente"},
};

// An Italian first line, with the meaning of D3DX's code where it is a known one, and the
// code itself on a second line, for whoever can make use of it.
std::string WithCode(const char* text, HRESULT result) {
    const unsigned long code = static_cast<unsigned long>(result);
    std::string message = text;
    const auto known = std::find_if(std::begin(kFileErrors), std::end(kFileErrors),
                                    [&](const FileError& error) { return error.code == code; });
    if (known != std::end(kFileErrors) && message.back() != '.')
        message += std::string(": ") + known->meaning;
    if (message.back() != '.')
        message += '.';
    char line[48];
    std::snprintf(line, sizeof line, "\nCodice di errore di D3DX: 0x%08lX.", code);
    return message + line;
}

// Where a vertex keeps what the reader takes from it; -1 where it keeps none of it.
struct VertexLayout {
    int position = -1;
    int color = -1;
    int texture = -1;
};

// Only the elements of the first stream in the types D3DX gives a .x mesh are taken; any
// other form of colour or texture coordinates is left out rather than misread.
VertexLayout LayoutOf(ID3DXMesh& mesh) {
    D3DVERTEXELEMENT9 elements[MAX_FVF_DECL_SIZE] = {};
    VertexLayout layout;
    if (FAILED(mesh.GetDeclaration(elements)))
        return layout;
    const DWORD stride = mesh.GetNumBytesPerVertex();
    for (const D3DVERTEXELEMENT9* element = elements;
         element < elements + MAX_FVF_DECL_SIZE && element->Stream != 0xFF; ++element) {
        if (element->Stream != 0 || element->UsageIndex != 0)
            continue;
        const int offset = element->Offset;
        if (element->Usage == D3DDECLUSAGE_POSITION &&
            (element->Type == D3DDECLTYPE_FLOAT3 || element->Type == D3DDECLTYPE_FLOAT4) &&
            offset + 3 * sizeof(float) <= stride)
            layout.position = offset;
        else if (element->Usage == D3DDECLUSAGE_COLOR && element->Type == D3DDECLTYPE_D3DCOLOR &&
                 offset + sizeof(D3DCOLOR) <= stride)
            layout.color = offset;
        else if (element->Usage == D3DDECLUSAGE_TEXCOORD && element->Type >= D3DDECLTYPE_FLOAT2 &&
                 element->Type <= D3DDECLTYPE_FLOAT4 && offset + 2 * sizeof(float) <= stride)
            layout.texture = offset;
    }
    return layout;
}

std::uint32_t ToByte(float value) {
    // NaN falls to 0 through the comparisons.
    const float clamped = value > 0.0f ? std::min(value, 1.0f) : 0.0f;
    return static_cast<std::uint32_t>(std::lround(clamped * 255.0f));
}

// The document keeps colours as 0x00BBGGRR.
std::uint32_t FromMaterial(const D3DCOLORVALUE& color) {
    return ToByte(color.r) | ToByte(color.g) << 8 | ToByte(color.b) << 16;
}

std::uint32_t FromVertex(D3DCOLOR color) {
    return (color >> 16 & 0xFF) | (color & 0xFF00) | (color & 0xFF) << 16;
}

// Material names are in the system's code page. Our own mesh files keep a name that code
// page cannot spell in UTF-8, so a name that is valid UTF-8 is taken as such; text in an
// 8-bit code page is almost never valid UTF-8 once it has a letter past ASCII.
std::string NameFromFile(const char* name) {
    for (const UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int length = MultiByteToWideChar(codePage, flags, name, -1, nullptr, 0);
        if (length <= 0)
            continue;
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(codePage, flags, name, -1, &wide[0], length);
        wide.resize(static_cast<std::size_t>(length - 1));
        return ToNarrow(wide);
    }
    return {};
}

// The first texture a material names is the model's, as the document holds one texture
// for the mesh; the other names, gathered in `names` over the whole file, are counted.
void TakeTextures(const D3DXMATERIAL* materials, DWORD count, const std::string& path,
                  std::set<std::string>& names, MyApp::ModelTriangles& model) {
    for (DWORD i = 0; i < count; ++i) {
        const char* name = materials[i].pTextureFilename;
        const std::string narrow = name != nullptr ? NameFromFile(name) : "";
        if (narrow.empty() || !names.insert(narrow).second)
            continue;
        if (names.size() > 1)
            continue;
        const MyApp::ResolvedName file =
            MyApp::ResolveName(MyApp::FolderOf(path), narrow, MyApp::NameScope::Model);
        model.textureFile = file.path;
        if (file.refusal != MyApp::NameRefusal::None)
            model.notes.push_back(MyApp::RefusedTextureNote(narrow, file.refusal));
    }
    model.texturesLeftOut = names.empty() ? 0 : names.size() - 1;
}

// The mesh's three buffers, locked for reading and unlocked when done.
class LockedMesh {
public:
    explicit LockedMesh(ID3DXMesh& mesh) : m_mesh(mesh) {
        void* indices = nullptr;
        void* vertices = nullptr;
        DWORD* attributes = nullptr;
        m_result = mesh.LockIndexBuffer(D3DLOCK_READONLY, &indices);
        m_indicesLocked = SUCCEEDED(m_result);
        if (m_indicesLocked)
            m_result = mesh.LockVertexBuffer(D3DLOCK_READONLY, &vertices);
        m_verticesLocked = m_indicesLocked && SUCCEEDED(m_result);
        if (m_verticesLocked)
            m_result = mesh.LockAttributeBuffer(D3DLOCK_READONLY, &attributes);
        m_attributesLocked = m_verticesLocked && SUCCEEDED(m_result);
        if (m_attributesLocked && (indices == nullptr || vertices == nullptr ||
                                   (attributes == nullptr && mesh.GetNumFaces() > 0)))
            m_result = E_POINTER;
        m_indices = static_cast<const unsigned char*>(indices);
        m_vertices = static_cast<const unsigned char*>(vertices);
        m_attributes = attributes;
    }
    ~LockedMesh() {
        if (m_attributesLocked)
            m_mesh.UnlockAttributeBuffer();
        if (m_verticesLocked)
            m_mesh.UnlockVertexBuffer();
        if (m_indicesLocked)
            m_mesh.UnlockIndexBuffer();
    }
    LockedMesh(const LockedMesh&) = delete;
    LockedMesh& operator=(const LockedMesh&) = delete;

    HRESULT Result() const { return m_result; }
    DWORD Index(DWORD position, bool wide) const {
        if (wide) {
            DWORD value;
            std::memcpy(&value, m_indices + position * sizeof value, sizeof value);
            return value;
        }
        WORD value;
        std::memcpy(&value, m_indices + position * sizeof value, sizeof value);
        return value;
    }
    const unsigned char* Vertex(DWORD index, DWORD stride) const {
        return m_vertices + static_cast<std::size_t>(index) * stride;
    }
    DWORD Attribute(DWORD face) const { return m_attributes[face]; }

private:
    ID3DXMesh& m_mesh;
    HRESULT m_result = S_OK;
    bool m_indicesLocked = false;
    bool m_verticesLocked = false;
    bool m_attributesLocked = false;
    const unsigned char* m_indices = nullptr;
    const unsigned char* m_vertices = nullptr;
    const DWORD* m_attributes = nullptr;
};

MyApp::ModelCorner CornerOf(const unsigned char* vertex, const VertexLayout& layout,
                            const D3DXMATRIX& world, std::uint32_t faceColor) {
    MyApp::ModelCorner corner;
    D3DXVECTOR3 position;
    std::memcpy(&position, vertex + layout.position, sizeof position);
    D3DXVECTOR3 placed;
    D3DXVec3TransformCoord(&placed, &position, &world);
    corner.X = placed.x;
    corner.Y = placed.y;
    corner.Z = placed.z;
    corner.Color = faceColor;
    if (layout.color >= 0) {
        D3DCOLOR color;
        std::memcpy(&color, vertex + layout.color, sizeof color);
        corner.Color = FromVertex(color);
    }
    if (layout.texture >= 0) {
        float texture[2];
        std::memcpy(texture, vertex + layout.texture, sizeof texture);
        corner.Tu = texture[0];
        corner.Tv = texture[1];
    }
    return corner;
}

enum class FacesRead { Read, Unlocked, BadIndex, NoPositions };

// Appends the mesh's triangles, placed by `world`, to corners.
FacesRead ReadFaces(ID3DXMesh& mesh, const D3DXMATERIAL* materials, DWORD materialCount,
                    const D3DXMATRIX& world, std::vector<MyApp::ModelCorner>& corners,
                    HRESULT& result) {
    const VertexLayout layout = LayoutOf(mesh);
    if (layout.position < 0)
        return FacesRead::NoPositions;
    const LockedMesh locked(mesh);
    result = locked.Result();
    if (FAILED(result))
        return FacesRead::Unlocked;
    const bool wide = (mesh.GetOptions() & D3DXMESH_32BIT) != 0;
    const DWORD faces = mesh.GetNumFaces();
    const DWORD vertices = mesh.GetNumVertices();
    const DWORD stride = mesh.GetNumBytesPerVertex();
    corners.reserve(corners.size() + static_cast<std::size_t>(faces) * 3);
    for (DWORD face = 0; face < faces; ++face) {
        // A face whose material the file does not list is drawn as one without materials.
        const DWORD attribute = locked.Attribute(face);
        const std::uint32_t faceColor =
            attribute < materialCount ? FromMaterial(materials[attribute].MatD3D.Diffuse) : kWhite;
        for (DWORD corner = 0; corner < 3; ++corner) {
            const DWORD index = locked.Index(face * 3 + corner, wide);
            if (index >= vertices)
                return FacesRead::BadIndex;
            corners.push_back(CornerOf(locked.Vertex(index, stride), layout, world, faceColor));
        }
    }
    return FacesRead::Read;
}

std::string FacesMessage(FacesRead read, HRESULT result) {
    switch (read) {
    case FacesRead::Read:
        break;
    case FacesRead::Unlocked:
        return WithCode(kNotLocked, result);
    case FacesRead::BadIndex:
        return kBadIndex;
    case FacesRead::NoPositions:
        return kNoPositions;
    }
    return {};
}

// Keeps every frame and mesh container D3DX asks for until the reader is done with them;
// the hierarchy is thrown away whole, so the destroy calls have nothing to do.
class HeldHierarchy : public ID3DXAllocateHierarchy {
public:
    STDMETHOD(CreateFrame)(const char* name, D3DXFRAME** made) override {
        m_frames.push_back(std::make_unique<Frame>());
        Frame& frame = *m_frames.back();
        frame.name = name != nullptr ? name : "";
        frame.frame.Name = &frame.name[0];
        D3DXMatrixIdentity(&frame.frame.TransformationMatrix);
        *made = &frame.frame;
        return S_OK;
    }
    STDMETHOD(CreateMeshContainer)
    (const char* name, const D3DXMESHDATA* data, const D3DXMATERIAL* materials,
     const D3DXEFFECTINSTANCE*, DWORD materialCount, const DWORD*, ID3DXSkinInfo*,
     D3DXMESHCONTAINER** made) override {
        m_containers.push_back(std::make_unique<Container>());
        Container& container = *m_containers.back();
        container.name = name != nullptr ? name : "";
        container.container.Name = &container.name[0];
        container.container.MeshData.Type = data->Type;
        if (data->Type == D3DXMESHTYPE_MESH) {
            container.mesh = data->pMesh;
            container.container.MeshData.pMesh = container.mesh.Get();
        }
        for (DWORD i = 0; materials != nullptr && i < materialCount; ++i) {
            container.textures.push_back(
                materials[i].pTextureFilename != nullptr ? materials[i].pTextureFilename : "");
            container.materials.push_back(materials[i]);
        }
        for (std::size_t i = 0; i < container.materials.size(); ++i)
            container.materials[i].pTextureFilename =
                container.textures[i].empty() ? nullptr : &container.textures[i][0];
        container.container.pMaterials = container.materials.data();
        container.container.NumMaterials = static_cast<DWORD>(container.materials.size());
        *made = &container.container;
        return S_OK;
    }
    STDMETHOD(DestroyFrame)(D3DXFRAME*) override { return S_OK; }
    STDMETHOD(DestroyMeshContainer)(D3DXMESHCONTAINER*) override { return S_OK; }

private:
    struct Frame {
        D3DXFRAME frame = {};
        std::string name;
    };
    struct Container {
        D3DXMESHCONTAINER container = {};
        std::string name;
        ComPtr<ID3DXMesh> mesh;
        std::vector<D3DXMATERIAL> materials;
        std::vector<std::string> textures;
    };
    std::vector<std::unique_ptr<Frame>> m_frames;
    std::vector<std::unique_ptr<Container>> m_containers;
};

// Every mesh of the file's frames, each placed by its frame and the frames above it, as
// D3DX would join them. The frames are walked without recursion: a file may nest deep.
bool ReadHierarchy(IDirect3DDevice9& device, const std::wstring& path, const std::string& name,
                   MyApp::ModelTriangles& model, std::string& message) {
    HeldHierarchy held;
    D3DXFRAME* root = nullptr;
    const HRESULT loaded = D3DXLoadMeshHierarchyFromXW(path.c_str(), D3DXMESH_SYSTEMMEM, &device,
                                                       &held, nullptr, &root, nullptr);
    if (FAILED(loaded) || root == nullptr) {
        message = WithCode(kUnreadable, FAILED(loaded) ? loaded : E_FAIL);
        return false;
    }
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    std::vector<std::pair<const D3DXFRAME*, D3DXMATRIX>> pending{{root, identity}};
    std::set<std::string> textures;
    while (!pending.empty()) {
        const D3DXFRAME* frame = pending.back().first;
        const D3DXMATRIX parent = pending.back().second;
        pending.pop_back();
        const D3DXMATRIX world = frame->TransformationMatrix * parent;
        for (const D3DXMESHCONTAINER* container = frame->pMeshContainer; container != nullptr;
             container = container->pNextMeshContainer) {
            if (container->MeshData.Type != D3DXMESHTYPE_MESH || !container->MeshData.pMesh)
                continue;
            HRESULT result = S_OK;
            const FacesRead read = ReadFaces(*container->MeshData.pMesh, container->pMaterials,
                                             container->NumMaterials, world, model.corners, result);
            if (read != FacesRead::Read) {
                message = FacesMessage(read, result);
                return false;
            }
            TakeTextures(container->pMaterials, container->NumMaterials, name, textures, model);
        }
        // Siblings go on first so that the children are read before them, in file order.
        if (frame->pFrameSibling != nullptr)
            pending.emplace_back(frame->pFrameSibling, parent);
        if (frame->pFrameFirstChild != nullptr)
            pending.emplace_back(frame->pFrameFirstChild, world);
    }
    return true;
}

} // namespace

bool ReadXModel(IDirect3DDevice9& device, const std::string& path, MyApp::ModelTriangles& model,
                std::string& message, std::size_t maxTriangles) {
    if (!FileExists(path)) {
        message = kMissing;
        return false;
    }
    const std::wstring widePath = ToWide(path);
    ComPtr<ID3DXMesh> mesh;
    ComPtr<ID3DXBuffer> materialBuffer;
    DWORD materialCount = 0;
    const HRESULT loaded =
        D3DXLoadMeshFromXW(widePath.c_str(), D3DXMESH_SYSTEMMEM, &device, nullptr, &materialBuffer,
                           nullptr, &materialCount, &mesh);
    if (FAILED(loaded) || !mesh) {
        message = WithCode(kUnreadable, FAILED(loaded) ? loaded : E_FAIL);
        return false;
    }
    const D3DXMATERIAL* materials =
        materialBuffer ? static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer())
                       : nullptr;
    if (materials == nullptr)
        materialCount = 0;
    // D3DX has decoded the file; its faces, joined or read frame by frame, are the same
    // ones, and are counted before their corners are made.
    if (mesh->GetNumFaces() > maxTriangles) {
        message = MyApp::TooManyTriangles(mesh->GetNumFaces(), maxTriangles);
        return false;
    }
    MyApp::ModelTriangles read;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    HRESULT result = S_OK;
    const FacesRead faces =
        ReadFaces(*mesh.Get(), materials, materialCount, identity, read.corners, result);
    if (faces == FacesRead::BadIndex) {
        // Wine's D3DX joins a file of several meshes with the later meshes' indices pointing
        // past the joined vertices; read one mesh at a time from the frames instead.
        read = {};
        if (!ReadHierarchy(device, widePath, path, read, message))
            return false;
    } else if (faces != FacesRead::Read) {
        message = FacesMessage(faces, result);
        return false;
    } else {
        std::set<std::string> textures;
        TakeTextures(materials, materialCount, path, textures, read);
    }
    model = std::move(read);
    return true;
}

} // namespace KelUtility
