#include "document/gltf_format.h"

#include "document/file_replace.h"
#include "document/format_text.h"
#include "document/model_files.h"
#include "document/model_pictures.h"
#include "document/name_resolver.h"
#include "document/number_text.h"
#include "document/srgb_levels.h"

// Images are named or kept as their bytes, never decoded or written as files here, and
// every file goes through OpenPath so that a UTF-8 name reaches it on Windows.
#define TINYGLTF_IMPLEMENTATION
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#define TINYGLTF_NO_FS
// tinygltf's file writers, never called here, name std::ofstream without including it.
#include <fstream>
#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace MyApp {

namespace {

constexpr char kBroken[] = "Il file glTF non è valido: ";

// The file name a relative URI stands for: %XX escapes decoded.
std::string DecodedUri(const std::string& uri) {
    std::string name;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        const auto hex = [](char c) {
            return c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
        };
        if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0) {
            name += static_cast<char>(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
            i += 2;
        } else {
            name += uri[i];
        }
    }
    return name;
}

// The file a file URI names, in the form Windows writes it when it names a drive or a
// share (C:\a\b.png, \\server\share\b.png), else as a path from the root. Takes the
// file:/C:/a form some programs write, and localhost as no host. False for any other URI.
bool FileUriPath(const std::string& uri, std::string& path) {
    if (!SameIgnoringCase(std::string_view(uri).substr(0, 5), "file:"))
        return false;
    std::string rest = uri.substr(5);
    std::string host;
    if (rest.compare(0, 2, "//") == 0) {
        const std::size_t slash = rest.find('/', 2);
        host = DecodedUri(rest.substr(2, slash == std::string::npos ? slash : slash - 2));
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
        if (SameIgnoringCase(host, "localhost"))
            host.clear();
    }
    path = DecodedUri(rest);
    const bool drive = path.size() > 2 && path[0] == '/' && path[2] == ':' &&
                       std::isalpha(static_cast<unsigned char>(path[1]));
    if (drive)
        path.erase(0, 1);
    if (!host.empty())
        path = "//" + host + path;
    if (drive || !host.empty())
        std::replace(path.begin(), path.end(), '/', '\\');
    return true;
}

// tinygltf's file steps, all through OpenPath. tinygltf joins each name to the model's
// folder and then to the working folder; the name is taken back from the first join and
// resolved (name_resolver.h), and only the files resolved are looked for and read. The
// names refused are kept to say why a buffer is missing.
struct FileAccess {
    std::string folder;
    std::set<std::string> resolved;
    std::map<std::string, NameRefusal> refused;
};

// The file a file: URI names, or the name as it stands.
std::string PathOfName(const std::string& name) {
    std::string path;
    return FileUriPath(name, path) ? path : name;
}

std::string ExpandFilePath(const std::string& joined, void* user) {
    FileAccess& access = *static_cast<FileAccess*>(user);
    std::string start = access.folder;
    if (!start.empty() && start.back() != '/')
        start += '/';
    if (joined.compare(0, start.size(), start) != 0)
        return {};
    const std::string name = joined.substr(start.size());
    const ResolvedName file = ResolveName(access.folder, PathOfName(name), NameScope::Model);
    if (file.refusal != NameRefusal::None) {
        access.refused.emplace(name, file.refusal);
        return {};
    }
    access.resolved.insert(file.path);
    return file.path;
}

bool ExistsUnderFolder(const std::string& path, void* user) {
    return static_cast<FileAccess*>(user)->resolved.count(path) > 0 && FileExists(path);
}

bool ReadFile(std::vector<unsigned char>* out, std::string* err, const std::string& path,
              void* user) {
    std::string bytes;
    if (static_cast<FileAccess*>(user)->resolved.count(path) == 0 || !ReadWholeFile(path, bytes)) {
        if (err)
            *err = "unreadable";
        return false;
    }
    out->assign(bytes.begin(), bytes.end());
    return true;
}

bool WriteFile(std::string* err, const std::string&, const std::vector<unsigned char>&, void*) {
    if (err)
        *err = "not written";
    return false;
}

// An image the file holds is kept as its bytes, for the document to write out as a
// picture file; it is never decoded here. tinygltf hands over an image in a buffer view
// without checking the view against its buffer: those are taken by TakeImageViews.
bool KeepImageUndecoded(tinygltf::Image* image, const int, std::string*, std::string*, int, int,
                        const unsigned char* bytes, int size, void*) {
    if (image->bufferView < 0)
        image->image.assign(bytes, bytes + size);
    return true;
}

// The JSON text of a glTF file: a GLB's first chunk, as far as the file holds it, or the
// whole text.
std::string_view JsonPart(std::string_view bytes) {
    if (bytes.substr(0, 4) != "glTF")
        return bytes;
    if (bytes.size() < 20)
        return {};
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = length << 8 | static_cast<unsigned char>(bytes[12 + static_cast<std::size_t>(i)]);
    return bytes.substr(20, length);
}

