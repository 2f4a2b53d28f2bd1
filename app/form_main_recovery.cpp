// The recovery copy: while the document holds unsaved changes, a copy of it is written
// within a minute of each, so that a crash, a power cut or a killed process costs at most
// that minute; at start the work of an editor that ended without saving is offered back.

#include "app/form_main.h"

#include "app/recovery_folder.h"
#include "toolkit/system_dialogs.h"
#include "viewport/d3d_panel.h"

#include <utility>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr const char* kTitle = "Ripristino";

std::string WhoseWork(const RecoveryRecord& record) {
    return record.projectPath.empty() ? "di un documento senza nome"
                                      : "del progetto " + record.projectPath;
}

} // namespace

// A file dropped while the question is open waits for the answer.
void FormMain::KeepRecoveryCopies(const std::string& folder) {
    m_recovery = std::make_unique<RecoveryFolder>(folder);
    m_offeringRecovery = true;
    OfferRecoveredWork();
    m_offeringRecovery = false;
    if (!m_droppedDuringOffer.empty() && SaveProject(false))
        OpenOrImport(std::exchange(m_droppedDuringOffer, std::string()));
}

void FormMain::DiscardRecoveryCopy() {
    m_recoverySchedule.Clear();
    if (!m_recovery)
        return;
    m_recovery->Discard();
    ReportRecoveryProblems();
}

void FormMain::NoteUnsavedChange() {
    if (Modified)
        m_recoverySchedule.NoteChange(RecoverySchedule::Clock::now());
}

void FormMain::WriteRecoveryCopyWhenDue() {
    if (!m_recovery)
        return;
    ReportRecoveryFailure();
    if (m_recoverySchedule.Due(RecoverySchedule::Clock::now()))
        WriteRecoveryCopy();
}

// The copy is written from a snapshot on a thread of its own, so that the window is held
// only for the snapshot.
void FormMain::WriteRecoveryCopy() {
    m_recoverySchedule.NoteWritten();
    m_recovery->WriteInBackground(document, ProjectPath);
}

// A copy that could not be written is told of once: the user should know that a crash
// would now cost more, but not at every tick.
void FormMain::ReportRecoveryFailure() {
    const std::string reason = m_recovery->TakeFailure();
    if (reason.empty())
        return;
    // The work still has no copy: another try within the minute, unless it was saved since.
    if (!Modified)
        return;
    m_recoverySchedule.NoteChange(RecoverySchedule::Clock::now());
    if (m_recoveryFailureShown)
        return;
    m_recoveryFailureShown = true;
    ShowWarning(this,
                "Impossibile scrivere la copia di ripristino in " + m_recovery->Folder() + ": " +
                    reason + ".\nSalvate il lavoro per non perderlo.",
                kTitle);
}

// A copy left in the folder, or one not set aside, is one the user should know of: it may
// be offered again, or fill the folder.
void FormMain::ReportRecoveryProblems() {
    const std::vector<std::string> problems = m_recovery->TakeProblems();
    if (problems.empty())
        return;
    std::string text = "Non \xC3\xA8 stato possibile spostare o eliminare questi file di ripristino:";
    for (const std::string& problem : problems)
        text += "\n" + problem;
    ShowWarning(this, text, kTitle);
}

// The newest copy first. Taken, it becomes this editor's work and the others wait for the
// next start; refused, it goes only once the user confirms. A copy that cannot be read is
// set aside and said so, never deleted.
void FormMain::OfferRecoveredWork() {
    std::vector<std::string> damaged;
    const std::vector<FoundCopy> copies = CopiesToOffer(m_recovery->OtherCopies(damaged));
    const std::string damagedNote = "Una copia di ripristino non si pu\xC3\xB2 leggere: \xC3\xA8 "
                                    "stata messa da parte in " +
                                    m_recovery->Folder() + "\\Danneggiate.";
    if (!damaged.empty())
        ShowWarning(this, damagedNote, kTitle);
    ReportRecoveryProblems();
    for (const FoundCopy& copy : copies) {
        const std::string offer = "\xC3\x88 stata trovata una copia di ripristino " +
                                  WhoseWork(copy.record) + ", scritta il " +
                                  ShownTime(copy.record.writtenAt) +
                                  ", con modifiche non salvate.\nVuoi recuperarle?";
        if (AskYesNo(this, offer, kTitle)) {
            MeshDocument recovered;
            const RecoveryFolder::ReadResult read = m_recovery->Read(copy, recovered);
            if (read == RecoveryFolder::ReadResult::Read) {
                TakeRecoveredWork(copy, std::move(recovered));
                return;
            }
            if (read == RecoveryFolder::ReadResult::Damaged)
                ShowWarning(this, damagedNote, kTitle);
            else
                ShowWarning(this,
                            "La copia di ripristino non c'\xC3\xA8 pi\xC3\xB9: l'ha presa un "
                            "altro Kel Morvane o \xC3\xA8 stata eliminata.",
                            kTitle);
            continue;
        }
        if (AskYesNoDefaultNo(this,
                     "La copia di ripristino verr\xC3\xA0 eliminata e le modifiche che contiene "
                     "andranno perse.\nEliminarla?",
                     kTitle))
            m_recovery->Remove(copy);
    }
    ReportRecoveryProblems();
}

// The work comes back modified under the project's own name, so that Save writes the
// project where it was (and asks where for a document without one). The copy was taken as
// this editor's own when it was read; it is written again at once with this editor's
// record.
void FormMain::TakeRecoveredWork(const FoundCopy& copy, MeshDocument recovered) {
    document = std::move(recovered);
    ResetScroll();
    LoadControls();
    SetFileName(copy.record.projectPath);
    m_untitledName = kUntitledName;
    StartHistory();
    history.ForgetSaved();
    SetModified(true);
    LayoutPanels();
    std::string reason;
    if (!m_recovery->Write(document, ProjectPath, reason))
        m_recoverySchedule.NoteChange(RecoverySchedule::Clock::now());
}

} // namespace MyApp
