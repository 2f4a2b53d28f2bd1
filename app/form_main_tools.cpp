// The mesh tools of the "Strumenti" menu. The document's library does the work; the window
// asks what a tool needs, shows the result in every control as an undo would, and says
// what the tool did.

#include "app/form_main.h"

#include "app/form_semplifica.h"
#include "app/form_trasforma.h"
#include "document/mesh_cleanup.h"
#include "document/mesh_gpu_order.h"
#include "document/mesh_simplifier.h"
#include "document/mesh_transform.h"
#include "document/mesh_triangles.h"
#include "toolkit/sub_menu.h"
#include "toolkit/system_dialogs.h"

using namespace KelUtility;

namespace MyApp {

bool FormMain::RunToolCommand(GUIElement* menuItem) {
    if (menuItem == cleanItem.get()) {
        RunMeshTool("Pulisci", [this](std::string& report, std::string& message) {
            CleanupReport cleanup;
            if (!CleanMesh(document, cleanup, message))
                return false;
            report = Described(cleanup);
            return true;
        });
    } else if (menuItem == flipItem.get()) {
        RunMeshTool("Inverti facce", [this](std::string& report, std::string& message) {
            report = "Le facce sono state invertite.";
            return HasTriangles(message) && FlipFaces(document, message);
        });
    } else if (menuItem == gpuOrderItem.get()) {
        RunMeshTool("Ottimizza per la GPU", [this](std::string& report, std::string& message) {
            if (!HasTriangles(message))
                return false;
            GpuOrderReport order;
            if (!OptimizeForGpu(document, order, message))
                return false;
            report = Described(order);
            return true;
        });
    } else if (menuItem == transformItem.get()) {
        transformDialog.reset();
        transformDialog = std::make_unique<FormTrasforma>(this, document.Vertices);
        ShowDialog(*transformDialog);
    } else if (menuItem == simplifyItem.get()) {
        const std::size_t triangles = DrawnTriangleCount(document);
        std::string message;
        if (!HasTriangles(message)) {
            ShowWarning(this, message, "Semplifica");
            return true;
        }
        simplifyDialog.reset();
        simplifyDialog = std::make_unique<FormSemplifica>(this, triangles);
        ShowDialog(*simplifyDialog);
    } else {
        return false;
    }
    return true;
}

bool FormMain::HasTriangles(std::string& message) const {
    if (DrawnTriangleCount(document) > 0)
        return true;
    message = "La mesh non disegna triangoli.";
    return false;
}

bool FormMain::TakeToolDialog(GUIElement* dialog) {
    if (transformDialog && dialog == transformDialog.get()) {
        if (transformDialog->result != EntryDialog::kConfirmed)
            return true;
        const MeshTransform transform = transformDialog->transform;
        RunMeshTool("Trasforma", [this, transform](std::string& report, std::string& message) {
            report = "La trasformazione \xC3\xA8 stata applicata ai vertici.";
            return TransformMesh(document, transform, message);
        });
        return true;
    }
    if (simplifyDialog && dialog == simplifyDialog.get()) {
        if (simplifyDialog->result != EntryDialog::kConfirmed)
            return true;
        const std::size_t target = simplifyDialog->targetTriangles;
        RunMeshTool("Semplifica", [this, target](std::string& report, std::string& message) {
            SimplifyReport simplified;
            if (!SimplifyMesh(document, target, simplified, message))
                return false;
            report = Described(simplified);
            return true;
        });
        return true;
    }
    return false;
}

// Whatever the tool changed is shown as an undo shows a step: every value, both lists from
// their first row, and the preview's mesh.
void FormMain::RunMeshTool(const std::string& title,
                           const std::function<bool(std::string&, std::string&)>& tool) {
    ReadBoxes();
    history.EndRun();
    std::string report;
    std::string message;
    if (!tool(report, message)) {
        ShowWarning(this, message, title);
        return;
    }
    HistoryChange change;
    change.values = true;
    change.vertices = {true, 0, document.Vertices.size()};
    change.indices = {true, 0, document.Indices.size()};
    ShowRestored(change);
    NoteChange(ChangeSource::SingleStep);
    ShowMessage(this, report, title);
}

} // namespace MyApp