// tinygltf takes the address of an image's first byte in its buffer before it checks
// anything, an address out of every bound for a view past its buffer. So the views of
// images are checked first, against the lengths the buffers state, which tinygltf then
// holds every buffer's bytes to. Values are read as tinygltf reads them; a file it will
// refuse anyway is left to it. False with the reason.
bool ImageViewsInsideBuffers(std::string_view bytes, std::string& message) {
    const std::string_view text = JsonPart(bytes);
    if (text.find("\"images\"") == std::string_view::npos)
        return true;
    const nlohmann::json file = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    const auto member = [](const nlohmann::json& object,
                           const char* name) -> const nlohmann::json* {
        if (!object.is_object())
            return nullptr;
        const auto found = object.find(name);
        return found == object.end() ? nullptr : &*found;
    };
    const nlohmann::json* images = member(file, "images");
    const nlohmann::json* views = member(file, "bufferViews");
    const nlohmann::json* buffers = member(file, "buffers");
    if (images == nullptr || !images->is_array() || views == nullptr || !views->is_array() ||
        buffers == nullptr || !buffers->is_array())
        return true;
    for (std::size_t i = 0; i < images->size(); ++i) {
        const nlohmann::json* viewIndex = member((*images)[i], "bufferView");
        if (viewIndex == nullptr || !viewIndex->is_number_unsigned() ||
            viewIndex->get<std::uint64_t>() >= views->size())
            continue;
        const nlohmann::json& view = (*views)[viewIndex->get<std::size_t>()];
        const nlohmann::json* buffer = member(view, "buffer");
        const nlohmann::json* offset = member(view, "byteOffset");
        const nlohmann::json* length = member(view, "byteLength");
        if (buffer == nullptr || !buffer->is_number_unsigned() ||
            buffer->get<std::uint64_t>() >= buffers->size() || length == nullptr ||
            !length->is_number_unsigned())
            continue;
        const nlohmann::json* stated = member((*buffers)[buffer->get<std::size_t>()], "byteLength");
        if (stated == nullptr || !stated->is_number_unsigned())
            continue;
        const std::uint64_t size = stated->get<std::uint64_t>();
        const std::uint64_t start =
            offset != nullptr && offset->is_number_unsigned() ? offset->get<std::uint64_t>() : 0;
        if (size == 0 || start > size || length->get<std::uint64_t>() > size - start) {
            message =
                std::string(kBroken) + "l'immagine " + std::to_string(i) + " esce dal suo buffer.";
            return false;
        }
    }
    return true;
}

// Copies each image held in a buffer view out of its buffer, once the view is checked to
// lie inside it (a GLB's binary chunk or a buffer of any URI). False with the reason.
bool TakeImageViews(tinygltf::Model& model, std::string& message) {
    for (std::size_t i = 0; i < model.images.size(); ++i) {
        tinygltf::Image& image = model.images[i];
        if (image.bufferView < 0)
            continue;
        const auto viewIndex = static_cast<std::size_t>(image.bufferView);
        const tinygltf::BufferView* view =
            viewIndex < model.bufferViews.size() ? &model.bufferViews[viewIndex] : nullptr;
        const std::vector<unsigned char>* data =
            view != nullptr && view->buffer >= 0 &&
                    static_cast<std::size_t>(view->buffer) < model.buffers.size()
                ? &model.buffers[static_cast<std::size_t>(view->buffer)].data
                : nullptr;
        if (data == nullptr || view->byteOffset > data->size() ||
            view->byteLength > data->size() - view->byteOffset) {
            message =
                std::string(kBroken) + "l'immagine " + std::to_string(i) + " esce dal suo buffer.";
            return false;
        }
        const auto begin = data->begin() + static_cast<std::ptrdiff_t>(view->byteOffset);
        image.image.assign(begin, begin + static_cast<std::ptrdiff_t>(view->byteLength));
    }
    return true;
}

// A column-major 4 × 4 matrix, as glTF stores it.
using Matrix = std::array<double, 16>;

constexpr Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix Product(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[column * 4 + k];
            m[column * 4 + row] = sum;
        }
    }
    return m;
}

Matrix LocalMatrix(const tinygltf::Node& node) {
    if (node.matrix.size() == 16) {
        Matrix m;
        std::copy(node.matrix.begin(), node.matrix.end(), m.begin());
        return m;
    }
    Matrix m = kIdentity;
    if (node.rotation.size() == 4) {
        const double x = node.rotation[0], y = node.rotation[1], z = node.rotation[2],
                     w = node.rotation[3];
        m = {1 - 2 * (y * y + z * z),
             2 * (x * y + z * w),
             2 * (x * z - y * w),
             0,
             2 * (x * y - z * w),
             1 - 2 * (x * x + z * z),
             2 * (y * z + x * w),
             0,
             2 * (x * z + y * w),
             2 * (y * z - x * w),
             1 - 2 * (x * x + y * y),
             0,
             0,
             0,
             0,
             1};
    }
    if (node.scale.size() == 3) {
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row)
                m[column * 4 + row] *= node.scale[static_cast<std::size_t>(column)];
        }
    }
    if (node.translation.size() == 3) {
        for (int row = 0; row < 3; ++row)
            m[12 + row] = node.translation[static_cast<std::size_t>(row)];
    }
    return m;
}

// The sign of the upper 3 × 3 part's determinant: a mirroring transform turns the faces.
bool Mirrors(const Matrix& m) {
    const double det = m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
                       m[8] * (m[1] * m[6] - m[5] * m[2]);
    return det < 0;
}



// One coordinate of a point placed by a node's matrix. A term the matrix leaves out is left
// out of the sum, so that an infinite coordinate stays the one that is infinite and does
// not turn the others into NaN (0 × inf).
double Placed(const Matrix& m, int row, const std::array<double, 4>& p) {
    double sum = m[12 + row];
    for (int column = 0; column < 3; ++column) {
        if (m[column * 4 + row] != 0)
            sum += m[column * 4 + row] * p[static_cast<std::size_t>(column)];
    }
    return sum;
}

using Decoded = std::vector<std::array<double, 4>>;

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

// One accessor's elements as doubles, up to four components each. Normalised integers
// are brought to 0..1; other integers keep their values (indices). Primitives and nodes
// share accessors, so each is decoded once, the first time it is asked for, and kept.
class AccessorReader {
public:
    AccessorReader(const tinygltf::Model& model, std::string& message)
        : m_model(model), m_message(message) {}

