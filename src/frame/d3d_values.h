// The Direct3D 9 values the frame's decisions work with, as plain numbers, so the decision code
// builds without the platform headers (frame/win32/enum_source.cpp checks them against d3d9.h).
#pragma once
#include <cstdint>

namespace QVL {

// HRESULT values.
const int32_t HR_OK = 0;
const int32_t HR_E_FAIL = (int32_t)0x80004005;
const int32_t HR_E_INVALIDARG = (int32_t)0x80070057;
const int32_t HR_E_OUTOFMEMORY = (int32_t)0x8007000E;
const int32_t HR_DEVICELOST = (int32_t)0x88760868;
const int32_t HR_DEVICENOTRESET = (int32_t)0x88760869;
const int32_t HR_OUTOFVIDEOMEMORY = (int32_t)0x8876017C;
const int32_t HR_DRIVERINTERNALERROR = (int32_t)0x88760827;
const int32_t HR_NOTAVAILABLE = (int32_t)0x8876086A;
inline bool HR_Failed(int32_t hr) { return hr < 0; }

// The frame's own error codes.
const int32_t APPERR_NODIRECT3D = (int32_t)0x82000001;
const int32_t APPERR_NOWINDOW = (int32_t)0x82000002;
const int32_t APPERR_NOCOMPATIBLEDEVICES = (int32_t)0x82000003;
const int32_t APPERR_NOWINDOWABLEDEVICES = (int32_t)0x82000004;
const int32_t APPERR_NOHARDWAREDEVICE = (int32_t)0x82000005;
const int32_t APPERR_HALNOTCOMPATIBLE = (int32_t)0x82000006;
const int32_t APPERR_NOWINDOWEDHAL = (int32_t)0x82000007;
const int32_t APPERR_NODESKTOPHAL = (int32_t)0x82000008;
const int32_t APPERR_NOHALTHISMODE = (int32_t)0x82000009;
const int32_t APPERR_NONZEROREFCOUNT = (int32_t)0x8200000A;
const int32_t APPERR_MEDIANOTFOUND = (int32_t)0x8200000B;
const int32_t APPERR_RESETFAILED = (int32_t)0x8200000C;
const int32_t APPERR_NULLREFDEVICE = (int32_t)0x8200000D;
const int32_t HR_FILENOTFOUND = (int32_t)0x80070002;

// D3DFORMAT.
enum : int32_t {
    FMT_UNKNOWN = 0,
    FMT_R8G8B8 = 20, FMT_A8R8G8B8 = 21, FMT_X8R8G8B8 = 22, FMT_R5G6B5 = 23, FMT_X1R5G5B5 = 24,
    FMT_A1R5G5B5 = 25, FMT_A4R4G4B4 = 26, FMT_R3G3B2 = 27, FMT_A8 = 28, FMT_A8R3G3B2 = 29,
    FMT_X4R4G4B4 = 30, FMT_A2B10G10R10 = 31, FMT_A8B8G8R8 = 32, FMT_X8B8G8R8 = 33, FMT_G16R16 = 34,
    FMT_A2R10G10B10 = 35, FMT_A16B16G16R16 = 36,
    FMT_A8P8 = 40, FMT_P8 = 41, FMT_L8 = 50, FMT_A8L8 = 51, FMT_A4L4 = 52,
    FMT_V8U8 = 60, FMT_L6V5U5 = 61, FMT_X8L8V8U8 = 62, FMT_Q8W8V8U8 = 63, FMT_V16U16 = 64,
    FMT_A2W10V10U10 = 67,
    FMT_D16_LOCKABLE = 70, FMT_D32 = 71, FMT_D15S1 = 73, FMT_D24S8 = 75, FMT_D24X8 = 77,
    FMT_D24X4S4 = 79, FMT_D16 = 80, FMT_L16 = 81,
    FMT_VERTEXDATA = 100, FMT_INDEX16 = 101, FMT_INDEX32 = 102, FMT_Q16W16V16U16 = 110,
    FMT_R16F = 111, FMT_G16R16F = 112, FMT_A16B16G16R16F = 113, FMT_R32F = 114, FMT_G32R32F = 115,
    FMT_A32B32G32R32F = 116, FMT_CxV8U8 = 117,
};
constexpr int32_t FourCC(char a, char b, char c, char d)
{
    return (int32_t)((uint32_t)(uint8_t)a | ((uint32_t)(uint8_t)b << 8) | ((uint32_t)(uint8_t)c << 16) |
                     ((uint32_t)(uint8_t)d << 24));
}
const int32_t FMT_MULTI2_ARGB8 = FourCC('M', 'E', 'T', '1');
const int32_t FMT_YUY2 = FourCC('Y', 'U', 'Y', '2');
const int32_t FMT_UYVY = FourCC('U', 'Y', 'V', 'Y');
const int32_t FMT_DXT1 = FourCC('D', 'X', 'T', '1');
const int32_t FMT_DXT2 = FourCC('D', 'X', 'T', '2');
const int32_t FMT_DXT3 = FourCC('D', 'X', 'T', '3');
const int32_t FMT_DXT4 = FourCC('D', 'X', 'T', '4');
const int32_t FMT_DXT5 = FourCC('D', 'X', 'T', '5');

// D3DDEVTYPE.
enum : int32_t { DEVTYPE_HAL = 1, DEVTYPE_REF = 2, DEVTYPE_SW = 3 };

// Vertex-processing types of the device settings.
enum : int32_t { VP_SOFTWARE = 0, VP_MIXED = 1, VP_HARDWARE = 2, VP_PURE_HARDWARE = 3 };

// D3DPRESENT_INTERVAL_*.
const uint32_t PRESENT_INTERVAL_DEFAULT = 0;
const uint32_t PRESENT_INTERVAL_ONE = 1;
const uint32_t PRESENT_INTERVAL_TWO = 2;
const uint32_t PRESENT_INTERVAL_THREE = 4;
const uint32_t PRESENT_INTERVAL_FOUR = 8;
const uint32_t PRESENT_INTERVAL_IMMEDIATE = 0x80000000u;

// D3DCREATE_* behaviour flags.
const uint32_t CREATE_MULTITHREADED = 0x4;
const uint32_t CREATE_PUREDEVICE = 0x10;
const uint32_t CREATE_SOFTWARE_VP = 0x20;
const uint32_t CREATE_HARDWARE_VP = 0x40;
const uint32_t CREATE_MIXED_VP = 0x80;

// Capability bits.
const uint32_t DEVCAPS_HWTRANSFORMANDLIGHT = 0x10000;
const uint32_t DEVCAPS_PUREDEVICE = 0x100000;
const uint32_t PMISCCAPS_NULLREFERENCE = 0x1000;
const uint32_t PTEXTURECAPS_ALPHA = 0x4;
const uint32_t PTEXTURECAPS_ALPHAPALETTE = 0x80;

// Shader versions as D3DVS_VERSION / D3DPS_VERSION encode them.
constexpr uint32_t VS_VERSION(uint32_t major, uint32_t minor) { return 0xFFFE0000u | (major << 8) | minor; }
constexpr uint32_t PS_VERSION(uint32_t major, uint32_t minor) { return 0xFFFF0000u | (major << 8) | minor; }

} // namespace QVL
