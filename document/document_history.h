#pragma once

// The undo and redo history of a document: a line of states, each an immutable snapshot
// that shares with the one before every chunk of the lists that did not change. A run of
// changes from one source, each within a second of the last, makes one step.

#include "document/chunked_list.h"
#include "document/mesh_document.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <memory>

namespace MyApp {

// Where a list of the restored state differs from the list the document held: its items
// from `first` to `end` are new; the items before are unchanged, and so are the ones after
// when the list kept its size.
struct ListChange {
    bool changed = false;
    std::size_t first = 0;
    std::size_t end = 0;
};

// What an undo or a redo changed in the document.
struct HistoryChange {
    bool values = false;
    ListChange vertices;
    ListChange indices;
};

class DocumentHistory {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kDefaultCapacity = 200;
    // What the states may hold together before the oldest go, whatever their number: a
    // step that renumbers the indices of a large mesh costs a copy of its lists.
    static constexpr std::size_t kDefaultBudget = 64'000'000;
    static constexpr Clock::duration kRunPause = std::chrono::seconds(1);
    // A source whose changes never merge: each is a step of its own.
    static constexpr int kSingleStep = 0;

    explicit DocumentHistory(std::size_t capacity = kDefaultCapacity,
                             std::size_t budget = kDefaultBudget);

    // Forgets every step: the document is the first state, the one last saved.
    void Reset(const MeshDocument& document);

    // The document has changed since the state recorded last: it becomes a new step, or
    // the newest step takes it when `source` made that step too, less than a second ago.
    // Steps that were undone are gone; beyond the capacity or the budget the oldest go,
    // never the current state. False, with
    // nothing recorded, when the document holds the recorded state.
    bool Record(const MeshDocument& document, int source, Clock::time_point now);
    // The next change is a step of its own, whatever its source.
    void EndRun();

    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position + 1 < m_states.size(); }
    // Put the state before (after) the current one into the document, which must hold the
    // state recorded last; nothing happens when there is none.
    HistoryChange Undo(MeshDocument& document);
    HistoryChange Redo(MeshDocument& document);

    // The current state is the one in the file; a state that no file holds any more (the
    // document took another name) is forgotten with ForgetSaved.
    void MarkSaved();
    void ForgetSaved();
    bool AtSaved() const { return m_saved == static_cast<long>(m_position); }

    std::size_t Steps() const { return m_states.size() - 1; }
    // Every byte the states hold, each shared chunk counted once.
    std::size_t MemoryBytes() const;

private:
    struct State {
        DocumentValues values;
        std::shared_ptr<const ChunkedList<MeshVertex>> vertices;
        std::shared_ptr<const ChunkedList<std::uint16_t>> indices;
        int source = kSingleStep;
        Clock::time_point changed;
    };

    State Snapshot(const MeshDocument& document, const State& previous) const;
    bool Continues(int source, Clock::time_point now) const;
    HistoryChange MoveTo(std::size_t position, MeshDocument& document);
    void DropOldest();
    void KeepWithinBudget(std::size_t addedBytes);

    std::deque<State> m_states;
    std::size_t m_position = 0;
    long m_saved = 0; // -1: no state is the saved one
    bool m_runOpen = false;
    std::size_t m_capacity;
    std::size_t m_budget;
    // At least the bytes the states hold: counted exactly when it passes the budget.
    std::size_t m_bytesBound = 0;
};

} // namespace MyApp
