#include "app/recovery_folder.h"

#include "document/text_file.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

#include <shlobj.h>
#include <utility>

using KelUtility::ToNarrow;
using KelUtility::ToWide;

namespace MyApp {
namespace {

constexpr const char* kPrefix = "copia-";
constexpr const char* kCopy = ".kv3";
constexpr const char* kRecord = ".txt";
constexpr const char* kLock = ".lock";
constexpr const char* kDamaged = "Danneggiate";

std::string LocalTimeText() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

bool ReadAll(const std::string& path, std::string& text) {
    TextFile file(path);
    text = file.ReadText();
    return !file.Failed;
}

} // namespace

std::string RecoveryFolder::UserFolder() {
    return KelUtility::LocalDataFolder("Kel Morvane\\Ripristino");
}

// The name is the process's number and the time it started, which no other editor on the
// machine shares while this one runs.
RecoveryFolder::RecoveryFolder(std::string folder) : m_folder(std::move(folder)) {
    if (m_folder.empty())
        return;
    SHCreateDirectoryExW(nullptr, ToWide(m_folder).c_str(), nullptr);
    m_name = kPrefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
    m_lock = CreateFileW(ToWide(PathOf(m_name, kLock)).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                         nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

RecoveryFolder::~RecoveryFolder() {
    WaitForWriter();
    if (m_lock != INVALID_HANDLE_VALUE)
        CloseHandle(m_lock);
}

std::string RecoveryFolder::PathOf(const std::string& name, const char* extension) const {
    return m_folder + "\\" + name + extension;
}

// The copy goes first: a record always names a whole copy, and a copy cut short by a power
// cut leaves the one before it whole.
bool RecoveryFolder::Write(const MeshDocument& document, const std::string& projectPath,
                           std::string& reason) {
    if (!Usable()) {
        reason = "la cartella non si pu\xC3\xB2 usare";
        return false;
    }
    TextFile copy(PathOf(m_name, kCopy));
    copy.WriteText([&document](const TextSink& take) { return document.WriteText(take); });
    TextFile record(PathOf(m_name, kRecord));
    if (!copy.Failed)
        record.WriteText(RecordText({projectPath, LocalTimeText()}));
    reason = copy.Failed ? copy.Reason : record.Reason;
    return !copy.Failed && !record.Failed;
}

void RecoveryFolder::WriteInBackground(MeshDocument document, const std::string& projectPath) {
    WaitForWriter();
    m_writer = std::thread([this, copy = std::move(document), projectPath] {
        std::string reason;
        if (Write(copy, projectPath, reason))
            return;
        const std::lock_guard<std::mutex> hold(m_failureGuard);
        m_failure = reason.empty() ? "motivo sconosciuto" : reason;
    });
}

std::string RecoveryFolder::TakeFailure() {
    const std::lock_guard<std::mutex> hold(m_failureGuard);
    return std::exchange(m_failure, std::string());
}

void RecoveryFolder::WaitForWriter() {
    if (m_writer.joinable())
        m_writer.join();
}

void RecoveryFolder::Discard() {
    WaitForWriter();
    if (!Usable())
        return;
    DeleteFileW(ToWide(PathOf(m_name, kRecord)).c_str());
    DeleteFileW(ToWide(PathOf(m_name, kCopy)).c_str());
}

// Only the names an editor writes are looked at: nothing else in the folder is touched.
std::vector<std::string> RecoveryFolder::NamesWith(const char* extension) const {
    std::vector<std::string> names;
    if (m_folder.empty())
        return names;
    WIN32_FIND_DATAW entry = {};
    const HANDLE search =
        FindFirstFileW(ToWide(m_folder + "\\" + kPrefix + "*" + extension).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string file = ToNarrow(entry.cFileName);
        names.push_back(file.substr(0, file.size() - std::string(extension).size()));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

std::vector<FoundCopy> RecoveryFolder::OtherCopies(std::vector<std::string>& damaged) {
    std::vector<FoundCopy> found;
    for (const std::string& name : NamesWith(kRecord)) {
        if (name == m_name)
            continue;
        // A lock that cannot be removed is held by the editor that wrote the copy.
        const std::wstring lock = ToWide(PathOf(name, kLock));
        const bool running = GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES &&
                             !DeleteFileW(lock.c_str());
        FoundCopy copy{name, {}, running};
        std::string text;
        if (running) {
            found.push_back(copy);
        } else if (ReadAll(PathOf(name, kRecord), text) && ReadRecord(text, copy.record)) {
            found.push_back(copy);
        } else if (GetFileAttributesW(ToWide(PathOf(name, kRecord)).c_str()) != INVALID_FILE_ATTRIBUTES) {
            SetAside(name);
            damaged.push_back(name);
        }
    }
    for (const std::string& name : NamesWith(kLock))
        if (name != m_name)
            DeleteFileW(ToWide(PathOf(name, kLock)).c_str());
    return found;
}

// The copy is this program's own file: an index past the vertices is kept as the user left
// it, as the document held it.
RecoveryFolder::ReadResult RecoveryFolder::Read(const FoundCopy& copy, MeshDocument& document) {
    const std::string path = PathOf(copy.name, kCopy);
    if (GetFileAttributesW(ToWide(path).c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        return ReadResult::Gone;
    std::string text;
    ProjectProblem problem;
    MeshDocument read;
    if (ReadAll(path, text) && read.FromText(text, &problem) &&
        (!problem || problem.kind == ProjectProblem::Kind::IndexPastVertices)) {
        document = std::move(read);
        return ReadResult::Read;
    }
    SetAside(copy.name);
    return ReadResult::Damaged;
}

void RecoveryFolder::Remove(const FoundCopy& copy) {
    DeleteFileW(ToWide(PathOf(copy.name, kRecord)).c_str());
    DeleteFileW(ToWide(PathOf(copy.name, kCopy)).c_str());
}

void RecoveryFolder::SetAside(const std::string& name) {
    const std::string aside = m_folder + "\\" + kDamaged;
    CreateDirectoryW(ToWide(aside).c_str(), nullptr);
    for (const char* extension : {kCopy, kRecord})
        MoveFileExW(ToWide(PathOf(name, extension)).c_str(),
                    ToWide(aside + "\\" + name + extension).c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace MyApp
