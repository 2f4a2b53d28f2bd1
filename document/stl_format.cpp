#include "document/stl_format.h"

#include "document/format_text.h"
#include "document/model_files.h"
#include "document/polygon_triangulator.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace MyApp {
namespace {

constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kPreambleSize = kHeaderSize + 4;
constexpr std::size_t kFacetSize = 50;

bool StartsWithSolid(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && IsBlank(bytes[i]))
        ++i;
    return SameIgnoringCase(bytes.substr(i, 5), "solid") &&
           (i + 5 == bytes.size() || IsBlank(bytes[i + 5]));
}

// The words of an ASCII file, with the rest of a line passed over where a name stands.
class Words {
public:
    explicit Words(std::string_view text) : m_text(text) {}

    std::string_view Next() {
        while (m_position < m_text.size() && IsBlank(m_text[m_position]))
            ++m_position;
        const std::size_t start = m_position;
        while (m_position < m_text.size() && !IsBlank(m_text[m_position]))
            ++m_position;
        return m_text.substr(start, m_position - start);
    }

    void SkipLine() {
        while (m_position < m_text.size() && m_text[m_position] != '\n')
            ++m_position;
    }

    bool AtEnd() {
        while (m_position < m_text.size() && IsBlank(m_text[m_position]))
            ++m_position;
        return m_position == m_text.size();
    }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

class AsciiStlReader {
public:
    AsciiStlReader(std::string_view text, std::size_t maxTriangles)
        : m_text(text), m_words(text), m_maxTriangles(maxTriangles) {}

    // Whether the facets made more triangles than the reader may keep.
    bool TooMany() const { return m_triangles > m_maxTriangles; }

    bool Read(std::vector<ModelCorner>& corners, std::string& message) {
        // Text has no NUL; a binary file whose header starts with "solid" nearly always has.
        if (m_text.find('\0') != std::string_view::npos) {
            message = "Il file STL comincia con \"solid\" ma non è un file di testo valido.";
            return false;
        }
        bool sawSolid = false;
        while (!m_words.AtEnd()) {
            if (!Expect("solid", message))
                return false;
            sawSolid = true;
            m_words.SkipLine();
            if (!ReadFacets(corners, message))
                return false;
        }
        if (!sawSolid)
            message = "Il file STL è vuoto.";
        if (TooMany()) {
            message = TooManyTriangles(m_triangles, m_maxTriangles);
            return false;
        }
        return sawSolid;
    }

private:
    bool ReadFacets(std::vector<ModelCorner>& corners, std::string& message) {
        std::vector<PolygonPoint> polygon;
        for (;;) {
            std::string_view word = m_words.Next();
            if (SameIgnoringCase(word, "endsolid")) {
                m_words.SkipLine();
                return true;
            }
            if (word.empty())
                return Unexpected("endsolid", word, message);
            if (!SameIgnoringCase(word, "facet"))
                return Unexpected("facet", word, message);
            word = m_words.Next();
            // The normal is made again from the corners wherever it is needed, and some
            // writers fill it with words no number reader takes, so it is not read.
            if (SameIgnoringCase(word, "normal")) {
                for (int k = 0; k < 3; ++k)
                    m_words.Next();
                word = m_words.Next();
            }
            if (!SameIgnoringCase(word, "outer"))
                return Unexpected("outer", word, message);
            if (!Expect("loop", message) || !ReadLoop(polygon, message) ||
                !Expect("endfacet", message))
                return false;
            // Past the most triangles the facets are only counted, for the refusal to give.
            m_triangles += polygon.size() - 2;
            if (TooMany())
                continue;
            for (std::size_t k : m_triangulator.Cut(polygon)) {
                ModelCorner corner;
                corner.X = polygon[k].X;
                corner.Y = polygon[k].Y;
                corner.Z = polygon[k].Z;
                corners.push_back(corner);
            }
        }
    }

    // A facet of more than three corners, which some writers give, is a polygon.
    bool ReadLoop(std::vector<PolygonPoint>& polygon, std::string& message) {
        polygon.clear();
        for (;;) {
            const std::string_view word = m_words.Next();
            if (SameIgnoringCase(word, "endloop"))
                break;
            if (!SameIgnoringCase(word, "vertex"))
                return Unexpected("vertex", word, message);
            PolygonPoint corner;
            if (!ReadNumber(corner.X, message) || !ReadNumber(corner.Y, message) ||
                !ReadNumber(corner.Z, message))
                return false;
            polygon.push_back(corner);
        }
        if (polygon.size() >= 3)
            return true;
        message = "Una faccia del file STL ha meno di tre vertici.";
        return false;
    }

    bool ReadNumber(double& value, std::string& message) {
        const std::string_view written = m_words.Next();
        if (ParseFiniteNumber(written, value))
            return true;
        message = written.empty() ? "Il file STL è troncato: finisce dentro una faccia."
                                  : "Numero non valido nel file STL: " + Quoted(written) + ".";
        return false;
    }

    bool Expect(std::string_view keyword, std::string& message) {
        const std::string_view word = m_words.Next();
        return SameIgnoringCase(word, keyword) || Unexpected(keyword, word, message);
    }

