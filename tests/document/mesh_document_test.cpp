#include "document/mesh_document.h"

#include "document/number_text.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

using namespace MyApp;

namespace {

using Lines = std::vector<std::string>;

MeshDocument Sample() {
    MeshDocument document;
    document.ResetToSample();
    return document;
}

MeshDocument Read(const Lines& lines) {
    MeshDocument document;
    EXPECT_TRUE(document.FromLines(lines));
    return document;
}

// The lines of a project file with the given vertex and index sections after the
// fourteen scalar lines and the texture line.
Lines ProjectWith(const Lines& sections) {
    Lines lines = {"KEL MORVANE", "1", "2", "3", "4", "5", "6", "255", "800", "600",
                   "10",          "20", "30", "7", "tex.png"};
    lines.insert(lines.end(), sections.begin(), sections.end());
    return lines;
}

void ExpectSameDocument(const MeshDocument& a, const MeshDocument& b) {
    EXPECT_EQ(a.ToLines(), b.ToLines());
    EXPECT_EQ(a.Vertices, b.Vertices);
    EXPECT_EQ(a.Indices, b.Indices);
}

} // namespace

TEST(MeshDocument, SampleWritesTheDocumentedLines) {
    const Lines lines = Sample().ToLines();
    const Lines head = {"KEL MORVANE", "0", "-0.4", "0", "0",   "3", "-5", "0",
                        "640",         "480", "0",  "33", "0", "4", "",   "BEGIN VERTEX",
                        "1",           "0",   "0",  "33023", "0", "0"};
    ASSERT_EQ(lines.size(), 19u + 12 * 6);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + head.size()), head);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"END VERTEX", "BEGIN INDEX", "END INDEX"}));
}

TEST(MeshDocument, ResetToSampleKeepsTheTextureAndEmptiesTheIndices) {
    MeshDocument document;
    document.TextureFile = "legno.bmp";
    document.Indices = {1, 2, 3};
    document.Vertices.resize(40);
    document.ResetToSample();
    EXPECT_EQ(document.TextureFile, "legno.bmp");
    EXPECT_TRUE(document.Indices.empty());
    ASSERT_EQ(document.Vertices.size(), 12u);
    EXPECT_EQ(document.Vertices[2], (MeshVertex{0, 2, 0.5, 4227327, 0, 0}));
    EXPECT_EQ(document.Vertices[11], (MeshVertex{-1, 0, 1, 16512, 0, 0}));
}

TEST(MeshDocument, RoundTripKeepsEveryField) {
    MeshDocument document = Sample();
    document.TextureFile = "C:\\Mie texture\\pietra \xE8 \xFF.png";
    document.BackColor = 16777215;
    document.Vertices[3].Tu = 0.25f;
    document.Vertices[3].Tv = -1.5f;
    document.Indices = {0, 1, 2, 32767, 32768, 40000, 65535};
    ExpectSameDocument(Read(document.ToLines()), document);

    MeshDocument empty;
    const MeshDocument read = Read(empty.ToLines());
    ExpectSameDocument(read, empty);
    EXPECT_EQ(empty.ToLines()[14], "");
}

TEST(MeshDocument, IndicesAboveTheSigned16BitRangeAreWrittenNegative) {
    MeshDocument document;
    document.Indices = {40000, 65535, 32768};
    const Lines lines = document.ToLines();
    EXPECT_EQ(Lines(lines.end() - 4, lines.end() - 1), (Lines{"-25536", "-1", "-32768"}));
    EXPECT_EQ(Read(lines).Indices, document.Indices);
}