    // The accessor's elements, or null with the message set.
    const Decoded* Read(int index, const char* what) {
        if (index < 0 || static_cast<std::size_t>(index) >= m_model.accessors.size()) {
            Fail(what, "manca l'accessor");
            return nullptr;
        }
        const auto kept = m_decoded.find(index);
        if (kept != m_decoded.end())
            return &kept->second;
        Decoded values;
        if (!Decode(m_model.accessors[static_cast<std::size_t>(index)], what, values))
            return nullptr;
        return &m_decoded.emplace(index, std::move(values)).first->second;
    }

    // The elements decoding the accessor makes, its sparse ones included, without
    // decoding it; 0 for an accessor that does not exist.
    std::uint64_t DeclaredElements(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= m_model.accessors.size())
            return 0;
        const tinygltf::Accessor& accessor = m_model.accessors[static_cast<std::size_t>(index)];
        const std::uint64_t sparse =
            accessor.sparse.isSparse && accessor.sparse.count > 0
                ? 2 * static_cast<std::uint64_t>(accessor.sparse.count)
                : 0;
        return SaturatingSum(accessor.count, sparse);
    }

private:
    bool Decode(const tinygltf::Accessor& accessor, const char* what, Decoded& values) {
        const int components = tinygltf::GetNumComponentsInType(accessor.type);
        const int size = tinygltf::GetComponentSizeInBytes(accessor.componentType);
        if (components < 1 || components > 4 || size < 1)
            return Fail(what, "tipo dell'accessor sconosciuto");
        m_components = static_cast<std::size_t>(components);
        m_normalized = accessor.normalized;
        values.clear();
        if (accessor.bufferView >= 0) {
            if (!ReadElements(accessor.bufferView, accessor.byteOffset, accessor.count,
                              accessor.componentType, what, values))
                return false;
        } else {
            values.assign(accessor.count, {0, 0, 0, 1});
        }
        if (accessor.sparse.isSparse && !ApplySparse(accessor, what, values))
            return false;
        return true;
    }

    bool Fail(const char* what, const char* why) {
        m_message = std::string(kBroken) + what + ": " + why + ".";
        return false;
    }

    // The bytes of `count` elements at `offset` in the view, checked against the view and
    // its buffer.
    const unsigned char* Elements(int viewIndex, std::size_t offset, std::size_t count,
                                  std::size_t elementSize, std::size_t& stride, const char* what) {
        if (static_cast<std::size_t>(viewIndex) >= m_model.bufferViews.size()) {
            Fail(what, "manca il buffer view");
            return nullptr;
        }
        const tinygltf::BufferView& view = m_model.bufferViews[static_cast<std::size_t>(viewIndex)];
        if (view.buffer < 0 || static_cast<std::size_t>(view.buffer) >= m_model.buffers.size()) {
            Fail(what, "manca il buffer");
            return nullptr;
        }
        const std::vector<unsigned char>& data =
            m_model.buffers[static_cast<std::size_t>(view.buffer)].data;
        if (view.byteOffset > data.size() || view.byteLength > data.size() - view.byteOffset) {
            Fail(what, "il buffer view esce dal buffer");
            return nullptr;
        }
        stride = view.byteStride != 0 ? view.byteStride : elementSize;
        if (stride < elementSize) {
            Fail(what, "il passo è minore di un elemento");
            return nullptr;
        }
        if (count == 0)
            return data.data() + view.byteOffset;
        // offset + stride × (count − 1) + elementSize ≤ byteLength, without overflow.
        if (offset > view.byteLength || elementSize > view.byteLength - offset ||
            (count - 1) > (view.byteLength - offset - elementSize) / stride) {
            Fail(what, "gli elementi escono dal buffer view");
            return nullptr;
        }
        return data.data() + view.byteOffset + offset;
    }

    double Component(const unsigned char* at, int type) const {
        switch (type) {
        case TINYGLTF_COMPONENT_TYPE_FLOAT: {
            float value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return m_normalized ? at[0] / 255.0 : at[0];
        case TINYGLTF_COMPONENT_TYPE_BYTE: {
            const double value = static_cast<signed char>(at[0]);
            return m_normalized ? std::max(value / 127.0, -1.0) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            std::uint16_t value;
            std::memcpy(&value, at, sizeof value);
            return m_normalized ? value / 65535.0 : value;
        }
        case TINYGLTF_COMPONENT_TYPE_SHORT: {
            std::int16_t value;
            std::memcpy(&value, at, sizeof value);
            return m_normalized ? std::max(value / 32767.0, -1.0) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: {
            std::uint32_t value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        default:
            return 0;
        }
    }

    bool ReadElements(int view, std::size_t offset, std::size_t count, int type, const char* what,
                      std::vector<std::array<double, 4>>& values) {
        const int componentSize = tinygltf::GetComponentSizeInBytes(type);
        if (componentSize < 1 || type == TINYGLTF_COMPONENT_TYPE_DOUBLE ||
            type == TINYGLTF_COMPONENT_TYPE_INT)
            return Fail(what, "tipo di componente non ammesso");
        const std::size_t size = static_cast<std::size_t>(componentSize);
        std::size_t stride = 0;
        const unsigned char* at = Elements(view, offset, count, size * m_components, stride, what);
        if (!at)
            return false;
        values.resize(count, {0, 0, 0, 1});
        for (std::size_t i = 0; i < count; ++i, at += i < count ? stride : 0) {
            for (std::size_t c = 0; c < m_components; ++c)
                values[i][c] = Component(at + c * size, type);
        }
        return true;
    }

    bool ApplySparse(const tinygltf::Accessor& accessor, const char* what,
                     std::vector<std::array<double, 4>>& values) {
        if (accessor.sparse.count < 0)
            return Fail(what, "numero negativo di valori sparsi");
        const std::size_t count = static_cast<std::size_t>(accessor.sparse.count);
        const std::size_t components = m_components;
        const bool normalized = m_normalized;
        std::vector<std::array<double, 4>> indices;
        m_components = 1;
        m_normalized = false;
        const auto& sparse = accessor.sparse;
        if (sparse.indices.byteOffset < 0 || sparse.values.byteOffset < 0 ||
            sparse.indices.bufferView < 0 || sparse.values.bufferView < 0)
            return Fail(what, "valori sparsi senza buffer view");
        if (sparse.indices.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE &&
            sparse.indices.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
            sparse.indices.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT)
            return Fail(what, "indici sparsi non interi senza segno");
        if (!ReadElements(sparse.indices.bufferView,
                          static_cast<std::size_t>(sparse.indices.byteOffset), count,
                          sparse.indices.componentType, what, indices))
            return false;
        m_components = components;
        m_normalized = normalized;
        std::vector<std::array<double, 4>> replacements;
        if (!ReadElements(sparse.values.bufferView,
                          static_cast<std::size_t>(sparse.values.byteOffset), count,
                          accessor.componentType, what, replacements))
            return false;
        for (std::size_t i = 0; i < count; ++i) {
            const double target = indices[i][0];
            if (!(target >= 0 && target < static_cast<double>(values.size())))
                return Fail(what, "un indice sparso esce dall'accessor");
            values[static_cast<std::size_t>(target)] = replacements[i];
        }
        return true;
    }

    const tinygltf::Model& m_model;
    std::string& m_message;
    std::size_t m_components = 1;
    bool m_normalized = false;
    std::map<int, Decoded> m_decoded;
};

bool IsTriangleMode(const tinygltf::Primitive& primitive) {
    const int mode = primitive.mode < 0 ? TINYGLTF_MODE_TRIANGLES : primitive.mode;
    return mode == TINYGLTF_MODE_TRIANGLES || mode == TINYGLTF_MODE_TRIANGLE_STRIP ||
           mode == TINYGLTF_MODE_TRIANGLE_FAN;
}

// The triangles `corners` vertices make in the primitive's mode.
std::uint64_t TrianglesOf(const tinygltf::Primitive& primitive, std::uint64_t corners) {
    const int mode = primitive.mode < 0 ? TINYGLTF_MODE_TRIANGLES : primitive.mode;
    if (mode == TINYGLTF_MODE_TRIANGLES)
        return corners / 3;
    return corners >= 3 ? corners - 2 : 0;
}

// The corners of the scene's triangles, gathered node by node. The scene is first measured
// from the accessors' declared counts alone: nodes may place one mesh many times and
// accessors may claim millions of elements in a few bytes, so a scene with more triangles
// than the document takes, or more elements than such a document needs, is refused
// before anything is decoded.
class SceneReader {
public:
    SceneReader(const tinygltf::Model& model, const std::string& folder, ModelTriangles& out,
                std::string& message, std::size_t maxTriangles)
        : m_model(model), m_folder(folder), m_out(out), m_message(message),
          m_accessors(model, message), m_visited(model.nodes.size(), false),
          m_measured(model.accessors.size(), false), m_maxTriangles(maxTriangles),
          m_budget(ElementBudget(maxTriangles)) {}

    bool Read() {
        std::vector<int> roots;
        if (!RootNodes(roots))
            return false;
        for (const Pass pass : {Pass::Measure, Pass::Gather}) {
            std::fill(m_visited.begin(), m_visited.end(), false);
            for (int root : roots) {
                if (!Walk(root, kIdentity, pass))
                    return false;
            }
            if (pass == Pass::Measure && m_triangles > m_maxTriangles) {
                m_message = TooManyTriangles(m_triangles, m_maxTriangles);
                return false;
            }
        }
        return true;
    }

private:
    enum class Pass { Measure, Gather };

    bool Fail(const std::string& why) {
        m_message = kBroken + why + ".";
        return false;
    }

    // Counts the triangles the primitive adds and the elements it makes the reader decode:
    // the primitive placed once more, and each accessor the first time it is used.
    bool Measure(const tinygltf::Primitive& primitive) {
        m_elements = SaturatingSum(m_elements, 1);
        const auto position = primitive.attributes.find("POSITION");
        if (IsTriangleMode(primitive) && position != primitive.attributes.end()) {
            for (const char* name : {"POSITION", "COLOR_0", "TEXCOORD_0"}) {
                const auto attribute = primitive.attributes.find(name);
                if (attribute != primitive.attributes.end())
                    MeasureAccessor(attribute->second);
            }
            MeasureAccessor(primitive.indices);
            const int corners = primitive.indices >= 0 ? primitive.indices : position->second;
            m_triangles = SaturatingSum(
                m_triangles, TrianglesOf(primitive, m_accessors.DeclaredElements(corners)));
        }
        if (m_elements <= m_budget)
            return true;
        m_message = "Il file glTF chiede di leggere pi\xC3\xB9 di " + std::to_string(m_budget) +
                    " elementi (vertici, indici e primitive collocate): troppi per un modello "
                    "che l'editor possa tenere.";
        return false;
    }

    void MeasureAccessor(int index) {
        if (index < 0 || static_cast<std::size_t>(index) >= m_measured.size() ||
            m_measured[static_cast<std::size_t>(index)])
            return;
        m_measured[static_cast<std::size_t>(index)] = true;
        m_elements = SaturatingSum(m_elements, m_accessors.DeclaredElements(index));
    }

    bool RootNodes(std::vector<int>& roots) {
        const std::vector<tinygltf::Scene>& scenes = m_model.scenes;
        if (m_model.defaultScene >= 0) {
            if (static_cast<std::size_t>(m_model.defaultScene) >= scenes.size())
                return Fail("la scena predefinita non esiste");
            roots = scenes[static_cast<std::size_t>(m_model.defaultScene)].nodes;
        } else if (!scenes.empty()) {
            roots = scenes[0].nodes;
        } else {
            std::vector<bool> held(m_model.nodes.size(), false);
            for (const tinygltf::Node& node : m_model.nodes) {
                for (int child : node.children) {
                    if (child >= 0 && static_cast<std::size_t>(child) < held.size())
                        held[static_cast<std::size_t>(child)] = true;
                }
            }
            for (std::size_t i = 0; i < held.size(); ++i) {
                if (!held[i])
                    roots.push_back(static_cast<int>(i));
            }
        }
        return true;
    }

    // Nodes form trees: a node met twice (a loop, or two parents) refuses the file, which
    // also bounds the walk.
    bool Walk(int root, const Matrix& parent, Pass pass) {
        std::vector<std::pair<int, Matrix>> pending{{root, parent}};
        while (!pending.empty()) {
            const auto [index, above] = pending.back();
            pending.pop_back();
            if (index < 0 || static_cast<std::size_t>(index) >= m_model.nodes.size())
                return Fail("un nodo non esiste");
            if (m_visited[static_cast<std::size_t>(index)])
                return Fail("i nodi non formano un albero");
            m_visited[static_cast<std::size_t>(index)] = true;
            const tinygltf::Node& node = m_model.nodes[static_cast<std::size_t>(index)];
            const Matrix world = Product(above, LocalMatrix(node));
            if (node.mesh >= 0) {
                if (static_cast<std::size_t>(node.mesh) >= m_model.meshes.size())
                    return Fail("un nodo usa una mesh che non esiste");
                for (const tinygltf::Primitive& primitive :
                     m_model.meshes[static_cast<std::size_t>(node.mesh)].primitives) {
                    if (!(pass == Pass::Measure ? Measure(primitive)
                                                : AddPrimitive(primitive, world)))
                        return false;
                }
            }
            for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
                pending.emplace_back(*child, world);
        }
        return true;
    }

    // The vertex order of each triangle a primitive draws.
    bool TriangleCorners(const tinygltf::Primitive& primitive, std::size_t vertexCount,
                         std::vector<std::size_t>& corners) {
        std::vector<std::size_t> order;
        if (primitive.indices >= 0) {
            const Decoded* read = m_accessors.Read(primitive.indices, "indici");
            if (!read)
                return false;
            const Decoded& indices = *read;
            const tinygltf::Accessor& accessor =
                m_model.accessors[static_cast<std::size_t>(primitive.indices)];
            if (accessor.type != TINYGLTF_TYPE_SCALAR || accessor.normalized ||
                (accessor.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE &&
                 accessor.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
                 accessor.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT))
                return Fail("gli indici non sono interi senza segno");
            order.reserve(indices.size());
            for (const auto& index : indices) {
                if (index[0] >= static_cast<double>(vertexCount))
                    return Fail("un indice supera i vertici (" +
                                std::to_string(static_cast<std::uint64_t>(index[0])) + " su " +
                                std::to_string(vertexCount) + ")");
                order.push_back(static_cast<std::size_t>(index[0]));
            }
        } else {
            order.resize(vertexCount);
            for (std::size_t i = 0; i < vertexCount; ++i)
                order[i] = i;
        }
        const int mode = primitive.mode < 0 ? TINYGLTF_MODE_TRIANGLES : primitive.mode;
        const std::size_t n = order.size();
        if (mode == TINYGLTF_MODE_TRIANGLES) {
            corners.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n - n % 3));
        } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
            // Every other triangle of a strip swaps its last two corners to keep its winding.
            for (std::size_t i = 0; i + 2 < n; ++i) {
                const std::size_t odd = i % 2;
                corners.insert(corners.end(), {order[i], order[i + 1 + odd], order[i + 2 - odd]});
            }
        } else if (mode == TINYGLTF_MODE_TRIANGLE_FAN) {
            for (std::size_t i = 0; i + 2 < n; ++i)
                corners.insert(corners.end(), {order[i + 1], order[i + 2], order[0]});
        }
        return true;
    }

    std::uint32_t MaterialColor(const tinygltf::Primitive& primitive) {
        if (primitive.material < 0 ||
            static_cast<std::size_t>(primitive.material) >= m_model.materials.size())
            return 0x00FFFFFF;
        const tinygltf::Material& material =
            m_model.materials[static_cast<std::size_t>(primitive.material)];
        const std::vector<double>& factor = material.pbrMetallicRoughness.baseColorFactor;
        UseTexture(material.pbrMetallicRoughness.baseColorTexture.index);
        return factor.size() >= 3 ? ColorOfLinear(factor[0], factor[1], factor[2]) : 0x00FFFFFF;
    }

    // The first base colour texture's image is the model's texture: a file it names, or
    // the picture the file holds (a data: URI, a buffer view of a GLB). Others are counted.
    void UseTexture(int texture) {
        if (texture < 0 || static_cast<std::size_t>(texture) >= m_model.textures.size())
            return;
        const int source = m_model.textures[static_cast<std::size_t>(texture)].source;
        if (source < 0 || static_cast<std::size_t>(source) >= m_model.images.size() ||
            !m_textureImages.insert(source).second)
            return;
        if (m_textureImages.size() > 1) {
            m_out.texturesLeftOut = m_textureImages.size() - 1;
            return;
        }
        const tinygltf::Image& image = m_model.images[static_cast<std::size_t>(source)];
        if (!image.image.empty()) {
            m_out.texturePicture.assign(image.image.begin(), image.image.end());
            return;
        }
        if (image.uri.empty() || image.uri.compare(0, 5, "data:") == 0)
            return;
        const ResolvedName file =
            ResolveName(m_folder, PathOfName(DecodedUri(image.uri)), NameScope::Model);
        m_out.textureFile = file.path;
        if (file.refusal != NameRefusal::None)
            m_out.notes.push_back(RefusedTextureNote(image.uri, file.refusal));
    }

    bool AddPrimitive(const tinygltf::Primitive& primitive, const Matrix& world) {
        const auto position = primitive.attributes.find("POSITION");
        if (!IsTriangleMode(primitive) || position == primitive.attributes.end())
            return true;
        static const Decoded kNone;
        const Decoded* read = m_accessors.Read(position->second, "POSITION");
        if (!read || !CheckAttribute(position->second, "POSITION", {TINYGLTF_TYPE_VEC3}, false))
            return false;
        const Decoded& positions = *read;
        const bool hasColors = primitive.attributes.count("COLOR_0") > 0;
        const Decoded* colorsRead = &kNone;
        if (hasColors) {
            const int accessor = primitive.attributes.at("COLOR_0");
            colorsRead = m_accessors.Read(accessor, "COLOR_0");
            if (!colorsRead ||
                !CheckAttribute(accessor, "COLOR_0", {TINYGLTF_TYPE_VEC3, TINYGLTF_TYPE_VEC4},
                                true) ||
                !CheckCount(*colorsRead, positions, "COLOR_0"))
                return false;
        }
        const bool hasCoordinates = primitive.attributes.count("TEXCOORD_0") > 0;
        const Decoded* coordinatesRead = &kNone;
        if (hasCoordinates) {
            const int accessor = primitive.attributes.at("TEXCOORD_0");
            coordinatesRead = m_accessors.Read(accessor, "TEXCOORD_0");
            if (!coordinatesRead ||
                !CheckAttribute(accessor, "TEXCOORD_0", {TINYGLTF_TYPE_VEC2}, true) ||
                !CheckCount(*coordinatesRead, positions, "TEXCOORD_0"))
                return false;
        }
        const Decoded& colors = *colorsRead;
        const Decoded& coordinates = *coordinatesRead;
        std::vector<std::size_t> order;
        if (!TriangleCorners(primitive, positions.size(), order))
            return false;
        // The measure has counted these triangles already; this only keeps the promise.
        if ((m_out.corners.size() + order.size()) / 3 > m_maxTriangles) {
            m_message = TooManyTriangles((m_out.corners.size() + order.size()) / 3, m_maxTriangles);
            return false;
        }
        const std::uint32_t materialColor = MaterialColor(primitive);
        // Each vertex's colour is taken from linear once, not at each of its corners.
        std::vector<std::uint32_t> vertexColors;
        if (hasColors) {
            vertexColors.reserve(positions.size());
            for (std::size_t v = 0; v < positions.size(); ++v)
                vertexColors.push_back(ColorOfLinear(colors[v][0], colors[v][1], colors[v][2]));
        }
        const bool mirrors = Mirrors(world);
        m_out.corners.reserve(m_out.corners.size() + order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            // A mirroring node swaps the last two corners of each triangle back.
            std::size_t k = i;
            if (mirrors && i % 3 == 1)
                k = i + 1;
            else if (mirrors && i % 3 == 2)
                k = i - 1;
            const std::size_t v = order[k];
            const auto& p = positions[v];
            ModelCorner corner;
            corner.X = Placed(world, 0, p);
            corner.Y = Placed(world, 1, p);
            corner.Z = Placed(world, 2, p);
            corner.Color = hasColors ? vertexColors[v] : materialColor;
            if (hasCoordinates) {
                corner.Tu = static_cast<float>(coordinates[v][0]);
                corner.Tv = static_cast<float>(coordinates[v][1]);
            }
            m_out.corners.push_back(corner);
        }
        return true;
    }

    bool CheckAttribute(int index, const char* what, std::initializer_list<int> types,
                        bool integersNormalized) {
        const tinygltf::Accessor& accessor = m_model.accessors[static_cast<std::size_t>(index)];
        if (std::find(types.begin(), types.end(), accessor.type) == types.end())
            return Fail(std::string(what) + ": tipo dell'accessor non ammesso");
        if (accessor.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT &&
            !(integersNormalized && accessor.normalized &&
              (accessor.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
               accessor.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT)))
            return Fail(std::string(what) + ": tipo di componente non ammesso");
        return true;
    }

    bool CheckCount(const Decoded& values, const Decoded& positions, const char* what) {
        if (values.size() < positions.size())
            return Fail(std::string(what) + " ha meno elementi di POSITION");
        return true;
    }

    const tinygltf::Model& m_model;
    const std::string& m_folder;
    ModelTriangles& m_out;
    std::set<int> m_textureImages;
    std::string& m_message;
    AccessorReader m_accessors;
    std::vector<bool> m_visited;
    std::vector<bool> m_measured;
    const std::size_t m_maxTriangles;
    const std::size_t m_budget;
    std::uint64_t m_triangles = 0;
    std::uint64_t m_elements = 0;
};

