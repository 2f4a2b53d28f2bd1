#include "toolkit/element_registry.h"

#include "toolkit/gui_element.h"
#include "toolkit/sub_menu.h"

#include <algorithm>
#include <vector>

namespace KelUtility {
namespace ElementRegistry {
namespace {

std::vector<GUIElement*>& Elements() {
    static std::vector<GUIElement*> elements;
    return elements;
}

int idCounter = 0;
std::uint64_t serialCounter = 0;
// Elements whose CreateWindowExW is running, innermost last: a form's created handler
// creates its children while the form's own creation is still under way.
std::vector<GUIElement*> elementsBeingCreated;

void Erase(std::vector<GUIElement*>& list, const GUIElement* element) {
    list.erase(std::remove(list.begin(), list.end(), element), list.end());
}

} // namespace

void Add(GUIElement* element) { Elements().push_back(element); }

void Remove(GUIElement* element) {
    Erase(Elements(), element);
    Erase(elementsBeingCreated, element);
}

bool IsAlive(const GUIElement* element, std::uint64_t serial) {
    const auto& elements = Elements();
    return std::find(elements.begin(), elements.end(), element) != elements.end() &&
           element->serial == serial;
}

std::uint64_t NextSerial() { return ++serialCounter; }

int NextId() { return ++idCounter; }

int CurrentId() { return idCounter; }

GUIElement* ElementFromWindow(HWND window) {
    if (window == nullptr)
        return nullptr;
    const auto& elements = Elements();
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if ((*it)->window == window)
            return *it;
    }
    if (!elementsBeingCreated.empty() && elementsBeingCreated.back()->window == nullptr)
        return elementsBeingCreated.back();
    return nullptr;
}

GUIElement* ElementFromId(int id) {
    return ElementFromId(id, [](const GUIElement*) { return true; });
}

GUIElement* ElementFromId(int id, bool (*isOfKind)(const GUIElement*)) {
    for (GUIElement* element : Elements()) {
        if (element->id == id && isOfKind(element))
            return element;
    }
    return nullptr;
}

SubMenu* SubMenuFromId(int id) {
    return static_cast<SubMenu*>(ElementFromId(id, [](const GUIElement* element) {
        return dynamic_cast<const SubMenu*>(element) != nullptr;
    }));
}

CreationScope::CreationScope(GUIElement* element) : m_element(element) {
    elementsBeingCreated.push_back(element);
}

CreationScope::~CreationScope() {
    auto found = std::find(elementsBeingCreated.rbegin(), elementsBeingCreated.rend(), m_element);
    if (found != elementsBeingCreated.rend())
        elementsBeingCreated.erase(std::next(found).base());
}

} // namespace ElementRegistry
} // namespace KelUtility