TEST(MeshDocument, RealsKeepTheirSinglePrecisionValue) {
    MeshDocument document;
    document.MoveX = 0.1;
    document.MoveX += 0.1;
    document.MoveX += 0.1;
    document.MoveY = 1.23456789;
    document.Vertices.push_back({1234.5678, -0.5, 1e-7, 0, 0.123456789f, 0});
    const Lines lines = document.ToLines();
    EXPECT_EQ(lines[1], "0.3");
    EXPECT_EQ(lines[2], "1.2345679");
    const MeshDocument read = Read(lines);
    EXPECT_EQ(read.MoveX, 0.3);
    EXPECT_EQ(static_cast<float>(read.MoveY), static_cast<float>(1.23456789));
    EXPECT_EQ(static_cast<float>(read.Vertices[0].X), 1234.5678f);
    EXPECT_EQ(read.Vertices[0].Tu, 0.123456789f);
}

TEST(MeshDocument, RejectsAnyOtherHeaderAndStaysUnchanged) {
    for (const Lines& lines : {Lines{}, Lines{"kel morvane"}, Lines{"KEL MORVANE "},
                               Lines{" KEL MORVANE"}, Lines{"KEL MORVANE\r"}}) {
        MeshDocument document = Sample();
        EXPECT_FALSE(document.FromLines(lines));
        ExpectSameDocument(document, Sample());
    }
}

TEST(MeshDocument, HeaderAloneGivesZerosAndEmptyLists) {
    MeshDocument document = Sample();
    document.TextureFile = "x.png";
    EXPECT_TRUE(document.FromLines({"KEL MORVANE"}));
    EXPECT_EQ(document.MoveY, 0);
    EXPECT_EQ(document.EyeZ, 0);
    EXPECT_EQ(document.ViewWidth, 0);
    EXPECT_EQ(document.FaceCount, 0);
    EXPECT_EQ(document.TextureFile, "");
    EXPECT_TRUE(document.Vertices.empty());
    EXPECT_TRUE(document.Indices.empty());
}

TEST(MeshDocument, ReadsTheScalarLinesByTheLenientRules) {
    const MeshDocument document =
        Read({"KEL MORVANE", " 1.5 m", "abc", "1e999", "", "-2", "3", "-1", "800px", "600",
              "99999999999", "-99999999999", "30", "7", "  my texture.png  "});
    EXPECT_EQ(document.MoveX, 1.5);
    EXPECT_EQ(document.MoveY, 0);
    EXPECT_EQ(document.MoveZ, DBL_MAX);
    EXPECT_EQ(document.EyeX, 0);
    EXPECT_EQ(document.BackColor, 0xFFFFFFFFu);
    EXPECT_EQ(document.ViewWidth, 800);
    EXPECT_EQ(document.RotX, INT32_MAX);
    EXPECT_EQ(document.RotY, INT32_MIN);
    EXPECT_EQ(document.TextureFile, "  my texture.png  ");
}

// Every 32-bit colour, and every finite real the document holds, comes back from its text
// as it was; colours are read unsigned as they are written.
TEST(MeshDocument, ColoursAndRealsPastTheFloatRangeComeBackAsTheyWere) {
    const std::uint32_t colours[] = {0, 0xFF000000u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu,
                                     0x00FFFFFFu, 0xDEADBEEFu};
    const double reals[] = {1e39, -1e300, DBL_MAX, -DBL_MAX, 3.4028236e38, 0.1, -0.0};
    MeshDocument document;
    for (std::uint32_t colour : colours)
        for (double real : reals)
            document.Vertices.push_back({real, -real, 1, colour, 0, 0});
    document.BackColor = 0xFF000000u;
    document.MoveX = 1e300;
    document.EyeZ = -1e39;
    MeshDocument read;
    ASSERT_TRUE(read.FromText(document.ToText()));
    ExpectSameDocument(read, document);
    EXPECT_EQ(read.BackColor, 0xFF000000u);
    EXPECT_EQ(read.MoveX, 1e300);
    EXPECT_EQ(read.EyeZ, -1e39);
    const Lines lines = document.ToLines();
    EXPECT_EQ(lines[1], "1e+300");
    EXPECT_EQ(lines[7], "4278190080");

    // Colour text as older or hand-made files hold it: a signed word keeps its bits, and
    // past 32 bits the value saturates.
    const struct {
        const char* text;
        std::uint32_t colour;
    } texts[] = {{"-1", 0xFFFFFFFFu}, {"-16777216", 0xFF000000u}, {"4294967295", 0xFFFFFFFFu},
                 {"99999999999", 0xFFFFFFFFu}, {"-99999999999", 0x80000000u}, {" 255 ", 255}};
    for (const auto& c : texts) {
        const MeshDocument colour = Read(ProjectWith({"BEGIN VERTEX", "0", "0", "0",
                                                      c.text, "0", "0", "END VERTEX"}));
        ASSERT_EQ(colour.Vertices.size(), 1u) << c.text;
        EXPECT_EQ(colour.Vertices[0].Color, c.colour) << c.text;
        Lines back = ProjectWith({});
        back[7] = c.text;
        EXPECT_EQ(Read(back).BackColor, c.colour) << c.text;
    }
}

