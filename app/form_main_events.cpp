#include "app/form_main_events.h"

#include "app/entry_dialog.h"
#include "app/form_main.h"

namespace MyApp::FormMainEvents {

void Created(GUIElement* form, HWND) {
    if (FormMain* main = FormMain::Owning(form))
        main->BuildLayout();
}

bool Closing(GUIElement* form) {
    FormMain* main = FormMain::Owning(form);
    return main == nullptr || main->ConfirmClose();
}

void Resized(GUIElement* form) {
    if (FormMain* main = FormMain::Owning(form))
        main->LayoutPanels();
}

bool FormKeyPress(GUIElement* element, int character) {
    FormMain* main = FormMain::Owning(element);
    return main == nullptr || main->FilterFormChar(character);
}

void FormKeyDown(GUIElement* element, int key) {
    if (FormMain* main = FormMain::Owning(element))
        main->FormKeyDown(key);
}

void FormKeyUp(GUIElement* element, int key) {
    if (FormMain* main = FormMain::Owning(element))
        main->FormKeyUp(key);
}

void FormMouseUp(GUIElement* element, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(element))
        main->FormMouseUp(x, y);
}

void FormMouseDown(GUIElement* element, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(element))
        main->FormMouseDown(x, y);
}

void FormActivated(GUIElement* element) {
    if (FormMain* main = FormMain::Owning(element))
        main->FormActivated();
}

void FormDeactivated(GUIElement* element) {
    if (FormMain* main = FormMain::Owning(element))
        main->FormDeactivated();
}

void MenuClick(GUIElement* item) {
    FormMain* main = FormMain::Owning(item);
    if (main == nullptr)
        main = FormMain::MainForm();
    if (main != nullptr)
        main->OnCommand(item);
}

void FilesDropped(GUIElement* form, const std::vector<std::string>& paths) {
    if (FormMain* main = FormMain::Owning(form))
        main->OnFilesDropped(paths);
}

void DpiChanged(GUIElement* form, int dpi, const RECT& suggested) {
    if (FormMain* main = FormMain::Owning(form))
        main->ShowAtDpi(dpi, suggested);
}

void ControlClick(GUIElement* element) {
    if (FormMain* main = FormMain::Owning(element))
        main->OnControlClick(element);
}

void ListDoubleClick(GUIElement* list, HWND, int, int) {
    if (FormMain* main = FormMain::Owning(list))
        main->OnListDoubleClick(list);
}

void ListKeyDown(GUIElement* list, int key) {
    if (FormMain* main = FormMain::Owning(list))
        main->OnListKeyDown(list, key);
}

void BoxKeyDown(GUIElement* box, int key) {
    if (FormMain* main = FormMain::Owning(box))
        main->OnBoxKeyDown(box, key);
}

void PreviewMouseDown(GUIElement* preview, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewPress(PreviewButton::Left, x, y);
}

void PreviewRightMouseDown(GUIElement* preview, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewPress(PreviewButton::Right, x, y);
}

void PreviewMiddleMouseDown(GUIElement* preview, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewPress(PreviewButton::Middle, x, y);
}

void PreviewMouseUp(GUIElement* preview, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewRelease(x, y);
}

void PreviewMouseMove(GUIElement* preview, int x, int y) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewHover(x, y);
}

void PreviewMouseLeave(GUIElement* preview) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewLeft();
}

void PreviewDoubleClick(GUIElement* preview, HWND, int x, int y) {
    if (FormMain* main = FormMain::Owning(preview))
        main->OnPreviewDoubleClick(x, y);
}

void PreviewWheel(GUIElement* preview, double notches, int, int) {
    if (FormMain* main = FormMain::Owning(preview))
        main->Zoom(notches);
}

bool NumericKeyPress(GUIElement* box, int character) {
    FormMain* main = FormMain::Owning(box);
    return main == nullptr || main->FilterTextBoxChar(box, character);
}

void NumericGotFocus(GUIElement* box) {
    if (FormMain* main = FormMain::Owning(box))
        main->OnNumericGotFocus(box);
}

void NumericLostFocus(GUIElement* box) {
    if (FormMain* main = FormMain::Owning(box))
        main->OnNumericLostFocus(box);
}

void Tick(GUIElement* timer) {
    if (FormMain* main = FormMain::Owning(timer))
        main->SyncTick();
}

void Direction(GUIElement* pad, int direction) {
    if (FormMain* main = FormMain::Owning(pad))
        main->ApplyMove(direction);
}

void DialogClosed(GUIElement* dialog) {
    auto* entry = dynamic_cast<EntryDialog*>(dialog);
    if (FormMain* main = entry != nullptr ? FormMain::Owning(entry->owner) : nullptr)
        main->OnDialogDone(dialog);
}

} // namespace MyApp::FormMainEvents
