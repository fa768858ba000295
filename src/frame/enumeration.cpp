#include "frame/enumeration.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/d3d_values.h"
#include "frame/text.h"

QVL::DEVICE_SETTINGS g_DeviceSettings;

namespace QVL {

D3D_ADAPTER_INFO::D3D_ADAPTER_INFO()
    : ordinal(0), description{}, displayModes(AL_VALUE, sizeof(DISPLAY_MODE)), deviceInfos(AL_REFERENCE)
{
}

D3D_DEVICE_INFO::D3D_DEVICE_INFO() : ordinal(0), devType(0), caps{}, deviceCombos(AL_REFERENCE) {}

D3D_DEVICE_COMBO::D3D_DEVICE_COMBO()
    : ordinal(0), devType(0), adapterFormat(0), backBufferFormat(0), windowed(false),
      depthStencilFormats(AL_VALUE, sizeof(int32_t)), multiSampleTypes(AL_VALUE, sizeof(int32_t)),
      multiSampleQualities(AL_VALUE, sizeof(uint32_t)), conflicts(AL_VALUE, sizeof(DS_MS_CONFLICT)),
      vertexProcessingTypes(AL_VALUE, sizeof(int32_t)), presentIntervals(AL_VALUE, sizeof(uint32_t))
{
}

D3D_DEVICE_INFO::~D3D_DEVICE_INFO()
{
    for (uint32_t i = 0; i < deviceCombos.Count(); ++i) delete ArrayList_Ref<D3D_DEVICE_COMBO>(&deviceCombos, i);
}

D3D_ADAPTER_INFO::~D3D_ADAPTER_INFO()
{
    for (uint32_t i = 0; i < deviceInfos.Count(); ++i) delete ArrayList_Ref<D3D_DEVICE_INFO>(&deviceInfos, i);
}

D3D_ENUMERATION::D3D_ENUMERATION()
    : source(nullptr), adapterInfos(nullptr), confirmDevice(nullptr), minFullscreenWidth(640),
      minFullscreenHeight(480), minColorChannelBits(5), minAlphaChannelBits(0), minDepthBits(15),
      minStencilBits(0), usesDepthBuffer(false), usesMixedVP(false), requiresWindowed(false),
      requiresFullscreen(false), allowedAdapterFormats(nullptr)
{
}

D3D_ENUMERATION::~D3D_ENUMERATION()
{
    Enum_Free(*this);
}

void Enum_Free(D3D_ENUMERATION& e)
{
    if (e.adapterInfos) {
        for (uint32_t i = 0; i < e.adapterInfos->Count(); ++i) delete ArrayList_Ref<D3D_ADAPTER_INFO>(e.adapterInfos, i);
        delete e.adapterInfos;
        e.adapterInfos = nullptr;
    }
    delete e.allowedAdapterFormats;
    e.allowedAdapterFormats = nullptr;
}

uint32_t Enum_ColorChannelBits(int32_t f)
{
    switch (f) {
    case FMT_R8G8B8: case FMT_A8R8G8B8: case FMT_X8R8G8B8: return 8;
    case FMT_R5G6B5: case FMT_X1R5G5B5: case FMT_A1R5G5B5: return 5;
    case FMT_A4R4G4B4: case FMT_X4R4G4B4: return 4;
    case FMT_R3G3B2: case FMT_A8R3G3B2: return 2;
    case FMT_A2B10G10R10: case FMT_A2R10G10B10: return 10;
    default: return 0;
    }
}

uint32_t Enum_AlphaChannelBits(int32_t f)
{
    switch (f) {
    case FMT_A8R8G8B8: case FMT_A8R3G3B2: return 8;
    case FMT_A1R5G5B5: return 1;
    case FMT_A4R4G4B4: return 4;
    case FMT_A2B10G10R10: case FMT_A2R10G10B10: return 2;
    default: return 0;
    }
}

uint32_t Enum_DepthBits(int32_t f)
{
    switch (f) {
    case FMT_D32: return 32;
    case FMT_D15S1: return 15;
    case FMT_D24S8: case FMT_D24X8: case FMT_D24X4S4: return 24;
    case FMT_D16: return 16;
    default: return 0;
    }
}

uint32_t Enum_StencilBits(int32_t f)
{
    switch (f) {
    case FMT_D15S1: return 1;
    case FMT_D24S8: return 8;
    case FMT_D24X4S4: return 4;
    default: return 0;
    }
}

namespace {

const int32_t kAllowedAdapterFormats[] = {FMT_X8R8G8B8, FMT_X1R5G5B5, FMT_R5G6B5, FMT_A2R10G10B10};
const int32_t kBackBufferFormats[] = {FMT_A8R8G8B8, FMT_X8R8G8B8, FMT_A2R10G10B10, FMT_R5G6B5, FMT_A1R5G5B5, FMT_X1R5G5B5};
const int32_t kDeviceTypes[] = {DEVTYPE_HAL, DEVTYPE_SW, DEVTYPE_REF};

int CompareModes(const void* a, const void* b)
{
    const DISPLAY_MODE* x = static_cast<const DISPLAY_MODE*>(a);
    const DISPLAY_MODE* y = static_cast<const DISPLAY_MODE*>(b);
    if (x->width != y->width) return x->width > y->width ? 1 : -1;
    if (x->height != y->height) return x->height > y->height ? 1 : -1;
    if (x->format != y->format) return x->format > y->format ? 1 : -1;
    if (x->refreshRate != y->refreshRate) return x->refreshRate > y->refreshRate ? 1 : -1;
    return 0;
}

void BuildDepthStencilFormatList(D3D_ENUMERATION& e, D3D_DEVICE_COMBO* c)
{
    const int32_t candidates[] = {FMT_D24X8, FMT_D24S8, FMT_D24X4S4, FMT_D32};
    for (int32_t f : candidates) {
        if (Enum_DepthBits(f) < e.minDepthBits || Enum_StencilBits(f) < e.minStencilBits) continue;
        if (!e.source->CheckDepthStencilFormat(c->ordinal, c->devType, c->adapterFormat, f)) continue;
        if (!e.source->CheckDepthStencilMatch(c->ordinal, c->devType, c->adapterFormat, c->backBufferFormat, f)) continue;
        c->depthStencilFormats.Add(&f);
    }
    // Every device can do 16-bit depth; take it unchecked rather than lose the combo.
    if (c->depthStencilFormats.Count() == 0) {
        int32_t d16 = FMT_D16;
        c->depthStencilFormats.Add(&d16);
    }
}

void BuildMultiSampleTypeList(D3D_ENUMERATION& e, D3D_DEVICE_COMBO* c)
{
    for (int32_t type = 0; type <= 16; ++type) {
        uint32_t levels = 0;
        if (e.source->CheckMultiSample(c->ordinal, c->devType, c->backBufferFormat, c->windowed, type, &levels)) {
            c->multiSampleTypes.Add(&type);
            c->multiSampleQualities.Add(&levels);
        }
    }
}

void BuildConflictList(D3D_ENUMERATION& e, D3D_DEVICE_COMBO* c)
{
    for (uint32_t i = 0; i < c->depthStencilFormats.Count(); ++i) {
        int32_t ds = ArrayList_Value<int32_t>(&c->depthStencilFormats, i);
        for (uint32_t j = 0; j < c->multiSampleTypes.Count(); ++j) {
            int32_t ms = ArrayList_Value<int32_t>(&c->multiSampleTypes, j);
            if (!e.source->CheckMultiSample(c->ordinal, c->devType, ds, c->windowed, ms, nullptr)) {
                DS_MS_CONFLICT conflict = {ds, ms};
                c->conflicts.Add(&conflict);
            }
        }
    }
}

bool Allowed(D3D_ENUMERATION& e, const D3D_DEVICE_INFO* d, int32_t vp, const D3D_DEVICE_COMBO* c)
{
    return !e.confirmDevice || e.confirmDevice(d->caps, vp, c->adapterFormat, c->backBufferFormat);
}

void BuildVertexProcessingTypeList(D3D_ENUMERATION& e, D3D_DEVICE_INFO* d, D3D_DEVICE_COMBO* c)
{
    if (d->caps.devCaps & DEVCAPS_HWTRANSFORMANDLIGHT) {
        if ((d->caps.devCaps & DEVCAPS_PUREDEVICE) && Allowed(e, d, VP_PURE_HARDWARE, c)) {
            int32_t vp = VP_PURE_HARDWARE;
            c->vertexProcessingTypes.Add(&vp);
        }
        if (Allowed(e, d, VP_HARDWARE, c)) {
            int32_t vp = VP_HARDWARE;
            c->vertexProcessingTypes.Add(&vp);
        }
        if (e.usesMixedVP && Allowed(e, d, VP_MIXED, c)) {
            int32_t vp = VP_MIXED;
            c->vertexProcessingTypes.Add(&vp);
        }
    }
    if (Allowed(e, d, VP_SOFTWARE, c)) {
        int32_t vp = VP_SOFTWARE;
        c->vertexProcessingTypes.Add(&vp);
    }
}

void BuildPresentIntervalList(D3D_DEVICE_INFO* d, D3D_DEVICE_COMBO* c)
{
    const uint32_t candidates[] = {PRESENT_INTERVAL_IMMEDIATE, PRESENT_INTERVAL_DEFAULT, PRESENT_INTERVAL_ONE,
                                   PRESENT_INTERVAL_TWO, PRESENT_INTERVAL_THREE, PRESENT_INTERVAL_FOUR};
    for (uint32_t pi : candidates) {
        if (c->windowed && (pi == PRESENT_INTERVAL_TWO || pi == PRESENT_INTERVAL_THREE || pi == PRESENT_INTERVAL_FOUR))
            continue;
        if (pi == PRESENT_INTERVAL_DEFAULT || (d->caps.presentationIntervals & pi)) c->presentIntervals.Add(&pi);
    }
}

int32_t EnumerateDeviceCombos(D3D_ENUMERATION& e, D3D_DEVICE_INFO* d, ARRAY_LIST* adapterFormats)
{
    for (uint32_t i = 0; i < adapterFormats->Count(); ++i) {
        int32_t adapterFormat = ArrayList_Value<int32_t>(adapterFormats, i);
        for (int32_t bb : kBackBufferFormats) {
            if (Enum_AlphaChannelBits(bb) < e.minAlphaChannelBits) continue;
            for (int w = 0; w < 2; ++w) {
                bool windowed = w == 1;
                if (!windowed && e.requiresWindowed) continue;
                if (windowed && e.requiresFullscreen) continue;
                if (!e.source->CheckDeviceType(d->ordinal, d->devType, adapterFormat, bb, windowed)) continue;
                D3D_DEVICE_COMBO* c = new (std::nothrow) D3D_DEVICE_COMBO;
                if (!c) return HR_E_OUTOFMEMORY;
                c->ordinal = d->ordinal;
                c->devType = d->devType;
                c->adapterFormat = adapterFormat;
                c->backBufferFormat = bb;
                c->windowed = windowed;
                if (e.usesDepthBuffer) {
                    BuildDepthStencilFormatList(e, c);
                    if (c->depthStencilFormats.Count() == 0) { delete c; continue; }
                }
                BuildMultiSampleTypeList(e, c);
                if (c->multiSampleTypes.Count() == 0) { delete c; continue; }
                BuildConflictList(e, c);
                BuildVertexProcessingTypeList(e, d, c);
                if (c->vertexProcessingTypes.Count() == 0) { delete c; continue; }
                BuildPresentIntervalList(d, c);
                int32_t hr = d->deviceCombos.Add(c);
                if (HR_Failed(hr)) { delete c; return hr; }
            }
        }
    }
    return HR_OK;
}

int32_t EnumerateDevices(D3D_ENUMERATION& e, D3D_ADAPTER_INFO* a, ARRAY_LIST* adapterFormats)
{
    for (int32_t type : kDeviceTypes) {
        D3D_DEVICE_INFO* d = new (std::nothrow) D3D_DEVICE_INFO;
        if (!d) return HR_E_OUTOFMEMORY;
        d->ordinal = a->ordinal;
        d->devType = type;
        if (!e.source->DeviceCaps(a->ordinal, type, &d->caps)) { delete d; continue; }
        int32_t hr = EnumerateDeviceCombos(e, d, adapterFormats);
        if (HR_Failed(hr)) { delete d; return hr; }
        if (d->deviceCombos.Count() == 0) { delete d; continue; }
        hr = a->deviceInfos.Add(d);
        if (HR_Failed(hr)) { delete d; return hr; }
    }
    return HR_OK;
}

} // namespace

int32_t Enum_Enumerate(D3D_ENUMERATION& e)
{
    if (!e.source) return HR_E_FAIL;
    Enum_Free(e);
    e.adapterInfos = new (std::nothrow) ARRAY_LIST(AL_REFERENCE);
    e.allowedAdapterFormats = new (std::nothrow) ARRAY_LIST(AL_VALUE, sizeof(int32_t));
    if (!e.adapterInfos || !e.allowedAdapterFormats) return HR_E_OUTOFMEMORY;
    for (int32_t f : kAllowedAdapterFormats) {
        int32_t hr = e.allowedAdapterFormats->Add(&f);
        if (HR_Failed(hr)) return hr;
    }

    uint32_t adapters = e.source->AdapterCount();
    for (uint32_t ordinal = 0; ordinal < adapters; ++ordinal) {
        D3D_ADAPTER_INFO* a = new (std::nothrow) D3D_ADAPTER_INFO;
        if (!a) return HR_E_OUTOFMEMORY;
        a->ordinal = ordinal;
        if (!e.source->AdapterDescription(ordinal, a->description, sizeof a->description)) a->description[0] = 0;

        ARRAY_LIST adapterFormats(AL_VALUE, sizeof(int32_t));
        for (uint32_t i = 0; i < e.allowedAdapterFormats->Count(); ++i) {
            int32_t format = ArrayList_Value<int32_t>(e.allowedAdapterFormats, i);
            uint32_t modes = e.source->AdapterModeCount(ordinal, format);
            for (uint32_t m = 0; m < modes; ++m) {
                DISPLAY_MODE mode;
                if (!e.source->AdapterMode(ordinal, format, m, &mode)) continue;
                if (mode.width < e.minFullscreenWidth || mode.height < e.minFullscreenHeight ||
                    Enum_ColorChannelBits(mode.format) < e.minColorChannelBits)
                    continue;
                int32_t hr = a->displayModes.Add(&mode);
                if (HR_Failed(hr)) { delete a; return hr; }
                if (!adapterFormats.Contains(&mode.format)) {
                    hr = adapterFormats.Add(&mode.format);
                    if (HR_Failed(hr)) { delete a; return hr; }
                }
            }
        }
        if (a->displayModes.Count() > 1)
            std::qsort(a->displayModes.items, a->displayModes.Count(), sizeof(DISPLAY_MODE), CompareModes);

        int32_t hr = EnumerateDevices(e, a, &adapterFormats);
        if (HR_Failed(hr)) { delete a; return hr; }
        if (a->deviceInfos.Count() == 0) { delete a; continue; }
        hr = e.adapterInfos->Add(a);
        if (HR_Failed(hr)) { delete a; return hr; }
    }
    return HR_OK;
}

// ---- start-up choice -------------------------------------------------------------------------

// One side of the settings from the chosen combination: its first depth format, multisample type
// and vertex processing.
static void SetSide(const D3D_ENUMERATION& e, DEVICE_SETTINGS_SIDE& side, D3D_ADAPTER_INFO* adapter,
                    D3D_DEVICE_INFO* device, D3D_DEVICE_COMBO* combo, const DISPLAY_MODE& mode, uint32_t interval)
{
    side.adapterInfo = adapter;
    side.deviceInfo = device;
    side.deviceCombo = combo;
    side.displayMode = mode;
    if (e.usesDepthBuffer) side.depthStencilFormat = ArrayList_Value<int32_t>(&combo->depthStencilFormats, 0);
    side.multiSampleType = ArrayList_Value<int32_t>(&combo->multiSampleTypes, 0);
    side.multiSampleQuality = 0;
    side.vertexProcessingType = ArrayList_Value<int32_t>(&combo->vertexProcessingTypes, 0);
    side.presentInterval = interval;
}

bool App_FindBestWindowedMode(const D3D_ENUMERATION& e, bool requireHAL, bool requireREF,
                              int32_t clientWidth, int32_t clientHeight, DEVICE_SETTINGS* s)
{
    if (!e.source || !e.adapterInfos) return false;
    DISPLAY_MODE desktop;
    if (!e.source->AdapterDisplayMode(0, &desktop)) return false;

    D3D_ADAPTER_INFO* bestAdapter = nullptr;
    D3D_DEVICE_INFO* bestDevice = nullptr;
    D3D_DEVICE_COMBO* bestCombo = nullptr;
    for (uint32_t ia = 0; ia < e.adapterInfos->Count(); ++ia) {
        D3D_ADAPTER_INFO* a = ArrayList_Ref<D3D_ADAPTER_INFO>(e.adapterInfos, ia);
        for (uint32_t id = 0; id < a->deviceInfos.Count(); ++id) {
            D3D_DEVICE_INFO* d = ArrayList_Ref<D3D_DEVICE_INFO>(&a->deviceInfos, id);
            if (requireHAL && d->devType != DEVTYPE_HAL) continue;
            if (requireREF && d->devType != DEVTYPE_REF) continue;
            for (uint32_t ic = 0; ic < d->deviceCombos.Count(); ++ic) {
                D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&d->deviceCombos, ic);
                if (!c->windowed || c->adapterFormat != desktop.format) continue;
                bool matching = c->backBufferFormat == c->adapterFormat;
                bool hal = c->devType == DEVTYPE_HAL;
                if (!bestCombo || (bestCombo->devType != DEVTYPE_HAL && hal) || (hal && matching)) {
                    bestAdapter = a;
                    bestDevice = d;
                    bestCombo = c;
                    if (hal && matching) goto found;
                }
            }
        }
    }
found:
    if (!bestCombo) return false;
    SetSide(e, s->windowedSide, bestAdapter, bestDevice, bestCombo, desktop, PRESENT_INTERVAL_ONE);
    s->windowWidth = clientWidth;
    s->windowHeight = clientHeight;
    s->windowed = true;
    return true;
}

