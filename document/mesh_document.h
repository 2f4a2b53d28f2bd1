#pragma once

// The whole state the user edits and a .kv3 project file keeps: the preview settings and
// the mesh as a vertex list and a 16-bit index list. The document checks nothing about
// how the lists and FaceCount agree; the preview and the exporters decide that.

#include "document/mesh_vertex.h"
#include "document/project_problem.h"
#include "document/text_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace MyApp {

// The most vertices a document holds: its indices are 16-bit.
constexpr std::size_t kMaxModelVertices = 65535;

// Every value of a document but its two lists: what the preview's settings and the face
// count are, and what a step of the history copies whole.
struct DocumentValues {
    double MoveX = 0;
    double MoveY = 0;
    double MoveZ = 0;
    double EyeX = 0;
    double EyeY = 0;
    double EyeZ = -10.0;
    std::uint32_t BackColor = 0; // 0x00BBGGRR
    std::int32_t ViewWidth = 640;
    std::int32_t ViewHeight = 480;
    std::int32_t RotX = 0; // whole degrees
    std::int32_t RotY = 0;
    std::int32_t RotZ = 0;
    std::int32_t FaceCount = 0; // triangles drawn and exported
    std::string TextureFile;    // empty: no texture
};

class MeshDocument : public DocumentValues {
public:
    // The first line of every project file.
    static constexpr const char* kHeader = "KEL MORVANE";

    std::vector<MeshVertex> Vertices;
    std::vector<std::uint16_t> Indices;

    // The background as the preview and its swatch show it: a colour word, whatever a file
    // put above its 24 bits.
    std::uint32_t ShownBackColor() const { return BackColor & 0x00FFFFFFu; }

    // Installs the start-up pyramid and its view; TextureFile is kept.
    void ResetToSample();

    // Removes a vertex and every face that uses it, so that no other face changes: the
    // indices above it move down with the vertices, and in a list without indices (taken
    // three by three) the face's other corners go as well; an unfinished last face loses
    // only that corner. FaceCount drops by the drawn faces removed, which is the answer.
    // A vertex past the list changes nothing.
    int RemoveVertex(std::size_t vertex);

    // The project file as lines, without line breaks.
    std::vector<std::string> ToLines() const;

    // The project file as it goes to disk, every line followed by CR LF: the bytes that
    // writing ToLines() through TextFile gives, made without a string per line.
    std::string ToText() const;
    // The same text in pieces of at most 64 KiB, each given to `take` as soon as it is
    // made, so that a large file is never held whole; false once `take` refuses a piece.
    bool WriteText(const TextSink& take) const;

    // Reads a project file's lines. False, with the document untouched, when the first
    // line is not the header; otherwise missing or broken lines read as 0 or empty, and
    // `problem`, when given, tells the first line that was not as the writer writes it
    // (none for a sound file, whatever its line breaks).
    bool FromLines(const std::vector<std::string>& lines, ProjectProblem* problem = nullptr);

    // The same from the file's text: a line ends at LF, and a CR just before the LF
    // belongs to the line break. A last line without its LF was cut short by the end of
    // the file: it is not read, and the problem names it.
    bool FromText(std::string_view text, ProjectProblem* problem = nullptr);
};

} // namespace MyApp