// What a refusal of tinygltf's or of its JSON reader means, told by words of its English
// text; the first that matches wins.
constexpr std::pair<std::string_view, std::string_view> kLoadReasons[] = {
    {"parse_error", "il testo JSON \xC3\xA8 interrotto o scritto male"},
    {"json.exception", "un valore JSON non \xC3\xA8 del tipo atteso"},
    {"bad_alloc", "memoria insufficiente"},
    {"is not a", "una parte ha un tipo sbagliato"},
    {"does not contain", "una parte ha un tipo sbagliato"},
    {"JSON", "il testo JSON non si pu\xC3\xB2 leggere"},
    {"magic", "l'intestazione GLB non \xC3\xA8 valida"},
    {"binary", "il contenuto binario (GLB) \xC3\xA8 rovinato"},
    {"Binary", "il contenuto binario (GLB) \xC3\xA8 rovinato"},
    {"Chunk", "il contenuto binario (GLB) \xC3\xA8 rovinato"},
    {"File open error", "un file collegato non si pu\xC3\xB2 leggere"},
    {"file size", "un file collegato non si pu\xC3\xB2 leggere"},
    {"File is empty", "un file collegato \xC3\xA8 vuoto"},
    {"unreadable", "un file collegato non si pu\xC3\xB2 leggere"},
    {"decode", "un dato incorporato non si pu\xC3\xB2 decodificare"},
    {"missing", "manca una parte obbligatoria"},
    {"not found", "manca una parte obbligatoria"},
    {"out of bounds", "un riferimento esce dal suo elenco"},
};

