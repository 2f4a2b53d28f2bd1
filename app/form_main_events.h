#pragma once

// The handlers that the main window's elements call. Each walks from the element up its
// parent chain to the FormMain it belongs to and calls one of the window's operations;
// an element outside any FormMain reaches nothing, except a menu command, which goes to
// the first FormMain made.

#include <string>
#include <vector>
#include <windows.h>

namespace KelUtility {
class GUIElement;
}

namespace MyApp::FormMainEvents {

using KelUtility::GUIElement;

void Created(GUIElement* form, HWND window);
bool Closing(GUIElement* form);
void Resized(GUIElement* form);
bool FormKeyPress(GUIElement* element, int character);
void FormKeyDown(GUIElement* element, int key);
void FormKeyUp(GUIElement* element, int key);
void FormMouseUp(GUIElement* element, HWND window, int x, int y);
void FormMouseDown(GUIElement* element, HWND window, int x, int y);
void FormActivated(GUIElement* element);
void FormDeactivated(GUIElement* element);
void MenuClick(GUIElement* item);
void FilesDropped(GUIElement* form, const std::vector<std::string>& paths);
void DpiChanged(GUIElement* form, int dpi, const RECT& suggested);
void ControlClick(GUIElement* element);
void ListDoubleClick(GUIElement* list, HWND window, int x, int y);
void ListKeyDown(GUIElement* list, int key);
void BoxKeyDown(GUIElement* box, int key);
void PreviewMouseDown(GUIElement* preview, HWND window, int x, int y);
void PreviewRightMouseDown(GUIElement* preview, HWND window, int x, int y);
void PreviewMiddleMouseDown(GUIElement* preview, HWND window, int x, int y);
void PreviewMouseUp(GUIElement* preview, HWND window, int x, int y);
void PreviewMouseMove(GUIElement* preview, int x, int y);
void PreviewWheel(GUIElement* preview, double notches, int x, int y);
void PreviewDoubleClick(GUIElement* preview, HWND window, int x, int y);
void PreviewMouseLeave(GUIElement* preview);
bool NumericKeyPress(GUIElement* box, int character);
void NumericGotFocus(GUIElement* box);
void NumericLostFocus(GUIElement* box);
void Tick(GUIElement* timer);
void Direction(GUIElement* pad, int direction);
// A vertex or index dialog whose window is gone: its owner reads it.
void DialogClosed(GUIElement* dialog);

} // namespace MyApp::FormMainEvents
