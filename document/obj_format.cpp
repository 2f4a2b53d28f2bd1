#include "document/obj_format.h"

#include "document/format_text.h"
#include "document/model_files.h"
#include "document/name_resolver.h"
#include "document/number_text.h"
#include "document/polygon_triangulator.h"

#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <set>
#include <sstream>
#include <string_view>
#include <vector>

namespace MyApp {

namespace {

// Whether each material of an MTL text, in the order tinyobjloader keeps them, sets Kd: a
// material is kept when the next newmtl begins, if it has a name, and the last always.
// The lines are split and trimmed as tinyobjloader does.
std::vector<bool> MaterialsWithKd(const std::string& text) {
    std::vector<bool> kept;
    bool named = false;
    bool hasKd = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        line.remove_suffix(line.size() - std::min(line.size(), line.find_last_not_of(" \t") + 1));
        line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t")));
        const auto spaceAt = [&line](std::size_t i) { return i < line.size() && (line[i] == ' ' || line[i] == '\t'); };
        if (line.substr(0, 6) == "newmtl" && spaceAt(6)) {
            if (named)
                kept.push_back(hasKd);
            named = line.size() > 7;
            hasKd = false;
        } else if (line.substr(0, 2) == "Kd" && spaceAt(2)) {
            hasKd = true;
        }
    }
    kept.push_back(hasKd);
    return kept;
}

// A material with a diffuse texture and no Kd (as Blender writes them) shows its texture
// as it is, white underneath: tinyobjloader would give it 0.6 grey, or black once any
// earlier material of the file set Kd.
void WhitenTexturedWithoutKd(const std::string& text, std::vector<tinyobj::material_t>& materials,
                             std::size_t first) {
    const std::vector<bool> withKd = MaterialsWithKd(text);
    if (withKd.size() != materials.size() - first)
        return;
    for (std::size_t k = 0; k < withKd.size(); ++k) {
        tinyobj::material_t& material = materials[first + k];
        if (!withKd[k] && !material.diffuse_texname.empty())
            std::fill(std::begin(material.diffuse), std::end(material.diffuse), tinyobj::real_t(1));
    }
}

// Opens each material library the resolver lets through, through OpenPath, so that a name
// beyond the narrow code page reaches the file on Windows too. A library that is refused or
// cannot be read leaves the model white, and is told once in `notes`.
class MaterialFromFolder : public tinyobj::MaterialReader {
public:
    MaterialFromFolder(std::string folder, std::vector<std::string>& notes)
        : m_folder(std::move(folder)), m_notes(notes) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* names, std::string* warn,
                    std::string* err) override {
        const ResolvedName library = ResolveName(m_folder, name, NameScope::Model);
        std::string text;
        if (library.refusal != NameRefusal::None) {
            Tell(name, RefusedNameText(kLibrary, true, name, library.refusal) + ".");
            return false;
        }
        if (!ReadWholeFile(library.path, text)) {
            Tell(name, std::string(kLibrary) + " " + library.path +
                           (FileExists(library.path) ? " indicata dal modello non si pu\xC3\xB2 leggere."
                                                     : " indicata dal modello non esiste."));
            return false;
        }
        std::istringstream stream(text);
        const std::size_t first = materials->size();
        tinyobj::LoadMtl(names, materials, &stream, warn, err);
        WhitenTexturedWithoutKd(text, *materials, first);
        return true;
    }

private:
    static constexpr const char* kLibrary = "La libreria dei materiali";

    void Tell(const std::string& name, const std::string& note) {
        if (m_told.insert(name).second)
            m_notes.push_back(note);
    }

    std::string m_folder;
    std::vector<std::string>& m_notes;
    std::set<std::string> m_told;
};

// The line number tinyobjloader puts in its error ("... line 12.)"), or empty.
std::string LineOf(const std::string& error) {
    const std::size_t at = error.find("line ");
    if (at == std::string::npos)
        return {};
    std::size_t end = at + 5;
    while (end < error.size() && error[end] >= '0' && error[end] <= '9')
        ++end;
    return end > at + 5 ? error.substr(at + 5, end - at - 5) : std::string();
}

