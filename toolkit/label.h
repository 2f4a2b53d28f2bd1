#pragma once

// Static text, such as the captions beside the editor's boxes.

#include "toolkit/child.h"

namespace KelUtility {

class Label : public Child {
public:
    Label(GUIElement* owner, const std::string& caption);

    void Create() override;

    bool border = false;
    bool alignRight = false;  // wins over alignCenter
    bool alignCenter = false;
};

} // namespace KelUtility
