#include "document/ply_format.h"

#include "document/format_text.h"
#include "document/model_files.h"
#include "document/polygon_triangulator.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace MyApp {
namespace {

enum class Encoding { Ascii, BinaryLittleEndian, BinaryBigEndian };

enum class ScalarType { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float32, Float64 };

struct TypeName {
    std::string_view name;
    ScalarType type;
};

// PLY's own names and the sized ones most writers use today.
constexpr TypeName kTypeNames[] = {
    {"char", ScalarType::Int8},      {"int8", ScalarType::Int8},
    {"uchar", ScalarType::UInt8},    {"uint8", ScalarType::UInt8},
    {"short", ScalarType::Int16},    {"int16", ScalarType::Int16},
    {"ushort", ScalarType::UInt16},  {"uint16", ScalarType::UInt16},
    {"int", ScalarType::Int32},      {"int32", ScalarType::Int32},
    {"uint", ScalarType::UInt32},    {"uint32", ScalarType::UInt32},
    {"float", ScalarType::Float32},  {"float32", ScalarType::Float32},
    {"double", ScalarType::Float64}, {"float64", ScalarType::Float64},
};

std::size_t SizeOf(ScalarType type) {
    switch (type) {
    case ScalarType::Int8:
    case ScalarType::UInt8:
        return 1;
    case ScalarType::Int16:
    case ScalarType::UInt16:
        return 2;
    case ScalarType::Int32:
    case ScalarType::UInt32:
    case ScalarType::Float32:
        return 4;
    case ScalarType::Float64:
        return 8;
    }
    return 1;
}

bool IsFloating(ScalarType type) {
    return type == ScalarType::Float32 || type == ScalarType::Float64;
}

// What the reader does with a property's values.
enum class Role { Skip, X, Y, Z, Red, Green, Blue, U, V, Indices, TexCoords };

struct Property {
    std::string name;
    ScalarType type = ScalarType::Float32;
    bool isList = false;
    ScalarType countType = ScalarType::UInt8;
    Role role = Role::Skip;
};

struct Element {
    std::string name;
    std::uint64_t count = 0;
    std::vector<Property> properties;
};

struct Header {
    Encoding encoding = Encoding::Ascii;
    std::vector<Element> elements;
    std::string textureFile;
    std::set<std::string> otherTextures; // named after the first, left out
    std::size_t dataOffset = 0;
};

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool ParseType(std::string_view name, ScalarType& type) {
    for (const TypeName& entry : kTypeNames) {
        if (entry.name == name) {
            type = entry.type;
            return true;
        }
    }
    return false;
}

bool ParseCount(std::string_view text, std::uint64_t& count) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, count);
    return result.ec == std::errc() && result.ptr == end;
}

