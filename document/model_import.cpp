#include "document/model_import.h"

#include "document/file_failure.h"
#include "document/file_replace.h"
#include "document/float_range.h"
#include "document/format_text.h"
#include "document/gltf_format.h"
#include "document/mesh_simplifier.h"
#include "document/mesh_welding.h"
#include "document/model_axes.h"
#include "document/model_files.h"
#include "document/model_pictures.h"
#include "document/name_resolver.h"
#include "document/obj_format.h"
#include "document/ply_format.h"
#include "document/reported_number.h"
#include "document/safe_save.h"
#include "document/stl_format.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace MyApp {
namespace {

ModelReader g_xReader = nullptr;

// Half the preview's field of view, and a little room around the model.
constexpr double kHalfFieldOfView = 0.3926990816987241; // 22.5 degrees
constexpr double kFrameMargin = 1.1;

std::string Extension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return AsciiLowered(std::string_view(path).substr(dot));
}

// The texture the document takes from the model: the picture it holds, written out as a
// file, or the file it names when that file is there on this machine. What the user
// should know about it (a texture missing, left out or not written) joins `notes`, after
// what the reader told: a reader resolves the names it finds (name_resolver.h) and tells of
// those it does not open.
std::string TextureOfModel(const ModelTriangles& model, std::vector<std::string>& notes) {
    std::string texture;
    std::string problem;
    notes.insert(notes.end(), model.notes.begin(), model.notes.end());
    if (!model.texturePicture.empty()) {
        if (!KeepPicture(model.texturePicture, texture, problem))
            notes.push_back("La texture del modello non \xC3\xA8 stata caricata: " + problem + ".");
    } else if (!model.textureFile.empty() && FileExists(model.textureFile)) {
        texture = model.textureFile;
    } else if (!model.textureFile.empty()) {
        notes.push_back("La texture " + model.textureFile + " indicata dal modello non esiste.");
    }
    if (model.texturesLeftOut > 0)
        notes.push_back("Il modello usa " + std::to_string(model.texturesLeftOut + 1) +
                        " texture: viene mostrata solo la prima, le altre sono state tralasciate.");
    return texture;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

// PLY and STL are read from their bytes.
template <bool (*Read)(std::string_view, ModelTriangles&, std::string&, std::size_t)>
bool ReadBytesOf(const std::string& path, ModelTriangles& model, std::string& message,
                 std::size_t maxTriangles) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        message = UnreadableFileMessage(path);
        return false;
    }
    return Read(bytes, model, message, maxTriangles);
}

// A PLY file's texture comes as written; it is resolved from the model's folder, as the
// other formats resolve theirs.
bool ReadPlyFile(const std::string& path, ModelTriangles& model, std::string& message,
                 std::size_t maxTriangles) {
    if (!ReadBytesOf<ReadPly>(path, model, message, maxTriangles))
        return false;
    const std::string name = model.textureFile;
    const ResolvedName file = ResolveName(FolderOf(path), name, NameScope::Model);
    model.textureFile = file.path;
    if (file.refusal != NameRefusal::None)
        model.notes.push_back(RefusedTextureNote(name, file.refusal));
    return true;
}

ModelReader ReaderFor(const std::string& extension) {
    if (extension == ".obj")
        return ReadObj;
    if (extension == ".ply")
        return ReadPlyFile;
    if (extension == ".stl")
        return ReadBytesOf<ReadStl>;
    if (extension == ".gltf" || extension == ".glb")
        return ReadGltf;
    if (extension == ".x")
        return g_xReader;
    return nullptr;
}

// Writes one file of an export through a safe save; the message names it and says why not.
bool SaveBytes(const std::string& path, const std::string& bytes, std::string& message) {
    std::string reason;
    if (SafeSaveBytes(path, bytes.data(), bytes.size(), &reason))
        return true;
    message = FileAndReason(path, reason);
    return false;
}

