#include "document/document_history.h"

#include <gtest/gtest.h>

using namespace MyApp;
using namespace std::chrono_literals;

namespace {

using Clock = DocumentHistory::Clock;
constexpr int kWidth = 1;
constexpr int kEye = 2;

MeshDocument Grid(std::size_t vertices) {
    MeshDocument document;
    for (std::size_t i = 0; i < vertices; ++i) {
        document.Vertices.push_back(MeshVertex{double(i), 1, 2, 0xFF00u, 0.5f, 0.25f});
        document.Indices.push_back(static_cast<std::uint16_t>(i));
    }
    return document;
}

// A session of edits, the pause before each and its source; undo walks it back to the
// start state by state, and redo forward again, the saved mark following.
TEST(DocumentHistoryTest, RunsMergeIntoStepsThatUndoAndRedoExactly) {
    MeshDocument document = Grid(3);
    DocumentHistory history;
    history.Reset(document);
    std::vector<std::string> states = {document.ToText()};
    const struct {
        void (*edit)(MeshDocument&);
        int source;
        Clock::duration pause;
        bool newStep;
    } edits[] = {
        {[](MeshDocument& d) { d.ViewWidth = 2; }, kWidth, 0s, true},
        {[](MeshDocument& d) { d.ViewWidth = 20; }, kWidth, 300ms, false},
        {[](MeshDocument& d) { d.ViewWidth = 200; }, kWidth, 900ms, false},
        {[](MeshDocument& d) { d.ViewWidth = 2000; }, kWidth, 1500ms, true},
        {[](MeshDocument& d) { d.EyeZ = -0.0; }, kEye, 10ms, true},
        {[](MeshDocument& d) { d.EyeZ = 0.0; }, kEye, 10ms, false},
        {[](MeshDocument& d) { d.Vertices[1].Tu = -1; }, DocumentHistory::kSingleStep, 0s, true},
        {[](MeshDocument& d) { d.Vertices.push_back({}); }, DocumentHistory::kSingleStep, 0s, true},
        {[](MeshDocument& d) { d.RemoveVertex(0); }, DocumentHistory::kSingleStep, 0s, true},
    };
    Clock::time_point now{};
    for (const auto& edit : edits) {
        now += edit.pause;
        edit.edit(document);
        ASSERT_TRUE(history.Record(document, edit.source, now));
        if (edit.newStep)
            states.push_back(document.ToText());
        else
            states.back() = document.ToText();
    }
    EXPECT_FALSE(history.Record(document, kEye, now));
    ASSERT_EQ(history.Steps(), states.size() - 1);
    history.MarkSaved();
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        history.Undo(document);
        EXPECT_EQ(document.ToText(), states[i - 1]) << i;
        EXPECT_FALSE(history.AtSaved());
    }
    EXPECT_FALSE(history.CanUndo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        history.Redo(document);
        EXPECT_EQ(document.ToText(), states[i]) << i;
    }
    EXPECT_TRUE(history.AtSaved());
    EXPECT_FALSE(history.CanRedo());

    // A change after an undo drops the steps undone, the saved one among them; a change
    // right after the save is a step of its own even from the same source.
    history.Undo(document);
    document.ViewHeight = 7;
    history.Record(document, kWidth, now);
    EXPECT_FALSE(history.CanRedo());
    history.Undo(document);
    history.Redo(document);
    EXPECT_FALSE(history.AtSaved());
}

// Each change of a large mesh costs its chunks, not the mesh; an undo says which rows it
// changed.
TEST(DocumentHistoryTest, StepsShareWhatTheyDidNotChange) {
    MeshDocument document = Grid(65535);
    DocumentHistory history;
    history.Reset(document);
    const std::size_t start = history.MemoryBytes();
    for (int step = 0; step < 100; ++step) {
        document.Vertices[static_cast<std::size_t>(step) * 600].X = -step;
        history.Record(document, DocumentHistory::kSingleStep, Clock::time_point{});
    }
    EXPECT_LT(history.MemoryBytes() - start, 100u * 16 * 1024);

    const struct {
        void (*edit)(MeshDocument&);
        ListChange vertices;
        ListChange indices;
    } cases[] = {
        {[](MeshDocument& d) { d.Vertices[40000].Z = 9; }, {true, 40000, 40001}, {}},
        {[](MeshDocument& d) { d.Vertices.pop_back(); }, {true, 65534, 65535}, {}},
        {[](MeshDocument& d) { d.Indices.erase(d.Indices.begin() + 3); }, {}, {true, 3, 65535}},
        {[](MeshDocument& d) { d.EyeX = 1; }, {}, {}},
    };
    for (const auto& change : cases) {
        const MeshDocument before = document;
        change.edit(document);
        history.Record(document, DocumentHistory::kSingleStep, Clock::time_point{});
        const HistoryChange undone = history.Undo(document);
        EXPECT_EQ(document.ToText(), before.ToText());
        for (const auto& [seen, expected] : {std::pair{undone.vertices, change.vertices},
                                             std::pair{undone.indices, change.indices}}) {
            EXPECT_EQ(seen.changed, expected.changed);
            if (expected.changed) {
                EXPECT_EQ(std::make_pair(seen.first, seen.end),
                          std::make_pair(expected.first, expected.end));
            }
        }
    }
}

TEST(DocumentHistoryTest, TheOldestStepsGoBeyondTheCapacity) {
    MeshDocument document;
    DocumentHistory history(3);
    history.Reset(document);
    for (int width = 1; width <= 5; ++width) {
        document.ViewWidth = width;
        history.Record(document, DocumentHistory::kSingleStep, Clock::time_point{});
    }
    EXPECT_EQ(history.Steps(), 3u);
    while (history.CanUndo())
        history.Undo(document);
    EXPECT_EQ(document.ViewWidth, 2);
    EXPECT_FALSE(history.AtSaved());

    // Steps that copy a list each keep the history within its budget, the newest kept.
    const std::size_t budget = 2'000'000;
    DocumentHistory bounded(DocumentHistory::kDefaultCapacity, budget);
    document = Grid(10000);
    bounded.Reset(document);
    for (int step = 0; step < 20; ++step) {
        document.RemoveVertex(0);
        bounded.Record(document, DocumentHistory::kSingleStep, Clock::time_point{});
    }
    EXPECT_LE(bounded.MemoryBytes(), budget);
    EXPECT_GE(bounded.Steps(), 2u);
    bounded.Undo(document);
    EXPECT_EQ(document.Vertices.size(), 9981u);
}

} // namespace
