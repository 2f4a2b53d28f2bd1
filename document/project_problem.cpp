#include "document/project_problem.h"

#include "document/mesh_document.h"
#include "document/model_files.h"

namespace MyApp {
namespace {

// The program's text is UTF-8; accented letters are spelled as their bytes.
std::string What(ProjectProblem::Kind kind, const std::string& text) {
    using Kind = ProjectProblem::Kind;
    switch (kind) {
    case Kind::None:
        break;
    case Kind::CutShort:
        return "il file si interrompe prima della fine del progetto";
    case Kind::NotANumber:
        return (text.empty() ? std::string("una riga vuota") : Quoted(text)) +
               " al posto di un numero";
    case Kind::NoBeginVertex:
        return "manca BEGIN VERTEX";
    case Kind::VertexCutShort:
        return "END VERTEX interrompe un vertice a met\xC3\xA0";
    case Kind::NoEndVertex:
        return "manca END VERTEX";
    case Kind::NoBeginIndex:
        return "manca BEGIN INDEX";
    case Kind::NoEndIndex:
        return "manca END INDEX";
    case Kind::NotAnIndex:
        return Quoted(text) + " non \xC3\xA8 un indice a 16 bit";
    case Kind::IndexPastVertices:
        return "un indice supera l'elenco dei vertici";
    case Kind::TooManyVertices:
        return "i vertici superano i " + std::to_string(kMaxModelVertices) +
               " raggiungibili da un indice a 16 bit";
    case Kind::AfterEndIndex:
        return "righe dopo END INDEX, che il salvataggio non conserverebbe";
    }
    return "";
}

} // namespace

std::string ProjectProblem::Description() const {
    if (kind == Kind::None)
        return "";
    return What(kind, text) + " (riga " + std::to_string(line) + ")";
}

} // namespace MyApp