// The OBJ and its MTL go in place together, or neither does.
bool SaveObjPair(const std::string& objPath, const ModelMesh& mesh, std::string& message) {
    const std::string materialPath = MaterialPathFor(objPath);
    std::vector<FileContent> files(2);
    WriteObj(mesh, FileNameOf(materialPath), files[0].bytes, files[1].bytes);
    files[0].path = objPath;
    files[1].path = materialPath;
    std::string failed;
    std::string reason;
    if (SafeSaveFiles(files, failed, reason))
        return true;
    message = FileAndReason(failed, reason);
    return false;
}

// A glTF file carries its texture's picture; one that cannot be carried is left out, and
// the note says why.
std::string CarryTexture(ModelMesh& mesh) {
    std::string problem;
    if (mesh.textureFile.empty() || PictureToCarry(mesh.textureFile, mesh.texturePicture, problem))
        return "";
    mesh.texturePicture.clear();
    return "Il file \xC3\xA8 stato scritto senza texture: " + problem + ".";
}

// An OBJ or PLY names its texture from its own folder, so that the model and its texture
// can move together. A texture elsewhere, and a picture kept from inside a model, is copied
// beside the file, named after it (never over other bytes); a copy that fails leaves the
// whole path, and the note says why.
std::string CopyTextureBeside(const std::string& exported, const std::string& namedAfter,
                              ModelMesh& mesh) {
    std::string name;
    std::string problem;
    const std::string folder = FolderOf(exported);
    const bool under = TextureNameFrom(folder, mesh.textureFile) != mesh.textureFile ||
                       (!IsAbsolutePath(mesh.textureFile) && folder.empty());
    if (mesh.textureFile.empty() || (under && !IsKeptPicture(mesh.textureFile)))
        return "";
    if (!CopyPictureBeside(namedAfter, mesh.textureFile, name, problem))
        return "La texture non \xC3\xA8 stata copiata accanto al file: " + problem + ".";
    mesh.textureFile = JoinedPath(FolderOf(namedAfter), name);
    return "";
}

// A point turned as the preview turns the mesh: roll about Z, then pitch about X, then yaw
// about Y, by the document's whole degrees.
std::array<double, 3> Turned(const MeshDocument& document, const double (&point)[3]) {
    constexpr double kRadiansPerDegree = static_cast<double>(0.017453292f);
    const double roll = document.RotZ * kRadiansPerDegree;
    const double pitch = document.RotX * kRadiansPerDegree;
    const double yaw = document.RotY * kRadiansPerDegree;
    double x = point[0] * std::cos(roll) - point[1] * std::sin(roll);
    double y = point[0] * std::sin(roll) + point[1] * std::cos(roll);
    double z = point[2];
    const double pitched = y * std::cos(pitch) - z * std::sin(pitch);
    z = y * std::sin(pitch) + z * std::cos(pitch);
    y = pitched;
    const double yawed = x * std::cos(yaw) + z * std::sin(yaw);
    z = -x * std::sin(yaw) + z * std::cos(yaw);
    x = yawed;
    return {x, y, z};
}

// The unit vector from the origin to the eye, from any finite eye, taken as its largest
// component's multiples so that no square overflows; none for an eye at the origin.
std::optional<std::array<double, 3>> EyeLine(const MeshDocument& document) {
    const double largest = std::max(
        {std::fabs(document.EyeX), std::fabs(document.EyeY), std::fabs(document.EyeZ)});
    if (!(largest > 0) || !std::isfinite(largest))
        return std::nullopt;
    const double x = document.EyeX / largest;
    const double y = document.EyeY / largest;
    const double z = document.EyeZ / largest;
    const double length = std::hypot(x, y, z);
    return std::array<double, 3>{x / length, y / length, z / length};
}

} // namespace

void SetXModelReader(ModelReader reader) { g_xReader = reader; }