TEST(MeshDocument, SectionsEndAtTheirMarkerOrAtAnEmptyLine) {
    const Lines oneVertex = {"1", "2", "3", "4", "0.5", "0.25"};
    const Lines indices = {"BEGIN INDEX", "5", "-1", "END INDEX", "9"};

    Lines lines = {"BEGIN VERTEX"};
    lines.insert(lines.end(), oneVertex.begin(), oneVertex.end());
    lines.push_back("");
    lines.insert(lines.end(), indices.begin(), indices.end());
    MeshDocument document = Read(ProjectWith(lines));
    EXPECT_EQ(document.Vertices, (std::vector<MeshVertex>{{1, 2, 3, 4, 0.5f, 0.25f}}));
    EXPECT_EQ(document.Indices, (std::vector<std::uint16_t>{5, 65535}));

    // Without BEGIN VERTEX on line 16 the index section is looked for on line 17.
    lines = {"VERTICI"};
    lines.insert(lines.end(), indices.begin(), indices.end());
    document = Read(ProjectWith(lines));
    EXPECT_TRUE(document.Vertices.empty());
    EXPECT_EQ(document.Indices.size(), 2u);

    lines = {"VERTICI", "5"};
    lines.insert(lines.end(), indices.begin(), indices.end());
    EXPECT_TRUE(Read(ProjectWith(lines)).Indices.empty());

    // An empty line inside the index list ends it.
    document = Read(ProjectWith({"BEGIN VERTEX", "END VERTEX", "BEGIN INDEX", "1", "", "2"}));
    EXPECT_EQ(document.Indices, (std::vector<std::uint16_t>{1}));
}

TEST(MeshDocument, TheEndMarkerIsOnlyLookedForWhereABlockBegins) {
    // Inside a block an empty line and END VERTEX are both numbers, read as 0.
    const MeshDocument document =
        Read(ProjectWith({"BEGIN VERTEX", "1", "", "3", "4", "5", "6", "7", "8", "END VERTEX",
                          "10", "11", "12", "END VERTEX", "BEGIN INDEX", "3", "END INDEX"}));
    EXPECT_EQ(document.Vertices,
              (std::vector<MeshVertex>{{1, 0, 3, 4, 5, 6}, {7, 8, 0, 10, 11, 12}}));
    EXPECT_EQ(document.Indices, (std::vector<std::uint16_t>{3}));
}

TEST(MeshDocument, FloatsBeyondTheirRangeReadAsTheLargestFiniteFloat) {
    const MeshDocument document =
        Read(ProjectWith({"BEGIN VERTEX", "0", "0", "0", "0", "1e300", "-1e39", "END VERTEX"}));
    ASSERT_EQ(document.Vertices.size(), 1u);
    EXPECT_EQ(document.Vertices[0].Tu, FLT_MAX);
    EXPECT_EQ(document.Vertices[0].Tv, -FLT_MAX);
}

