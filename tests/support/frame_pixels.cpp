#include "tests/support/frame_pixels.h"

using Microsoft::WRL::ComPtr;

namespace KelTest {

int FramePixels::CountOtherThanIn(std::uint32_t color, int left, int top, int right,
                                  int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += At(x, y) != color ? 1 : 0;
    return count;
}

int FramePixels::CountOtherThan(std::uint32_t color) const {
    return CountOtherThanIn(color, 0, 0, width, height);
}

FramePixels DrawFrame(KelUtility::D3DPanel& panel) {
    FramePixels frame;
    frame.drawn = panel.DrawAndCapture([&](IDirect3DSurface9& backBuffer) {
        D3DSURFACE_DESC description = {};
        backBuffer.GetDesc(&description);
        ComPtr<IDirect3DSurface9> copy;
        if (FAILED(panel.device->CreateOffscreenPlainSurface(
                description.Width, description.Height, description.Format, D3DPOOL_SYSTEMMEM,
                &copy, nullptr)) ||
            FAILED(panel.device->GetRenderTargetData(&backBuffer, copy.Get())))
            return;
        D3DLOCKED_RECT locked = {};
        if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
            return;
        frame.width = static_cast<int>(description.Width);
        frame.height = static_cast<int>(description.Height);
        for (int y = 0; y < frame.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                static_cast<const unsigned char*>(locked.pBits) + y * locked.Pitch);
            for (int x = 0; x < frame.width; ++x)
                frame.pixels.push_back(row[x] & 0x00FFFFFF);
        }
        copy->UnlockRect();
    });
    return frame;
}

FramePixels ScreenPixels(HWND window) {
    FramePixels screen;
    RECT client = {};
    POINT origin = {0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin))
        return screen;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = client.right;
    format.bmiHeader.biHeight = -client.bottom; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC desktop = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(desktop);
    HBITMAP picture = CreateDIBSection(desktop, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    screen.drawn = picture != nullptr && BitBlt(memory, 0, 0, client.right, client.bottom, desktop,
                                                origin.x, origin.y, SRCCOPY);
    if (screen.drawn) {
        screen.width = client.right;
        screen.height = client.bottom;
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < screen.width * screen.height; ++i)
            screen.pixels.push_back(pixels[i] & 0x00FFFFFF);
    }
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, desktop);
    return screen;
}

int ScreenDifference(const FramePixels& frame, HWND window) {
    int different = -1;
    for (int attempt = 0; attempt < 100 && different != 0; ++attempt) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        const FramePixels screen = ScreenPixels(window);
        if (screen.width != frame.width || screen.height != frame.height)
            return -1;
        different = 0;
        for (std::size_t i = 0; i < frame.pixels.size(); ++i)
            different += screen.pixels[i] != frame.pixels[i] ? 1 : 0;
        if (different != 0)
            Sleep(20);
    }
    return different;
}

} // namespace KelTest
