#include "document/model_axes.h"

#include <cstddef>
#include <utility>

namespace MyApp {
namespace {

// Adding +0 turns -0 into 0 and leaves every other value as it is; subtracting from +0
// negates without ever giving -0.
double Plain(double value) {
    return value + 0.0;
}
double Negated(double value) {
    return 0.0 - value;
}

// Both turns are their own inverse, so one function serves both ways.
template <typename Point> void Turn(ModelAxes axes, Point& point) {
    switch (axes) {
    case ModelAxes::Direct3D:
        return;
    case ModelAxes::RightHandedYUp:
        point.X = Plain(point.X);
        point.Y = Plain(point.Y);
        point.Z = Negated(point.Z);
        return;
    case ModelAxes::RightHandedZUp:
        std::swap(point.Y, point.Z);
        point.X = Plain(point.X);
        point.Y = Plain(point.Y);
        point.Z = Plain(point.Z);
        return;
    }
}

template <typename Item> void ReverseEachTriangle(std::vector<Item>& corners) {
    for (std::size_t first = 0; first + 2 < corners.size(); first += 3)
        std::swap(corners[first + 1], corners[first + 2]);
}

} // namespace

ModelAxes AxesOfExtension(const std::string& extension) {
    if (extension == ".obj" || extension == ".gltf" || extension == ".glb")
        return ModelAxes::RightHandedYUp;
    if (extension == ".stl" || extension == ".ply")
        return ModelAxes::RightHandedZUp;
    return ModelAxes::Direct3D;
}

void CornersToDocument(ModelAxes axes, std::vector<ModelCorner>& corners) {
    if (axes == ModelAxes::Direct3D)
        return;
    for (ModelCorner& corner : corners)
        Turn(axes, corner);
    ReverseEachTriangle(corners);
}

void MeshToFile(ModelAxes axes, ModelMesh& mesh) {
    if (axes == ModelAxes::Direct3D)
        return;
    for (MeshVertex& vertex : mesh.vertices)
        Turn(axes, vertex);
    ReverseEachTriangle(mesh.indices);
}

} // namespace MyApp
