#pragma once

// The extra click handler of the elements that report a click or a choice: buttons, list
// boxes, menu items and tool-bar items. The window procedure raises it on their commands.

namespace KelUtility {

class GUIElement;

class CommandElement {
public:
    using ClickHandler = void (*)(GUIElement* element);

    ClickHandler OnClick = nullptr;

protected:
    ~CommandElement() = default;
};

} // namespace KelUtility