std::string ParseErrorMessage(const std::string& error) {
    std::string message = "Il file OBJ non è valido: ";
    if (error.find("`f'") != std::string::npos || error.find("`l'") != std::string::npos ||
        error.find("`p'") != std::string::npos)
        message += "un indice è zero o non è un numero";
    else
        message += "una riga non si può leggere";
    const std::string line = LineOf(error);
    if (!line.empty())
        message += " (riga " + line + ")";
    return message + ".";
}

std::string IndexMessage(const char* what, int index, std::size_t count) {
    return std::string("Il file OBJ non è valido: una faccia usa ") + what + " " +
           std::to_string(static_cast<long long>(index) + 1) + ", ma il file ne ha " +
           std::to_string(count) + ".";
}

// Every index a face keeps must name an entry of its list; tinyobjloader passes through
// indices past the end and relative ones that reach before the start.
bool CheckIndices(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::shape_t>& shapes,
                  std::string& message) {
    const std::size_t positions = attrib.vertices.size() / 3;
    const std::size_t coordinates = attrib.texcoords.size() / 2;
    for (const tinyobj::shape_t& shape : shapes) {
        for (const tinyobj::index_t& index : shape.mesh.indices) {
            if (index.vertex_index < 0 ||
                static_cast<std::size_t>(index.vertex_index) >= positions) {
                message = IndexMessage("il vertice", index.vertex_index, positions);
                return false;
            }
            if (index.texcoord_index < -1 ||
                (index.texcoord_index >= 0 &&
                 static_cast<std::size_t>(index.texcoord_index) >= coordinates)) {
                message =
                    IndexMessage("la coordinata di texture", index.texcoord_index, coordinates);
                return false;
            }
        }
    }
    return true;
}

// tinyobjloader keeps each face's corner count in a byte: a face of 256 corners or more
// leaves counts that no longer add up to the corners kept, and every face after it would
// take the wrong corners.
bool CheckFaceSizes(const std::vector<tinyobj::shape_t>& shapes, std::string& message) {
    for (const tinyobj::shape_t& shape : shapes) {
        std::size_t corners = 0;
        for (unsigned char count : shape.mesh.num_face_vertices)
            corners += count;
        if (corners != shape.mesh.indices.size()) {
            message = "Il file OBJ ha una faccia di oltre 255 vertici, che non si può leggere.";
            return false;
        }
    }
    return true;
}

// The diffuse texture of the first material a face uses is the model's; the other
// textures the faces use are counted. Materials no face uses do not count.
void TakeTextures(const std::vector<tinyobj::shape_t>& shapes,
                  const std::vector<tinyobj::material_t>& materials, const std::string& folder,
                  ModelTriangles& model) {
    std::set<std::string> names;
    std::vector<bool> seen(materials.size(), false);
    for (const tinyobj::shape_t& shape : shapes) {
        for (const int id : shape.mesh.material_ids) {
            if (id < 0 || static_cast<std::size_t>(id) >= materials.size() || seen[id])
                continue;
            seen[id] = true;
            const std::string& texture = materials[id].diffuse_texname;
            if (texture.empty() || !names.insert(texture).second)
                continue;
            if (names.size() > 1)
                continue;
            const ResolvedName file = ResolveName(folder, texture, NameScope::Model);
            model.textureFile = file.path;
            if (file.refusal != NameRefusal::None)
                model.notes.push_back(RefusedTextureNote(texture, file.refusal));
        }
    }
    model.texturesLeftOut = names.empty() ? 0 : names.size() - 1;
}

// The polygon's corners where the triangulator finds them.
const std::vector<PolygonPoint>& CornersOf(const tinyobj::attrib_t& attrib,
                                           const tinyobj::index_t* polygon, std::size_t count,
                                           std::vector<PolygonPoint>& points) {
    points.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t v = static_cast<std::size_t>(polygon[k].vertex_index) * 3;
        points[k] = {attrib.vertices[v], attrib.vertices[v + 1], attrib.vertices[v + 2]};
    }
    return points;
}

// The triangles AppendTriangles makes of the shapes, counted before any is made.
std::uint64_t TriangleCount(const std::vector<tinyobj::shape_t>& shapes) {
    std::uint64_t triangles = 0;
    for (const tinyobj::shape_t& shape : shapes) {
        std::size_t first = 0;
        for (unsigned char n : shape.mesh.num_face_vertices) {
            if (n < 3 || first + n > shape.mesh.indices.size())
                break;
            first += n;
            triangles += n - 2u;
        }
    }
    return triangles;
}

