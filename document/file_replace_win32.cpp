#include "document/file_replace.h"

#include "document/file_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace MyApp {
namespace {

// The document library does not reach the toolkit, so it converts its paths itself; a
// path that is not UTF-8 converts with the system's replacement for the bad bytes and
// names no file the user has.
std::wstring WidePath(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.data(), size, &wide[0], length);
    return wide;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The codes a user meets with files, in Italian whatever the system's language.
const char* OwnReason(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return "Il file non esiste.";
    case ERROR_PATH_NOT_FOUND:
        return "La cartella non esiste.";
    case ERROR_ACCESS_DENIED:
        // Windows answers so for a file in use as well when it is to be replaced.
        return "Accesso negato: il file \xC3\xA8 di sola lettura o in uso da un altro programma, "
               "oppure mancano i permessi sulla cartella.";
    case ERROR_WRITE_PROTECT:
        return "Il disco \xC3\xA8 protetto dalla scrittura.";
    case ERROR_NOT_READY:
        return "L'unit\xC3\xA0 non \xC3\xA8 pronta.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "Il file \xC3\xA8 in uso da un altro programma.";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return "Il disco \xC3\xA8 pieno.";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return "Il nome del file non \xC3\xA8 valido.";
    case ERROR_FILENAME_EXCED_RANGE:
        return "Il nome del file \xC3\xA8 troppo lungo.";
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
        return "Il percorso di rete non \xC3\xA8 raggiungibile.";
    case ERROR_DIRECTORY:
        return "Una parte del percorso non \xC3\xA8 una cartella.";
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        return "Il file non si pu\xC3\xB2 sostituire: \xC3\xA8 in uso da un altro programma, "
               "oppure mancano i permessi.";
    default:
        return nullptr;
    }
}

// The system's own message, in the user's language, with its code.
std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' '))
        wide.pop_back();
    const std::string codeText = "(codice " + std::to_string(code) + ")";
    if (wide.empty())
        return "Errore di sistema " + codeText + ".";
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &narrow[0],
                            size, nullptr, nullptr);
    return narrow + " " + codeText;
}

} // namespace

std::FILE* OpenPath(const std::string& path, const char* mode) {
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    return _wfopen(WidePath(path).c_str(), wideMode.c_str());
}

bool RemoveFile(const std::string& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

bool FlushToDevice(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return MoveFileExW(WidePath(source).c_str(), WidePath(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::FILE* CreateNewFile(const std::string& path) {
    const HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "wb");
    if (file == nullptr)
        _close(descriptor);
    return file;
}

// ReplaceFileW may fail half way, with the old file under the kept name and the new one
// not yet in its place: the old file then goes back, and the failure keeps its own code.
bool ReplaceKeeping(const std::string& replacement, const std::string& target,
                    const std::string& kept) {
    const std::wstring wideReplacement = WidePath(replacement);
    const std::wstring wideTarget = WidePath(target);
    if (!IsFile(wideTarget))
        return MoveFileExW(wideReplacement.c_str(), wideTarget.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    const std::wstring wideKept = WidePath(kept);
    if (ReplaceFileW(wideTarget.c_str(), wideReplacement.c_str(),
                     kept.empty() ? nullptr : wideKept.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return true;
    const DWORD error = GetLastError();
    if (!kept.empty() && !IsFile(wideTarget) && IsFile(wideKept))
        MoveFileExW(wideKept.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH);
    SetLastError(error);
    return false;
}

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

unsigned long ProcessNumber() { return GetCurrentProcessId(); }

std::optional<FileStamp> StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    stamp.written = static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                              data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

void ClearFailure() {
    errno = 0;
    SetLastError(ERROR_SUCCESS);
}

// The C library's calls go through the system's, which leave their code; the library's
// own number is the fallback for a failure it found by itself (a short write). Memory that
// ran out is told by the library's number alone, as the writers set it.
std::string FailureReason() {
    if (errno == ENOMEM)
        return ErrnoReason(errno);
    const DWORD code = GetLastError();
    if (code == ERROR_SUCCESS)
        return ErrnoReason(errno);
    const char* own = OwnReason(code);
    return own != nullptr ? own : SystemMessage(code);
}

std::string WriteFailureReason(std::FILE* file) {
    if (GetLastError() != ERROR_SUCCESS || errno == ENOMEM)
        return FailureReason();
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    const char byte = 0;
    DWORD written = 0;
    LARGE_INTEGER end = {};
    if (handle != INVALID_HANDLE_VALUE && SetFilePointerEx(handle, end, nullptr, FILE_END) &&
        (!WriteFile(handle, &byte, 1, &written, nullptr) || written != 1) &&
        GetLastError() != ERROR_SUCCESS)
        return FailureReason();
    return "Il disco ha accettato solo una parte dei dati: lo spazio potrebbe essere esaurito.";
}

} // namespace MyApp
