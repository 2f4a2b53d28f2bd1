#include "document/mesh_document.h"

#include "document/format_text.h"
#include "document/number_text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

namespace MyApp {
namespace {

constexpr std::string_view kBeginVertex = "BEGIN VERTEX";
constexpr std::string_view kEndVertex = "END VERTEX";
constexpr std::string_view kBeginIndex = "BEGIN INDEX";
constexpr std::string_view kEndIndex = "END INDEX";

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

// The reader takes the lines in order, once each; past the last line it gets empty ones.
// Both sources count the lines they gave, so that a problem can name its line.
class LineList {
public:
    explicit LineList(const std::vector<std::string>& lines) : m_lines(lines) {}

    std::string_view Next() {
        ++m_number;
        return m_next < m_lines.size() ? std::string_view(m_lines[m_next++]) : std::string_view();
    }

    // The line the last Next gave, from 1, and whether it lay past the end.
    std::size_t Number() const { return m_number; }
    bool PastEnd() const { return m_number > m_lines.size(); }

    std::size_t VertexCapacity() const { return m_lines.size() / kLinesPerVertex; }

    // Every line is whole: none was cut short by the end of the file.
    bool LastLineCut() const { return false; }

    // The next line when it is wholly one number, read; false, with nothing taken, when
    // it is not.
    bool NextWholeReal(double& value) {
        return NextWhole(value, [](std::string_view line, bool& whole) { return ParseReal(line, whole); });
    }
    bool NextWholeInteger(std::int32_t& value) {
        return NextWhole(value, [](std::string_view line, bool& whole) { return ParseInteger(line, whole); });
    }
    bool NextWholeColor(std::uint32_t& value) {
        return NextWhole(value, [](std::string_view line, bool& whole) { return ParseColor(line, whole); });
    }
    // The line the last NextWhole took.
    std::string_view Last() const { return m_lines[m_next - 1]; }

private:
    template <class Number, class Parse> bool NextWhole(Number& value, Parse parse) {
        if (m_next >= m_lines.size())
            return false;
        bool whole = false;
        value = parse(m_lines[m_next], whole);
        if (!whole)
            return false;
        ++m_next;
        ++m_number;
        return true;
    }

    const std::vector<std::string>& m_lines;
    std::size_t m_next = 0;
    std::size_t m_number = 0;
};

// A last line without its line break was cut short, as a file is where its writing stopped:
// it is not read, and the text ends before it.
class TextLines {
public:
    explicit TextLines(std::string_view text)
        : m_text(text.substr(0, text.rfind('\n') + 1)), m_lastLineCut(m_text.size() != text.size()) {}

    std::string_view Next() {
        ++m_number;
        const std::size_t start = m_next;
        m_pastEnd = start >= m_text.size();
        const std::size_t end = m_text.find('\n', start);
        if (end == std::string_view::npos) {
            m_next = m_text.size();
            return m_text.substr(start);
        }
        m_next = end + 1;
        const std::size_t length =
            end > start && m_text[end - 1] == '\r' ? end - start - 1 : end - start;
        return m_text.substr(start, length);
    }

    std::size_t Number() const { return m_number; }
    bool PastEnd() const { return m_pastEnd; }
    bool LastLineCut() const { return m_lastLineCut; }

    // A vertex takes at least two bytes a line; a rough guess at a fraction of that
    // saves most regrowth without holding much more than the vertices need.
    std::size_t VertexCapacity() const { return m_text.size() / (kLinesPerVertex * 8); }

