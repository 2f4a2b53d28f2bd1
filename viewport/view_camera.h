#pragma once

// The preview's free first-person camera: a position and three axes, turned by pending
// angles at the next rebuild of its view matrix, and the six planes of its view frustum.

#include <d3d9.h>
#include <d3dx9.h>

namespace KelUtility {

class ViewCamera {
public:
    ViewCamera();

    // Rebuilds the view when dirty, sets it on the device and recomputes the frustum from
    // the device's view and projection.
    void Apply();
    // True when the point lies on the inner side of all six frustum planes.
    bool IsInFrustum(float x, float y, float z) const;

    IDirect3DDevice9* device = nullptr; // not owned
    D3DXVECTOR3 position;
    D3DXVECTOR3 look;
    D3DXVECTOR3 right;
    D3DXVECTOR3 up;
    bool dirty = true;
    float pendingYaw = 0;
    float pendingPitch = 0;
    float pendingRoll = 0;
    float heading = 0; // chooses the axes of the collision rays
    D3DXMATRIX view;
    D3DXPLANE planes[6];

private:
    void RebuildView();
    void ComputeFrustum();
};

} // namespace KelUtility
