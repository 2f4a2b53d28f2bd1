#pragma once

// The vertex layouts the preview hands to the device: 24 bytes a vertex, position, colour
// and, when a texture is used, texture coordinates (see DeviceVertex).

#include <d3d9.h>

namespace KelUtility {

inline constexpr DWORD kColouredFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE;
inline constexpr DWORD kTexturedFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

inline constexpr D3DVERTEXELEMENT9 kVertexDeclaration[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 16, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

} // namespace KelUtility
