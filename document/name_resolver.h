#pragma once

// The one rule for every name a file holds for another file (an OBJ's material library and
// texture, a glTF buffer or picture, a PLY or .x texture, a project's texture): the path we
// may open, or why the name is not opened. Files are hostile until read, so a name found in
// one reaches no other machine, no device and nothing outside the file's folder on its own
// word. Names are judged as Windows reads them on both trees: either separator, any case.

#include <string>

namespace MyApp {

// What a file may name besides the files in its own folder and below it.
enum class NameScope {
    Model,     // nothing else
    Project,   // also any file on this machine's drives, as the user's projects always have
    UsersWord, // a name the user typed or chose: also files of other machines
};

// Why a name is not opened.
enum class NameRefusal {
    None,
    AnotherMachine, // \\server\share, //server/share, \\?\UNC\..., \??\UNC\...
    Device,         // CON, NUL, COM1, \\.\PhysicalDrive0, \\?\GLOBALROOT, a stream (a.png:x)
    DriveRelative,  // C:name, taken from whatever folder drive C: is in at the time
    Address,        // http://..., any scheme:
    OutsideFolder,  // ..\x, or a whole path, that leaves the file's folder
};

struct ResolvedName {
    std::string path; // the file to open; empty when the name is empty or refused
    NameRefusal refusal = NameRefusal::None;
};

// The file `name` stands for, found in a file in `folder` (empty: the working folder). A
// relative name is taken from the folder and accepted while it stays inside it, tested on
// whole path components, dots resolved, so that C:\models2 is not inside C:\models. A whole
// path is accepted when it lies inside the folder; for a project also when it is on this
// machine's drives, and for the user's own word also on other machines. A model's whole path
// elsewhere, as exporters write the path a picture had on the author's machine, stands for
// the file of that name beside the model when there is one. Names of other machines,
// devices, drive-relative names and addresses are refused.
ResolvedName ResolveName(const std::string& folder, const std::string& name, NameScope scope);

// What the user is told of a refused name, as a whole sentence: `what` names the kind of file
// with its article ("La texture", "Il buffer"), followed by the name and the reason.
// `feminine` agrees the words that follow with `what`.
std::string RefusedNameText(const std::string& what, bool feminine, const std::string& name,
                            NameRefusal refusal);

// The note for a texture a file names that is not opened: the user may still choose the file
// with the texture's button.
std::string RefusedTextureNote(const std::string& name, NameRefusal refusal);

} // namespace MyApp
