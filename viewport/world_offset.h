#pragma once

// Moves what is drawn next by an offset in world space, for as long as it lives: the
// device's world transform becomes the current one followed by the offset, and is put
// back when the offset goes.

#include <d3d9.h>
#include <d3dx9.h>

namespace KelUtility {

class WorldOffset {
public:
    WorldOffset(IDirect3DDevice9& device, double x, double y, double z) : m_device(device) {
        m_device.GetTransform(D3DTS_WORLD, &m_saved);
        D3DXMATRIX offset;
        D3DXMatrixTranslation(&offset, static_cast<float>(x), static_cast<float>(y),
                              static_cast<float>(z));
        placed = m_saved * offset;
        m_device.SetTransform(D3DTS_WORLD, &placed);
    }
    ~WorldOffset() { m_device.SetTransform(D3DTS_WORLD, &m_saved); }
    WorldOffset(const WorldOffset&) = delete;
    WorldOffset& operator=(const WorldOffset&) = delete;

    D3DXMATRIX placed; // the world transform in force

private:
    IDirect3DDevice9& m_device;
    D3DXMATRIX m_saved;
};

} // namespace KelUtility
