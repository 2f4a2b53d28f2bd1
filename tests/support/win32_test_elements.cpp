#include "tests/support/win32_test_elements.h"

namespace KelTest {

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TestControl::TestControl(KelUtility::GUIElement* owner, const wchar_t* platformClass,
                         DWORD style)
    : Child(owner), m_platformClass(platformClass), m_style(style) {}

void TestControl::Create() {
    if (created)
        return;
    CreateControlWindow(m_platformClass, BaseStyle() | m_style, 0);
    FinishCreate();
}

TestCommandControl::TestCommandControl(KelUtility::GUIElement* owner,
                                       const wchar_t* platformClass, DWORD style,
                                       const char* tag)
    : TestControl(owner, platformClass, style) {
    typeName = tag;
}

COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

std::unique_ptr<KelUtility::Form> NewHostForm() {
    auto form = std::make_unique<KelUtility::Form>(GetModuleHandleW(nullptr));
    form->SetSize(400, 300);
    form->Create();
    return form;
}

TestControl* NewEdit(KelUtility::GUIElement* owner, int left, int top) {
    TestControl* edit = new TestControl(owner, L"EDIT", WS_TABSTOP | WS_BORDER);
    edit->SetPosition(left, top);
    edit->SetSize(80, 22);
    edit->Create();
    return edit;
}

} // namespace KelTest
