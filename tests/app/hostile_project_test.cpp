// Projects no editor would write, opened through the real window: each opens without a
// crash or a hang, shows what it can, and every export either succeeds or says why not.

#include "app/form_main.h"
#include "app/program_title.h"
#include "document/text_file.h"

#include "toolkit/on_demand_list_box.h"
#include "toolkit/sub_menu.h"
#include "toolkit/timer.h"
#include "viewport/d3d_panel.h"

#include "tests/support/scripted_host.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>

using namespace MyApp;

namespace {

MeshDocument Sample() {
    MeshDocument document;
    document.ResetToSample();
    return document;
}

// The project's lines as the writer makes them, changed by `spoil`.
std::vector<std::string> Lines(const MeshDocument& document,
                               void (*spoil)(std::vector<std::string>&) = nullptr) {
    std::vector<std::string> lines = document.ToLines();
    if (spoil != nullptr)
        spoil(lines);
    return lines;
}

} // namespace

TEST(HostileProject, EachOpensAndEveryExportAnswers) {
    TemporaryFolder folder;
    MeshDocument many = Sample();
    many.Vertices.assign(200000, MeshVertex{0.5, 1, 2, 0xFF, 0, 0});
    MeshDocument pointingPast = Sample();
    pointingPast.Indices.assign(65535, 40000);
    pointingPast.FaceCount = 21845;
    MeshDocument countless = Sample();
    countless.FaceCount = 2147483647;
    MeshDocument longTexture = Sample();
    longTexture.TextureFile.assign(10000, 'T');
    const struct {
        const char* name;
        std::vector<std::string> lines;
        bool damaged = false;        // opened with a warning, without its file name
        bool textureMissing = false; // told once, at the first tick
        bool unshown = false;        // a value past the float range, told as it opens
    } projects[] = {
        {"200000 vertici", Lines(many), true},
        {"indici oltre", Lines(pointingPast), true},
        {"facce senza fine", Lines(countless), false},
        {"righe di un mega", Lines(Sample(),
                                   [](std::vector<std::string>& lines) {
                                       lines[1].assign(1 << 20, '7');         // MoveX
                                       lines[16] = std::string(1 << 20, '1'); // a vertex's X
                                   }),
         false, false, true},
        {"texture lunga", Lines(longTexture), false, true},
    };
    for (const auto& project : projects) {
        SCOPED_TRACE(project.name);
        const std::string path = folder.File(std::string(project.name) + ".kv3");
        TextFile(path).WriteLines(project.lines);
        KelTest::ScriptedHost host;
        auto form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
        host.paths = {path, folder.File("immagine.png"), folder.File("mesh.x")};
        form->OpenProject();
        EXPECT_EQ(form->ProjectPath, project.damaged ? "" : path) << "opened";
        if (project.damaged || project.unshown) {
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].caption, "Attenzione");
            host.boxes.clear();
        }
        SendMessageW(form->window, WM_TIMER, form->timer->id, 0);
        SendMessageW(form->window, WM_TIMER, form->timer->id, 0);
        EXPECT_EQ(host.boxes.size(), project.textureMissing ? 1u : 0u);
        host.boxes.clear();
        PostMessageW(form->window, WM_COMMAND, MAKEWPARAM(form->exportPictureItem->id, 0), 0);
        PostMessageW(form->window, WM_COMMAND, MAKEWPARAM(form->exportMeshItem->id, 0), 0);
        KelTest::PumpMessages();
        ASSERT_EQ(host.boxes.size(), 2u);
        EXPECT_EQ(host.BoxTexts()[0], "Esporta / Esportazione effettuata correttamente.");
        EXPECT_TRUE(host.boxes[1].caption == "Esporta" || host.boxes[1].caption == "Errore")
            << host.boxes[1].text;
        EXPECT_EQ(SendMessageW(form->vertexList->window, LB_GETCOUNT, 0, 0),
                  static_cast<LRESULT>(form->document.Vertices.size()));
        std::remove(folder.File("immagine.png").c_str());
        std::remove(folder.File("mesh.x").c_str());
    }
}
