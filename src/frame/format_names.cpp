#include "frame/format_names.h"

#include "frame/d3d_values.h"

using namespace QVL;

namespace {

struct FORMAT_NAME {
    int32_t format;
    const char* name;
};

#define QV_FMT(x) {FMT_##x, "D3DFMT_" #x}
const FORMAT_NAME kFormatNames[] = {
    QV_FMT(UNKNOWN), QV_FMT(R8G8B8), QV_FMT(A8R8G8B8), QV_FMT(X8R8G8B8), QV_FMT(R5G6B5),
    QV_FMT(X1R5G5B5), QV_FMT(A1R5G5B5), QV_FMT(A4R4G4B4), QV_FMT(R3G3B2), QV_FMT(A8),
    QV_FMT(A8R3G3B2), QV_FMT(X4R4G4B4), QV_FMT(A2B10G10R10), QV_FMT(A8B8G8R8), QV_FMT(X8B8G8R8),
    QV_FMT(G16R16), QV_FMT(A2R10G10B10), QV_FMT(A16B16G16R16), QV_FMT(A8P8), QV_FMT(P8),
    QV_FMT(L8), QV_FMT(A8L8), QV_FMT(A4L4), QV_FMT(V8U8), QV_FMT(L6V5U5), QV_FMT(X8L8V8U8),
    QV_FMT(Q8W8V8U8), QV_FMT(V16U16), QV_FMT(A2W10V10U10), QV_FMT(D16_LOCKABLE), QV_FMT(D32),
    QV_FMT(D15S1), QV_FMT(D24S8), QV_FMT(D24X8), QV_FMT(D24X4S4), QV_FMT(D16), QV_FMT(L16),
    QV_FMT(VERTEXDATA), QV_FMT(INDEX16), QV_FMT(INDEX32), QV_FMT(Q16W16V16U16), QV_FMT(R16F),
    QV_FMT(G16R16F), QV_FMT(A16B16G16R16F), QV_FMT(R32F), QV_FMT(G32R32F), QV_FMT(A32B32G32R32F),
    QV_FMT(CxV8U8),
    {FMT_MULTI2_ARGB8, "D3DFMT_MULTI2_ARGB8"}, {FMT_YUY2, "D3DFMT_YUY2"}, {FMT_UYVY, "D3DFMT_UYVY"},
    {FMT_DXT1, "D3DFMT_DXT1"}, {FMT_DXT2, "D3DFMT_DXT2"}, {FMT_DXT3, "D3DFMT_DXT3"},
    {FMT_DXT4, "D3DFMT_DXT4"}, {FMT_DXT5, "D3DFMT_DXT5"},
};
#undef QV_FMT

const char* const kMultiSampleNames[17] = {
    "D3DMULTISAMPLE_NONE", "D3DMULTISAMPLE_NONMASKABLE", "D3DMULTISAMPLE_2_SAMPLES",
    "D3DMULTISAMPLE_3_SAMPLES", "D3DMULTISAMPLE_4_SAMPLES", "D3DMULTISAMPLE_5_SAMPLES",
    "D3DMULTISAMPLE_6_SAMPLES", "D3DMULTISAMPLE_7_SAMPLES", "D3DMULTISAMPLE_8_SAMPLES",
    "D3DMULTISAMPLE_9_SAMPLES", "D3DMULTISAMPLE_10_SAMPLES", "D3DMULTISAMPLE_11_SAMPLES",
    "D3DMULTISAMPLE_12_SAMPLES", "D3DMULTISAMPLE_13_SAMPLES", "D3DMULTISAMPLE_14_SAMPLES",
    "D3DMULTISAMPLE_15_SAMPLES", "D3DMULTISAMPLE_16_SAMPLES",
};

} // namespace

const char* App_FormatName(int32_t format, bool withPrefix)
{
    for (const FORMAT_NAME& f : kFormatNames) {
        if (f.format == format) return withPrefix ? f.name : f.name + 7;  // past "D3DFMT_"
    }
    return "Unknown format";
}

const char* Enum_DeviceTypeName(int32_t devType)
{
    switch (devType) {
    case DEVTYPE_HAL: return "D3DDEVTYPE_HAL";
    case DEVTYPE_REF: return "D3DDEVTYPE_REF";
    case DEVTYPE_SW: return "D3DDEVTYPE_SW";
    default: return "Unknown devType";
    }
}

const char* Enum_MultiSampleTypeName(int32_t type)
{
    if (type < 0 || type > 16) return "Unknown Multisample Type";
    return kMultiSampleNames[type];
}

const char* Enum_VertexProcessingTypeName(int32_t type)
{
    switch (type) {
    case VP_SOFTWARE: return "SOFTWARE_VP";
    case VP_MIXED: return "MIXED_VP";
    case VP_HARDWARE: return "HARDWARE_VP";
    case VP_PURE_HARDWARE: return "PURE_HARDWARE_VP";
    default: return "Unknown VertexProcessingType";
    }
}

const char* Enum_PresentIntervalName(uint32_t interval)
{
    switch (interval) {
    case PRESENT_INTERVAL_IMMEDIATE: return "D3DPRESENT_INTERVAL_IMMEDIATE";
    case PRESENT_INTERVAL_DEFAULT: return "D3DPRESENT_INTERVAL_DEFAULT";
    case PRESENT_INTERVAL_ONE: return "D3DPRESENT_INTERVAL_ONE";
    case PRESENT_INTERVAL_TWO: return "D3DPRESENT_INTERVAL_TWO";
    case PRESENT_INTERVAL_THREE: return "D3DPRESENT_INTERVAL_THREE";
    case PRESENT_INTERVAL_FOUR: return "D3DPRESENT_INTERVAL_FOUR";
    default: return "Unknown PresentInterval";
    }
}