namespace {

std::string JoinedWithLineBreaks(const Lines& lines, const char* lineBreak) {
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append(lineBreak);
    return text;
}

double RandomReal(std::mt19937_64& random) {
    if (random() % 4 == 0) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? value : 0.0;
    }
    const double mantissa = static_cast<double>(random() >> 11) / (1ull << 53) - 0.5;
    return mantissa * std::pow(10.0, static_cast<int>(random() % 24) - 12);
}

MeshDocument RandomDocument(std::mt19937_64& random) {
    MeshDocument document;
    for (double* field : {&document.MoveX, &document.MoveY, &document.MoveZ, &document.EyeX,
                          &document.EyeY, &document.EyeZ})
        *field = RandomReal(random);
    document.BackColor = static_cast<std::uint32_t>(random());
    for (std::int32_t* field : {&document.ViewWidth, &document.ViewHeight, &document.RotX,
                                &document.RotY, &document.RotZ, &document.FaceCount})
        *field = static_cast<std::int32_t>(random());
    document.TextureFile = std::string(random() % 8, static_cast<char>(' ' + random() % 200));
    // Now and then a mesh large enough for its vertex lines to be made in runs by two threads.
    for (std::size_t i = random() % 64 == 0 ? 1000 + random() % 4000 : random() % 40; i > 0; --i) {
        document.Vertices.push_back({RandomReal(random), RandomReal(random), RandomReal(random),
                                     static_cast<std::uint32_t>(random()),
                                     NarrowToFloat(RandomReal(random)),
                                     NarrowToFloat(RandomReal(random))});
    }
    for (std::size_t i = random() % 40; i > 0; --i)
        document.Indices.push_back(static_cast<std::uint16_t>(random()));
    return document;
}

} // namespace

// The text writer and reader are the line ones without a string per line: same bytes out,
// same document in.
TEST(MeshDocument, TextAndLinesAgreeOnRandomDocuments) {
    std::mt19937_64 random(1207);
    for (int round = 0; round < 2000; ++round) {
        const MeshDocument document = RandomDocument(random);
        const Lines lines = document.ToLines();
        const std::string text = document.ToText();
        ASSERT_EQ(text, JoinedWithLineBreaks(lines, "\r\n"));

        MeshDocument fromText;
        ASSERT_TRUE(fromText.FromText(text));
        ExpectSameDocument(fromText, Read(lines));
        MeshDocument fromBareLineFeeds;
        ASSERT_TRUE(fromBareLineFeeds.FromText(JoinedWithLineBreaks(lines, "\n")));
        ExpectSameDocument(fromBareLineFeeds, fromText);
    }
}

TEST(MeshDocument, TextReaderFollowsTheLineRules) {
    const Lines broken[] = {
        ProjectWith({"BEGIN VERTEX", "1", "", "3", "4", "5", "6", "7", "8", "END VERTEX", "10",
                     "11", "12", "END VERTEX", "BEGIN INDEX", "3", "END INDEX"}),
        ProjectWith({"VERTICI", "BEGIN INDEX", "5", "-1", "END INDEX", "9"}),
        ProjectWith({"BEGIN VERTEX", "END VERTEX", "BEGIN INDEX", "1", "", "2"}),
        ProjectWith({"BEGIN VERTEX", "1", "2"}),
        {"KEL MORVANE", " 1.5 m", "abc", "1e999", "", "-2", "3", "-1", "800px", "600"},
        // Numbers read in the pass that finds their line's end, and the lines beside them.
        ProjectWith({"BEGIN VERTEX", "1 ", "+2", "-0", "99999999999", "1e5", "1.2345678901234567",
                     "7\r", "-.5", "3.", "4294967295", ".", "-", "END VERTEX", "BEGIN INDEX",
                     "70000", "-32768", "END INDEX"}),
        {"KEL MORVANE"},
    };
    for (const Lines& lines : broken) {
        MeshDocument document;
        ASSERT_TRUE(document.FromText(JoinedWithLineBreaks(lines, "\r\n")));
        ExpectSameDocument(document, Read(lines));
    }

    // A CR belongs to the line break only just before LF; the header must still match
    // exactly. A last line without a line break is read.
    for (const char* text : {"", "KEL MORVANE\r\r\n", "KEL MORVANE \r\n", "kel morvane\n"}) {
        MeshDocument document = Sample();
        EXPECT_FALSE(document.FromText(text)) << text;
        ExpectSameDocument(document, Sample());
    }
    MeshDocument document;
    ASSERT_TRUE(document.FromText("KEL MORVANE\r\n1\r\n2\r\ntex\r"));
    EXPECT_EQ(document.MoveX, 1);
    EXPECT_EQ(document.MoveY, 2);
    EXPECT_EQ(document.MoveZ, 0);
}