// The place the JSON reader names ("at line 3, column 7") as the user's words, or empty.
std::string JsonPlace(const std::string& line) {
    unsigned row = 0;
    unsigned column = 0;
    const std::size_t at = line.find("at line ");
    if (at == std::string::npos ||
        std::sscanf(line.c_str() + at, "at line %u, column %u", &row, &column) != 2)
        return {};
    return " (riga " + std::to_string(row) + ", colonna " + std::to_string(column) + ")";
}

// Why tinygltf refused the file: an Italian first line that says what is wrong, and
// tinygltf's own English words on a second line for whoever can make use of them.
std::string LoadFailure(std::string_view bytes, const std::string& error,
                        const std::map<std::string, NameRefusal>& refused) {
    std::string line = error.substr(0, error.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    constexpr std::string_view kNotFound = "File not found : ";
    if (line.compare(0, kNotFound.size(), kNotFound) == 0) {
        const std::string name = line.substr(kNotFound.size());
        const auto refusal = refused.find(name);
        if (refusal != refused.end())
            return RefusedNameText("Il file glTF non si pu\xC3\xB2 importare: il buffer", false,
                                   name, refusal->second) +
                   ".";
        return std::string(kBroken) + "manca il file «" + name + "».";
    }
    if (bytes.find("KHR_draco_mesh_compression") != std::string_view::npos)
        return std::string(kBroken) + "la compressione Draco non è gestita.";
    std::string reason = "la sua struttura non \xC3\xA8 quella di un file glTF 2.0";
    for (const auto& [words, meaning] : kLoadReasons) {
        if (line.find(words) != std::string::npos) {
            reason = std::string(meaning);
            break;
        }
    }
    if (line.find("json.exception") != std::string::npos)
        reason += JsonPlace(line);
    std::string message = std::string(kBroken) + reason + ".";
    if (!line.empty())
        message += "\nDettaglio di tinygltf: " + line;
    return message;
}

bool IsBinary(std::string_view bytes) {
    return bytes.substr(0, 4) == "glTF";
}

// Appends `count` items of `size` bytes to the buffer at a four-byte boundary and
// describes them with a view; returns the view's index.
int AppendView(tinygltf::Model& model, const void* data, std::size_t bytes, int target) {
    std::vector<unsigned char>& buffer = model.buffers[0].data;
    buffer.resize((buffer.size() + 3) & ~std::size_t{3}, 0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = buffer.size();
    view.byteLength = bytes;
    view.target = target;
    const unsigned char* from = static_cast<const unsigned char*>(data);
    buffer.insert(buffer.end(), from, from + bytes);
    model.bufferViews.push_back(view);
    return static_cast<int>(model.bufferViews.size() - 1);
}

int AppendAccessor(tinygltf::Model& model, int view, int componentType, int type, std::size_t count,
                   bool normalized) {
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.componentType = componentType;
    accessor.type = type;
    accessor.count = count;
    accessor.normalized = normalized;
    model.accessors.push_back(accessor);
    return static_cast<int>(model.accessors.size() - 1);
}

} // namespace

bool ReadGltfBytes(std::string_view bytes, const std::string& folder, ModelTriangles& model,
                   std::string& message, std::size_t maxTriangles) {
    model = ModelTriangles();
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        message = std::string(kBroken) + "il file è troppo grande.";
        return false;
    }
    if (!ImageViewsInsideBuffers(bytes, message))
        return false;
    FileAccess access;
    access.folder = folder;
    tinygltf::TinyGLTF loader;
    loader.SetFsCallbacks({&ExistsUnderFolder, &ExpandFilePath, &ReadFile, &WriteFile, &access});
    loader.SetImageLoader(&KeepImageUndecoded, nullptr);
    tinygltf::Model gltf;
    std::string error;
    std::string warning;
    bool loaded = false;
    try {
        if (IsBinary(bytes)) {
            loaded = loader.LoadBinaryFromMemory(
                &gltf, &error, &warning, reinterpret_cast<const unsigned char*>(bytes.data()),
                static_cast<unsigned int>(bytes.size()), folder);
        } else {
            loaded = loader.LoadASCIIFromString(&gltf, &error, &warning, bytes.data(),
                                                static_cast<unsigned int>(bytes.size()), folder);
        }
    } catch (const std::exception& exception) {
        error = exception.what();
        loaded = false;
    }
    if (!loaded) {
        message = LoadFailure(bytes, error, access.refused);
        return false;
    }
    if (!TakeImageViews(gltf, message))
        return false;
    if (!SceneReader(gltf, folder, model, message, maxTriangles).Read()) {
        model = ModelTriangles();
        return false;
    }
    return true;
}

