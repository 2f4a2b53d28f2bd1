#include "viewport/scene_records.h"

namespace KelUtility {
namespace {

constexpr std::int32_t kDocumentMeshId = 1;
constexpr std::int32_t kDocumentMeshTag = 2002;

template <typename Value> void Copy(Value& shown, const Value& latest, bool& changed) {
    if (shown != latest) {
        shown = latest;
        changed = true;
    }
}

// A list whose length changed is taken whole (true); otherwise each entry that differs is
// to be copied.
template <typename Entry>
bool TakeWholeList(std::vector<Entry>& shown, const std::vector<Entry>& latest, bool& changed) {
    if (shown.size() == latest.size())
        return false;
    shown = latest;
    changed = true;
    return true;
}

void CopyVertex(MeshVertex& shown, const MeshVertex& latest, bool& changed) {
    if (shown.X != latest.X || shown.Y != latest.Y || shown.Z != latest.Z) {
        shown = latest;
        changed = true;
    }
    Copy(shown.Color, latest.Color, changed);
    Copy(shown.Tu, latest.Tu, changed);
    Copy(shown.Tv, latest.Tv, changed);
}

} // namespace

SceneMesh ToSceneMesh(const MyApp::MeshDocument& document) {
    SceneMesh mesh;
    mesh.Id = kDocumentMeshId;
    mesh.Tag = kDocumentMeshTag;
    mesh.FaceCount = document.FaceCount;
    mesh.Vertices = document.Vertices;
    mesh.Indices = document.Indices;
    mesh.TextureResource = 0;
    mesh.TextureFile = document.TextureFile;
    mesh.Visible = true;
    return mesh;
}

namespace {

// What a merge reads of the latest record, which the document's lists can be without a copy.
struct MeshSource {
    const std::string& TextureFile;
    std::int32_t TextureResource;
    const std::vector<std::uint16_t>& Indices;
    std::int32_t FaceCount;
    std::int32_t Tag;
    bool Visible;
    const std::vector<MeshVertex>& Vertices;
};

bool Merge(SceneMesh& shown, const MeshSource& latest) {
    bool changed = false;
    Copy(shown.TextureFile, latest.TextureFile, changed);
    Copy(shown.TextureResource, latest.TextureResource, changed);
    if (!TakeWholeList(shown.Indices, latest.Indices, changed)) {
        for (std::size_t i = 0; i < latest.Indices.size(); ++i)
            Copy(shown.Indices[i], latest.Indices[i], changed);
    }
    Copy(shown.FaceCount, latest.FaceCount, changed);
    Copy(shown.Tag, latest.Tag, changed);
    Copy(shown.Visible, latest.Visible, changed);
    if (!TakeWholeList(shown.Vertices, latest.Vertices, changed)) {
        for (std::size_t i = 0; i < latest.Vertices.size(); ++i)
            CopyVertex(shown.Vertices[i], latest.Vertices[i], changed);
    }
    return changed;
}

} // namespace

bool MergeSceneMesh(SceneMesh& shown, const SceneMesh& latest) {
    return Merge(shown, {latest.TextureFile, latest.TextureResource, latest.Indices,
                         latest.FaceCount, latest.Tag, latest.Visible, latest.Vertices});
}

bool MergeSceneMesh(SceneMesh& shown, const MyApp::MeshDocument& document) {
    return Merge(shown, {document.TextureFile, 0, document.Indices, document.FaceCount,
                         kDocumentMeshTag, true, document.Vertices});
}

} // namespace KelUtility