// The centre of the box is taken from halves and the eye is set along its unit line, so
// that neither overflows however far the vertices lie; the preview works in floats, so the
// move and the eye's distance end within their range.
void FrameMesh(MeshDocument& document) {
    if (document.Vertices.empty())
        return;
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const MeshVertex& vertex : document.Vertices) {
        const double at[3] = {vertex.X, vertex.Y, vertex.Z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], at[axis]);
            high[axis] = std::max(high[axis], at[axis]);
        }
    }
    const double centre[3] = {low[0] / 2 + high[0] / 2, low[1] / 2 + high[1] / 2,
                              low[2] / 2 + high[2] / 2};
    double radius = 0;
    for (const MeshVertex& vertex : document.Vertices)
        radius = std::max(radius, std::hypot(vertex.X - centre[0], vertex.Y - centre[1],
                                             vertex.Z - centre[2]));
    // The preview turns the mesh about the origin before it moves it, so the move that
    // brings the centre to the origin is the turned centre's opposite.
    const std::array<double, 3> turned = Turned(document, centre);
    const auto inFloatRange = [](double value) {
        return std::clamp(value, -double{FLT_MAX}, double{FLT_MAX});
    };
    document.MoveX = inFloatRange(-turned[0]);
    document.MoveY = inFloatRange(-turned[1]);
    document.MoveZ = inFloatRange(-turned[2]);
    // An eye at the origin looks from in front of the model.
    const std::optional<std::array<double, 3>> eyeLine = EyeLine(document);
    const std::array<double, 3> line = eyeLine.value_or(std::array<double, 3>{0, 0, -1});
    // The eye comes as near as the whole model lets it, or steps back as far as it must:
    // a model imported after a larger one fills the view as well.
    const double needed =
        std::min(kFrameMargin * radius / std::sin(kHalfFieldOfView), static_cast<double>(FLT_MAX));
    if (needed > 0) {
        document.EyeX = needed * line[0];
        document.EyeY = needed * line[1];
        document.EyeZ = needed * line[2];
    } else if (!eyeLine) {
        document.EyeX = line[0];
        document.EyeY = line[1];
        document.EyeZ = line[2];
    }
}

bool IsModelPath(const std::string& path) {
    const std::string extension = Extension(path);
    return extension == ".x" || (!extension.empty() && ReaderFor(extension) != nullptr);
}

namespace {

// The welded model, brought within the document's vertices and the preview's triangles when
// the user wants it so; false with the refusal (as when the user is not asked) otherwise.
bool FitModel(std::vector<MeshVertex>& vertices, std::vector<std::uint32_t>& indices,
              bool welded, std::size_t maxTriangles, const FitQuestion& askToFit,
              std::string& message, std::vector<std::string>& notes) {
    const std::size_t triangles = indices.size() / kCornersPerFace;
    if (welded && triangles <= maxTriangles)
        return true;
    const std::string refusal =
        welded ? TooManyTriangles(triangles, maxTriangles)
               : "Il modello richiede " + ReportedCount(vertices.size()) +
                     " vertici, oltre il limite di " + ReportedCount(kMaxModelVertices) + ".";
    const std::string question =
        refusal + "\nVuoi semplificarlo perch\xC3\xA9 rientri nel limite? Verranno tolti solo i "
                  "triangoli necessari.";
    if (!askToFit || !askToFit(question)) {
        message = refusal;
        return false;
    }
    if (!SimplifyToFit(vertices, indices, kMaxModelVertices, maxTriangles)) {
        message = refusal + " Non \xC3\xA8 stato possibile semplificarlo abbastanza.";
        return false;
    }
    notes.push_back("Il modello \xC3\xA8 stato semplificato da " + ReportedCount(triangles) +
                    " a " + ReportedCount(indices.size() / kCornersPerFace) + " triangoli.");
    return true;
}

// Whether the preview can draw a triangle of the model: one whose sides and whose area, as
// the floats the device works in, are neither zero nor past the float range.
bool DrawsSomething(const std::vector<MeshVertex>& vertices, const std::vector<std::uint32_t>& indices) {
    const auto point = [&](std::uint32_t index) {
        const MeshVertex& v = vertices[index];
        return std::array<double, 3>{static_cast<float>(v.X), static_cast<float>(v.Y),
                                     static_cast<float>(v.Z)};
    };
    for (std::size_t first = 0; first + kCornersPerFace <= indices.size(); first += kCornersPerFace) {
        const std::array<double, 3> a = point(indices[first]);
        const std::array<double, 3> b = point(indices[first + 1]);
        const std::array<double, 3> c = point(indices[first + 2]);
        const std::array<double, 3> u = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const std::array<double, 3> w = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double sides = std::max({std::fabs(u[0]), std::fabs(u[1]), std::fabs(u[2]),
                                       std::fabs(w[0]), std::fabs(w[1]), std::fabs(w[2])});
        const double twiceArea = std::hypot(u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                                            u[0] * w[1] - u[1] * w[0]);
        if (sides <= FLT_MAX && twiceArea >= FLT_MIN && twiceArea <= FLT_MAX)
            return true;
    }
    return false;
}

} // namespace

