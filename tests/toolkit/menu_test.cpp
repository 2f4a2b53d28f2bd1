#include "toolkit/menu.h"
#include "toolkit/menu_bar.h"
#include "toolkit/sub_menu.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>

using namespace KelUtility;

namespace {

int clicks = 0;
void CountClick(GUIElement*) {
    ++clicks;
}

std::wstring TextAt(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

void ClickEntry(const Form& form, const SubMenu& entry) {
    SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(entry.id, 0), 0);
}

// The editor's menus in small: File with a separator, a disabled entry and a cascade.
class MenuTest : public ::testing::Test {
protected:
    std::unique_ptr<Form> form = KelTest::NewHostForm();
    MenuBar bar{form.get()};
    Menu file{&bar, "&File"};
    SubMenu open{&file, "&Apri"};
    SubMenu save{&file, "&Salva"};
    SubMenu separator{&file, ""};
    SubMenu exportAs{&file, "&Esporta..."};
    SubMenu asPicture{&exportAs, "Esporta come immagine..."};
    SubMenu asMesh{&exportAs, "Esporta come File DIrectX (.X)..."};
    Menu help{&bar, "&?"};
    SubMenu grid{&help, "Griglia"};
};

} // namespace

TEST_F(MenuTest, TheTreeIsBuiltInConstructionOrder) {
    save.enabled = false;
    bar.Create();
    ASSERT_EQ(GetMenu(form->window), bar.menuHandle);
    ASSERT_EQ(GetMenuItemCount(bar.menuHandle), 2);
    EXPECT_EQ(TextAt(bar.menuHandle, 1), L"&?");
    EXPECT_EQ(GetSubMenu(bar.menuHandle, 0), file.menuHandle);

    ASSERT_EQ(GetMenuItemCount(file.menuHandle), 4);
    EXPECT_EQ(GetMenuItemID(file.menuHandle, 0), static_cast<UINT>(open.id));
    EXPECT_EQ(TextAt(file.menuHandle, 1), L"&Salva");
    EXPECT_TRUE(GetMenuState(file.menuHandle, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file.menuHandle, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(separator.id, save.id + 1); // a separator still takes an id
    EXPECT_EQ(GetMenuItemID(file.menuHandle, 3), static_cast<UINT>(-1)); // a cascade
    EXPECT_EQ(GetSubMenu(file.menuHandle, 3), exportAs.menuHandle);
    EXPECT_EQ(GetMenuItemID(exportAs.menuHandle, 1), static_cast<UINT>(asMesh.id));
    EXPECT_EQ(TextAt(exportAs.menuHandle, 0), L"Esporta come immagine...");

    SubMenu late(&help, "&Info");
    EXPECT_EQ(GetMenuItemCount(help.menuHandle), 2);
    EXPECT_EQ(GetMenuItemID(help.menuHandle, 1), static_cast<UINT>(late.id));
}

TEST_F(MenuTest, ClicksToggleCheckableEntries) {
    grid.checkable = true;
    grid.checked = true;
    grid.OnClick = &CountClick;
    open.OnClick = &CountClick;
    bar.Create();
    clicks = 0;
    EXPECT_TRUE(grid.IsChecked());
    ClickEntry(*form, grid);
    EXPECT_FALSE(grid.IsChecked());
    ClickEntry(*form, grid);
    EXPECT_TRUE(grid.IsChecked());
    ClickEntry(*form, open);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(GetMenuState(help.menuHandle, grid.id, MF_BYCOMMAND), MF_CHECKED);

    // An accelerator key of an entry clicks it; an id that no entry has is ignored.
    SendMessageW(form->window, WM_COMMAND, MAKEWPARAM(open.id, 1), 0);
    SendMessageW(form->window, WM_COMMAND, MAKEWPARAM(0xFFF0, 0), 0);
    EXPECT_EQ(clicks, 4);

    // Checked and greyed together reads as unchecked.
    grid.SetEnabled(false);
    EXPECT_FALSE(grid.IsChecked());
}
