#pragma once

// What a model file holds for the editor, in the shapes the format readers give and the
// format writers take: loose triangles read from a file, and the document's indexed mesh
// to write. Positions are as the file has them; texture coordinates follow Direct3D (origin
// at the top left, v downwards), so a format whose v goes up is turned on the way in and
// out; colours are words laid out 0x00BBGGRR as the document keeps them.

#include "document/mesh_vertex.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace MyApp {

struct ModelCorner {
    double X = 0;
    double Y = 0;
    double Z = 0;
    std::uint32_t Color = 0x00FFFFFF; // white where the file gives no colour
    float Tu = 0;
    float Tv = 0;
};

// Three corners per triangle, in the file's order. The texture is the path of the picture
// the model names, resolved against the model's folder, or the bytes of a picture the file
// holds inside it; neither when it has none. A model that uses several textures counts the
// ones left out. What the reader did not open (a name it refused, a material library that is
// not there) is told in `notes`, one sentence each.
struct ModelTriangles {
    std::vector<ModelCorner> corners;
    std::string textureFile;
    std::string texturePicture;
    std::size_t texturesLeftOut = 0;
    std::vector<std::string> notes;
};

// An indexed mesh to write: three indices per triangle, each below the vertex count.
// A format that carries its picture inside the file (glTF) takes the texture's PNG or JPEG
// bytes; the others name the texture's file.
struct ModelMesh {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::string textureFile;
    std::string texturePicture;
};

// A colour channel given from 0 to 1 as a byte, rounded; below 0 (or not a number) 0, from 1
// on 255.
inline std::uint8_t ChannelByte(double unit) {
    if (!(unit > 0))
        return 0;
    if (unit >= 1)
        return 255;
    return static_cast<std::uint8_t>(unit * 255 + 0.5);
}

// The colour word of three channel bytes.
inline std::uint32_t PackedColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | green << 8 | blue << 16;
}

// The colour word of three channels given from 0 to 1, each made a byte as ChannelByte does.
inline std::uint32_t UnitColor(double red, double green, double blue) {
    return PackedColor(ChannelByte(red), ChannelByte(green), ChannelByte(blue));
}

} // namespace MyApp
