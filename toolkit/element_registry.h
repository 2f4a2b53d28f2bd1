#pragma once

// Every live element, in construction order, and the process-wide id counter. The window
// procedure finds the element of a window, a control id or a menu id here. An element
// leaves the registry in its destructor, so no lookup can reach a destroyed element.

#include <cstdint>
#include <windows.h>

namespace KelUtility {

class GUIElement;
class SubMenu;

namespace ElementRegistry {

void Add(GUIElement* element);
void Remove(GUIElement* element);

// True while the element that had this serial number is still registered; a handler may
// delete the element whose event it handles.
bool IsAlive(const GUIElement* element, std::uint64_t serial);
std::uint64_t NextSerial();

// The id counter: 0 at start; each window-backed element takes ++counter at creation.
int NextId();
int CurrentId();

// The last registered element whose window is the handle. For a window whose handle is not
// stored yet (messages sent while CreateWindowExW runs) it is the element being created;
// for any other window, none.
GUIElement* ElementFromWindow(HWND window);
// The first element with the id, or none; with a kind, the first of that kind.
GUIElement* ElementFromId(int id);
GUIElement* ElementFromId(int id, bool (*isOfKind)(const GUIElement*));
// The first menu entry with the id, or none: the target of a menu command.
SubMenu* SubMenuFromId(int id);

// Marks the element whose window is being created for as long as the scope lives.
class CreationScope {
public:
    explicit CreationScope(GUIElement* element);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    GUIElement* m_element;
};

} // namespace ElementRegistry
} // namespace KelUtility
