#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/text_box.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>

using namespace KelUtility;

namespace {

LONG StyleOf(const GUIElement& element) { return GetWindowLongW(element.window, GWL_STYLE); }

void Type(const GUIElement& element, const std::wstring& characters) {
    for (wchar_t c : characters)
        SendMessageW(element.window, WM_CHAR, c, 0);
}

class ControlTest : public ::testing::Test {
protected:
    std::unique_ptr<Form> form = KelTest::NewHostForm();
};

} // namespace

TEST_F(ControlTest, TextBoxStylesAreDecidedInOrder) {
    TextBox both(form.get(), "abc");
    both.alignRight = both.alignCenter = true;
    both.upperCase = both.lowerCase = true;
    both.Create();
    EXPECT_EQ(StyleOf(both) & (ES_RIGHT | ES_CENTER), ES_RIGHT);
    EXPECT_EQ(StyleOf(both) & (ES_UPPERCASE | ES_LOWERCASE), ES_UPPERCASE);
    EXPECT_TRUE(GetWindowLongW(both.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    Type(both, L"d");
    EXPECT_EQ(both.GetNarrowText(), "DABC"); // typed at the caret, which starts at 0

    TextBox wrapped(form.get(), "");
    wrapped.multiline = wrapped.wordWrap = true;
    wrapped.Create();
    EXPECT_TRUE(StyleOf(wrapped) & ES_MULTILINE);
    EXPECT_FALSE(StyleOf(wrapped) & ES_AUTOHSCROLL);

    TextBox unwrapped(form.get(), "");
    unwrapped.multiline = true;
    unwrapped.Create();
    EXPECT_TRUE(StyleOf(unwrapped) & ES_AUTOHSCROLL);
}

TEST_F(ControlTest, TextBoxLimitsAndLateStyleChanges) {
    TextBox box(form.get(), "");
    box.SetMaxLength(5);
    box.ApplyStyle(); // not created: nothing to do
    box.Create();
    Type(box, L"1234567");
    EXPECT_EQ(box.GetNarrowText(), "12345");
    EXPECT_EQ(SendMessageW(box.window, EM_GETLIMITTEXT, 0, 0), 5);

    box.readOnly = true;
    box.password = true;
    box.ApplyStyle();
    EXPECT_TRUE(StyleOf(box) & ES_READONLY);
    EXPECT_EQ(SendMessageW(box.window, EM_GETPASSWORDCHAR, 0, 0), '*');
    box.SetText(std::string("z"));
    EXPECT_EQ(box.GetNarrowText(), "z"); // the program may still set the text

    TextBox unlimited(form.get(), "");
    unlimited.Create();
    EXPECT_GT(SendMessageW(unlimited.window, EM_GETLIMITTEXT, 0, 0), 5);
}

TEST_F(ControlTest, LabelAlignmentAndImagePictures) {
    Label label(form.get(), "Colore");
    label.alignRight = label.alignCenter = true;
    label.border = true;
    label.Create();
    EXPECT_EQ(StyleOf(label) & SS_TYPEMASK, SS_RIGHT);
    EXPECT_TRUE(StyleOf(label) & (WS_BORDER | SS_NOTIFY));

    Image picture(form.get(), 1006);
    picture.Create();
    ASSERT_NE(picture.bitmap, nullptr);
    EXPECT_EQ(SendMessageW(picture.window, STM_GETIMAGE, IMAGE_BITMAP, 0),
              reinterpret_cast<LRESULT>(picture.bitmap));

    picture.LoadFromResource(0);
    EXPECT_EQ(picture.resourceId, 0);
    EXPECT_NE(picture.bitmap, nullptr); // nothing loaded, the picture stays
    picture.LoadFromFile("missing-picture.bmp");
    EXPECT_EQ(picture.bitmap, nullptr);
    EXPECT_EQ(SendMessageW(picture.window, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}
