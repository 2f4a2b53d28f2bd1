#include "tests/support/win32_test_elements.h"

namespace KelTest {

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Type(KelUtility::GUIElement& element, const std::string& characters) {
    for (char c : characters)
        SendMessageW(element.window, WM_CHAR, static_cast<unsigned char>(c), 0);
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

bool ShowsWholeText(HWND box) {
    wchar_t text[256] = {};
    const int length = GetWindowTextW(box, text, 256);
    HDC dc = GetDC(box);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, length, &extent);
    SelectObject(dc, previous);
    ReleaseDC(box, dc);
    RECT shown = {};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    return extent.cx < shown.right - shown.left;
}

COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

int CountPixelsOtherThan(HWND window, COLORREF color) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return 0;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (copy == nullptr) {
        DeleteDC(memory);
        ReleaseDC(window, screen);
        return -1;
    }
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    // A DIB pixel is 0x00RRGGBB, the reverse of a COLORREF.
    const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    int count = 0;
    for (long i = 0; i < client.right * client.bottom; ++i) {
        if ((pixels[i] & 0xFFFFFF) != wanted)
            ++count;
    }
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return count;
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
