#include "app/mesh_document.h"

#include "app/number_text.h"

namespace MyApp {
namespace {

const char* const kBeginVertex = "BEGIN VERTEX";
const char* const kEndVertex = "END VERTEX";
const char* const kBeginIndex = "BEGIN INDEX";
const char* const kEndIndex = "END INDEX";

constexpr std::size_t kLinesPerVertex = 6;
// Header, six reals, seven integers, the texture line and the four section markers.
constexpr std::size_t kFixedLineCount = 19;

constexpr std::uint32_t kOrange = 33023;       // 0x0080FF
constexpr std::uint32_t kDarkGreen = 16512;    // 0x004080
constexpr std::uint32_t kLightOrange = 4227327; // 0x4080FF
constexpr std::uint32_t kWhite = 16777215;     // 0xFFFFFF

const MeshVertex kSamplePyramid[] = {
    {1, 0, 0, kOrange, 0, 0},       {-1, 0, 0, kOrange, 0, 0},
    {0, 2, 0.5, kLightOrange, 0, 0}, {1, 0, 1, kDarkGreen, 0, 0},
    {1, 0, 0, kDarkGreen, 0, 0},    {0, 2, 0.5, kDarkGreen, 0, 0},
    {1, 0, 1, kDarkGreen, 0, 0},    {-1, 0, 1, kWhite, 0, 0},
    {0, 2, 0.5, kLightOrange, 0, 0}, {-1, 0, 0, kWhite, 0, 0},
    {0, 2, 0.5, kWhite, 0, 0},      {-1, 0, 1, kDarkGreen, 0, 0},
};

// Lines are numbered from 1; asking past the end gives an empty line.
class LineReader {
public:
    explicit LineReader(const std::vector<std::string>& lines) : m_lines(lines) {}

    const std::string& operator[](std::size_t number) const {
        static const std::string empty;
        return number >= 1 && number <= m_lines.size() ? m_lines[number - 1] : empty;
    }

private:
    const std::vector<std::string>& m_lines;
};

MeshVertex ReadVertex(const LineReader& line, std::size_t first) {
    MeshVertex vertex;
    vertex.X = ParseReal(line[first]);
    vertex.Y = ParseReal(line[first + 1]);
    vertex.Z = ParseReal(line[first + 2]);
    vertex.Color = static_cast<std::uint32_t>(ParseInteger(line[first + 3]));
    vertex.Tu = ParseRealAsFloat(line[first + 4]);
    vertex.Tv = ParseRealAsFloat(line[first + 5]);
    return vertex;
}

} // namespace

void MeshDocument::ResetToSample() {
    MoveX = 0;
    MoveY = -0.4;
    MoveZ = 0;
    EyeX = 0;
    EyeY = 3.0;
    EyeZ = -5.0;
    BackColor = 0;
    ViewWidth = 640;
    ViewHeight = 480;
    RotX = 0;
    RotY = 33;
    RotZ = 0;
    FaceCount = 4;
    Vertices.assign(std::begin(kSamplePyramid), std::end(kSamplePyramid));
    Indices.clear();
}

std::vector<std::string> MeshDocument::ToLines() const {
    std::vector<std::string> lines;
    lines.reserve(kFixedLineCount + kLinesPerVertex * Vertices.size() + Indices.size());
    lines.emplace_back(kHeader);
    for (double value : {MoveX, MoveY, MoveZ, EyeX, EyeY, EyeZ})
        lines.push_back(FormatReal(value));
    lines.push_back(FormatInteger(BackColor));
    for (std::int32_t value : {ViewWidth, ViewHeight, RotX, RotY, RotZ, FaceCount})
        lines.push_back(FormatInteger(value));
    lines.push_back(TextureFile);
    lines.emplace_back(kBeginVertex);
    for (const MeshVertex& vertex : Vertices) {
        lines.push_back(FormatReal(vertex.X));
        lines.push_back(FormatReal(vertex.Y));
        lines.push_back(FormatReal(vertex.Z));
        lines.push_back(FormatInteger(vertex.Color));
        lines.push_back(FormatReal(vertex.Tu));
        lines.push_back(FormatReal(vertex.Tv));
    }
    lines.emplace_back(kEndVertex);
    lines.emplace_back(kBeginIndex);
    for (std::uint16_t index : Indices)
        lines.push_back(FormatInteger(static_cast<std::int16_t>(index)));
    lines.emplace_back(kEndIndex);
    return lines;
}

bool MeshDocument::FromLines(const std::vector<std::string>& lines) {
    const LineReader line(lines);
    if (line[1] != kHeader)
        return false;
    MoveX = ParseReal(line[2]);
    MoveY = ParseReal(line[3]);
    MoveZ = ParseReal(line[4]);
    EyeX = ParseReal(line[5]);
    EyeY = ParseReal(line[6]);
    EyeZ = ParseReal(line[7]);
    BackColor = static_cast<std::uint32_t>(ParseInteger(line[8]));
    ViewWidth = ParseInteger(line[9]);
    ViewHeight = ParseInteger(line[10]);
    RotX = ParseInteger(line[11]);
    RotY = ParseInteger(line[12]);
    RotZ = ParseInteger(line[13]);
    FaceCount = ParseInteger(line[14]);
    TextureFile = line[15];

    // Each section ends at its closing marker or at an empty line. The closing marker is
    // looked for only where a vertex block would begin: inside a block every line is a
    // number.
    Vertices.clear();
    std::size_t next = 17;
    if (line[16] == kBeginVertex) {
        Vertices.reserve(lines.size() / kLinesPerVertex);
        while (line[next] != kEndVertex && !line[next].empty()) {
            Vertices.push_back(ReadVertex(line, next));
            next += kLinesPerVertex;
        }
        ++next;
    }

    Indices.clear();
    if (line[next] == kBeginIndex) {
        for (std::size_t n = next + 1; line[n] != kEndIndex && !line[n].empty(); ++n)
            Indices.push_back(static_cast<std::uint16_t>(ParseInteger(line[n])));
    }
    return true;
}

} // namespace MyApp