    static bool Unexpected(std::string_view keyword, std::string_view word, std::string& message) {
        if (word.empty())
            message = "Il file STL è troncato: manca \"" + std::string(keyword) + "\".";
        else
            message = "Il file STL non è valido: al posto di \"" + std::string(keyword) +
                      "\" c'è " + Quoted(word) + ".";
        return false;
    }

    std::string_view m_text;
    Words m_words;
    const std::size_t m_maxTriangles;
    std::uint64_t m_triangles = 0;
    PolygonTriangulator m_triangulator;
};

std::uint32_t LittleEndian32(const char* bytes) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i)
        word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return word;
}

float LittleEndianFloat(const char* bytes) {
    const std::uint32_t bits = LittleEndian32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool ReadBinaryStl(std::string_view bytes, std::uint32_t count, std::size_t maxTriangles,
                   std::vector<ModelCorner>& corners, std::string& message) {
    if (count > maxTriangles) {
        message = TooManyTriangles(count, maxTriangles);
        return false;
    }
    corners.reserve(std::size_t{count} * 3);
    for (std::uint32_t i = 0; i < count; ++i) {
        const char* facet = bytes.data() + kPreambleSize + std::size_t{i} * kFacetSize;
        for (int k = 0; k < 3; ++k) {
            const char* corner = facet + 12 * (k + 1);
            ModelCorner read;
            read.X = LittleEndianFloat(corner);
            read.Y = LittleEndianFloat(corner + 4);
            read.Z = LittleEndianFloat(corner + 8);
            if (!std::isfinite(read.X) || !std::isfinite(read.Y) || !std::isfinite(read.Z)) {
                message = "Il triangolo " + std::to_string(i + 1) +
                          " del file STL ha una coordinata non valida.";
                return false;
            }
            corners.push_back(read);
        }
    }
    return true;
}

struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

Vector3 UnitNormal(const MeshVertex& a, const MeshVertex& b, const MeshVertex& c) {
    const Vector3 u{b.X - a.X, b.Y - a.Y, b.Z - a.Z};
    const Vector3 v{c.X - a.X, c.Y - a.Y, c.Z - a.Z};
    const Vector3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (!(length > 0) || !std::isfinite(length))
        return {};
    // A zero component is written as 0, never as the -0 a difference of products gives.
    return {n.x / length + 0.0, n.y / length + 0.0, n.z / length + 0.0};
}

} // namespace

bool ReadStl(std::string_view bytes, ModelTriangles& model, std::string& message,
             std::size_t maxTriangles) {
    const bool hasPreamble = bytes.size() >= kPreambleSize;
    const std::uint32_t count = hasPreamble ? LittleEndian32(bytes.data() + kHeaderSize) : 0;
    const std::uint64_t binarySize = kPreambleSize + std::uint64_t{count} * kFacetSize;
    std::vector<ModelCorner> corners;
    bool read = false;
    if (hasPreamble && binarySize == bytes.size()) {
        read = ReadBinaryStl(bytes, count, maxTriangles, corners, message);
    } else if (StartsWithSolid(bytes)) {
        AsciiStlReader ascii(bytes, maxTriangles);
        read = ascii.Read(corners, message);
        // A binary file whose header starts with "solid" and that carries a few bytes past
        // its triangles is still binary.
        if (!read && !ascii.TooMany() && hasPreamble && binarySize < bytes.size()) {
            corners.clear();
            read = ReadBinaryStl(bytes, count, maxTriangles, corners, message);
        }
    } else if (!hasPreamble) {
        message = "Il file è troppo corto per essere un file STL.";
    } else if (binarySize > bytes.size()) {
        message = "Il file non è un file STL valido: non comincia con \"solid\" e, letto come "
                  "binario, dichiara " +
                  std::to_string(count) + " triangoli dove ce ne stanno " +
                  std::to_string((bytes.size() - kPreambleSize) / kFacetSize) + ".";
    } else {
        read = ReadBinaryStl(bytes, count, maxTriangles, corners, message);
    }
    if (!read)
        return false;
    model.corners = std::move(corners);
    model.textureFile.clear();
    return true;
}

std::string WriteStl(const ModelMesh& mesh) {
    const std::vector<std::size_t> triangles = WritableTriangles(mesh);
    // The header must not start with "solid", or a reader may take the file for text.
    std::string out = "Binary STL written by Kel Morvane";
    out.resize(kHeaderSize, ' ');
    AppendLittleEndian(out, static_cast<std::uint32_t>(triangles.size()), 4);
    out.reserve(kPreambleSize + triangles.size() * kFacetSize);
    for (std::size_t first : triangles) {
        const MeshVertex& a = mesh.vertices[mesh.indices[first]];
        const MeshVertex& b = mesh.vertices[mesh.indices[first + 1]];
        const MeshVertex& c = mesh.vertices[mesh.indices[first + 2]];
        const Vector3 normal = UnitNormal(a, b, c);
        AppendFloat(out, normal.x);
        AppendFloat(out, normal.y);
        AppendFloat(out, normal.z);
        for (const MeshVertex* corner : {&a, &b, &c}) {
            AppendFloat(out, corner->X);
            AppendFloat(out, corner->Y);
            AppendFloat(out, corner->Z);
        }
        AppendLittleEndian(out, 0, 2);
    }
    return out;
}

} // namespace MyApp