// No file name holds a control character, and one would break the header's lines.
bool IsFileName(const std::string& name) {
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// The words after "comment TextureFile", as written: a name may hold spaces.
bool ReadTextureComment(std::string_view line, std::string& name) {
    constexpr std::string_view kKey = "TextureFile";
    std::string_view rest = Trimmed(line.substr(std::string_view("comment").size()));
    if (rest.substr(0, kKey.size()) != kKey)
        return false;
    rest.remove_prefix(kKey.size());
    if (!rest.empty() && !IsBlank(rest.front()))
        return false;
    name = std::string(Trimmed(rest));
    return !name.empty() && IsFileName(name);
}

bool ParseProperty(const std::vector<std::string_view>& words, Property& property,
                   std::string& message) {
    const bool isList = words.size() >= 2 && words[1] == "list";
    if (words.size() != (isList ? 5u : 3u)) {
        message = "Riga di proprietà non valida nell'intestazione del file PLY.";
        return false;
    }
    property.isList = isList;
    property.name = std::string(words.back());
    if (isList && !ParseType(words[2], property.countType)) {
        message = "Tipo sconosciuto nell'intestazione del file PLY: " + Quoted(words[2]) + ".";
        return false;
    }
    const std::string_view type = words[isList ? 3 : 1];
    if (!ParseType(type, property.type)) {
        message = "Tipo sconosciuto nell'intestazione del file PLY: " + Quoted(type) + ".";
        return false;
    }
    if (isList && IsFloating(property.countType)) {
        message = "La lunghezza di una lista nel file PLY non può essere un numero decimale.";
        return false;
    }
    return true;
}

bool ParseFormat(const std::vector<std::string_view>& words, Encoding& encoding,
                 std::string& message) {
    if (words.size() == 3 && words[2] == "1.0") {
        if (words[1] == "ascii") {
            encoding = Encoding::Ascii;
            return true;
        }
        if (words[1] == "binary_little_endian") {
            encoding = Encoding::BinaryLittleEndian;
            return true;
        }
        if (words[1] == "binary_big_endian") {
            encoding = Encoding::BinaryBigEndian;
            return true;
        }
    }
    std::string line;
    for (std::string_view word : words)
        line.append(line.empty() ? "" : " ").append(word);
    message = "Formato PLY non supportato: " + Quoted(line) + ".";
    return false;
}

// Lines other than these are passed over: some exporters write a free line of credits.
bool ParseHeader(std::string_view bytes, Header& header, std::string& message) {
    std::size_t position = 0;
    bool sawFormat = false;
    for (int lineNumber = 0;; ++lineNumber) {
        if (position >= bytes.size()) {
            message = "L'intestazione del file PLY non finisce con \"end_header\".";
            return false;
        }
        std::size_t end = bytes.find('\n', position);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line =
            bytes.substr(position, (end == std::string_view::npos ? bytes.size() : end) - position);
        position = next;
        const std::vector<std::string_view> words = Words(line);
        if (lineNumber == 0) {
            if (words.size() != 1 || words[0] != "ply") {
                message = "Il file non è un file PLY: non comincia con \"ply\".";
                return false;
            }
            continue;
        }
        if (words.empty())
            continue;
        if (words[0] == "end_header") {
            if (!sawFormat) {
                message = "L'intestazione del file PLY non dice il formato dei dati.";
                return false;
            }
            header.dataOffset = position;
            return true;
        }
        if (words[0] == "format") {
            if (!ParseFormat(words, header.encoding, message))
                return false;
            sawFormat = true;
        } else if (words[0] == "comment") {
            std::string name;
            if (ReadTextureComment(Trimmed(line), name)) {
                if (header.textureFile.empty())
                    header.textureFile = name;
                else if (name != header.textureFile)
                    header.otherTextures.insert(name);
            }
        } else if (words[0] == "element") {
            Element element;
            if (words.size() != 3 || !ParseCount(words[2], element.count)) {
                message = "Riga di elemento non valida nell'intestazione del file PLY.";
                return false;
            }
            element.name = std::string(words[1]);
            header.elements.push_back(std::move(element));
        } else if (words[0] == "property") {
            if (header.elements.empty()) {
                message = "Il file PLY dichiara una proprietà prima di ogni elemento.";
                return false;
            }
            Property property;
            if (!ParseProperty(words, property, message))
                return false;
            header.elements.back().properties.push_back(std::move(property));
        }
    }
}

// Scalars of the data part, one at a time, in the file's encoding.
class DataReader {
public:
    enum class Failure { None, Truncated, BadNumber };

    DataReader(std::string_view data, Encoding encoding) : m_data(data), m_encoding(encoding) {}

    bool Read(ScalarType type, double& value) {
        return m_encoding == Encoding::Ascii ? ReadText(value) : ReadBinary(type, value);
    }

    // The fewest bytes a value of this type can take, to weigh a declared count against
    // what is left of the file before anything is reserved for it.
    std::size_t SmallestSize(ScalarType type) const {
        return m_encoding == Encoding::Ascii ? 1 : SizeOf(type);
    }

    std::size_t Remaining() const { return m_data.size() - m_position; }
    Failure LastFailure() const { return m_failure; }
    const std::string& BadText() const { return m_badText; }

private:
    bool ReadText(double& value) {
        while (m_position < m_data.size() && IsBlank(m_data[m_position]))
            ++m_position;
        const std::size_t start = m_position;
        while (m_position < m_data.size() && !IsBlank(m_data[m_position]))
            ++m_position;
        if (m_position == start)
            return Fail(Failure::Truncated);
        const std::string_view word = m_data.substr(start, m_position - start);
        if (!ParseNumber(word, value)) {
            m_badText = std::string(word);
            return Fail(Failure::BadNumber);
        }
        return true;
    }

    bool ReadBinary(ScalarType type, double& value) {
        const std::size_t size = SizeOf(type);
        if (Remaining() < size)
            return Fail(Failure::Truncated);
        unsigned char bytes[8];
        std::memcpy(bytes, m_data.data() + m_position, size);
        m_position += size;
        if (m_encoding == Encoding::BinaryBigEndian)
            std::reverse(bytes, bytes + size);
        // Little-endian from here on, whatever the machine's own order.
        std::uint64_t word = 0;
        for (std::size_t i = size; i-- > 0;)
            word = (word << 8) | bytes[i];
        switch (type) {
        case ScalarType::Int8:
            value = static_cast<std::int8_t>(static_cast<std::uint8_t>(word));
            break;
        case ScalarType::UInt8:
            value = static_cast<std::uint8_t>(word);
            break;
        case ScalarType::Int16:
            value = static_cast<std::int16_t>(static_cast<std::uint16_t>(word));
            break;
        case ScalarType::UInt16:
            value = static_cast<std::uint16_t>(word);
            break;
        case ScalarType::Int32:
            value = static_cast<std::int32_t>(static_cast<std::uint32_t>(word));
            break;
        case ScalarType::UInt32:
            value = static_cast<std::uint32_t>(word);
            break;
        case ScalarType::Float32: {
            const std::uint32_t bits = static_cast<std::uint32_t>(word);
            float single;
            std::memcpy(&single, &bits, sizeof single);
            value = single;
            break;
        }
        case ScalarType::Float64:
            std::memcpy(&value, &word, sizeof value);
            break;
        }
        return true;
    }

    bool Fail(Failure failure) {
        m_failure = failure;
        return false;
    }

    std::string_view m_data;
    Encoding m_encoding;
    std::size_t m_position = 0;
    Failure m_failure = Failure::None;
    std::string m_badText;
};

Role VertexRole(std::string_view name) {
    static constexpr std::pair<std::string_view, Role> kRoles[] = {
        {"x", Role::X},
        {"y", Role::Y},
        {"z", Role::Z},
        {"red", Role::Red},
        {"green", Role::Green},
        {"blue", Role::Blue},
        {"diffuse_red", Role::Red},
        {"diffuse_green", Role::Green},
        {"diffuse_blue", Role::Blue},
        {"s", Role::U},
        {"t", Role::V},
        {"u", Role::U},
        {"v", Role::V},
        {"texture_u", Role::U},
        {"texture_v", Role::V},
        {"texture_s", Role::U},
        {"texture_t", Role::V},
    };
    for (const auto& [known, role] : kRoles) {
        if (known == name)
            return role;
    }
    return Role::Skip;
}

// Each role goes to the first property that can play it; a list never stands for a scalar.
void AssignVertexRoles(Element& vertex) {
    std::vector<Role> taken;
    for (Property& property : vertex.properties) {
        const Role role = property.isList ? Role::Skip : VertexRole(property.name);
        if (role != Role::Skip && std::find(taken.begin(), taken.end(), role) == taken.end()) {
            property.role = role;
            taken.push_back(role);
        }
    }
}

void AssignFaceRoles(Element& face) {
    bool indices = false;
    bool texCoords = false;
    for (Property& property : face.properties) {
        if (!property.isList)
            continue;
        if (!indices && (property.name == "vertex_indices" || property.name == "vertex_index")) {
            property.role = Role::Indices;
            indices = true;
        } else if (!texCoords && property.name == "texcoord") {
            property.role = Role::TexCoords;
            texCoords = true;
        }
    }
}

bool HasPosition(const Element& vertex) {
    int found = 0;
    for (const Property& property : vertex.properties)
        found += property.role == Role::X || property.role == Role::Y || property.role == Role::Z;
    return found == 3;
}

// Colours come as bytes or as fractions of one; a file may still hold any value.
std::uint32_t ColorChannel(double value, ScalarType type) {
    if (IsFloating(type))
        value *= 255.0;
    if (!(value > 0))
        return 0;
    if (value >= 255)
        return 255;
    return static_cast<std::uint32_t>(std::lround(value));
}

bool FitsFloat(double value) {
    return std::fabs(value) <= FLT_MAX;
}

// A vertex as the file gives it, before its corners are made.
struct PlyVertex {
    ModelCorner corner;
};

// The polygons of the face element, their corners one after the other as indices into the
// vertex list, and the texture coordinates some writers give each corner of a face rather
// than each vertex. They are cut into triangles once every vertex has been read, since a
// file may give its faces first.
struct PlyFaces {
    std::vector<std::uint32_t> indices;
    std::vector<std::size_t> sizes;                // the corners of each polygon, three or more
    std::vector<std::pair<float, float>> cornerUv; // empty, or one pair per index
    bool anyCornerUv = false;
};

class PlyReader {
public:
    PlyReader(const Header& header, std::string_view data, std::size_t maxTriangles)
        : m_header(header), m_data(data, header.encoding), m_maxTriangles(maxTriangles) {}

    bool Read(ModelTriangles& model, std::string& message) {
        bool sawVertex = false;
        bool sawFace = false;
        for (Element element : m_header.elements) {
            bool done = true;
            if (!sawVertex && element.name == "vertex") {
                sawVertex = true;
                AssignVertexRoles(element);
                if (!HasPosition(element)) {
                    message = "I vertici del file PLY non hanno le coordinate x, y e z.";
                    return false;
                }
                done = ReadVertices(element, message);
            } else if (!sawFace && element.name == "face") {
                sawFace = true;
                AssignFaceRoles(element);
                done = ReadFaces(element, message);
            } else {
                done = SkipElement(element, message);
            }
            if (!done)
                return false;
        }
        return MakeCorners(model, message);
    }

private:
    bool ReadVertices(const Element& element, std::string& message) {
        // Vertices without properties take no bytes, so nothing bounds their count.
        if (element.properties.empty() && element.count > 0) {
            message = "I vertici del file PLY non hanno propriet\xC3\xA0.";
            return false;
        }
        if (!CheckCount(element, message))
            return false;
        // Faces may name each vertex many times, but no model the document can take needs
        // more vertices than its budget; a few bytes each, they could fill the memory.
        const std::size_t budget = ElementBudget(m_maxTriangles);
        if (element.count > budget) {
            message = "Il file PLY dichiara " + std::to_string(element.count) +
                      " vertici, pi\xC3\xB9 dei " + std::to_string(budget) +
                      " che un modello dell'editor pu\xC3\xB2 usare.";
            return false;
        }
        m_vertices.reserve(static_cast<std::size_t>(element.count));
        std::vector<double> values(element.properties.size());
        for (std::uint64_t i = 0; i < element.count; ++i) {
            for (std::size_t p = 0; p < element.properties.size(); ++p) {
                const Property& property = element.properties[p];
                if (property.isList ? !SkipList(property) : !m_data.Read(property.type, values[p]))
                    return DataFailure(element, message);
            }
            if (!AddVertex(element, values, message))
                return false;
        }
        return true;
    }

    bool AddVertex(const Element& element, const std::vector<double>& values,
                   std::string& message) {
        ModelCorner corner;
        std::uint32_t channels[3] = {255, 255, 255};
        for (std::size_t p = 0; p < element.properties.size(); ++p) {
            const Property& property = element.properties[p];
            const double value = values[p];
            const bool needsFinite = property.role == Role::X || property.role == Role::Y ||
                                     property.role == Role::Z || property.role == Role::U ||
                                     property.role == Role::V;
            if (needsFinite && !std::isfinite(value)) {
                message = "Il vertice " + std::to_string(m_vertices.size()) +
                          " del file PLY ha un numero non valido in " + Quoted(property.name) + ".";
                return false;
            }
            switch (property.role) {
            case Role::X:
                corner.X = value;
                break;
            case Role::Y:
                corner.Y = value;
                break;
            case Role::Z:
                corner.Z = value;
                break;
            case Role::Red:
                channels[0] = ColorChannel(value, property.type);
                break;
            case Role::Green:
                channels[1] = ColorChannel(value, property.type);
                break;
            case Role::Blue:
                channels[2] = ColorChannel(value, property.type);
                break;
            case Role::U:
            case Role::V: {
                const double direct = property.role == Role::U ? value : 1.0 - value;
                if (!FitsFloat(direct)) {
                    message = "Il vertice " + std::to_string(m_vertices.size()) +
                              " del file PLY ha una coordinata di texture fuori misura.";
                    return false;
                }
                (property.role == Role::U ? corner.Tu : corner.Tv) = static_cast<float>(direct);
                break;
            }
            default:
                break;
            }
        }
        corner.Color = PackedColor(channels[0], channels[1], channels[2]);
        m_vertices.push_back(PlyVertex{corner});
        return true;
    }

    bool ReadFaces(const Element& element, std::string& message) {
        // Faces without properties name no corners, however many are declared.
        if (element.properties.empty())
            return true;
        if (!CheckCount(element, message))
            return false;
        std::vector<std::uint32_t> polygon;
        std::vector<std::pair<float, float>> polygonUv;
        std::string reason;
        for (std::uint64_t i = 0; i < element.count; ++i) {
            polygon.clear();
            polygonUv.clear();
            for (const Property& property : element.properties) {
                bool read = true;
                if (property.role == Role::Indices)
                    read = ReadIndices(property, polygon, reason);
                else if (property.role == Role::TexCoords)
                    read = ReadCornerUv(property, polygonUv, reason);
                else
                    read = property.isList ? SkipList(property) : SkipScalar(property);
                if (!read && !reason.empty())
                    message = reason;
                if (!read)
                    return reason.empty() ? DataFailure(element, message) : false;
            }
            AddPolygon(polygon, polygonUv);
        }
        if (m_triangles <= m_maxTriangles)
            return true;
        message = TooManyTriangles(m_triangles, m_maxTriangles);
        return false;
    }

    // A polygon of n corners makes n - 2 triangles; fewer than three corners make no
    // surface and are left out. Past the most triangles the faces are only counted, so
    // that the refusal can give their number without keeping them.
    void AddPolygon(const std::vector<std::uint32_t>& polygon,
                    const std::vector<std::pair<float, float>>& polygonUv) {
        if (polygon.size() < 3)
            return;
        m_triangles += polygon.size() - 2;
        if (m_triangles > m_maxTriangles)
            return;
        const bool hasUv = polygonUv.size() == polygon.size();
        if (hasUv && !m_faces.anyCornerUv) {
            m_faces.anyCornerUv = true;
            m_faces.cornerUv.assign(m_faces.indices.size(), {kNoUv, kNoUv});
        }
        m_faces.sizes.push_back(polygon.size());
        m_faces.indices.insert(m_faces.indices.end(), polygon.begin(), polygon.end());
        if (m_faces.anyCornerUv) {
            if (hasUv)
                m_faces.cornerUv.insert(m_faces.cornerUv.end(), polygonUv.begin(), polygonUv.end());
            else
                m_faces.cornerUv.resize(m_faces.indices.size(), {kNoUv, kNoUv});
        }
    }

    bool ReadListLength(const Property& property, std::uint64_t& length) {
        double value = 0;
        if (!m_data.Read(property.countType, value))
            return false;
        if (!(value >= 0) || value != std::floor(value) ||
            value > static_cast<double>(m_data.Remaining() / m_data.SmallestSize(property.type))) {
            // A length the rest of the file cannot hold is a cut or broken file.
            return false;
        }
        length = static_cast<std::uint64_t>(value);
        return true;
    }

    bool ReadIndices(const Property& property, std::vector<std::uint32_t>& polygon,
                     std::string& message) {
        std::uint64_t length = 0;
        if (!ReadListLength(property, length))
            return false;
        for (std::uint64_t k = 0; k < length; ++k) {
            double value = 0;
            if (!m_data.Read(property.type, value))
                return false;
            if (!(value >= 0) || value != std::floor(value) ||
                value > std::numeric_limits<std::uint32_t>::max()) {
                message = "Una faccia del file PLY usa un indice di vertice non valido (" +
                          NumberText(value) + ").";
                return false;
            }
            polygon.push_back(static_cast<std::uint32_t>(value));
        }
        return true;
    }

    bool ReadCornerUv(const Property& property, std::vector<std::pair<float, float>>& uv,
                      std::string& message) {
        std::uint64_t length = 0;
        if (!ReadListLength(property, length))
            return false;
        double u = 0;
        for (std::uint64_t k = 0; k < length; ++k) {
            double value = 0;
            if (!m_data.Read(property.type, value))
                return false;
            if (!std::isfinite(value) || !FitsFloat(1.0 - value)) {
                message = "Una faccia del file PLY ha una coordinata di texture non valida.";
                return false;
            }
            if (k % 2 == 0)
                u = value;
            else
                uv.emplace_back(static_cast<float>(u), static_cast<float>(1.0 - value));
        }
        return true;
    }

    bool SkipList(const Property& property) {
        std::uint64_t length = 0;
        if (!ReadListLength(property, length))
            return false;
        double value = 0;
        for (std::uint64_t k = 0; k < length; ++k) {
            if (!m_data.Read(property.type, value))
                return false;
        }
        return true;
    }

    bool SkipScalar(const Property& property) {
        double value = 0;
        return m_data.Read(property.type, value);
    }

    bool SkipElement(const Element& element, std::string& message) {
        // An element without properties takes no bytes, however many it declares.
        if (element.properties.empty())
            return true;
        if (!CheckCount(element, message))
            return false;
        for (std::uint64_t i = 0; i < element.count; ++i) {
            for (const Property& property : element.properties) {
                if (property.isList ? !SkipList(property) : !SkipScalar(property))
                    return DataFailure(element, message);
            }
        }
        return true;
    }

    // Weighs the declared count against the bytes left, so that neither the memory
    // reserved nor the time spent follows a count the file cannot hold.
    bool CheckCount(const Element& element, std::string& message) {
        std::size_t smallest = 0;
        for (const Property& property : element.properties)
            smallest += m_data.SmallestSize(property.isList ? property.countType : property.type);
        if (element.count == 0 || smallest == 0 || element.count <= m_data.Remaining() / smallest)
            return true;
        message = "Il file PLY dichiara " + std::to_string(element.count) + " elementi " +
                  Quoted(element.name) + ", più di quanti i suoi dati possano contenere.";
        return false;
    }

    bool DataFailure(const Element& element, std::string& message) {
        if (m_data.LastFailure() == DataReader::Failure::BadNumber)
            message = "Numero non valido nei dati del file PLY: " + Quoted(m_data.BadText()) + ".";
        else
            message = "Il file PLY è troncato o rovinato: i dati degli elementi " +
                      Quoted(element.name) + " non sono completi.";
        return false;
    }

    bool MakeCorners(ModelTriangles& model, std::string& message) const {
        for (std::uint32_t index : m_faces.indices) {
            if (index >= m_vertices.size()) {
                message = "Una faccia del file PLY usa il vertice " + std::to_string(index) +
                          ", ma i vertici sono " + std::to_string(m_vertices.size()) + ".";
                return false;
            }
        }
        ModelTriangles read;
        read.textureFile = m_header.textureFile;
        read.texturesLeftOut = m_header.otherTextures.size();
        read.corners.reserve(static_cast<std::size_t>(m_triangles) * kCornersPerFace);
        PolygonTriangulator triangulator;
        std::vector<PolygonPoint> points;
        std::size_t first = 0;
        for (std::size_t size : m_faces.sizes) {
            points.resize(size);
            for (std::size_t k = 0; k < size; ++k) {
                const ModelCorner& at = m_vertices[m_faces.indices[first + k]].corner;
                points[k] = {at.X, at.Y, at.Z};
            }
            for (std::size_t k : triangulator.Cut(points))
                read.corners.push_back(CornerAt(first + k));
            first += size;
        }
        model = std::move(read);
        return true;
    }

    // The corner of the face element at `i`, with the texture coordinates its face gives it.
    ModelCorner CornerAt(std::size_t i) const {
        ModelCorner corner = m_vertices[m_faces.indices[i]].corner;
        if (m_faces.anyCornerUv && m_faces.cornerUv[i].first != kNoUv) {
            corner.Tu = m_faces.cornerUv[i].first;
            corner.Tv = m_faces.cornerUv[i].second;
        }
        return corner;
    }

    static std::string NumberText(double value) {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value);
        return std::string(text, result.ptr);
    }

    // Marks a corner whose texture coordinates come from its vertex; a file's own values
    // are finite and fit a float, so they never equal it.
    static constexpr float kNoUv = std::numeric_limits<float>::infinity();

    const Header& m_header;
    DataReader m_data;
    std::vector<PlyVertex> m_vertices;
    PlyFaces m_faces;
    const std::size_t m_maxTriangles;
    std::uint64_t m_triangles = 0;
};

} // namespace

