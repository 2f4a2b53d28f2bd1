#pragma once

// What the model formats share: reading a whole file by its UTF-8 path, the folder a
// model's other files are named against, the triangles a writer can write, and the
// little-endian words the binary formats are made of.

#include "document/model_mesh.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace MyApp {

// The most bytes a model file is read to; it also keeps /dev/zero from being read for ever.
constexpr std::size_t kMaxModelFileBytes = std::size_t{1} << 30;

// The most triangles a model may bring into a document. A document holds at most 65,535
// vertices, and a surface on n vertices has about 2n triangles; eight for each vertex leave
// room for models that repeat or overlap their faces, while the loose corners of the
// largest model stay near 60 MB.
constexpr std::size_t kMaxModelTriangles = 8 * 65535;

// The most triangles of a model whose import offers to simplify it until it fits: 32 for each
// vertex a document holds, past two million, as scans and sculptures often have. Reading,
// welding and simplifying the largest takes about 650 MB at its peak (the README gives the
// figures), within what any 64-bit Windows machine gives a program.
constexpr std::size_t kMaxSimplifiedTriangles = 32 * 65535;

// How many elements (vertices, attribute values, indices, placed primitives) a reader may
// decode for a model of at most `maxTriangles` triangles: four streams for every corner,
// and a whole vertex list besides. A file asking for more is built to exhaust the reader,
// not to be edited, and is refused before its elements are decoded.
std::size_t ElementBudget(std::size_t maxTriangles);

// The refusal of a model with more triangles than `limit`, giving its count.
std::string TooManyTriangles(std::uint64_t triangles, std::size_t limit);

// Whether the file at the UTF-8 path opens for reading.
bool FileExists(const std::string& path);

// The whole file in bytes; false when it cannot be read or is longer than limit.
bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::size_t limit = kMaxModelFileBytes);

// The folder part of a path, without its last separator; empty for a bare name.
std::string FolderOf(const std::string& path);

// The name part of a path, after its last separator; the whole of a bare name.
std::string FileNameOf(const std::string& path);

// A piece of a file's text for a message, in quotes, cut after 40 characters.
std::string Quoted(std::string_view text);

// Whether a path names its file from the root or a drive rather than from a folder.
bool IsAbsolutePath(const std::string& path);

// A name as seen from a folder: an absolute name as it is, any other inside the folder.
// A folder written with backslashes alone gets them throughout, the name's slashes turned,
// so that a Windows path keeps one style; any other folder is joined with '/'.
std::string JoinedPath(const std::string& folder, const std::string& name);

// How a model file in `folder` names its texture: one in that folder or below it by the rest
// of its path, with '/' between the parts, so that the model and its texture can move
// together; any other as it is. Folders are matched as Windows matches them: in any case,
// with either separator.
std::string TextureNameFrom(const std::string& folder, const std::string& texture);

// The low `bytes` bytes of a word, least significant first.
void AppendLittleEndian(std::string& out, std::uint32_t word, int bytes);

// A single-precision float; a value beyond its range is written as the largest float of
// its sign rather than as an infinity no reader takes.
void AppendFloat(std::string& out, double value);

// Where each triangle a writer can write starts in the index list: every whole triangle
// whose corners are all in the vertex list.
std::vector<std::size_t> WritableTriangles(const ModelMesh& mesh);

} // namespace MyApp
