// The camera, the projection and the toon lookup on the device.
#include <windows.h>
#include <d3d9.h>

#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "render/camera.h"

using QVL::MATRIX;
using QVL::VEC3;

static_assert(sizeof(MATRIX) == sizeof(D3DMATRIX), "a MATRIX is handed to the device as it is");

void Render_ApplyCamera()
{
    if (!g_Device) return;
    MATRIX view;
    Camera_LookAtLH(&view, g_Scene.eye, g_Scene.lookAt, g_Scene.up);
    g_Device->SetTransform(D3DTS_VIEW, (const D3DMATRIX*)&view);
}

VEC3* Render_ProjectToScreen(VEC3* out, float x, float y, float z)
{
    *out = VEC3{0.0f, 0.0f, 0.0f};
    if (!g_Device) return out;
    MATRIX world, view, proj;
    Math_MatrixIdentity(&world);
    g_Device->SetTransform(D3DTS_WORLD, (const D3DMATRIX*)&world);
    D3DVIEWPORT9 vp;
    g_Device->GetViewport(&vp);
    g_Device->GetTransform(D3DTS_VIEW, (D3DMATRIX*)&view);
    g_Device->GetTransform(D3DTS_PROJECTION, (D3DMATRIX*)&proj);
    MATRIX m;
    Math_MatrixMultiply(&m, world, view);
    Math_MatrixMultiply(&m, m, proj);
    *out = Camera_ProjectPoint(m, (float)vp.Width, (float)vp.Height, x, y, z);
    return out;
}

void Light_Enable(uint8_t on)
{
    if (g_Device) g_Device->SetRenderState(D3DRS_LIGHTING, on ? TRUE : FALSE);
}

void Render_SetupToonLookup()
{
    if (!g_Device) return;
    MATRIX t;
    Toon_LookupMatrix(&t, g_LightPos);
    g_Device->SetTransform(D3DTS_TEXTURE1, (const D3DMATRIX*)&t);
    g_Device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACENORMAL);
    g_Device->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
}
