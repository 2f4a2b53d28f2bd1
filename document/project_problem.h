#pragma once

// The first thing a project file held that its reader had to read around: a section marker
// missing or out of place, a number that is not one, a file cut short, an index that
// reaches no vertex. The reader still loads such a file by its lenient rules; the problem
// is what the user is told about it.

#include <cstddef>
#include <string>

namespace MyApp {

struct ProjectProblem {
    enum class Kind {
        None,
        CutShort,            // the file ends before END INDEX
        NotANumber,          // a line where a number belongs holds something else
        NoBeginVertex,       // line 16 is not BEGIN VERTEX
        VertexCutShort,      // END VERTEX in the middle of a vertex's six lines
        NoEndVertex,         // the vertex list ends without END VERTEX
        NoBeginIndex,        // the line after the vertex list is not BEGIN INDEX
        NoEndIndex,          // the index list ends without END INDEX
        NotAnIndex,          // a number beyond the 16-bit range where an index belongs
        IndexPastVertices,   // an index names a vertex the list does not have
        TooManyVertices,     // a vertex past those a 16-bit index reaches
        AfterEndIndex,       // text after END INDEX, which a save would not keep
    };

    Kind kind = Kind::None;
    std::size_t line = 0; // from 1; the line where the problem is, or the first one missing
    std::string text;     // the line, for a value that is not a number or not an index

    explicit operator bool() const { return kind != Kind::None; }

    // What is wrong, in Italian, with its line: "manca END VERTEX (riga 40)",
    // "\"abc\" al posto di un numero (riga 3)".
    std::string Description() const;
};

} // namespace MyApp
