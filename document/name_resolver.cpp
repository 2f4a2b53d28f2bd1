#include "document/name_resolver.h"

#include "document/format_text.h"
#include "document/model_files.h"

#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace MyApp {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// How a path starts, which says where it is looked for.
enum class Start {
    Relative, // from the folder it is seen from
    Rooted,   // \x: the root of the current drive (a whole path on other systems)
    Drive,    // C:\x
    Verbatim, // \\?\C:\x: a drive, taken as written
    Share,    // \\server\share\x
};

// A path taken apart: how it starts, the drive letter where there is one, and its
// components with "." and ".." resolved. `up` counts the ".." that went above the start,
// which only a relative path can do and which leave the folder it is seen from.
struct PathParts {
    Start start = Start::Relative;
    char drive = 0;
    std::vector<std::string> parts;
    std::size_t up = 0;
    NameRefusal refusal = NameRefusal::None;
};

// The names Windows gives its devices in every folder, whatever extension follows them.
bool IsDeviceName(std::string_view part) {
    std::string base = AsciiLowered(part.substr(0, part.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    static const std::array<std::string_view, 6> kDevices = {"con", "prn",    "aux",
                                                             "nul", "conin$", "conout$"};
    for (std::string_view device : kDevices) {
        if (base == device)
            return true;
    }
    // COM1 to COM9 and LPT1 to LPT9, the superscript digits ¹ ² ³ (in UTF-8 and in Latin-1)
    // and 0 as well.
    if (base.size() < 4 || (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0))
        return false;
    const std::string_view digit = std::string_view(base).substr(3);
    return (digit.size() == 1 && ((digit[0] >= '0' && digit[0] <= '9') || digit == "\xB9" ||
                                  digit == "\xB2" || digit == "\xB3")) ||
           digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

// Windows drops the dots and blanks that end a component, so one made of them alone may
// climb like ".."; only "." and ".." themselves are taken.
bool IsOnlyDotsAndBlanks(std::string_view part) {
    return part.find_first_not_of(". ") == std::string_view::npos;
}

// Adds the components of `rest` to `path`, resolving "." and "..".
void AddComponents(std::string_view rest, PathParts& path) {
    std::size_t begin = 0;
    while (begin <= rest.size() && path.refusal == NameRefusal::None) {
        std::size_t end = begin;
        while (end < rest.size() && !IsSeparator(rest[end]))
            ++end;
        const std::string_view part = rest.substr(begin, end - begin);
        begin = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!path.parts.empty())
                path.parts.pop_back();
            else if (path.start == Start::Relative)
                ++path.up;
            // Above a root is the root itself.
        } else if (IsOnlyDotsAndBlanks(part)) {
            path.refusal = NameRefusal::OutsideFolder;
        } else if (part.find(':') != std::string_view::npos || IsDeviceName(part)) {
            // A colon past the drive names a stream of a file, or a device.
            path.refusal = NameRefusal::Device;
        } else {
            path.parts.emplace_back(part);
        }
    }
}

bool StartsWithInAnyCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && SameIgnoringCase(text.substr(0, start.size()), start);
}

bool IsDriveAt(std::string_view text, std::size_t at) {
    return text.size() > at + 1 && IsLetter(text[at]) && text[at + 1] == ':';
}

// An address is a scheme, a letter and at least one more letter, digit, '+', '-' or '.',
// then "://" or, for a scheme without a dot, a bare colon (mailto:, ms-settings:). A single
// letter is a drive, and legno.png:x names a stream of a file.
bool IsAddress(std::string_view name) {
    std::size_t end = 0;
    while (end < name.size() && (std::isalnum(static_cast<unsigned char>(name[end])) ||
                                 name[end] == '+' || name[end] == '-' || name[end] == '.'))
        ++end;
    if (end < 2 || end >= name.size() || name[end] != ':' || !IsLetter(name[0]))
        return false;
    return name.substr(end, 3) == "://" || name.substr(0, end).find('.') == std::string_view::npos;
}