TEST(MeshDocument, AByteOrderMarkBeforeTheHeaderIsSkipped) {
    MeshDocument document;
    EXPECT_TRUE(document.FromText("\xEF\xBB\xBFKEL MORVANE\r\n1\r\n"));
    EXPECT_EQ(document.MoveX, 1);
    EXPECT_FALSE(document.FromText("\xEF\xBBKEL MORVANE\r\n"));
}

TEST(MeshDocument, RemovingAVertexTakesItsFacesAndLeavesEveryOtherFaceOnItsCorners) {
    auto indexed = [](std::vector<std::uint16_t> indices, std::int32_t faces) {
        MeshDocument document;
        for (int i = 0; i < 5; ++i)
            document.Vertices.push_back({double(i), 0, 0, 0, 0, 0});
        document.Indices = std::move(indices);
        document.FaceCount = faces;
        return document;
    };
    const struct {
        MeshDocument before;
        std::size_t removed;
        std::vector<std::uint16_t> indices;
        std::int32_t faces;
        std::vector<double> xs; // the X of each vertex left, which is its number before
    } cases[] = {
        {indexed({0, 1, 2, 2, 3, 4}, 2), 1, {1, 2, 3}, 1, {0, 2, 3, 4}},
        {indexed({0, 1, 2, 2, 3, 4}, 1), 4, {0, 1, 2}, 1, {0, 1, 2, 3}}, // undrawn face
        {indexed({0, 1, 2, 40000, 3}, 1), 3, {0, 1, 2, 39999}, 1, {0, 1, 2, 4}}, // unfinished
        {indexed({0, 1, 2}, 1), 4, {0, 1, 2}, 1, {0, 1, 2, 3}},             // unused
        {indexed({0, 1, 2}, 1), 9, {0, 1, 2}, 1, {0, 1, 2, 3, 4}},          // past the list
        {indexed({}, 1), 4, {}, 1, {0, 1, 2, 3}}, // an unfinished face loses one corner
    };
    for (const auto& c : cases) {
        MeshDocument document = c.before;
        document.RemoveVertex(c.removed);
        EXPECT_EQ(document.Indices, c.indices) << c.removed;
        EXPECT_EQ(document.FaceCount, c.faces) << c.removed;
        std::vector<double> xs;
        for (const MeshVertex& vertex : document.Vertices)
            xs.push_back(vertex.X);
        EXPECT_EQ(xs, c.xs) << c.removed;
    }
    // Without indices the vertices are the faces: the sample's second face goes whole.
    MeshDocument sample = Sample();
    const MeshVertex seventh = sample.Vertices[6];
    EXPECT_EQ(sample.RemoveVertex(4), 1);
    EXPECT_EQ(sample.Vertices.size(), 9u);
    EXPECT_EQ(sample.Vertices[3], seventh);
    EXPECT_EQ(sample.FaceCount, 3);
}

