#include "viewport/view_camera.h"

#include <cmath>

namespace KelUtility {
namespace {

constexpr float kSkewTolerance = 0.01f;

D3DXVECTOR4 Column(const D3DXMATRIX& m, int column) {
    return D3DXVECTOR4(m(0, column), m(1, column), m(2, column), m(3, column));
}

D3DXPLANE Normalised(const D3DXVECTOR4& sum) {
    D3DXPLANE plane(sum.x, sum.y, sum.z, sum.w);
    D3DXPlaneNormalize(&plane, &plane);
    return plane;
}

} // namespace

ViewCamera::ViewCamera()
    : position(0, 0, 0), look(0, 0, 1), right(1, 0, 0), up(0, 1, 0) {
    D3DXMatrixIdentity(&view);
    for (D3DXPLANE& plane : planes)
        plane = D3DXPLANE(0, 0, 0, 0);
}

void ViewCamera::RebuildView() {
    D3DXMATRIX yaw;
    D3DXMATRIX pitch;
    D3DXMATRIX roll;
    D3DXMatrixRotationAxis(&yaw, &up, pendingYaw);
    D3DXMatrixRotationAxis(&pitch, &right, pendingPitch);
    D3DXMatrixRotationAxis(&roll, &look, pendingRoll);
    D3DXMATRIX turn = yaw * pitch;
    turn = roll * turn;
    D3DXVec3TransformCoord(&right, &right, &turn);
    D3DXVec3TransformCoord(&up, &up, &turn);
    D3DXVec3Cross(&look, &right, &up);
    if (std::fabs(D3DXVec3Dot(&right, &up)) > kSkewTolerance)
        D3DXVec3Cross(&up, &look, &right);
    D3DXVec3Normalize(&right, &right);
    D3DXVec3Normalize(&up, &up);
    D3DXVec3Normalize(&look, &look);
    view = D3DXMATRIX(right.x, up.x, look.x, 0, right.y, up.y, look.y, 0, right.z, up.z, look.z,
                      0, -D3DXVec3Dot(&right, &position), -D3DXVec3Dot(&up, &position),
                      -D3DXVec3Dot(&look, &position), 1);
}

// Each plane is the fourth column of view x projection plus or minus another column.
void ViewCamera::ComputeFrustum() {
    D3DXMATRIX viewMatrix;
    D3DXMATRIX projection;
    device->GetTransform(D3DTS_VIEW, &viewMatrix);
    device->GetTransform(D3DTS_PROJECTION, &projection);
    const D3DXMATRIX both = viewMatrix * projection;
    const D3DXVECTOR4 fourth = Column(both, 3);
    planes[0] = Normalised(fourth + Column(both, 2));
    planes[1] = Normalised(fourth - Column(both, 2));
    planes[2] = Normalised(fourth + Column(both, 0));
    planes[3] = Normalised(fourth - Column(both, 0));
    planes[4] = Normalised(fourth - Column(both, 1));
    planes[5] = Normalised(fourth + Column(both, 1));
}

void ViewCamera::Apply() {
    if (device == nullptr)
        return;
    if (dirty)
        RebuildView();
    device->SetTransform(D3DTS_VIEW, &view);
    ComputeFrustum();
    pendingYaw = pendingPitch = pendingRoll = 0;
    dirty = false;
}

bool ViewCamera::IsInFrustum(float x, float y, float z) const {
    for (const D3DXPLANE& plane : planes) {
        if (plane.a * x + plane.b * y + plane.c * z + plane.d < 0)
            return false;
    }
    return true;
}

} // namespace KelUtility
