#pragma once

// What the 3D preview draws: the records of its seven scene lists. The application shows
// one SceneMesh made from its document; the other kinds serve scenes of other programs.

#include "document/mesh_document.h"
#include "document/mesh_vertex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KelUtility {

using MyApp::MeshVertex;

struct SceneMesh {
    std::int32_t Id = 0;
    std::int32_t Tag = 0; // for the free camera's collision handler
    std::int32_t FaceCount = 0;
    std::vector<MeshVertex> Vertices;
    std::vector<std::uint16_t> Indices; // three per triangle, into Vertices
    double X = 0; // offset in world space, after the panel's world transform
    double Y = 0;
    double Z = 0;
    std::int32_t TextureResource = 0; // used when TextureFile is empty
    std::string TextureFile;
    bool Visible = false;
};

struct ScenePoint {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

struct SceneTriangle {
    std::int32_t Tag = 0; // 0: solid
    ScenePoint Corners[3];
    std::uint32_t Color = 0; // 0x00BBGGRR
    std::int32_t TextureResource = 0;
    std::string TextureFile;
    bool InView = false; // written by the panel at every frame
};

struct SceneQuad {
    std::int32_t Unused = 0;
    std::int32_t Tag = 0; // 1000: solid
    ScenePoint Corners[4];
    std::uint32_t Color = 0; // 0x00BBGGRR
    std::int32_t TextureResource = 0;
    std::string TextureFile;
    bool InView = false;
};

struct SceneXMesh {
    std::int32_t Unused = 0;
    std::int32_t Tag = 0; // 3000: solid
    double X = 0;
    double Y = 0;
    double Z = 0;
    std::string File;
    bool Visible = false;
};

struct SceneSprite {
    std::int32_t Width = 0;
    std::int32_t CellHeight = 0;
    std::int32_t Cell = 0; // row of the strip in the sheet
    std::int32_t Unused1 = 0;
    std::int32_t Unused2 = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Unused3 = 0;
};

struct SceneText {
    std::string Text;
    std::int32_t Height = 0;
    std::string FaceName;
    bool Bold = false;
    bool Italic = false;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool Visible = false;
    std::uint32_t Color = 0; // Direct3D colour 0xAARRGGBB, passed on unchanged
};

struct SceneText3D {
    std::string Text;
    std::int32_t Height = 0;
    std::string FaceName; // at most 31 characters
    bool Bold = false;
    bool Italic = false;
    double X = 0;
    double Y = 0;
    double Z = 0;
    bool Visible = false;
    std::uint32_t Color = 0; // 0x00BBGGRR
};

// The record the application shows for its document.
SceneMesh ToSceneMesh(const MyApp::MeshDocument& document);

// Copies into the shown record what differs in the latest one: texture, indices, face
// count, tag, visibility and vertices; never the id or the position. True when anything
// was copied.
bool MergeSceneMesh(SceneMesh& shown, const SceneMesh& latest);
// The same with ToSceneMesh(document) as the latest record, without making it.
bool MergeSceneMesh(SceneMesh& shown, const MyApp::MeshDocument& document);

} // namespace KelUtility