namespace {

// A sound project of two vertices and one triangle on them, as the editor writes it, with
// one line replaced (at its number from 1), removed, or the text cut after a line.
Lines SoundProject() {
    MeshDocument document;
    document.Vertices = {{1, 2, 3, 255, 0.5f, 0.25f}, {4, 5, 6, 0, 0, 1}};
    document.Indices = {0, 1, 1};
    document.FaceCount = 1;
    return document.ToLines();
}

Lines Replaced(std::size_t line, const std::string& text) {
    Lines lines = SoundProject();
    lines[line - 1] = text;
    return lines;
}

Lines Removed(std::size_t line) {
    Lines lines = SoundProject();
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line - 1));
    return lines;
}

Lines CutAfter(std::size_t line) {
    Lines lines = SoundProject();
    lines.resize(line);
    return lines;
}

ProjectProblem ProblemOf(const std::string& text) {
    MeshDocument document;
    ProjectProblem problem;
    EXPECT_TRUE(document.FromText(text, &problem));
    return problem;
}

} // namespace

// The sound project's lines: 1 header, 2-14 values, 15 texture, 16 BEGIN VERTEX, 17-22 and
// 23-28 the vertices, 29 END VERTEX, 30 BEGIN INDEX, 31-33 the indices, 34 END INDEX.
TEST(MeshDocument, ADamagedProjectNamesItsFirstProblemAndLine) {
    using Kind = ProjectProblem::Kind;
    Lines tooMany = ProjectWith({"BEGIN VERTEX"});
    for (std::size_t i = 0; i <= kMaxModelVertices; ++i)
        tooMany.insert(tooMany.end(), {"0", "0", "0", "0", "0", "0"});
    tooMany.insert(tooMany.end(), {"END VERTEX", "BEGIN INDEX", "END INDEX"});
    Lines twoProblems = Replaced(5, "x");
    twoProblems[29] = "";
    Lines afterEnd = SoundProject();
    afterEnd.insert(afterEnd.end(), {"  ", "3"});

    const struct {
        const char* what;
        Lines lines;
        Kind kind;
        std::size_t line;
    } cases[] = {
        {"a value that is not a number", Replaced(3, "abc"), Kind::NotANumber, 3},
        {"a number with more after it", Replaced(9, "800px"), Kind::NotANumber, 9},
        {"an empty value", Replaced(14, ""), Kind::NotANumber, 14},
        {"a real where a colour belongs", Replaced(20, "1.5"), Kind::NotANumber, 20},
        {"no BEGIN VERTEX", Replaced(16, "VERTICI"), Kind::NoBeginVertex, 16},
        {"END VERTEX inside a vertex", Replaced(25, "END VERTEX"), Kind::VertexCutShort, 25},
        {"an empty line inside a vertex", Replaced(18, ""), Kind::NotANumber, 18},
        {"END VERTEX missing before BEGIN INDEX", Removed(29), Kind::NoEndVertex, 29},
        {"an empty line for END VERTEX", Replaced(29, ""), Kind::NoEndVertex, 29},
        {"no BEGIN INDEX", Removed(30), Kind::NoBeginIndex, 30},
        {"an empty line in the indices", Replaced(32, ""), Kind::NoEndIndex, 32},
        {"an index that is not a number", Replaced(33, "uno"), Kind::NotANumber, 33},
        {"an index past the vertices", Replaced(32, "2"), Kind::IndexPastVertices, 32},
        {"an index beyond 16 bits", Replaced(31, "70000"), Kind::NotAnIndex, 31},
        {"cut in the values", CutAfter(10), Kind::CutShort, 11},
        {"cut inside a vertex", CutAfter(19), Kind::CutShort, 20},
        {"cut after the vertices", CutAfter(29), Kind::CutShort, 30},
        {"cut before END INDEX", CutAfter(33), Kind::CutShort, 34},
        {"the first of two problems", twoProblems, Kind::NotANumber, 5},
        {"a vertex past 16-bit indices", tooMany, Kind::TooManyVertices,
         17 + kMaxModelVertices * 6},
        {"a line after END INDEX", afterEnd, Kind::AfterEndIndex, 36},
    };
    for (const auto& c : cases) {
        const Lines& lines = c.lines;
        MeshDocument document;
        ProjectProblem problem;
        ASSERT_TRUE(document.FromLines(lines, &problem)) << c.what;
        EXPECT_EQ(problem.kind, c.kind) << c.what;
        EXPECT_EQ(problem.line, c.line) << c.what;
        // The text reader notes the same, and the file still loads by the lenient rules.
        const ProjectProblem fromText = ProblemOf(JoinedWithLineBreaks(lines, "\r\n"));
        EXPECT_EQ(fromText.kind, c.kind) << c.what;
        EXPECT_EQ(fromText.line, c.line) << c.what;
        EXPECT_EQ(fromText.text, problem.text) << c.what;
        ExpectSameDocument(document, Read(lines));
    }
    // A text whose last line lost its line break was cut there, whatever that line holds.
    const std::string sound = JoinedWithLineBreaks(SoundProject(), "\r\n");
    const struct {
        const char* what;
        std::size_t length;
        Kind kind;
        std::size_t line;
    } cuts[] = {
        {"cut inside a vertex's number", sound.find("\r\n5\r\n") + 3, Kind::CutShort, 24},
        {"cut inside END INDEX", sound.size() - 4, Kind::CutShort, 34},
        {"cut between CR and LF", sound.size() - 1, Kind::CutShort, 34},
        {"a cut line after END INDEX", sound.size() + 3, Kind::AfterEndIndex, 35},
    };
    for (const auto& c : cuts) {
        const std::string text = (sound + "xyz").substr(0, c.length);
        const ProjectProblem problem = ProblemOf(text);
        EXPECT_EQ(problem.kind, c.kind) << c.what;
        EXPECT_EQ(problem.line, c.line) << c.what;
    }
    EXPECT_EQ(ProjectProblem({Kind::NoEndVertex, 29, ""}).Description(),
              "manca END VERTEX (riga 29)");
    ProjectProblem problem;
    MeshDocument().FromLines(Replaced(9, "800px"), &problem);
    EXPECT_EQ(problem.Description(), "\"800px\" al posto di un numero (riga 9)");
}