void AppendTriangles(const tinyobj::attrib_t& attrib, const tinyobj::shape_t& shape,
                     const std::vector<tinyobj::material_t>& materials,
                     PolygonTriangulator& triangulator, std::vector<ModelCorner>& corners) {
    const bool vertexColors =
        !attrib.colors.empty() && attrib.colors.size() == attrib.vertices.size();
    const std::vector<tinyobj::index_t>& indices = shape.mesh.indices;
    std::size_t first = 0;
    std::vector<PolygonPoint> points;
    for (std::size_t face = 0; face < shape.mesh.num_face_vertices.size(); ++face) {
        const std::size_t n = shape.mesh.num_face_vertices[face];
        if (n < 3 || first + n > indices.size())
            break;
        const tinyobj::index_t* polygon = indices.data() + first;
        first += n;
        const std::vector<std::size_t>& triangles =
            triangulator.Cut(CornersOf(attrib, polygon, n, points));
        std::uint32_t faceColor = 0x00FFFFFF;
        if (face < shape.mesh.material_ids.size()) {
            const int id = shape.mesh.material_ids[face];
            if (id >= 0 && static_cast<std::size_t>(id) < materials.size()) {
                const tinyobj::real_t* kd = materials[static_cast<std::size_t>(id)].diffuse;
                faceColor = UnitColor(kd[0], kd[1], kd[2]);
            }
        }
        for (std::size_t k : triangles) {
            const tinyobj::index_t& index = polygon[k];
            const std::size_t v = static_cast<std::size_t>(index.vertex_index) * 3;
            ModelCorner corner;
            corner.X = attrib.vertices[v];
            corner.Y = attrib.vertices[v + 1];
            corner.Z = attrib.vertices[v + 2];
            corner.Color = vertexColors ? UnitColor(attrib.colors[v], attrib.colors[v + 1],
                                                    attrib.colors[v + 2])
                                        : faceColor;
            if (index.texcoord_index >= 0) {
                const std::size_t t = static_cast<std::size_t>(index.texcoord_index) * 2;
                corner.Tu = attrib.texcoords[t];
                corner.Tv = 1.0f - attrib.texcoords[t + 1];
            }
            corners.push_back(corner);
        }
    }
}

void AppendNumber(std::string& text, double value) {
    char buffer[kMaxRealText + 8];
    text.append(buffer, FormatRealTo(buffer, value));
}

// Skin weights ("vw" lines) mean nothing to a mesh editor, and tinyobjloader turns a joint
// number beyond an int's range into one without checking; the lines, which it ends at a
// CR as well as at a LF, become comments.
std::string WithoutSkinWeights(std::string_view obj) {
    std::string text(obj);
    for (std::size_t line = 0; line < text.size();) {
        const std::size_t start = text.find_first_not_of(" \t", line);
        if (start != std::string::npos && text.compare(start, 2, "vw") == 0 &&
            start + 2 < text.size() && (text[start + 2] == ' ' || text[start + 2] == '\t'))
            text[start] = '#';
        const std::size_t end = text.find_first_of("\r\n", line);
        line = end == std::string::npos ? text.size() : end + 1;
    }
    return text;
}

// The words of an OBJ line before its comment.
std::vector<std::string_view> WordsOf(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t\r", at)) != std::string_view::npos) {
        const std::size_t stop = std::min(line.find_first_of(" \t\r", at), line.size());
        words.push_back(line.substr(at, stop - at));
        at = stop;
    }
    return words;
}

// nan, inf or infinity, signed or not, in any case.
bool NamesNoFiniteNumber(std::string_view word) {
    if (word[0] == '+' || word[0] == '-')
        word.remove_prefix(1);
    return SameIgnoringCase(word.substr(0, 3), "nan") || SameIgnoringCase(word.substr(0, 3), "inf");
}

