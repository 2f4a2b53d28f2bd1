#pragma once

// Shows the frames of a Direct3D 9 device in a window through GDI, for platforms whose own
// present does not reach a child window's pixels on screen (Wine on an X display). The
// device then draws for a hidden top-level window that this presenter owns, and every
// frame's back buffer is copied into the target window's client area.

#include <d3d9.h>
#include <wrl/client.h>

namespace KelUtility {

class GdiPresenter {
public:
    GdiPresenter() = default;
    ~GdiPresenter();
    GdiPresenter(const GdiPresenter&) = delete;
    GdiPresenter& operator=(const GdiPresenter&) = delete;

    // True where the device's own present cannot be trusted to reach the screen: under Wine,
    // told by ntdll exporting wine_get_version.
    static bool Needed();

    // The hidden window to create a device on, with a client area of width x height (at
    // least one pixel each); none when it cannot be made.
    HWND DeviceWindow(int width, int height);
    // Copies the device's back buffer onto the client area of `target`, stretched to it as
    // a present without rectangles would. False when nothing could be copied.
    bool Show(IDirect3DDevice9& device, HWND target);
    // Releases what this presenter holds on the device; called before the device goes.
    void ReleaseDeviceObjects();

private:
    bool CopyBackBuffer(IDirect3DDevice9& device);

    HWND m_window = nullptr;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> m_copy; // system memory, the back buffer's size
};

} // namespace KelUtility