// What the editor writes, and what the format takes as it is, reads without a problem.
TEST(MeshDocument, ASoundProjectHasNoProblem) {
    MeshDocument sample = Sample();
    sample.TextureFile = "C:\\Mie texture\\pietra.png";
    MeshDocument full;
    full.Vertices.resize(kMaxModelVertices);
    full.Indices = {0, 65534, 40000};
    const std::string sound = JoinedWithLineBreaks(SoundProject(), "\r\n");
    for (const std::string& text :
         {sample.ToText(), MeshDocument().ToText(), full.ToText(), sound,
          JoinedWithLineBreaks(SoundProject(), "\n"), "\xEF\xBB\xBF" + sound,
          sound + "\r\n", sound + " \t\r\n\r\n",
          JoinedWithLineBreaks(Replaced(2, " 1e+010 "), "\r\n")}) {
        const ProjectProblem problem = ProblemOf(text);
        EXPECT_FALSE(problem) << problem.Description();
    }
    std::mt19937_64 random(29);
    for (int round = 0; round < 200; ++round) {
        MeshDocument document = RandomDocument(random);
        if (document.Vertices.empty())
            document.Indices.clear();
        for (std::uint16_t& index : document.Indices)
            index = static_cast<std::uint16_t>(index % document.Vertices.size());
        ProjectProblem problem;
        ASSERT_TRUE(MeshDocument().FromLines(document.ToLines(), &problem));
        EXPECT_FALSE(problem) << problem.Description();
    }
}
