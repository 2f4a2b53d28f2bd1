// The editor's window with the largest project it can index, 65,535 vertices and 65,535
// indices shown with 1,000 faces: opening it (after the dialog's answer) until the lists
// are filled and the first frame is drawn, a tick with nothing changed, one paint of the
// preview beside a minimal frame that draws the same mesh built once, on the same device,
// in the same run, an undo and a redo of a changed vertex, of a changed eye and of a
// deleted vertex until the controls, the lists and the frame show them, and an import of an
// OBJ of as many vertices beside the reading alone, and a recovery copy beside a save of the
// same project. Timed in the process under Wine; prints
// the medians.

#include "app/form_main.h"
#include "app/program_title.h"
#include "app/recovery_folder.h"
#include "document/model_import.h"
#include "document/text_file.h"
#include "toolkit/dialog_host.h"
#include "toolkit/on_demand_list_box.h"
#include "viewport/d3d_panel.h"
#include "viewport/gdi_presenter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

using namespace MyApp;
using namespace KelUtility;
using Clock = std::chrono::steady_clock;
using Microsoft::WRL::ComPtr;

namespace {

constexpr int kLargestIndexable = 65535;
const wchar_t* const kProject = L"window_bench.kv3";
const char* const kModel = "window_bench.obj";

// Answers the open dialog with the project; every box with its first button.
class Answers : public DialogHost {
public:
    int RunMessageBox(HWND, const std::string&, const std::string&, UINT) override { return IDYES; }
    bool RunColorDialog(CHOOSECOLORW&) override { return false; }
    bool RunOpenDialog(OPENFILENAMEW& dialog) override {
        wcsncpy(dialog.lpstrFile, kProject, dialog.nMaxFile - 1);
        return true;
    }
    bool RunSaveDialog(OPENFILENAMEW&) override { return false; }
    HINSTANCE RunShellExecute(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                              int) override {
        return nullptr;
    }
};

MeshDocument LargestProject() {
    MeshDocument document;
    document.ResetToSample();
    document.Vertices.clear();
    for (int i = 0; i < kLargestIndexable; ++i) {
        const double angle = i * 0.001;
        document.Vertices.push_back(
            MeshVertex{std::cos(angle) * 2, (i % 300) * 0.01 - 1.5, std::sin(angle) * 2,
                       static_cast<std::uint32_t>(i * 2654435761u), 0.25f, 0.5f});
        document.Indices.push_back(static_cast<std::uint16_t>(i));
    }
    document.FaceCount = 1000;
    return document;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of `work`, until the device has finished what it was given.
double Timed(IDirect3DDevice9& device, const std::function<void()>& work) {
    ComPtr<IDirect3DQuery9> finished;
    device.CreateQuery(D3DQUERYTYPE_EVENT, &finished);
    const Clock::time_point start = Clock::now();
    work();
    if (finished) {
        finished->Issue(D3DISSUE_END);
        while (finished->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
        }
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Clear, the same states and transforms, one draw of a mesh built once, and the same way
// to the screen as the preview's own frame.
void MinimalFrame(D3DPanel& panel, ID3DXMesh& mesh, GdiPresenter& presenter) {
    IDirect3DDevice9& device = *panel.device.Get();
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device.BeginScene();
    device.SetRenderState(D3DRS_LIGHTING, FALSE);
    panel.ApplyWorld();
    panel.ApplyViewProjection();
    device.SetTexture(0, nullptr);
    mesh.DrawSubset(0);
    device.EndScene();
    if (GdiPresenter::Needed())
        presenter.Show(device, panel.window);
    else
        device.Present(nullptr, nullptr, nullptr, nullptr);
}

// With every face drawn: a pick at the middle of the preview (the nearest vertex, then the
// triangle under it) and a click that picks and shows it; then the frames of a drag that
// turns the mesh with a vertex and a triangle marked, beside a plain paint of the same view.
void TimePointing(FormMain& form) {
    D3DPanel& panel = *form.viewport;
    form.document.FaceCount = kLargestIndexable / 3;
    form.LoadControls();
    panel.Redraw();
    const int x = panel.width / 2;
    const int y = panel.height / 2;
    std::vector<double> picks;
    std::vector<double> clicks;
    for (int i = 0; i < 15; ++i) {
        picks.push_back(Timed(*panel.device.Get(), [&] {
            if (!panel.VertexAt(x, y, 8))
                panel.TriangleAt(x, y);
        }));
        clicks.push_back(Timed(*panel.device.Get(), [&] {
            form.OnPreviewPress(PreviewButton::Left, x, y);
            form.OnPreviewRelease(x, y);
        }));
    }
    std::printf("A pick among %d vertices and %d faces: median %.2f ms; a click, its frame "
                "included: median %.2f ms\n",
                kLargestIndexable, form.document.FaceCount, Median(picks), Median(clicks));
    panel.HighlightedVertex = 100;
    panel.HighlightedTriangle = 100;
    std::vector<double> orbits;
    std::vector<double> plain;
    form.OnPreviewPress(PreviewButton::Left, x, y);
    for (int i = 1; i <= 30; ++i) {
        orbits.push_back(Timed(*panel.device.Get(), [&] { form.OnPreviewMove(x + 3 * i, y); }));
        plain.push_back(Timed(*panel.device.Get(), [&] { panel.Redraw(); }));
    }
    form.OnPreviewRelease(x, y);
    std::printf("A frame while turning with the mouse, the marks included: median %.2f ms; a "
                "plain paint: median %.2f ms; ratio %.2f\n",
                Median(orbits), Median(plain), Median(orbits) / Median(plain));
}

// An OBJ of the largest mesh: a strip of triangles over 65,535 distinct positions.
void WriteLargestObj() {
    std::vector<std::string> lines;
    for (int i = 0; i < kLargestIndexable; ++i) {
        const double angle = i * 0.001;
        lines.push_back("v " + std::to_string(std::cos(angle) * 2) + " " + std::to_string((i % 300) * 0.01) + " " +
                        std::to_string(std::sin(angle) * 2 + i * 1e-5));
    }
    for (int i = 1; i + 2 <= kLargestIndexable; i += 3)
        lines.push_back("f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2));
    TextFile(kModel).WriteLines(lines);
}

void TimeImport(FormMain& form, double paint) {
    WriteLargestObj();
    MeshDocument alone;
    std::string message;
    const Clock::time_point start = Clock::now();
    const bool read = ImportModel(kModel, alone, message);
    const double reading = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double whole = Timed(*form.viewport->device.Get(), [&] {
        form.ImportModelFile(kModel);
        form.viewport->Redraw();
    });
    std::printf("Importing a %d-vertex OBJ until the lists are filled and the first frame is drawn: %.1f ms "
                "(ImportModel alone: %.1f ms%s); ratio to the import and a paint %.2f\n",
                kLargestIndexable, whole, reading, read ? "" : ", refused", whole / (reading + paint));
    DeleteFileA(kModel);
}

// The recovery copy holds the window only while its snapshot is taken; the copy itself is
// written beside it. Both beside the save of the same project, as Save writes it.
void TimeRecoveryCopy(const MeshDocument& document) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string folder = std::string(current) + "\\kel-bench-ripristino";
    std::vector<double> held;
    std::vector<double> copies;
    std::vector<double> saves;
    {
        RecoveryFolder recovery(folder);
        for (int i = 0; i < 10; ++i) {
            Clock::time_point start = Clock::now();
            recovery.WriteInBackground(document, "progetto.kv3");
            held.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            recovery.Discard(); // waits for the copy
            copies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            start = Clock::now();
            TextFile file(folder + "\\progetto.kv3");
            file.WriteText([&document](const TextSink& take) { return document.WriteText(take); });
            saves.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        if (!recovery.TakeFailure().empty())
            std::puts("the recovery copy was not written");
    }
    DeleteFileA((folder + "\\progetto.kv3").c_str());
    RemoveDirectoryA(folder.c_str());
    std::printf("A recovery copy of %zu vertices holds the window: median %.1f ms (written beside "
                "it in %.1f ms); a save of the same project: median %.1f ms; ratio %.2f\n",
                document.Vertices.size(), Median(held), Median(copies), Median(saves),
                Median(held) / Median(saves));
}

} // namespace

int main() {
    TextFile(std::string(kProject, kProject + wcslen(kProject)))
        .WriteLines(LargestProject().ToLines());
    Answers answers;
    SetDialogHost(&answers);
    FormMain form(GetModuleHandleW(nullptr), ProgramTitle());
    D3DPanel& panel = *form.viewport;
    if (!panel.device) {
        std::puts("no Direct3D device");
        return 1;
    }
    const double open = Timed(*panel.device.Get(), [&] {
        form.OpenProject();
        panel.Redraw();
    });
    const ComPtr<ID3DXMesh> built = panel.BuildMesh(panel.meshes.front());
    GdiPresenter presenter;
    std::vector<double> ticks;
    std::vector<double> paints;
    std::vector<double> minimal;
    for (int i = 0; i < 30; ++i) {
        ticks.push_back(Timed(*panel.device.Get(), [&] { form.SyncTick(); }));
        paints.push_back(Timed(*panel.device.Get(), [&] { panel.Redraw(); }));
        minimal.push_back(
            Timed(*panel.device.Get(), [&] { MinimalFrame(panel, *built.Get(), presenter); }));
    }
    std::printf("Opening %d vertices and %d indices until the lists are filled and the first "
                "frame is drawn: %.1f ms (%zu and %zu rows)\n",
                kLargestIndexable, kLargestIndexable, open, form.vertexList->RowCount(),
                form.indexList->RowCount());
    std::printf("A tick with nothing changed, its frame included: median %.2f ms (modified: %s)\n",
                Median(ticks), form.Modified ? "yes" : "no");
    std::printf("One paint of the preview: median %.2f ms; a minimal frame of the same mesh "
                "built once: median %.2f ms; ratio %.2f\n",
                Median(paints), Median(minimal), Median(paints) / Median(minimal));
    const struct {
        const char* name;
        void (*change)(MeshDocument&);
    } steps[] = {
        {"a vertex changed", [](MeshDocument& d) { d.Vertices[30000].X += 1; }},
        {"the eye moved", [](MeshDocument& d) { d.EyeZ -= 1; }},
        {"a vertex deleted (every row after it numbered again)",
         [](MeshDocument& d) { d.RemoveVertex(30000); }},
    };
    for (const auto& step : steps) {
        step.change(form.document);
        form.NoteChange(ChangeSource::SingleStep);
        std::vector<double> undos;
        std::vector<double> redos;
        for (int i = 0; i < 15; ++i) {
            undos.push_back(Timed(*panel.device.Get(), [&] { form.Undo(); }));
            redos.push_back(Timed(*panel.device.Get(), [&] { form.Redo(); }));
        }
        std::printf("Undo of %s, its frame included: median %.2f ms; redo: median %.2f ms\n",
                    step.name, Median(undos), Median(redos));
    }
    TimePointing(form);
    TimeImport(form, Median(paints));
    TimeRecoveryCopy(form.document);
    SetDialogHost(nullptr);
    DeleteFileW(kProject);
    return 0;
}