// The names that start with two separators: a share, or one of the system's own namespaces
// (\\?\ takes a path as written, \\.\ names devices). \??\ is the native form of both.
PathParts ParseNamespace(std::string_view name) {
    PathParts path;
    const bool native = name.size() >= 4 && IsSeparator(name[0]) && name[1] == '?' &&
                        name[2] == '?' && IsSeparator(name[3]);
    const bool system = name.size() >= 4 && IsSeparator(name[0]) && IsSeparator(name[1]) &&
                        (name[2] == '?' || name[2] == '.') && IsSeparator(name[3]);
    if (!native && !system) {
        path.start = Start::Share;
        AddComponents(name.substr(2), path);
        // A share is named by its server and its own name; the root of a share stays there.
        if (path.refusal == NameRefusal::None)
            path.refusal = NameRefusal::AnotherMachine;
        return path;
    }
    const std::string_view rest = name.substr(4);
    if (StartsWithInAnyCase(rest, "UNC") && (rest.size() == 3 || IsSeparator(rest[3]))) {
        path.refusal = NameRefusal::AnotherMachine;
    } else if (!native && name[2] == '?' && IsDriveAt(rest, 0) &&
               (rest.size() == 2 || IsSeparator(rest[2]))) {
        path.start = Start::Verbatim;
        path.drive = rest[0];
        AddComponents(rest.substr(2), path);
    } else {
        path.refusal = NameRefusal::Device;
    }
    return path;
}

PathParts Parse(std::string_view name) {
    PathParts path;
    // The system reads a name up to its first NUL, which would cut it after it was judged.
    if (name.find('\0') != std::string_view::npos) {
        path.refusal = NameRefusal::Device;
    } else if (IsAddress(name)) {
        path.refusal = NameRefusal::Address;
    } else if (name.size() >= 2 && IsSeparator(name[0]) &&
               (IsSeparator(name[1]) || (name.size() >= 4 && name[1] == '?' && name[2] == '?' &&
                                         IsSeparator(name[3])))) {
        return ParseNamespace(name);
    } else if (IsDriveAt(name, 0)) {
        if (name.size() == 2 || !IsSeparator(name[2])) {
            path.refusal = NameRefusal::DriveRelative;
        } else {
            path.start = Start::Drive;
            path.drive = name[0];
            AddComponents(name.substr(2), path);
        }
    } else {
        path.start = !name.empty() && IsSeparator(name[0]) ? Start::Rooted : Start::Relative;
        AddComponents(name, path);
    }
    return path;
}

// Whether `inner` lies in `outer` or below it: the same start and drive, and every
// component of `outer` the same as the one in its place, in any case.
bool IsInside(const PathParts& inner, const PathParts& outer) {
    const auto drive = [](const PathParts& path) {
        return path.start == Start::Verbatim ? Start::Drive : path.start;
    };
    if (drive(inner) != drive(outer) || AsciiLower(inner.drive) != AsciiLower(outer.drive) ||
        inner.up != outer.up || inner.parts.size() < outer.parts.size())
        return false;
    for (std::size_t i = 0; i < outer.parts.size(); ++i) {
        if (!SameIgnoringCase(inner.parts[i], outer.parts[i]))
            return false;
    }
    return true;
}

// Whether a path's parts say where it is: a share is a place too, though another machine's.
bool IsPlace(const PathParts& path) {
    return path.refusal == NameRefusal::None ||
           (path.start == Start::Share && path.refusal == NameRefusal::AnotherMachine &&
            path.parts.size() >= 2);
}

// A whole path written again from its parts, with the separator the name used.
std::string Written(const PathParts& path, char separator) {
    std::string text;
    switch (path.start) {
    case Start::Relative:
        for (std::size_t i = 0; i < path.up; ++i)
            text += std::string("..") + separator;
        break;
    case Start::Rooted:
        text = separator;
        break;
    case Start::Drive:
        text = std::string{path.drive, ':', separator};
        break;
    case Start::Verbatim:
        text = std::string("\\\\?\\") + path.drive + ":\\";
        separator = '\\';
        break;
    case Start::Share:
        text = std::string(2, separator);
        break;
    }
    for (std::size_t i = 0; i < path.parts.size(); ++i)
        text += (i == 0 ? "" : std::string(1, separator)) + path.parts[i];
    return text;
}