bool ReadPly(std::string_view bytes, ModelTriangles& model, std::string& message,
             std::size_t maxTriangles) {
    Header header;
    if (!ParseHeader(bytes, header, message))
        return false;
    PlyReader reader(header, bytes.substr(header.dataOffset), maxTriangles);
    return reader.Read(model, message);
}

std::string WritePly(const ModelMesh& mesh) {
    const std::vector<std::size_t> triangles = WritableTriangles(mesh);
    std::string out = "ply\nformat binary_little_endian 1.0\ncomment Kel Morvane\n";
    if (!mesh.textureFile.empty() && IsFileName(mesh.textureFile))
        out += "comment TextureFile " + mesh.textureFile + "\n";
    out += "element vertex " + std::to_string(mesh.vertices.size()) + "\n";
    out += "property float x\nproperty float y\nproperty float z\n";
    out += "property uchar red\nproperty uchar green\nproperty uchar blue\n";
    out += "property float s\nproperty float t\n";
    out += "element face " + std::to_string(triangles.size()) + "\n";
    out += "property list uchar uint vertex_indices\nend_header\n";
    out.reserve(out.size() + mesh.vertices.size() * 23 + triangles.size() * 13);
    for (const MeshVertex& vertex : mesh.vertices) {
        AppendFloat(out, vertex.X);
        AppendFloat(out, vertex.Y);
        AppendFloat(out, vertex.Z);
        AppendLittleEndian(out, vertex.Color, 3);
        AppendFloat(out, vertex.Tu);
        AppendFloat(out, 1.0 - vertex.Tv);
    }
    for (std::size_t first : triangles) {
        out.push_back(3);
        for (std::size_t k = 0; k < 3; ++k)
            AppendLittleEndian(out, mesh.indices[first + k], 4);
    }
    return out;
}

} // namespace MyApp
