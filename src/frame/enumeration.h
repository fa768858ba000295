// The device catalogue: every adapter, device type and format combination Direct3D 9 offers that
// the program can use, built once by App_Create, and the choice of the start-up device settings.
// Direct3D is reached through ENUM_SOURCE, so the choices are tested natively with made-up devices.
#pragma once
#include <cstdint>

#include "frame/array_list.h"

namespace QVL {

// D3DDISPLAYMODE.
struct DISPLAY_MODE {
    uint32_t width;
    uint32_t height;
    uint32_t refreshRate;
    int32_t format;
};

// The capabilities the frame reads from D3DCAPS9.
struct ENUM_CAPS {
    int32_t devType;
    uint32_t adapterOrdinal;
    uint32_t devCaps;
    uint32_t presentationIntervals;
    uint32_t primitiveMiscCaps;
    uint32_t textureCaps;
    uint32_t vertexShaderVersion;
    uint32_t pixelShaderVersion;
    uint32_t maxVertexBlendMatrices;
    uint32_t maxVertexBlendMatrixIndex;
    uint32_t maxPrimitiveCount;
    uint32_t maxVertexIndex;
};

// What enumeration asks of Direct3D (IDirect3D9 in the studio).
struct ENUM_SOURCE {
    virtual ~ENUM_SOURCE() {}
    virtual uint32_t AdapterCount() = 0;
    virtual bool AdapterDescription(uint32_t adapter, char* out, int size) = 0;
    virtual bool AdapterDisplayMode(uint32_t adapter, DISPLAY_MODE* out) = 0;
    virtual uint32_t AdapterModeCount(uint32_t adapter, int32_t format) = 0;
    virtual bool AdapterMode(uint32_t adapter, int32_t format, uint32_t index, DISPLAY_MODE* out) = 0;
    virtual bool DeviceCaps(uint32_t adapter, int32_t devType, ENUM_CAPS* out) = 0;
    virtual bool CheckDeviceType(uint32_t adapter, int32_t devType, int32_t adapterFormat, int32_t backBufferFormat, bool windowed) = 0;
    // CheckDeviceFormat with D3DUSAGE_DEPTHSTENCIL on a surface.
    virtual bool CheckDepthStencilFormat(uint32_t adapter, int32_t devType, int32_t adapterFormat, int32_t depthFormat) = 0;
    virtual bool CheckDepthStencilMatch(uint32_t adapter, int32_t devType, int32_t adapterFormat, int32_t backBufferFormat, int32_t depthFormat) = 0;
    virtual bool CheckMultiSample(uint32_t adapter, int32_t devType, int32_t format, bool windowed, int32_t type, uint32_t* qualityLevels) = 0;
};

// Asked for every vertex-processing type of a combo: may the program use it?
typedef bool (*CONFIRM_DEVICE_FN)(const ENUM_CAPS& caps, int32_t vpType, int32_t adapterFormat, int32_t backBufferFormat);

struct D3D_ADAPTER_INFO {
    uint32_t ordinal;
    char description[512];
    ARRAY_LIST displayModes;   // DISPLAY_MODE values
    ARRAY_LIST deviceInfos;    // D3D_DEVICE_INFO references
    D3D_ADAPTER_INFO();
    ~D3D_ADAPTER_INFO();
};

struct D3D_DEVICE_INFO {
    uint32_t ordinal;
    int32_t devType;
    ENUM_CAPS caps;
    ARRAY_LIST deviceCombos;   // D3D_DEVICE_COMBO references
    D3D_DEVICE_INFO();
    ~D3D_DEVICE_INFO();
};

struct DS_MS_CONFLICT {
    int32_t depthStencilFormat;
    int32_t multiSampleType;
};

struct D3D_DEVICE_COMBO {
    uint32_t ordinal;
    int32_t devType;
    int32_t adapterFormat;
    int32_t backBufferFormat;
    bool windowed;
    ARRAY_LIST depthStencilFormats;     // int32
    ARRAY_LIST multiSampleTypes;        // int32
    ARRAY_LIST multiSampleQualities;    // uint32, parallel to the types
    ARRAY_LIST conflicts;               // DS_MS_CONFLICT
    ARRAY_LIST vertexProcessingTypes;   // int32
    ARRAY_LIST presentIntervals;        // uint32
    D3D_DEVICE_COMBO();
};

struct D3D_ENUMERATION {
    ENUM_SOURCE* source;
    ARRAY_LIST* adapterInfos;           // D3D_ADAPTER_INFO references
    CONFIRM_DEVICE_FN confirmDevice;
    uint32_t minFullscreenWidth;
    uint32_t minFullscreenHeight;
    uint32_t minColorChannelBits;
    uint32_t minAlphaChannelBits;
    uint32_t minDepthBits;
    uint32_t minStencilBits;
    bool usesDepthBuffer;
    bool usesMixedVP;
    bool requiresWindowed;
    bool requiresFullscreen;
    ARRAY_LIST* allowedAdapterFormats;  // int32

    D3D_ENUMERATION();
    ~D3D_ENUMERATION();
};

// One side (windowed or full screen) of the device settings.
struct DEVICE_SETTINGS_SIDE {
    D3D_ADAPTER_INFO* adapterInfo;
    D3D_DEVICE_INFO* deviceInfo;
    D3D_DEVICE_COMBO* deviceCombo;
    DISPLAY_MODE displayMode;
    int32_t depthStencilFormat;
    int32_t multiSampleType;
    uint32_t multiSampleQuality;
    int32_t vertexProcessingType;
    uint32_t presentInterval;
};

struct DEVICE_SETTINGS {
    bool windowed;
    DEVICE_SETTINGS_SIDE windowedSide;
    int32_t windowWidth;
    int32_t windowHeight;
    DEVICE_SETTINGS_SIDE fullscreenSide;

    DEVICE_SETTINGS_SIDE& Current() { return windowed ? windowedSide : fullscreenSide; }
};

// Format properties used by the enumeration (0 for formats not in its table).
uint32_t Enum_ColorChannelBits(int32_t format);
uint32_t Enum_AlphaChannelBits(int32_t format);
uint32_t Enum_DepthBits(int32_t format);
uint32_t Enum_StencilBits(int32_t format);

// Builds the catalogue: E_FAIL without a source, E_OUTOFMEMORY when a list cannot grow.
int32_t Enum_Enumerate(D3D_ENUMERATION& e);
// Frees the catalogue (also done by the destructor).
void Enum_Free(D3D_ENUMERATION& e);

// Start-up choices over the catalogue; the source gives the desktop display modes.
bool App_FindBestWindowedMode(const D3D_ENUMERATION& e, bool requireHAL, bool requireREF,
                              int32_t clientWidth, int32_t clientHeight, DEVICE_SETTINGS* s);
bool App_FindBestFullscreenMode(const D3D_ENUMERATION& e, bool requireHAL, bool requireREF, DEVICE_SETTINGS* s);
// 0, or APPERR_NOCOMPATIBLEDEVICES when neither side finds a device.
int32_t App_ChooseInitialSettings(const D3D_ENUMERATION& e, int32_t clientWidth, int32_t clientHeight, DEVICE_SETTINGS* s);

} // namespace QVL

extern QVL::D3D_ENUMERATION g_Enumeration;
extern QVL::DEVICE_SETTINGS g_DeviceSettings;