char SeparatorOf(const std::string& path) {
    return path.find('\\') != std::string::npos && path.find('/') == std::string::npos ? '\\'
                                                                                        : '/';
}

// The file of the name's last component in the folder, when it is there.
ResolvedName Beside(const std::string& folder, const std::string& name, NameRefusal refusal) {
    const std::string beside = JoinedPath(folder, FileNameOf(name));
    const PathParts last = Parse(FileNameOf(name));
    if (last.refusal == NameRefusal::None && last.up == 0 && last.parts.size() == 1 &&
        FileExists(beside))
        return {beside, NameRefusal::None};
    return {"", refusal};
}

} // namespace

ResolvedName ResolveName(const std::string& folder, const std::string& name, NameScope scope) {
    if (name.empty())
        return {};
    const PathParts path = Parse(name);
    if (path.refusal == NameRefusal::Address || path.refusal == NameRefusal::Device ||
        path.refusal == NameRefusal::DriveRelative)
        return {"", path.refusal};
    if (scope == NameScope::UsersWord && path.refusal == NameRefusal::AnotherMachine)
        return {name, NameRefusal::None};
    if (path.start == Start::Relative && path.refusal == NameRefusal::None) {
        if (path.parts.empty() && path.up == 0)
            return {"", NameRefusal::OutsideFolder}; // the folder itself, no file in it
        if (path.up == 0) {
            PathParts inside;
            inside.parts = path.parts;
            return {JoinedPath(folder, Written(inside, '/')), NameRefusal::None};
        }
        // Climbing out of a project's folder on this machine's drives stays on them.
        const PathParts whole = Parse(folder);
        const bool local = whole.refusal == NameRefusal::None;
        if ((scope == NameScope::Project && local) || scope == NameScope::UsersWord)
            return {JoinedPath(folder, name), NameRefusal::None};
        return {"", NameRefusal::OutsideFolder};
    }
    // Past this point the name is a whole path, or no place at all.
    if (!IsPlace(path))
        return {"", path.refusal};
    const PathParts outer = Parse(folder);
    if (!folder.empty() && IsPlace(outer) && IsInside(path, outer))
        return {Written(path, SeparatorOf(name)), NameRefusal::None};
    if (path.refusal == NameRefusal::None && scope != NameScope::Model)
        return {Written(path, SeparatorOf(name)), NameRefusal::None};
    const NameRefusal refusal =
        path.refusal == NameRefusal::None ? NameRefusal::OutsideFolder : path.refusal;
    if (scope == NameScope::Model)
        return Beside(folder, name, refusal);
    return {"", refusal};
}

std::string RefusedNameText(const std::string& what, bool feminine, const std::string& name,
                            NameRefusal refusal) {
    const std::string opened = feminine ? "aperta" : "aperto";
    std::string reason;
    switch (refusal) {
    case NameRefusal::None:
        return "";
    case NameRefusal::AnotherMachine:
        reason = "si trova su un altro computer";
        break;
    case NameRefusal::Device:
        reason = "\xC3\xA8 il nome di un dispositivo, non di un file,";
        break;
    case NameRefusal::DriveRelative:
        reason = "indica un'unit\xC3\xA0 ma non la sua cartella";
        break;
    case NameRefusal::Address:
        reason = "\xC3\xA8 un indirizzo Internet";
        break;
    case NameRefusal::OutsideFolder:
        reason = std::string("\xC3\xA8 fuori dalla cartella del file che ") +
                 (feminine ? "la" : "lo") + " nomina";
        break;
    }
    return what + " " + name + " " + reason + " e non viene " + opened;
}

std::string RefusedTextureNote(const std::string& name, NameRefusal refusal) {
    return RefusedNameText("La texture", true, name, refusal) +
           ": sceglila con il pulsante della texture se ti fidi della fonte.";
}

} // namespace MyApp
