#pragma once

// Pictures a model carries inside its file (a glTF data: URI, an image inside a GLB), kept
// as picture files that a document can name; the picture a glTF export carries inside it;
// and a project's texture seen from the project's folder.

#include "document/name_resolver.h"

#include <string>
#include <string_view>

namespace MyApp {

// The folder that keeps the pictures found inside models; the program sets it at start
// (under the user's local application data). Empty: pictures are not kept.
void SetPictureFolder(const std::string& folder);
const std::string& PictureFolder();

// ".png" or ".jpg" by the bytes' signature; empty for anything else.
std::string PictureExtension(std::string_view bytes);

// Writes a picture into the picture folder, named by its content, so that the same picture
// is written once however often it is imported; `path` names it. Only a PNG or JPEG is
// kept, as it is and never decoded. False with the reason in Italian for any other kind,
// one whose header gives no size, a side of zero, one past 16384 pixels a side or past the
// picture budget (picture_header.h), no folder, or a failed write; then nothing is written.
bool KeepPicture(const std::string& bytes, std::string& path, std::string& problem);

// Whether the path names a picture kept in the picture folder.
bool IsKeptPicture(const std::string& path);

// A project's texture as the preview and the exports load it, resolved from the project's
// folder with `scope` (name_resolver.h): a relative name that names a file in the project's
// folder is that file, one that does not names a file of the current folder, as it always
// has; a refused name loads nothing. The file system is asked whether the file is there, so
// a caller asks again only when the name or the folder changes.
ResolvedName ProjectTexture(const std::string& projectFolder, const std::string& texture,
                            NameScope scope);

// Copies a picture beside a file (a project, an exported model), named after it
// ("progetto.png" for "progetto.kv3"; "progetto (2).png" and on when another picture has
// the name already), so that the file and its picture travel together; a picture other than
// PNG or JPEG keeps its own extension. `name` is the copy's file name, as the file names it.
// False with the reason in Italian.
bool CopyPictureBeside(const std::string& filePath, const std::string& picture,
                       std::string& name, std::string& problem);

// The texture at path as a PNG or JPEG picture to carry inside a glTF file: a PNG or JPEG
// as it is, a BMP, TGA, HDR or binary PNM picture converted to PNG. False with the reason
// in Italian for a file that cannot be read or converted, or whose size its header does
// not give or puts past the limits of picture_header.h, told before anything is decoded.
// It may take seconds: it touches no window and may run on any thread.
bool PictureToCarry(const std::string& path, std::string& bytes, std::string& problem);

} // namespace MyApp
