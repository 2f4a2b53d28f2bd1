#pragma once

// The folder of recovery copies, %LOCALAPPDATA%\Kel Morvane\Ripristino, as one running
// editor uses it. Each editor writes its copy under a name of its own (<name>.kv3, with its
// record <name>.txt) and holds <name>.lock open for as long as it runs; the system deletes
// the lock when the process ends, however it ends, so a copy whose lock can be removed
// belongs to an editor that no longer runs. A copy that cannot be read is moved into the
// folder's "Danneggiate", never deleted. An editor takes another's copy by renaming it to
// its own name first, so two editors starting together never both take one.

#include "app/recovery_record.h"
#include "document/mesh_document.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace MyApp {

class RecoveryFolder {
public:
    // The user's folder; none when the system does not name one.
    static std::string UserFolder();

    // Makes the folder when it is missing and takes a name and its lock for this editor.
    explicit RecoveryFolder(std::string folder);
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    // Whether the folder and the lock could be had: without them no copy is written.
    bool Usable() const { return m_lock != INVALID_HANDLE_VALUE; }

    // Writes the document and then its record through safe saves; false with the reason.
    bool Write(const MeshDocument& document, const std::string& projectPath, std::string& reason);
    // The same on a thread of its own, so that the window goes on at once; a write still
    // under way is waited for first. The reason of a write that failed is kept for
    // TakeFailure.
    void WriteInBackground(MeshDocument document, const std::string& projectPath);
    // Why the last background write failed, once; empty when it did not.
    std::string TakeFailure();
    // This editor's copy and record go, once a write under way has ended; a write that
    // failed no longer matters.
    void Discard();

    // Every other copy with a readable record, and whether its editor still runs; the
    // copies whose record cannot be read are set aside, and their names returned in
    // `damaged`. Locks of editors that ended before they wrote a copy go, and so do the
    // records of ended editors whose copy is not there.
    std::vector<FoundCopy> OtherCopies(std::vector<std::string>& damaged);
    enum class ReadResult { Read, Gone, Damaged };
    // Takes a copy as this editor's own and reads it. One that is not a whole project is
    // set aside; one that is no longer there (another editor took it or removed it) is
    // gone.
    ReadResult Read(const FoundCopy& copy, MeshDocument& document);
    // The copy and then its record go, so that a copy that stays is still found.
    void Remove(const FoundCopy& copy);
    // The copy and its record move into "Danneggiate".
    void SetAside(const std::string& name);

    // The files that could not be moved or deleted, each with why, since last asked.
    std::vector<std::string> TakeProblems();

    const std::string& Folder() const { return m_folder; }

private:
    std::string PathOf(const std::string& name, const char* extension) const;
    std::vector<std::string> NamesWith(const char* extension) const;

    void WaitForWriter();
    bool Claim(const std::string& name);
    void MoveAside(const std::string& name, const std::string& asideName);
    void RemoveFiles(const std::string& name);
    bool DeleteOrNote(const std::string& path);
    bool MoveOrNote(const std::string& from, const std::string& to);

    std::string m_folder;
    std::string m_name;
    HANDLE m_lock = INVALID_HANDLE_VALUE;
    std::thread m_writer;
    std::mutex m_failureGuard;
    std::string m_failure;
    std::vector<std::string> m_problems;
};

} // namespace MyApp