bool App_FindBestFullscreenMode(const D3D_ENUMERATION& e, bool requireHAL, bool requireREF, DEVICE_SETTINGS* s)
{
    if (!e.source || !e.adapterInfos) return false;
    DISPLAY_MODE bestDesktop = {};
    D3D_ADAPTER_INFO* bestAdapter = nullptr;
    D3D_DEVICE_INFO* bestDevice = nullptr;
    D3D_DEVICE_COMBO* bestCombo = nullptr;
    for (uint32_t ia = 0; ia < e.adapterInfos->Count(); ++ia) {
        D3D_ADAPTER_INFO* a = ArrayList_Ref<D3D_ADAPTER_INFO>(e.adapterInfos, ia);
        DISPLAY_MODE desktop;
        if (!e.source->AdapterDisplayMode(a->ordinal, &desktop)) continue;
        for (uint32_t id = 0; id < a->deviceInfos.Count(); ++id) {
            D3D_DEVICE_INFO* d = ArrayList_Ref<D3D_DEVICE_INFO>(&a->deviceInfos, id);
            if (requireHAL && d->devType != DEVTYPE_HAL) continue;
            if (requireREF && d->devType != DEVTYPE_REF) continue;
            for (uint32_t ic = 0; ic < d->deviceCombos.Count(); ++ic) {
                D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&d->deviceCombos, ic);
                if (c->windowed) continue;
                bool hal = c->devType == DEVTYPE_HAL;
                bool adapterMatchesDesktop = c->adapterFormat == desktop.format;
                bool adapterMatchesBackBuffer = c->backBufferFormat == c->adapterFormat;
                if (!bestCombo || (bestCombo->devType != DEVTYPE_HAL && hal) ||
                    (hal && adapterMatchesDesktop && bestCombo->adapterFormat != desktop.format) ||
                    (hal && adapterMatchesDesktop && adapterMatchesBackBuffer)) {
                    bestDesktop = desktop;
                    bestAdapter = a;
                    bestDevice = d;
                    bestCombo = c;
                    if (hal && adapterMatchesDesktop && adapterMatchesBackBuffer) goto found;
                }
            }
        }
    }