// tinyobjloader reads the words nan and inf, where a coordinate belongs, as 0: the value
// would change in silence. The first such word on a position or texture line, with its
// line from 1; an empty word when there is none.
std::string_view WordPastAFloat(std::string_view obj, std::size_t& lineNumber) {
    lineNumber = 0;
    for (std::size_t line = 0; line < obj.size(); ++lineNumber) {
        const std::size_t end = std::min(obj.find('\n', line), obj.size());
        const std::vector<std::string_view> words = WordsOf(obj.substr(line, end - line));
        if (!words.empty() && (words[0] == "v" || words[0] == "vt")) {
            for (std::size_t w = 1; w < words.size(); ++w) {
                if (NamesNoFiniteNumber(words[w])) {
                    ++lineNumber;
                    return words[w];
                }
            }
        }
        line = end + 1;
    }
    return {};
}

} // namespace

bool ReadObjText(std::string_view obj, const std::string& folder, ModelTriangles& model,
                 std::string& message, std::size_t maxTriangles) {
    model = ModelTriangles();
    std::size_t line = 0;
    const std::string_view word = WordPastAFloat(obj, line);
    if (!word.empty()) {
        message = "Il modello non si pu\xC3\xB2 importare: la riga " + std::to_string(line) +
                  " ha " + Quoted(std::string(word)) + " dove va un numero finito.";
        return false;
    }
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warning;
    std::string error;
    std::istringstream stream{WithoutSkinWeights(obj)};
    MaterialFromFolder materialReader(folder, model.notes);
    bool read = false;
    try {
        // Vertex colours are kept only when every vertex has them, so that a vertex
        // without one is never taken for white. Polygons are cut here: tinyobjloader's
        // own cutting drops faces it cannot clip and faces with a wrong index.
        read = tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, &stream,
                                &materialReader, false, false);
    } catch (const std::exception&) {
        read = false;
    }
    if (!read) {
        message = ParseErrorMessage(error);
        return false;
    }
    if (!CheckFaceSizes(shapes, message) || !CheckIndices(attrib, shapes, message))
        return false;
    // The faces' corners are in memory already, in proportion to the file; their triangles
    // would take ten times as much.
    const std::uint64_t triangles = TriangleCount(shapes);
    if (triangles > maxTriangles) {
        message = TooManyTriangles(triangles, maxTriangles);
        return false;
    }
    model.corners.reserve(static_cast<std::size_t>(triangles) * kCornersPerFace);
    PolygonTriangulator triangulator;
    for (const tinyobj::shape_t& shape : shapes)
        AppendTriangles(attrib, shape, materials, triangulator, model.corners);
    TakeTextures(shapes, materials, folder, model);
    return true;
}

bool ReadObj(const std::string& path, ModelTriangles& model, std::string& message,
             std::size_t maxTriangles) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        message = UnreadableFileMessage(path);
        return false;
    }
    return ReadObjText(text, FolderOf(path), model, message, maxTriangles);
}

void WriteObj(const ModelMesh& mesh, const std::string& materialFileName, std::string& obj,
              std::string& mtl) {
    static const char* const kMaterial = "materiale";
    obj = "# Kel Morvane\nmtllib " + materialFileName + "\n";
    for (const MeshVertex& vertex : mesh.vertices) {
        obj += "v ";
        for (double value : {vertex.X, vertex.Y, vertex.Z}) {
            AppendNumber(obj, value);
            obj += ' ';
        }
        for (int shift : {0, 8, 16}) {
            AppendNumber(obj, ((vertex.Color >> shift) & 0xFF) / 255.0);
            obj += shift == 16 ? '\n' : ' ';
        }
    }
    for (const MeshVertex& vertex : mesh.vertices) {
        obj += "vt ";
        AppendNumber(obj, vertex.Tu);
        obj += ' ';
        AppendNumber(obj, 1.0f - vertex.Tv);
        obj += '\n';
    }
    obj += std::string("usemtl ") + kMaterial + "\n";
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        obj += 'f';
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string number = std::to_string(std::uint64_t{mesh.indices[i + k]} + 1);
            obj += ' ' + number + '/' + number;
        }
        obj += '\n';
    }
    mtl = std::string("# Kel Morvane\nnewmtl ") + kMaterial + "\nKa 0 0 0\nKd 1 1 1\n";
    if (!mesh.textureFile.empty())
        mtl += "map_Kd " + mesh.textureFile + "\n";
}

} // namespace MyApp