    // The next line when it is just a number, read in the same pass that finds the line's
    // end; false, with nothing taken, for any other line, which Next then gives.
    bool NextWholeReal(double& value) { return NextWhole(value, ParseRealPrefix); }
    bool NextWholeInteger(std::int32_t& value) { return NextWhole(value, ParseIntegerPrefix); }
    bool NextWholeColor(std::uint32_t& value) { return NextWhole(value, ParseColorPrefix); }
    // The line the last NextWhole took.
    std::string_view Last() const { return m_last; }

private:
    template <class Number, class Parse> bool NextWhole(Number& value, Parse parse) {
        const std::string_view rest = m_text.substr(std::min(m_next, m_text.size()));
        const std::size_t length = parse(rest, value);
        if (length == 0)
            return false;
        std::size_t next = length;
        if (next < rest.size() && rest[next] == '\r')
            ++next;
        if (next < rest.size()) {
            if (rest[next] != '\n')
                return false;
            ++next;
        } else if (next != length) {
            return false; // a carriage return that ends the text belongs to the line
        }
        m_last = rest.substr(0, length);
        m_next += next;
        ++m_number;
        m_pastEnd = false;
        return true;
    }


    std::string_view m_text;
    const bool m_lastLineCut;
    std::string_view m_last;
    std::size_t m_next = 0;
    std::size_t m_number = 0;
    bool m_pastEnd = false;
};

// Editors that save "UTF-8 with BOM" put the mark before the header.
std::string_view WithoutByteOrderMark(std::string_view line) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        line.remove_prefix(kByteOrderMark.size());
    return line;
}

bool IsIndexValue(std::int32_t value) {
    return value >= INT16_MIN && value <= UINT16_MAX;
}

// Reads a project by the lenient rules of the format and notes, on the way, the first line
// those rules had to read around. The rules decide what is loaded; the notes only tell.
template <class Lines> class ProjectReader {
public:
    ProjectReader(Lines& lines, MeshDocument& document) : m_lines(lines), m_document(document) {}

    bool Read();
    const ProjectProblem& Problem() const { return m_problem; }

private:
    using Kind = ProjectProblem::Kind;

    void Note(Kind kind, std::string_view text = {}) {
        if (!m_problem)
            m_problem = {kind, m_lines.Number(), std::string(text)};
    }
    // A line that should have been there but is not, because the file ended.
    bool NoteIfPastEnd() {
        if (m_lines.PastEnd())
            Note(Kind::CutShort);
        return m_lines.PastEnd();
    }
    // The number of a line, read and checked in one pass.
    double RealOf(std::string_view line) {
        bool whole = false;
        const double value = ParseReal(line, whole);
        if (!whole && !NoteIfPastEnd())
            Note(Kind::NotANumber, line);
        return value;
    }
    std::int32_t IntegerOf(std::string_view line) {
        bool whole = false;
        const std::int32_t value = ParseInteger(line, whole);
        if (!whole && !NoteIfPastEnd())
            Note(Kind::NotANumber, line);
        return value;
    }
    std::uint32_t ColorOf(std::string_view line) {
        bool whole = false;
        const std::uint32_t value = ParseColor(line, whole);
        if (!whole && !NoteIfPastEnd())
            Note(Kind::NotANumber, line);
        return value;
    }
    // A section ends at its closing marker, or at an empty line, which notes the marker
    // missing (or the file cut short).
    bool EndsSection(std::string_view line, std::string_view closing, Kind missing) {
        if (line == closing)
            return true;
        if (!line.empty())
            return false;
        if (!NoteIfPastEnd())
            Note(missing);
        return true;
    }
    double NextReal() {
        double value = 0.0;
        return m_lines.NextWholeReal(value) ? value : RealOf(m_lines.Next());
    }
    std::int32_t NextInteger() {
        std::int32_t value = 0;
        return m_lines.NextWholeInteger(value) ? value : IntegerOf(m_lines.Next());
    }
    // A vertex's line after its first: END VERTEX here cuts the vertex short, yet the
    // format reads it as the number 0 and goes on.
    double NextRealInVertex() {
        double value = 0.0;
        if (m_lines.NextWholeReal(value))
            return value;
        const std::string_view line = m_lines.Next();
        if (line != kEndVertex)
            return RealOf(line);
        Note(Kind::VertexCutShort);
        return ParseReal(line);
    }
    std::uint32_t NextColor() {
        std::uint32_t value = 0;
        return m_lines.NextWholeColor(value) ? value : ColorOf(m_lines.Next());
    }
    std::uint32_t NextColorInVertex() {
        std::uint32_t value = 0;
        if (m_lines.NextWholeColor(value))
            return value;
        const std::string_view line = m_lines.Next();
        if (line != kEndVertex)
            return ColorOf(line);
        Note(Kind::VertexCutShort);
        return 0;
    }

    void ReadValues();
    void ReadVertices();
    double FirstRealOf(std::string_view first);
    void ReadVertexAfterFirst(MeshVertex& vertex);
    void ReadIndices();
    void ReadPastEnd();

    Lines& m_lines;
    MeshDocument& m_document;
    ProjectProblem m_problem;
};

template <class Lines> bool ProjectReader<Lines>::Read() {
    if (WithoutByteOrderMark(m_lines.Next()) != MeshDocument::kHeader)
        return false;
    ReadValues();
    ReadVertices();
    ReadIndices();
    return true;
}

template <class Lines> void ProjectReader<Lines>::ReadValues() {
    MeshDocument& document = m_document;
    for (double* field : {&document.MoveX, &document.MoveY, &document.MoveZ, &document.EyeX,
                          &document.EyeY, &document.EyeZ})
        *field = NextReal();
    document.BackColor = NextColor();
    for (std::int32_t* field : {&document.ViewWidth, &document.ViewHeight, &document.RotX,
                                &document.RotY, &document.RotZ, &document.FaceCount})
        *field = NextInteger();
    document.TextureFile = m_lines.Next();
    NoteIfPastEnd();
}

// The section ends at its closing marker or at an empty line. The closing marker is looked
// for only where a vertex block would begin: inside a block every line is a number.
template <class Lines> void ProjectReader<Lines>::ReadVertices() {
    m_document.Vertices.clear();
    std::string_view line = m_lines.Next();
    if (line != kBeginVertex) {
        if (!NoteIfPastEnd())
            Note(Kind::NoBeginVertex);
        return;
    }
    m_document.Vertices.reserve(m_lines.VertexCapacity());
    for (;;) {
        MeshVertex vertex;
        const bool number = m_lines.NextWholeReal(vertex.X);
        if (!number) {
            line = m_lines.Next();
            if (EndsSection(line, kEndVertex, Kind::NoEndVertex))
                return;
        }
        if (m_document.Vertices.size() == kMaxModelVertices)
            Note(Kind::TooManyVertices);
        if (!number)
            vertex.X = FirstRealOf(line);
        ReadVertexAfterFirst(vertex);
        m_document.Vertices.push_back(vertex);
    }
}

// A marker of the index list where a vertex begins: the vertex list lost its end.
template <class Lines> double ProjectReader<Lines>::FirstRealOf(std::string_view first) {
    if (first != kBeginIndex && first != kEndIndex)
        return RealOf(first);
    Note(Kind::NoEndVertex);
    return ParseReal(first);
}

template <class Lines> void ProjectReader<Lines>::ReadVertexAfterFirst(MeshVertex& vertex) {
    vertex.Y = NextRealInVertex();
    vertex.Z = NextRealInVertex();
    vertex.Color = NextColorInVertex();
    vertex.Tu = NarrowToFloat(NextRealInVertex());
    vertex.Tv = NarrowToFloat(NextRealInVertex());
}

template <class Lines> void ProjectReader<Lines>::ReadIndices() {
    m_document.Indices.clear();
    std::string_view line = m_lines.Next();
    if (line != kBeginIndex) {
        if (!NoteIfPastEnd())
            Note(Kind::NoBeginIndex);
        return;
    }
    for (;;) {
        std::int32_t value = 0;
        bool whole = m_lines.NextWholeInteger(value);
        if (whole) {
            line = m_lines.Last();
        } else {
            line = m_lines.Next();
            if (line == kEndIndex) {
                ReadPastEnd();
                return;
            }
            if (EndsSection(line, kEndIndex, Kind::NoEndIndex))
                return;
            value = ParseInteger(line, whole);
        }
        if (!whole)
            Note(Kind::NotANumber, line);
        else if (!IsIndexValue(value))
            Note(Kind::NotAnIndex, line);
        const auto index = static_cast<std::uint16_t>(value);
        if (index >= m_document.Vertices.size())
            Note(Kind::IndexPastVertices);
        m_document.Indices.push_back(index);
    }
}

// Nothing of a project follows END INDEX, and a save would not keep it: a line there that
// holds more than blanks, or one the end of the file cut short, is named.
template <class Lines> void ProjectReader<Lines>::ReadPastEnd() {
    for (;;) {
        const std::string_view line = m_lines.Next();
        if (m_lines.PastEnd()) {
            if (m_lines.LastLineCut())
                Note(Kind::AfterEndIndex);
            return;
        }
        if (std::any_of(line.begin(), line.end(), [](char c) { return !IsBlank(c); })) {
            Note(Kind::AfterEndIndex);
            return;
        }
    }
}

template <class Lines>
bool ReadProject(Lines& lines, MeshDocument& document, ProjectProblem* problem) {
    ProjectReader<Lines> reader(lines, document);
    const bool read = reader.Read();
    if (problem != nullptr)
        *problem = reader.Problem();
    return read;
}

// The most bytes a line of each kind takes with its line break.
constexpr std::size_t kLineBreakSize = 2;
constexpr std::size_t kMaxIntegerLine = kMaxIntegerText + kLineBreakSize;

char* WriteLineBreak(char* out) {
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

// The six lines of each vertex from `first` to `last`, at `out`, which has room for
// kVertexLineRoom bytes a vertex and kMaxRealText more; returns the end of the text.
constexpr std::size_t kVertexLineRoom = kLinesPerVertex * kMaxNumberLine;

char* FormatVertexLines(char* out, const MeshVertex* first, const MeshVertex* last) {
    for (const MeshVertex* vertex = first; vertex != last; ++vertex) {
        const NumberLine block[kLinesPerVertex] = {
            NumberLine::OfReal(vertex->X),  NumberLine::OfReal(vertex->Y),
            NumberLine::OfReal(vertex->Z),  NumberLine::OfInteger(vertex->Color),
            NumberLine::OfReal(vertex->Tu), NumberLine::OfReal(vertex->Tv)};
        out = FormatNumberLinesTo(out, block, kLinesPerVertex);
    }
    return out;
}

// Lines laid out in a piece of text that is handed on whenever the next line might not fit
// it, and reused: the piece stays in the cache while it is written and read.
class PieceWriter {
public:
    explicit PieceWriter(const TextSink& take) : m_take(take), m_piece(new char[kRoom]), m_out(m_piece.get()) {}

    void Line(std::string_view line) {
        if (line.size() > kPieceSize) {
            HandOn();
            m_taken = m_taken && m_take(line);
        } else {
            MakeRoom(line.size() + kLineBreakSize);
            m_out = std::copy(line.begin(), line.end(), m_out);
        }
        m_out = WriteLineBreak(m_out);
    }
    void RealLine(double value) {
        MakeRoom(kMaxNumberLine);
        m_out = WriteLineBreak(FormatRealTo(m_out, value));
    }
    void IntegerLine(std::int64_t value) {
        MakeRoom(kMaxIntegerLine);
        m_out = WriteLineBreak(FormatIntegerTo(m_out, value));
    }
    // The six lines of each vertex from `first` to `last`.
    void VertexLines(const MeshVertex* first, const MeshVertex* last) {
        for (const MeshVertex* vertex = first; vertex != last; ++vertex) {
            MakeRoom(kVertexLineRoom);
            m_out = FormatVertexLines(m_out, vertex, vertex + 1);
        }
    }
    // Text made elsewhere, handed on after what came before.
    void Text(std::string_view text) {
        HandOn();
        m_taken = m_taken && (text.empty() || m_take(text));
    }
    // Hands on what is left; true when every piece was taken.
    bool Finish() {
        HandOn();
        return m_taken;
    }

private:
    static constexpr std::size_t kPieceSize = 64 * 1024;
    // Past a piece's end, the most a step writes before it is handed on, and the scratch
    // the number writers may use.
    static constexpr std::size_t kRoom = kPieceSize + kMaxIntegerLine + kMaxRealText;

    void MakeRoom(std::size_t bytes) {
        if (static_cast<std::size_t>(m_out - m_piece.get()) + bytes > kPieceSize)
            HandOn();
    }
    void HandOn() {
        if (m_out != m_piece.get())
            m_taken = m_taken && m_take(std::string_view(m_piece.get(), static_cast<std::size_t>(m_out - m_piece.get())));
        m_out = m_piece.get();
    }

    const TextSink& m_take;
    const std::unique_ptr<char[]> m_piece;
    char* m_out;
    bool m_taken = true;
};

// The vertex lines are nearly all of a large project's text and each vertex's are made
// alone, so two threads share them in runs: this thread takes runs from the front and
// hands each on as it is made, a helper takes runs from the back into rooms of their own,
// and where the two meet this thread hands on the helper's runs in order. A helper that
// starts late, or not at all, leaves more runs to this thread. A mesh of one run makes no
// thread.
class VertexLineRuns {
public:
    explicit VertexLineRuns(const std::vector<MeshVertex>& vertices)
        : m_vertices(vertices), m_runCount((vertices.size() + kRunVertices - 1) / kRunVertices),
          m_ends(std::uint64_t{m_runCount} << 32), m_backRuns(m_runCount) {}

    // False when the helper could not make a run it took: the text would miss it.
    bool Write(PieceWriter& writer) {
        std::thread helper = StartHelper();
        std::size_t run = 0;
        while (Claim(kFromFront, run))
            writer.VertexLines(RunBegin(run), RunEnd(run));
        if (helper.joinable())
            helper.join();
        if (m_helperFailed) {
            errno = ENOMEM; // the reason the save reports
            return false;
        }
        for (const BackRun& made : m_backRuns)
            writer.Text(std::string_view(made.text.get(), made.size));
        return true;
    }

private:
    static constexpr std::size_t kRunVertices = 512;
    static constexpr bool kFromFront = true;
    static constexpr std::uint64_t kFrontMask = 0xFFFFFFFF;
    static constexpr std::uint64_t kBackOne = std::uint64_t{1} << 32;

    struct BackRun {
        std::unique_ptr<char[]> text;
        std::size_t size = 0;
    };

    const MeshVertex* RunBegin(std::size_t run) const { return m_vertices.data() + run * kRunVertices; }
    const MeshVertex* RunEnd(std::size_t run) const {
        return m_vertices.data() + std::min(m_vertices.size(), (run + 1) * kRunVertices);
    }

    // The next run from one end, while any is left between the two ends.
    bool Claim(bool fromFront, std::size_t& run) {
        std::uint64_t ends = m_ends.load();
        std::uint64_t next = 0;
        do {
            const std::uint64_t front = ends & kFrontMask;
            const std::uint64_t back = ends >> 32;
            if (front == back)
                return false;
            run = static_cast<std::size_t>(fromFront ? front : back - 1);
            next = fromFront ? ends + 1 : ends - kBackOne;
        } while (!m_ends.compare_exchange_weak(ends, next));
        return true;
    }

    std::thread StartHelper() {
        if (m_runCount < 2)
            return {};
        try {
            // An exception leaving a thread ends the program; memory that runs out for a
            // run fails the save instead.
            return std::thread([this] {
                try {
                    MakeBackRuns();
                } catch (const std::bad_alloc&) {
                    m_helperFailed = true;
                }
            });
        } catch (const std::system_error&) {
            return {}; // this thread takes every run
        }
    }

    void MakeBackRuns() {
        std::size_t run = 0;
        while (Claim(!kFromFront, run)) {
            BackRun& made = m_backRuns[run];
            made.text.reset(new char[kRunVertices * kVertexLineRoom + kMaxRealText]);
            made.size = static_cast<std::size_t>(FormatVertexLines(made.text.get(), RunBegin(run), RunEnd(run)) -
                                                 made.text.get());
        }
    }

    const std::vector<MeshVertex>& m_vertices;
    const std::size_t m_runCount;
    // The first run not taken from the front in the low half, one past the last run not
    // taken from the back in the high half.
    std::atomic<std::uint64_t> m_ends;
    std::vector<BackRun> m_backRuns;
    bool m_helperFailed = false; // read after the helper is joined
};

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

std::string MeshDocument::ToText() const {
    std::string text;
    WriteText([&text](std::string_view piece) {
        text.append(piece);
        return true;
    });
    return text;
}

bool MeshDocument::WriteText(const TextSink& take) const {
    PieceWriter writer(take);
    writer.Line(kHeader);
    for (double value : {MoveX, MoveY, MoveZ, EyeX, EyeY, EyeZ})
        writer.RealLine(value);
    writer.IntegerLine(BackColor);
    for (std::int32_t value : {ViewWidth, ViewHeight, RotX, RotY, RotZ, FaceCount})
        writer.IntegerLine(value);
    writer.Line(TextureFile);
    writer.Line(kBeginVertex);
    if (!VertexLineRuns(Vertices).Write(writer))
        return false;
    writer.Line(kEndVertex);
    writer.Line(kBeginIndex);
    for (std::uint16_t index : Indices)
        writer.IntegerLine(static_cast<std::int16_t>(index));
    writer.Line(kEndIndex);
    return writer.Finish();
}

int MeshDocument::RemoveVertex(std::size_t vertex) {
    if (vertex >= Vertices.size())
        return 0;
    // Without indices the vertices themselves are the corners, three by three.
    const bool indexed = !Indices.empty();
    const std::size_t corners = indexed ? Indices.size() : Vertices.size();
    auto cornerVertex = [&](std::size_t corner) -> std::size_t {
        return indexed ? Indices[corner] : corner;
    };
    std::vector<std::uint16_t> keptIndices;
    std::vector<MeshVertex> keptVertices;
    int removedDrawn = 0;
    for (std::size_t first = 0; first < corners; first += kCornersPerFace) {
        const std::size_t end = std::min(first + kCornersPerFace, corners);
        // A face goes whole; the corners of an unfinished one at the end, which nothing
        // draws, go one by one.
        const bool whole = end - first == kCornersPerFace;
        bool uses = false;
        for (std::size_t corner = first; corner < end; ++corner)
            uses = uses || cornerVertex(corner) == vertex;
        if (uses && whole) {
            if (static_cast<long long>(first / kCornersPerFace) < FaceCount)
                ++removedDrawn;
            continue;
        }
        for (std::size_t corner = first; corner < end; ++corner) {
            if (cornerVertex(corner) == vertex)
                continue;
            if (indexed)
                keptIndices.push_back(Indices[corner] > vertex ? Indices[corner] - 1 : Indices[corner]);
            else
                keptVertices.push_back(Vertices[corner]);
        }
    }
    if (indexed) {
        Vertices.erase(Vertices.begin() + static_cast<std::ptrdiff_t>(vertex));
        Indices = std::move(keptIndices);
    } else {
        Vertices = std::move(keptVertices);
    }
    FaceCount -= removedDrawn;
    return removedDrawn;
}

bool MeshDocument::FromLines(const std::vector<std::string>& lines, ProjectProblem* problem) {
    LineList list(lines);
    return ReadProject(list, *this, problem);
}

bool MeshDocument::FromText(std::string_view text, ProjectProblem* problem) {
    TextLines lines(text);
    return ReadProject(lines, *this, problem);
}

} // namespace MyApp