found:
    if (!bestCombo) return false;

    DISPLAY_MODE chosen = {};
    bool haveChoice = false;
    for (uint32_t i = 0; i < bestAdapter->displayModes.Count(); ++i) {
        DISPLAY_MODE m = ArrayList_Value<DISPLAY_MODE>(&bestAdapter->displayModes, i);
        if (m.format != bestCombo->adapterFormat) continue;
        if (m.width == bestDesktop.width && m.height == bestDesktop.height && m.refreshRate == bestDesktop.refreshRate) {
            chosen = m;
            haveChoice = true;
            break;
        }
        if (m.width == bestDesktop.width) {
            chosen = m;
            haveChoice = true;
        } else if (!haveChoice) {
            chosen = m;
            haveChoice = true;
        }
    }

    SetSide(e, s->fullscreenSide, bestAdapter, bestDevice, bestCombo, chosen, PRESENT_INTERVAL_DEFAULT);
    s->windowed = false;
    return true;
}

int32_t App_ChooseInitialSettings(const D3D_ENUMERATION& e, int32_t clientWidth, int32_t clientHeight, DEVICE_SETTINGS* s)
{
    bool fullscreen = App_FindBestFullscreenMode(e, false, false, s);
    // Second, so that a usable windowed mode leaves the settings windowed.
    bool windowed = App_FindBestWindowedMode(e, false, false, clientWidth, clientHeight, s);
    if (!windowed && fullscreen) s->windowed = false;
    if (!windowed && !fullscreen) return APPERR_NOCOMPATIBLEDEVICES;
    return HR_OK;
}

} // namespace QVL