bool ImportModel(const std::string& path, MeshDocument& document, std::string& message,
                 std::size_t maxTriangles, const FitQuestion& askToFit) {
    const std::size_t drawable = std::min(maxTriangles, kMaxModelTriangles);
    // A model past the preview's triangles can still be simplified: it is read up to the
    // count the offer reaches.
    const std::size_t readable = askToFit ? kMaxSimplifiedTriangles : drawable;
    const std::string extension = Extension(path);
    const ModelReader read = ReaderFor(extension);
    if (read == nullptr) {
        message = extension.empty() ? "Il file non ha un'estensione che indichi il formato."
                                    : "Il formato " + extension + " non \xC3\xA8 supportato.";
        return false;
    }
    ModelTriangles model;
    if (!read(path, model, message, readable))
        return false;
    model.corners.resize(model.corners.size() / kCornersPerFace * kCornersPerFace);
    CornersToDocument(AxesOfExtension(extension), model.corners);
    if (model.corners.empty()) {
        message = "Il modello non contiene triangoli.";
        return false;
    }
    if (model.corners.size() / kCornersPerFace > readable) {
        message = TooManyTriangles(model.corners.size() / kCornersPerFace, readable);
        return false;
    }
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    const bool welded = WeldCorners(model.corners, vertices, indices, kMaxModelVertices);
    // Every reader's values meet here: a value past a float would turn the preview black
    // and change at the next save.
    if (const std::optional<ValuePastFloat> fault = FirstValuePastFloat(vertices)) {
        message = "Il modello non si pu\xC3\xB2 importare: " + Described(*fault) + ".";
        return false;
    }
    std::vector<std::string> notes;
    if (!FitModel(vertices, indices, welded, drawable, askToFit, message, notes))
        return false;
    document.Vertices = std::move(vertices);
    document.Indices.assign(indices.begin(), indices.end());
    document.FaceCount = static_cast<std::int32_t>(indices.size() / kCornersPerFace);
    if (!DrawsSomething(document.Vertices, indices)) {
        const std::size_t triangles = indices.size() / kCornersPerFace;
        notes.insert(notes.begin(),
                     "L'anteprima non mostra nulla del modello: " +
                         (triangles == 1 ? std::string("il suo unico triangolo non ha")
                                         : "nessuno dei suoi " + ReportedCount(triangles) +
                                               " triangoli ha") +
                         " un'area che si possa disegnare (vertici in fila o coincidenti, o "
                         "misure oltre i numeri a 32 bit).");
    }
    document.TextureFile = TextureOfModel(model, notes);
    FrameMesh(document);
    message = Joined(notes);
    return true;
}