bool ReadGltf(const std::string& path, ModelTriangles& model, std::string& message,
              std::size_t maxTriangles) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        message = UnreadableFileMessage(path);
        return false;
    }
    return ReadGltfBytes(bytes, FolderOf(path), model, message, maxTriangles);
}

bool WriteGltf(const ModelMesh& mesh, bool binary, std::string& bytes, std::string& message) {
    const std::size_t count = mesh.vertices.size();
    if (mesh.indices.size() < 3 || mesh.vertices.empty()) {
        message = "Il modello non ha triangoli da scrivere.";
        return false;
    }
    std::uint32_t largest = 0;
    for (std::uint32_t index : mesh.indices)
        largest = std::max(largest, index);
    if (largest >= count) {
        message = "Il modello usa il vertice " + std::to_string(largest) + ", ma ne ha " +
                  std::to_string(count) + ".";
        return false;
    }

    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = "Kel Morvane";
    model.buffers.emplace_back();

    std::vector<float> positions;
    std::vector<std::uint16_t> colors;
    std::vector<float> coordinates;
    std::vector<double> low(3, std::numeric_limits<double>::infinity());
    std::vector<double> high(3, -std::numeric_limits<double>::infinity());
    for (const MeshVertex& vertex : mesh.vertices) {
        const float xyz[3] = {static_cast<float>(vertex.X), static_cast<float>(vertex.Y),
                              static_cast<float>(vertex.Z)};
        for (int i = 0; i < 3; ++i) {
            positions.push_back(xyz[i]);
            low[static_cast<std::size_t>(i)] =
                std::min<double>(low[static_cast<std::size_t>(i)], xyz[i]);
            high[static_cast<std::size_t>(i)] =
                std::max<double>(high[static_cast<std::size_t>(i)], xyz[i]);
        }
        for (int shift : {0, 8, 16})
            colors.push_back(LinearShortOfLevel(static_cast<std::uint8_t>(vertex.Color >> shift)));
        colors.push_back(65535);
        coordinates.insert(coordinates.end(), {vertex.Tu, vertex.Tv});
    }
    const std::size_t triangleIndices = mesh.indices.size() - mesh.indices.size() % 3;

    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    const int position =
        AppendAccessor(model,
                       AppendView(model, positions.data(), positions.size() * sizeof(float),
                                  TINYGLTF_TARGET_ARRAY_BUFFER),
                       TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3, count, false);
    // The JSON writer writes a double's own shortest digits: the bounds are given as the
    // doubles of their floats' shortest decimals, so that they read as the data's floats
    // and as few digits.
    for (std::vector<double>* bounds : {&low, &high})
        for (double& bound : *bounds)
            bound = ParseReal(FormatReal(bound));
    model.accessors[static_cast<std::size_t>(position)].minValues = low;
    model.accessors[static_cast<std::size_t>(position)].maxValues = high;
    primitive.attributes["POSITION"] = position;
    // Linear colours need more than a byte: the dark sRGB levels lie closer together than
    // 1/255 of linear intensity.
    primitive.attributes["COLOR_0"] = AppendAccessor(
        model, AppendView(model, colors.data(), colors.size() * 2, TINYGLTF_TARGET_ARRAY_BUFFER),
        TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_VEC4, count, true);
    primitive.attributes["TEXCOORD_0"] =
        AppendAccessor(model,
                       AppendView(model, coordinates.data(), coordinates.size() * sizeof(float),
                                  TINYGLTF_TARGET_ARRAY_BUFFER),
                       TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC2, count, false);
    // The largest value of an index type means "restart" to some readers and may not
    // appear in a glTF index list.
    int indexView;
    int indexType;
    if (largest < 0xFFFF) {
        std::vector<std::uint16_t> narrow(mesh.indices.begin(),
                                          mesh.indices.begin() +
                                              static_cast<std::ptrdiff_t>(triangleIndices));
        indexView = AppendView(model, narrow.data(), narrow.size() * 2,
                               TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        indexType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
    } else {
        indexView = AppendView(model, mesh.indices.data(), triangleIndices * 4,
                               TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        indexType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    }
    primitive.indices =
        AppendAccessor(model, indexView, indexType, TINYGLTF_TYPE_SCALAR, triangleIndices, false);

    tinygltf::Material material;
    material.pbrMetallicRoughness.baseColorFactor = {1, 1, 1, 1};
    // A plain surface: the default full metal would show the mesh almost black.
    material.pbrMetallicRoughness.metallicFactor = 0;
    material.pbrMetallicRoughness.roughnessFactor = 1;
    material.doubleSided = true;
    // The picture travels inside the file, in its buffer, so that every reader shows it.
    if (!mesh.texturePicture.empty()) {
        tinygltf::Image image;
        image.bufferView = AppendView(model, mesh.texturePicture.data(),
                                      mesh.texturePicture.size(), 0);
        image.mimeType = PictureExtension(mesh.texturePicture) == ".png" ? "image/png"
                                                                          : "image/jpeg";
        model.images.push_back(image);
        tinygltf::Texture texture;
        texture.source = 0;
        model.textures.push_back(texture);
        material.pbrMetallicRoughness.baseColorTexture.index = 0;
    }
    model.materials.push_back(material);
    primitive.material = 0;

    tinygltf::Mesh gltfMesh;
    gltfMesh.primitives.push_back(primitive);
    model.meshes.push_back(gltfMesh);
    tinygltf::Node node;
    node.mesh = 0;
    model.nodes.push_back(node);
    tinygltf::Scene scene;
    scene.nodes.push_back(0);
    model.scenes.push_back(scene);
    model.defaultScene = 0;

    tinygltf::TinyGLTF writer;
    std::ostringstream stream;
    try {
        if (!writer.WriteGltfSceneToStream(&model, stream, false, binary)) {
            message = "Il file glTF non si può comporre.";
            return false;
        }
    } catch (const std::exception&) {
        message = "Il file glTF non si può comporre: memoria insufficiente.";
        return false;
    }
    bytes = stream.str();
    return true;
}

} // namespace MyApp
