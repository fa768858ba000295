// The device catalogue's view of Direct3D 9.
#include <d3d9.h>

#include "frame/d3d_values.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"

using namespace QVL;

// The decision code works with plain numbers; they must be the platform's.
#define QV_SAME(a, b) static_assert((uint32_t)(a) == (uint32_t)(b), #a)
QV_SAME(FMT_X8R8G8B8, D3DFMT_X8R8G8B8);
QV_SAME(FMT_A2R10G10B10, D3DFMT_A2R10G10B10);
QV_SAME(FMT_D24X4S4, D3DFMT_D24X4S4);
QV_SAME(FMT_CxV8U8, D3DFMT_CxV8U8);
QV_SAME(FMT_DXT5, D3DFMT_DXT5);
QV_SAME(FMT_MULTI2_ARGB8, D3DFMT_MULTI2_ARGB8);
QV_SAME(FMT_A2W10V10U10, D3DFMT_A2W10V10U10);
QV_SAME(DEVTYPE_HAL, D3DDEVTYPE_HAL);
QV_SAME(DEVTYPE_REF, D3DDEVTYPE_REF);
QV_SAME(DEVTYPE_SW, D3DDEVTYPE_SW);
QV_SAME(PRESENT_INTERVAL_THREE, D3DPRESENT_INTERVAL_THREE);
QV_SAME(PRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_IMMEDIATE);
QV_SAME(DEVCAPS_HWTRANSFORMANDLIGHT, D3DDEVCAPS_HWTRANSFORMANDLIGHT);
QV_SAME(DEVCAPS_PUREDEVICE, D3DDEVCAPS_PUREDEVICE);
QV_SAME(PMISCCAPS_NULLREFERENCE, D3DPMISCCAPS_NULLREFERENCE);
QV_SAME(PTEXTURECAPS_ALPHAPALETTE, D3DPTEXTURECAPS_ALPHAPALETTE);
QV_SAME(CREATE_MULTITHREADED, D3DCREATE_MULTITHREADED);
QV_SAME(CREATE_MIXED_VP, D3DCREATE_MIXED_VERTEXPROCESSING);
QV_SAME(HR_DEVICELOST, D3DERR_DEVICELOST);
QV_SAME(HR_DEVICENOTRESET, D3DERR_DEVICENOTRESET);
QV_SAME(HR_OUTOFVIDEOMEMORY, D3DERR_OUTOFVIDEOMEMORY);
QV_SAME(HR_DRIVERINTERNALERROR, D3DERR_DRIVERINTERNALERROR);
QV_SAME(VS_VERSION(2, 0), D3DVS_VERSION(2, 0));
QV_SAME(PS_VERSION(3, 0), D3DPS_VERSION(3, 0));
#undef QV_SAME
static_assert(sizeof(DISPLAY_MODE) == sizeof(D3DDISPLAYMODE), "display mode");

void Enum_CapsFromD3D(const D3DCAPS9& in, ENUM_CAPS* out)
{
    out->devType = in.DeviceType;
    out->adapterOrdinal = in.AdapterOrdinal;
    out->devCaps = in.DevCaps;
    out->presentationIntervals = in.PresentationIntervals;
    out->primitiveMiscCaps = in.PrimitiveMiscCaps;
    out->textureCaps = in.TextureCaps;
    out->vertexShaderVersion = in.VertexShaderVersion;
    out->pixelShaderVersion = in.PixelShaderVersion;
    out->maxVertexBlendMatrices = in.MaxVertexBlendMatrices;
    out->maxVertexBlendMatrixIndex = in.MaxVertexBlendMatrixIndex;
    out->maxPrimitiveCount = in.MaxPrimitiveCount;
    out->maxVertexIndex = in.MaxVertexIndex;
}

namespace {

DISPLAY_MODE FromD3D(const D3DDISPLAYMODE& m)
{
    return DISPLAY_MODE{m.Width, m.Height, m.RefreshRate, (int32_t)m.Format};
}

struct D3D9_SOURCE : ENUM_SOURCE {
    IDirect3D9* d3d;
    explicit D3D9_SOURCE(IDirect3D9* d) : d3d(d) {}

    uint32_t AdapterCount() override { return d3d->GetAdapterCount(); }
    bool AdapterDescription(uint32_t adapter, char* out, int size) override
    {
        D3DADAPTER_IDENTIFIER9 id;
        if (FAILED(d3d->GetAdapterIdentifier(adapter, 0, &id))) return false;
        Str_CopyN(out, (size_t)size, id.Description);
        return true;
    }
    bool AdapterDisplayMode(uint32_t adapter, DISPLAY_MODE* out) override
    {
        D3DDISPLAYMODE m;
        if (FAILED(d3d->GetAdapterDisplayMode(adapter, &m))) return false;
        *out = FromD3D(m);
        return true;
    }
    uint32_t AdapterModeCount(uint32_t adapter, int32_t format) override
    {
        return d3d->GetAdapterModeCount(adapter, (D3DFORMAT)format);
    }
    bool AdapterMode(uint32_t adapter, int32_t format, uint32_t index, DISPLAY_MODE* out) override
    {
        D3DDISPLAYMODE m;
        if (FAILED(d3d->EnumAdapterModes(adapter, (D3DFORMAT)format, index, &m))) return false;
        *out = FromD3D(m);
        return true;
    }
    bool DeviceCaps(uint32_t adapter, int32_t devType, ENUM_CAPS* out) override
    {
        D3DCAPS9 caps;
        if (FAILED(d3d->GetDeviceCaps(adapter, (D3DDEVTYPE)devType, &caps))) return false;
        Enum_CapsFromD3D(caps, out);
        return true;
    }
    bool CheckDeviceType(uint32_t adapter, int32_t devType, int32_t adapterFormat, int32_t backBufferFormat, bool windowed) override
    {
        return SUCCEEDED(d3d->CheckDeviceType(adapter, (D3DDEVTYPE)devType, (D3DFORMAT)adapterFormat,
                                              (D3DFORMAT)backBufferFormat, windowed));
    }
    bool CheckDepthStencilFormat(uint32_t adapter, int32_t devType, int32_t adapterFormat, int32_t depthFormat) override
    {
        return SUCCEEDED(d3d->CheckDeviceFormat(adapter, (D3DDEVTYPE)devType, (D3DFORMAT)adapterFormat,
                                                D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, (D3DFORMAT)depthFormat));
    }
    bool CheckDepthStencilMatch(uint32_t adapter, int32_t devType, int32_t adapterFormat, int32_t backBufferFormat, int32_t depthFormat) override
    {
        return SUCCEEDED(d3d->CheckDepthStencilMatch(adapter, (D3DDEVTYPE)devType, (D3DFORMAT)adapterFormat,
                                                     (D3DFORMAT)backBufferFormat, (D3DFORMAT)depthFormat));
    }
    bool CheckMultiSample(uint32_t adapter, int32_t devType, int32_t format, bool windowed, int32_t type, uint32_t* qualityLevels) override
    {
        DWORD levels = 0;
        HRESULT hr = d3d->CheckDeviceMultiSampleType(adapter, (D3DDEVTYPE)devType, (D3DFORMAT)format, windowed,
                                                     (D3DMULTISAMPLE_TYPE)type, qualityLevels ? &levels : nullptr);
        if (qualityLevels) *qualityLevels = levels;
        return SUCCEEDED(hr);
    }
};

} // namespace

ENUM_SOURCE* Enum_D3D9Source(IDirect3D9* d3d)
{
    return new D3D9_SOURCE(d3d);
}
