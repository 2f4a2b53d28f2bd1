#include "app/recovery_folder.h"

#include "document/file_failure.h"
#include "document/file_replace.h"
#include "document/text_file.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

#include <cerrno>
#include <new>
#include <shlobj.h>
#include <system_error>
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
// Another editor, the system's indexer or a virus scanner may hold a file for a moment: a
// step refused for a file in use is tried again a few times before it is given up.
constexpr int kTries = 5;
constexpr DWORD kRetryPause = 40; // milliseconds

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

bool Exists(const std::string& path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

template <class Step> bool WithRetries(const Step& step) {
    for (int tries = 1;; ++tries) {
        ClearFailure();
        if (step())
            return true;
        const DWORD error = GetLastError();
        const bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                           error == ERROR_ACCESS_DENIED;
        if (!inUse || tries == kTries)
            return false;
        Sleep(kRetryPause);
    }
}

// A copy whose vertices pass what a 16-bit index reaches is whole when the writer gives
// back its very bytes: the reader tells only the first thing it met, so any damage past
// that point shows only in the bytes.
bool WholeProject(const std::string& text, const MeshDocument& read, const ProjectProblem& problem) {
    switch (problem.kind) {
    case ProjectProblem::Kind::None:
    case ProjectProblem::Kind::IndexPastVertices:
        return true;
    case ProjectProblem::Kind::TooManyVertices:
        return read.ToText() == text;
    default:
        return false;
    }
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

// An exception must not leave the thread, which would end the program: it is a copy that
// failed like any other.
void RecoveryFolder::WriteInBackground(MeshDocument document, const std::string& projectPath) {
    WaitForWriter();
    const auto fail = [this](const std::string& reason) {
        const std::lock_guard<std::mutex> hold(m_failureGuard);
        m_failure = reason.empty() ? "motivo sconosciuto" : reason;
    };
    try {
        m_writer = std::thread([this, fail, copy = std::move(document), projectPath] {
            std::string reason;
            try {
                if (Write(copy, projectPath, reason))
                    return;
            } catch (const std::bad_alloc&) {
                reason = ErrnoReason(ENOMEM);
            }
            fail(reason);
        });
    } catch (const std::system_error& error) {
        fail("il sistema non ha avviato la scrittura (" + std::string(error.what()) + ")");
    }
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
    TakeFailure();
    if (Usable())
        RemoveFiles(m_name);
}

void RecoveryFolder::RemoveFiles(const std::string& name) {
    if (DeleteOrNote(PathOf(name, kCopy)))
        DeleteOrNote(PathOf(name, kRecord));
}

// True when the file is gone, whether it was there or not.
bool RecoveryFolder::DeleteOrNote(const std::string& path) {
    const std::wstring wide = ToWide(path);
    if (WithRetries([&] { return DeleteFileW(wide.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }))
        return true;
    m_problems.push_back(FileAndReason(path, FailureReason()));
    return false;
}

bool RecoveryFolder::MoveOrNote(const std::string& from, const std::string& to) {
    if (WithRetries([&] {
            return MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING);
        }))
        return true;
    m_problems.push_back(FileAndReason(from, FailureReason()));
    return false;
}

std::vector<std::string> RecoveryFolder::TakeProblems() {
    return std::exchange(m_problems, {});
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
            // A record whose copy is gone has nothing to offer.
            if (Exists(PathOf(name, kCopy)))
                found.push_back(copy);
            else
                DeleteOrNote(PathOf(name, kRecord));
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

// The record goes first: renaming it is the step only one editor can take, and once it
// carries this editor's name no other editor looks at it. The copy follows it. A copy
// gone once its record is taken leaves a record with nothing to offer, which goes.
bool RecoveryFolder::Claim(const std::string& name) {
    if (!WithRetries([&] {
            return MoveFileW(ToWide(PathOf(name, kRecord)).c_str(),
                             ToWide(PathOf(m_name, kRecord)).c_str());
        }))
        return false;
    if (WithRetries([&] {
            return MoveFileExW(ToWide(PathOf(name, kCopy)).c_str(),
                               ToWide(PathOf(m_name, kCopy)).c_str(), MOVEFILE_REPLACE_EXISTING);
        }))
        return true;
    RemoveFiles(m_name);
    return false;
}

// The copy is this program's own file: an index past the vertices is kept as the user left
// it, as the document held it, and so are vertices past those an index reaches.
RecoveryFolder::ReadResult RecoveryFolder::Read(const FoundCopy& copy, MeshDocument& document) {
    if (!Usable() || !Claim(copy.name))
        return ReadResult::Gone;
    const std::string path = PathOf(m_name, kCopy);
    std::string text;
    ProjectProblem problem;
    MeshDocument read;
    if (ReadAll(path, text) && read.FromText(text, &problem) && WholeProject(text, read, problem)) {
        document = std::move(read);
        return ReadResult::Read;
    }
    MoveAside(m_name, copy.name);
    return ReadResult::Damaged;
}

void RecoveryFolder::Remove(const FoundCopy& copy) {
    RemoveFiles(copy.name);
}

void RecoveryFolder::SetAside(const std::string& name) {
    MoveAside(name, name);
}

// A copy this editor took goes aside under the name it was found by, which no other
// damaged copy has.
void RecoveryFolder::MoveAside(const std::string& name, const std::string& asideName) {
    const std::string aside = m_folder + "\\" + kDamaged;
    CreateDirectoryW(ToWide(aside).c_str(), nullptr);
    for (const char* extension : {kCopy, kRecord})
        if (Exists(PathOf(name, extension)))
            MoveOrNote(PathOf(name, extension), aside + "\\" + asideName + extension);
}

} // namespace MyApp
