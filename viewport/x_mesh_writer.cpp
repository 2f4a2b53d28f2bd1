#include "viewport/x_mesh_writer.h"

#include "viewport/mesh_geometry.h"
#include "viewport/x_text.h"

namespace KelUtility {
namespace {

const char* const kHeader = "xof 0303txt 0032";
// Diffuse yellow, no power, no specular or emissive colour.
const char* const kMaterial[] = {"1.0;1.0;0.0;1.0;;", "0.0;", "0.0;0.0;0.0;;", "0.0;0.0;0.0;;"};

// Array elements are separated by ',' and the array ends with ';'.
const char* EndOfElement(std::size_t i, std::size_t count) {
    return i + 1 < count ? "," : ";";
}

void AddPositions(std::vector<std::string>& lines, const std::vector<DeviceVertex>& vertices) {
    lines.push_back(" " + std::to_string(vertices.size()) + ";");
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        std::string line = " ";
        for (float coordinate : {vertices[i].x, vertices[i].y, vertices[i].z}) {
            AppendXFloat(line, coordinate);
            line += ';';
        }
        lines.push_back(line + EndOfElement(i, vertices.size()));
    }
}

void AddFaces(std::vector<std::string>& lines, const std::vector<std::uint16_t>& indices) {
    const std::size_t faces = indices.size() / 3;
    lines.push_back(" " + std::to_string(faces) + ";");
    for (std::size_t f = 0; f < faces; ++f) {
        lines.push_back(" 3;" + std::to_string(indices[3 * f]) + "," +
                        std::to_string(indices[3 * f + 1]) + "," +
                        std::to_string(indices[3 * f + 2]) + ";" + EndOfElement(f, faces));
    }
}

void AddMaterialList(std::vector<std::string>& lines, std::size_t faces,
                     const std::string& texture) {
    lines.insert(lines.end(), {" MeshMaterialList {", "  1;", "  " + std::to_string(faces) + ";"});
    for (std::size_t f = 0; f < faces; ++f)
        lines.push_back(std::string("  0") + EndOfElement(f, faces));
    lines.push_back("  Material {");
    for (const char* line : kMaterial)
        lines.push_back(std::string("   ") + line);
    if (!texture.empty())
        lines.insert(lines.end(), {"   TextureFilename {", "    \"" + texture + "\";", "   }"});
    lines.insert(lines.end(), {"  }", " }"});
}

void AddTextureCoordinates(std::vector<std::string>& lines,
                           const std::vector<DeviceVertex>& vertices) {
    lines.insert(lines.end(),
                 {" MeshTextureCoords {", "  " + std::to_string(vertices.size()) + ";"});
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        std::string line = "  ";
        AppendXFloat(line, vertices[i].tu);
        line += ';';
        AppendXFloat(line, vertices[i].tv);
        lines.push_back(line + ";" + EndOfElement(i, vertices.size()));
    }
    lines.push_back(" }");
}

// Device colours are 0xAARRGGBB.
void AddVertexColors(std::vector<std::string>& lines, const std::vector<DeviceVertex>& vertices) {
    lines.insert(lines.end(),
                 {" MeshVertexColors {", "  " + std::to_string(vertices.size()) + ";"});
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        std::string line = "  " + std::to_string(i) + ";";
        for (int shift : {16, 8, 0, 24}) {
            AppendXChannel(line, vertices[i].color >> shift);
            line += ';';
        }
        lines.push_back(line + ";" + EndOfElement(i, vertices.size()));
    }
    lines.push_back(" }");
}

} // namespace

// The file's strings have no escapes: a quote inside one would end it.
XMeshProblem XMeshProblemOf(const SceneMesh& record) {
    const std::optional<MeshShape> shape = ShapeOf(record);
    if (!shape || WholeFaces(record, *shape) == 0)
        return XMeshProblem::NoMesh;
    if (record.TextureFile.size() > kMaximumTextureName)
        return XMeshProblem::TextureNameTooLong;
    if (record.TextureFile.find('"') != std::string::npos)
        return XMeshProblem::TextureNameQuoted;
    return XMeshProblem::None;
}

// The preview fills a face count beyond the list with empty triangles; a file gets only
// the triangles that are there, and says how many.
std::optional<std::vector<std::string>> XMeshLines(const SceneMesh& record) {
    if (XMeshProblemOf(record) != XMeshProblem::None)
        return std::nullopt;
    const MeshShape whole{WholeFaces(record, *ShapeOf(record)),
                          static_cast<std::uint32_t>(record.Vertices.size())};
    std::vector<DeviceVertex> vertices(whole.vertices);
    WriteVertices(record, vertices.data());
    std::vector<std::uint16_t> indices(whole.IndexCount());
    WriteIndices(record, whole, indices.data());

    std::vector<std::string> lines = {kHeader, "", "Mesh {"};
    lines.reserve(4 * vertices.size() + 2 * whole.faces + 32);
    AddPositions(lines, vertices);
    AddFaces(lines, indices);
    AddMaterialList(lines, whole.faces, record.TextureFile);
    AddTextureCoordinates(lines, vertices);
    AddVertexColors(lines, vertices);
    lines.push_back("}");
    return lines;
}

} // namespace KelUtility
