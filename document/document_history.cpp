#include "document/document_history.h"

#include <cstring>
#include <unordered_set>

namespace MyApp {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameValues(const DocumentValues& a, const DocumentValues& b) {
    return SameBits(a.MoveX, b.MoveX) && SameBits(a.MoveY, b.MoveY) && SameBits(a.MoveZ, b.MoveZ) &&
           SameBits(a.EyeX, b.EyeX) && SameBits(a.EyeY, b.EyeY) && SameBits(a.EyeZ, b.EyeZ) &&
           a.BackColor == b.BackColor && a.ViewWidth == b.ViewWidth &&
           a.ViewHeight == b.ViewHeight && a.RotX == b.RotX && a.RotY == b.RotY &&
           a.RotZ == b.RotZ && a.FaceCount == b.FaceCount && a.TextureFile == b.TextureFile;
}

// A list shared with the previous state when none of its chunks changed, so that an
// unchanged list costs nothing and is recognised by its address.
template <class Item>
std::shared_ptr<const ChunkedList<Item>>
Shared(const std::vector<Item>& items, const std::shared_ptr<const ChunkedList<Item>>& previous) {
    auto list = std::make_shared<const ChunkedList<Item>>(items, *previous);
    return list->SharesAll(*previous) ? previous : list;
}

template <class Item>
ListChange Compare(const ChunkedList<Item>& from, const ChunkedList<Item>& to) {
    ListChange change;
    change.first = to.FirstDifference(from);
    if (from.Size() == to.Size()) {
        change.changed = change.first < to.Size();
        change.end = change.changed ? to.LastDifference(from) : change.first;
    } else {
        change.changed = true;
        change.end = to.Size();
    }
    return change;
}

template <class Item>
std::size_t ChunkBytes(const ChunkedList<Item>& list, std::unordered_set<const void*>& counted) {
    std::size_t bytes = sizeof list + list.Chunks().capacity() * sizeof list.Chunks().front();
    for (const auto& chunk : list.Chunks()) {
        if (counted.insert(chunk.get()).second)
            bytes += sizeof *chunk + chunk->capacity() * sizeof(Item);
    }
    return bytes;
}

} // namespace

DocumentHistory::DocumentHistory(std::size_t capacity, std::size_t budget)
    : m_capacity(capacity), m_budget(budget) {
    Reset(MeshDocument());
}

void DocumentHistory::Reset(const MeshDocument& document) {
    m_states.clear();
    State first;
    first.vertices = std::make_shared<const ChunkedList<MeshVertex>>();
    first.indices = std::make_shared<const ChunkedList<std::uint16_t>>();
    m_states.push_back(Snapshot(document, first));
    m_position = 0;
    m_saved = 0;
    m_runOpen = false;
    m_bytesBound = MemoryBytes();
}

DocumentHistory::State DocumentHistory::Snapshot(const MeshDocument& document,
                                                 const State& previous) const {
    State state;
    state.values = document;
    state.vertices = Shared(document.Vertices, previous.vertices);
    state.indices = Shared(document.Indices, previous.indices);
    return state;
}

// The newest step goes on with a run from the same source while the pauses stay short and
// the step is neither the saved state nor the first one.
bool DocumentHistory::Continues(int source, Clock::time_point now) const {
    const State& newest = m_states.back();
    return m_runOpen && source != kSingleStep && source == newest.source &&
           now - newest.changed < kRunPause && m_position > 0 && !AtSaved();
}

bool DocumentHistory::Record(const MeshDocument& document, int source, Clock::time_point now) {
    State state = Snapshot(document, m_states[m_position]);
    const State& current = m_states[m_position];
    if (state.vertices == current.vertices && state.indices == current.indices &&
        SameValues(state.values, current.values))
        return false;
    m_states.resize(m_position + 1);
    if (m_saved > static_cast<long>(m_position))
        m_saved = -1;
    const std::size_t added =
        state.vertices->BytesNotIn(*current.vertices) + state.indices->BytesNotIn(*current.indices);
    state.source = source;
    state.changed = now;
    if (Continues(source, now)) {
        m_states.back() = std::move(state);
    } else {
        m_states.push_back(std::move(state));
        if (m_states.size() > m_capacity + 1)
            DropOldest();
    }
    m_position = m_states.size() - 1;
    m_runOpen = true;
    KeepWithinBudget(added);
    return true;
}

void DocumentHistory::DropOldest() {
    m_states.pop_front();
    m_position = m_position > 0 ? m_position - 1 : 0;
    m_saved = m_saved > 0 ? m_saved - 1 : -1;
}

// Counting the states' bytes walks every chunk of every state, so it waits until the
// bytes added since the last count could have passed the budget.
void DocumentHistory::KeepWithinBudget(std::size_t addedBytes) {
    m_bytesBound += addedBytes;
    if (m_bytesBound <= m_budget)
        return;
    m_bytesBound = MemoryBytes();
    while (m_bytesBound > m_budget && m_position > 0) {
        DropOldest();
        m_bytesBound = MemoryBytes();
    }
}

void DocumentHistory::EndRun() {
    m_runOpen = false;
}

HistoryChange DocumentHistory::Undo(MeshDocument& document) {
    return CanUndo() ? MoveTo(m_position - 1, document) : HistoryChange();
}

HistoryChange DocumentHistory::Redo(MeshDocument& document) {
    return CanRedo() ? MoveTo(m_position + 1, document) : HistoryChange();
}

HistoryChange DocumentHistory::MoveTo(std::size_t position, MeshDocument& document) {
    const State& from = m_states[m_position];
    const State& to = m_states[position];
    HistoryChange change;
    change.values = !SameValues(from.values, to.values);
    if (from.vertices != to.vertices) {
        change.vertices = Compare(*from.vertices, *to.vertices);
        to.vertices->CopyTo(document.Vertices);
    }
    if (from.indices != to.indices) {
        change.indices = Compare(*from.indices, *to.indices);
        to.indices->CopyTo(document.Indices);
    }
    static_cast<DocumentValues&>(document) = to.values;
    m_position = position;
    m_runOpen = false;
    return change;
}

void DocumentHistory::MarkSaved() {
    m_saved = static_cast<long>(m_position);
    m_runOpen = false;
}

void DocumentHistory::ForgetSaved() {
    m_saved = -1;
}

std::size_t DocumentHistory::MemoryBytes() const {
    std::unordered_set<const void*> counted;
    std::size_t bytes = 0;
    for (const State& state : m_states) {
        bytes += sizeof state + state.values.TextureFile.capacity();
        if (counted.insert(state.vertices.get()).second)
            bytes += ChunkBytes(*state.vertices, counted);
        if (counted.insert(state.indices.get()).second)
            bytes += ChunkBytes(*state.indices, counted);
    }
    return bytes;
}

} // namespace MyApp