bool ExportableValues(const MeshDocument& document, std::string& message) {
    const std::optional<ValuePastFloat> fault = FirstValuePastFloat(document.Vertices);
    if (!fault)
        return true;
    message = "Il modello non si pu\xC3\xB2 esportare: " + Described(*fault) +
              ". Correggi il vertice e riprova.";
    return false;
}

ModelMesh DrawnMesh(const MeshDocument& document) {
    ModelMesh mesh;
    mesh.vertices = document.Vertices;
    mesh.textureFile = document.TextureFile;
    const std::size_t corners = document.Indices.empty() ? document.Vertices.size()
                                                         : document.Indices.size();
    const std::size_t faces =
        std::min(corners / kCornersPerFace, static_cast<std::size_t>(std::max(document.FaceCount, 0)));
    for (std::size_t corner = 0; corner < faces * kCornersPerFace; ++corner) {
        const std::size_t index = document.Indices.empty() ? corner : document.Indices[corner];
        mesh.indices.push_back(static_cast<std::uint32_t>(index));
    }
    // A face with a corner past the vertex list is not drawn, so it is not written.
    std::vector<std::uint32_t> kept;
    for (std::size_t first = 0; first < mesh.indices.size(); first += kCornersPerFace) {
        const bool inside = std::all_of(mesh.indices.begin() + first,
                                        mesh.indices.begin() + first + kCornersPerFace,
                                        [&](std::uint32_t i) { return i < mesh.vertices.size(); });
        if (inside)
            kept.insert(kept.end(), mesh.indices.begin() + first, mesh.indices.begin() + first + kCornersPerFace);
    }
    mesh.indices = std::move(kept);
    return mesh;
}

// Readers split "mtllib" at blanks (it may name several files) and take '#' for a comment,
// so the name holds neither; the rest of the OBJ's name stays, so the pair still goes
// together.
std::string MaterialPathFor(const std::string& objPath) {
    const std::string extension = Extension(objPath);
    const std::size_t nameStart = objPath.size() - FileNameOf(objPath).size();
    std::string path = objPath.substr(0, objPath.size() - extension.size()) + ".mtl";
    std::replace_if(path.begin() + static_cast<std::ptrdiff_t>(nameStart), path.end(),
                    [](char c) { return c == ' ' || c == '\t' || c == '#'; }, '_');
    return path;
}

bool DrawsTriangles(const MeshDocument& document) {
    return !DrawnMesh(document).indices.empty();
}

bool ExportModel(const MeshDocument& document, const std::string& path, std::string& message) {
    ModelMesh mesh = DrawnMesh(document);
    if (mesh.indices.empty()) {
        message = "Il modello non contiene triangoli da esportare.";
        return false;
    }
    if (!ExportableValues(document, message))
        return false;
    message.clear();
    const std::string extension = Extension(path);
    MeshToFile(AxesOfExtension(extension), mesh);
    if (extension == ".glb" || extension == ".gltf") {
        std::string bytes;
        const std::string note = CarryTexture(mesh);
        if (!WriteGltf(mesh, extension == ".glb", bytes, message) ||
            !SaveBytes(path, bytes, message))
            return false;
        message = note;
        return true;
    }
    if (extension == ".stl")
        return SaveBytes(path, WriteStl(mesh), message);
    if (extension != ".obj" && extension != ".ply") {
        message = "Il formato " + extension + " non \xC3\xA8 supportato.";
        return false;
    }
    // Readers split an MTL's names at blanks, so the OBJ's picture is named as its MTL is.
    const std::string note =
        CopyTextureBeside(path, extension == ".obj" ? MaterialPathFor(path) : path, mesh);
    mesh.textureFile = TextureNameFrom(FolderOf(path), mesh.textureFile);
    const bool written = extension == ".obj" ? SaveObjPair(path, mesh, message)
                                             : SaveBytes(path, WritePly(mesh), message);
    if (written)
        message = note;
    return written;
}

} // namespace MyApp
