#include "viewport/gdi_presenter.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace KelUtility {

GdiPresenter::~GdiPresenter() {
    m_copy.Reset();
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool GdiPresenter::Needed() {
    const HMODULE system = GetModuleHandleW(L"ntdll.dll");
    return system != nullptr && GetProcAddress(system, "wine_get_version") != nullptr;
}

// Under Wine a device bound to a child window draws into its back buffer, but the copy of
// the presented frame into the child fails on the X side (BadDrawable on CopyArea), and the
// child then shows no GDI drawing either. A device on a top-level window that is never
// shown renders normally, and GDI reaches the child, so the frame takes that way.
HWND GdiPresenter::DeviceWindow(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (m_window == nullptr)
        m_window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
    else
        SetWindowPos(m_window, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return m_window;
}

bool GdiPresenter::CopyBackBuffer(IDirect3DDevice9& device) {
    ComPtr<IDirect3DSurface9> backBuffer;
    if (FAILED(device.GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)))
        return false;
    D3DSURFACE_DESC frame = {};
    D3DSURFACE_DESC copy = {};
    backBuffer->GetDesc(&frame);
    if (m_copy)
        m_copy->GetDesc(&copy);
    if (!m_copy || copy.Width != frame.Width || copy.Height != frame.Height ||
        copy.Format != frame.Format) {
        m_copy.Reset();
        if (FAILED(device.CreateOffscreenPlainSurface(frame.Width, frame.Height, frame.Format,
                                                      D3DPOOL_SYSTEMMEM, &m_copy, nullptr)))
            return false;
    }
    return SUCCEEDED(device.GetRenderTargetData(backBuffer.Get(), m_copy.Get()));
}

bool GdiPresenter::Show(IDirect3DDevice9& device, HWND target) {
    RECT client;
    if (!GetClientRect(target, &client) || !CopyBackBuffer(device))
        return false;
    HDC source = nullptr;
    if (FAILED(m_copy->GetDC(&source)))
        return false;
    D3DSURFACE_DESC frame = {};
    m_copy->GetDesc(&frame);
    const int frameWidth = static_cast<int>(frame.Width);
    const int frameHeight = static_cast<int>(frame.Height);
    HDC screen = GetDC(target);
    BOOL copied = FALSE;
    if (screen != nullptr) {
        if (client.right == frameWidth && client.bottom == frameHeight) {
            copied = BitBlt(screen, 0, 0, frameWidth, frameHeight, source, 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(screen, COLORONCOLOR);
            copied = StretchBlt(screen, 0, 0, client.right, client.bottom, source, 0, 0, frameWidth,
                                frameHeight, SRCCOPY);
        }
        ReleaseDC(target, screen);
    }
    m_copy->ReleaseDC(source);
    return copied != FALSE;
}

void GdiPresenter::ReleaseDeviceObjects() {
    m_copy.Reset();
}

} // namespace KelUtility
