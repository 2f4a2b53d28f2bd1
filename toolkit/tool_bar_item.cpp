#include "toolkit/tool_bar_item.h"

#include "toolkit/element_registry.h"
#include "toolkit/text_conversion.h"
#include "toolkit/tool_bar.h"

namespace KelUtility {

ToolBarItem::ToolBarItem(ToolBar* toolBar) : Child(toolBar) { typeName = "toolbaritem"; }

void ToolBarItem::Create() {
    if (created)
        return;
    id = ElementRegistry::NextId();
    const std::wstring tip = ToWide(tooltip.substr(0, kLabelSize - 1));
    tip.copy(label, kLabelSize - 1);
    label[tip.size()] = L'\0';
    created = true;
}

} // namespace KelUtility
