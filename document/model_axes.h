#pragma once

// The axes a model format keeps its positions in, and the exact turn between them and the
// document's. The document, like the preview and the .x file, is Direct3D's space:
// left-handed, Y up, the eye looking along +Z. OBJ and glTF are right-handed with Y up; STL
// and PLY, as printers and scanners write them, right-handed with Z up. Every change is a
// sign or an exchange, so a model read and written back keeps its values bit for bit, and
// each mirrors the space, so the triangles' corners are taken in the other order to keep
// their outward side Direct3D's front (clockwise).

#include "document/model_mesh.h"

#include <string>
#include <vector>

namespace MyApp {

enum class ModelAxes {
    Direct3D,       // .x and the project file: nothing changes
    RightHandedYUp, // OBJ, glTF: Z is negated
    RightHandedZUp, // STL, PLY: Y and Z are exchanged
};

// The axes of a format by its extension, lower case with its dot (".obj").
ModelAxes AxesOfExtension(const std::string& extension);

// Loose triangles as read from a file of those axes, into the document's space. A zero
// comes out as 0, never -0.
void CornersToDocument(ModelAxes axes, std::vector<ModelCorner>& corners);

// The document's mesh into the axes of the file it is written to; a zero stays 0.
void MeshToFile(ModelAxes axes, ModelMesh& mesh);

} // namespace MyApp
