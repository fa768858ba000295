#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/d3d_values.h"
#include "frame/enumeration.h"

using namespace QVL;

namespace {

// A made-up machine: adapters with modes and desktop modes, device types with capabilities, and
// answers to the format checks.
struct FAKE_DEVICE {
    int32_t devType;
    uint32_t devCaps;
    uint32_t intervals;
    std::vector<std::pair<int32_t, int32_t>> types;  // (adapter format, back-buffer format) accepted, both windowed and not
    std::vector<int32_t> depthFormats;               // accepted depth formats
    std::vector<int32_t> multiSamples;               // accepted multisample types (besides 0)
};
struct FAKE_ADAPTER {
    const char* description;
    DISPLAY_MODE desktop;
    std::vector<DISPLAY_MODE> modes;
    std::vector<FAKE_DEVICE> devices;
};

struct FAKE_SOURCE : ENUM_SOURCE {
    std::vector<FAKE_ADAPTER> adapters;
    bool windowedAllowed = true;

    const FAKE_DEVICE* Device(uint32_t a, int32_t t)
    {
        for (const FAKE_DEVICE& d : adapters[a].devices)
            if (d.devType == t) return &d;
        return nullptr;
    }
    uint32_t AdapterCount() override { return (uint32_t)adapters.size(); }
    bool AdapterDescription(uint32_t a, char* out, int size) override
    {
        std::strncpy(out, adapters[a].description, (size_t)size - 1);
        out[size - 1] = 0;
        return true;
    }
    bool AdapterDisplayMode(uint32_t a, DISPLAY_MODE* out) override
    {
        if (a >= adapters.size()) return false;
        *out = adapters[a].desktop;
        return true;
    }
    uint32_t AdapterModeCount(uint32_t a, int32_t f) override
    {
        uint32_t n = 0;
        for (const DISPLAY_MODE& m : adapters[a].modes) n += m.format == f;
        return n;
    }
    bool AdapterMode(uint32_t a, int32_t f, uint32_t index, DISPLAY_MODE* out) override
    {
        for (const DISPLAY_MODE& m : adapters[a].modes) {
            if (m.format != f) continue;
            if (index-- == 0) { *out = m; return true; }
        }
        return false;
    }
    bool DeviceCaps(uint32_t a, int32_t t, ENUM_CAPS* out) override
    {
        const FAKE_DEVICE* d = Device(a, t);
        if (!d) return false;
        *out = ENUM_CAPS{};
        out->devType = t;
        out->adapterOrdinal = a;
        out->devCaps = d->devCaps;
        out->presentationIntervals = d->intervals;
        return true;
    }
    bool CheckDeviceType(uint32_t a, int32_t t, int32_t af, int32_t bf, bool windowed) override
    {
        if (windowed && !windowedAllowed) return false;
        for (auto& p : Device(a, t)->types)
            if (p.first == af && p.second == bf) return true;
        return false;
    }
    bool CheckDepthStencilFormat(uint32_t a, int32_t t, int32_t, int32_t df) override
    {
        for (int32_t f : Device(a, t)->depthFormats)
            if (f == df) return true;
        return false;
    }
    bool CheckDepthStencilMatch(uint32_t, int32_t, int32_t, int32_t, int32_t) override { return true; }
    bool CheckMultiSample(uint32_t a, int32_t t, int32_t format, bool, int32_t type, uint32_t* levels) override
    {
        if (levels) *levels = type == 0 ? 1 : 2;
        if (type == 0) return true;
        // D16 cannot be multisampled: a conflict.
        if (format == FMT_D16) return false;
        for (int32_t m : Device(a, t)->multiSamples)
            if (m == type) return true;
        return false;
    }
};

const uint32_t kHwCaps = DEVCAPS_HWTRANSFORMANDLIGHT | DEVCAPS_PUREDEVICE;

FAKE_ADAPTER OneAdapter()
{
    FAKE_ADAPTER a;
    a.description = "Fake Adapter";
    a.desktop = {1920, 1080, 60, FMT_X8R8G8B8};
    a.modes = {{1920, 1080, 60, FMT_X8R8G8B8}, {800, 600, 75, FMT_X8R8G8B8}, {800, 600, 60, FMT_X8R8G8B8},
               {640, 400, 60, FMT_X8R8G8B8}, {1024, 768, 60, FMT_R5G6B5}};
    FAKE_DEVICE hal = {DEVTYPE_HAL, kHwCaps, PRESENT_INTERVAL_ONE | PRESENT_INTERVAL_TWO | PRESENT_INTERVAL_IMMEDIATE,
                       {{FMT_X8R8G8B8, FMT_X8R8G8B8}, {FMT_X8R8G8B8, FMT_A8R8G8B8}, {FMT_R5G6B5, FMT_R5G6B5}},
                       {FMT_D24S8, FMT_D16}, {4}};
    FAKE_DEVICE ref = {DEVTYPE_REF, 0, PRESENT_INTERVAL_ONE, {{FMT_X8R8G8B8, FMT_X8R8G8B8}}, {}, {}};
    a.devices = {hal, ref};
    return a;
}

D3D_DEVICE_COMBO* FindCombo(D3D_DEVICE_INFO* d, int32_t af, int32_t bf, bool windowed)
{
    for (uint32_t i = 0; i < d->deviceCombos.Count(); ++i) {
        D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&d->deviceCombos, i);
        if (c->adapterFormat == af && c->backBufferFormat == bf && c->windowed == windowed) return c;
    }
    return nullptr;
}

} // namespace

TEST(Enumeration, BuildsTheCatalogue)
{
    FAKE_SOURCE src;
    src.adapters = {OneAdapter()};
    D3D_ENUMERATION e;
    e.source = &src;
    e.usesDepthBuffer = true;
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    ASSERT_EQ(1u, e.adapterInfos->Count());
    D3D_ADAPTER_INFO* a = ArrayList_Ref<D3D_ADAPTER_INFO>(e.adapterInfos, 0);
    EXPECT_STREQ("Fake Adapter", a->description);

    // 640 x 400 is dropped; the rest sorted by width, height, format, refresh rate.
    ASSERT_EQ(4u, a->displayModes.Count());
    const uint32_t widths[] = {800, 800, 1024, 1920}, rates[] = {60, 75, 60, 60};
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(widths[i], ArrayList_Value<DISPLAY_MODE>(&a->displayModes, i).width);
        EXPECT_EQ(rates[i], ArrayList_Value<DISPLAY_MODE>(&a->displayModes, i).refreshRate);
    }

    // The SW type has no capabilities and is dropped; HAL then REF.
    ASSERT_EQ(2u, a->deviceInfos.Count());
    D3D_DEVICE_INFO* hal = ArrayList_Ref<D3D_DEVICE_INFO>(&a->deviceInfos, 0);
    D3D_DEVICE_INFO* ref = ArrayList_Ref<D3D_DEVICE_INFO>(&a->deviceInfos, 1);
    EXPECT_EQ(DEVTYPE_HAL, hal->devType);
    EXPECT_EQ(DEVTYPE_REF, ref->devType);
    EXPECT_EQ(6u, hal->deviceCombos.Count());  // three format pairs, full screen and windowed

    D3D_DEVICE_COMBO* win = FindCombo(hal, FMT_X8R8G8B8, FMT_X8R8G8B8, true);
    D3D_DEVICE_COMBO* full = FindCombo(hal, FMT_X8R8G8B8, FMT_X8R8G8B8, false);
    ASSERT_TRUE(win && full);
    // Candidates in order D24X8, D24S8, D24X4S4, D32: only D24S8 passes.
    ASSERT_EQ(1u, win->depthStencilFormats.Count());
    EXPECT_EQ(FMT_D24S8, ArrayList_Value<int32_t>(&win->depthStencilFormats, 0));
    ASSERT_EQ(2u, win->multiSampleTypes.Count());
    EXPECT_EQ(4, ArrayList_Value<int32_t>(&win->multiSampleTypes, 1));
    EXPECT_EQ(2u, ArrayList_Value<uint32_t>(&win->multiSampleQualities, 1));
    // Pure, hardware, software; mixed is not wanted.
    ASSERT_EQ(3u, win->vertexProcessingTypes.Count());
    EXPECT_EQ(VP_PURE_HARDWARE, ArrayList_Value<int32_t>(&win->vertexProcessingTypes, 0));
    EXPECT_EQ(VP_SOFTWARE, ArrayList_Value<int32_t>(&win->vertexProcessingTypes, 2));
    // A windowed combo never lists TWO, THREE or FOUR; DEFAULT is always there.
    std::vector<uint32_t> winPi, fullPi;
    for (uint32_t i = 0; i < win->presentIntervals.Count(); ++i) winPi.push_back(ArrayList_Value<uint32_t>(&win->presentIntervals, i));
    for (uint32_t i = 0; i < full->presentIntervals.Count(); ++i) fullPi.push_back(ArrayList_Value<uint32_t>(&full->presentIntervals, i));
    EXPECT_EQ((std::vector<uint32_t>{PRESENT_INTERVAL_IMMEDIATE, PRESENT_INTERVAL_DEFAULT, PRESENT_INTERVAL_ONE}), winPi);
    EXPECT_EQ((std::vector<uint32_t>{PRESENT_INTERVAL_IMMEDIATE, PRESENT_INTERVAL_DEFAULT, PRESENT_INTERVAL_ONE, PRESENT_INTERVAL_TWO}), fullPi);

    // The reference device offers no depth format: D16 is taken unchecked, and conflicts with 4 samples.
    D3D_DEVICE_COMBO* refCombo = FindCombo(ref, FMT_X8R8G8B8, FMT_X8R8G8B8, true);
    ASSERT_TRUE(refCombo);
    ASSERT_EQ(1u, refCombo->depthStencilFormats.Count());
    EXPECT_EQ(FMT_D16, ArrayList_Value<int32_t>(&refCombo->depthStencilFormats, 0));
    EXPECT_EQ(1u, refCombo->vertexProcessingTypes.Count());  // software only, no hardware T&L
}

TEST(Enumeration, SmallModesGiveNoFormatsAndNoDevices)
{
    FAKE_SOURCE src;
    src.adapters = {OneAdapter(), OneAdapter()};
    src.adapters[1].modes = {{640, 400, 60, FMT_X8R8G8B8}, {320, 240, 60, FMT_R5G6B5}};
    D3D_ENUMERATION e;
    e.source = &src;
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    EXPECT_EQ(1u, e.adapterInfos->Count());
    // Enumerating again replaces the catalogue.
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    EXPECT_EQ(1u, e.adapterInfos->Count());
    D3D_ENUMERATION none;
    EXPECT_EQ(HR_E_FAIL, Enum_Enumerate(none));
}

static bool RefuseSoftware(const ENUM_CAPS&, int32_t vp, int32_t, int32_t) { return vp != VP_SOFTWARE; }
static bool RefusePure(const ENUM_CAPS&, int32_t vp, int32_t, int32_t) { return vp != VP_PURE_HARDWARE; }

TEST(Enumeration, ConfirmCallbackFiltersVertexProcessing)
{
    FAKE_SOURCE src;
    src.adapters = {OneAdapter()};
    D3D_ENUMERATION e;
    e.source = &src;
    e.confirmDevice = RefuseSoftware;
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    // Without hardware T&L and with software refused, the reference device has no combos and goes.
    D3D_ADAPTER_INFO* a = ArrayList_Ref<D3D_ADAPTER_INFO>(e.adapterInfos, 0);
    ASSERT_EQ(1u, a->deviceInfos.Count());
    EXPECT_EQ(DEVTYPE_HAL, ArrayList_Ref<D3D_DEVICE_INFO>(&a->deviceInfos, 0)->devType);

    e.confirmDevice = RefusePure;
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    a = ArrayList_Ref<D3D_ADAPTER_INFO>(e.adapterInfos, 0);
    D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&ArrayList_Ref<D3D_DEVICE_INFO>(&a->deviceInfos, 0)->deviceCombos, 0);
    ASSERT_EQ(2u, c->vertexProcessingTypes.Count());
    EXPECT_EQ(VP_HARDWARE, ArrayList_Value<int32_t>(&c->vertexProcessingTypes, 0));
}

TEST(Enumeration, InitialSettingsPreferWindowedHalWithMatchingFormats)
{
    FAKE_SOURCE src;
    src.adapters = {OneAdapter()};
    D3D_ENUMERATION e;
    e.source = &src;
    e.usesDepthBuffer = true;
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    DEVICE_SETTINGS s = {};
    ASSERT_EQ(HR_OK, App_ChooseInitialSettings(e, 1264, 689, &s));
    EXPECT_TRUE(s.windowed);
    const DEVICE_SETTINGS_SIDE& w = s.windowedSide;
    EXPECT_EQ(DEVTYPE_HAL, w.deviceInfo->devType);
    EXPECT_EQ(FMT_X8R8G8B8, w.deviceCombo->backBufferFormat);  // not the A8R8G8B8 found first
    EXPECT_TRUE(w.deviceCombo->windowed);
    EXPECT_EQ(1920u, w.displayMode.width);
    EXPECT_EQ(1264, s.windowWidth);
    EXPECT_EQ(FMT_D24S8, w.depthStencilFormat);
    EXPECT_EQ(VP_PURE_HARDWARE, w.vertexProcessingType);
    EXPECT_EQ(PRESENT_INTERVAL_ONE, w.presentInterval);
    // The full-screen side was chosen too: the desktop mode of the matching format.
    const DEVICE_SETTINGS_SIDE& f = s.fullscreenSide;
    EXPECT_FALSE(f.deviceCombo->windowed);
    EXPECT_EQ(1920u, f.displayMode.width);
    EXPECT_EQ(60u, f.displayMode.refreshRate);
    EXPECT_EQ(PRESENT_INTERVAL_DEFAULT, f.presentInterval);

    // Requiring a reference device picks it.
    DEVICE_SETTINGS r = {};
    ASSERT_TRUE(App_FindBestWindowedMode(e, false, true, 100, 100, &r));
    EXPECT_EQ(DEVTYPE_REF, r.windowedSide.deviceInfo->devType);
}

TEST(Enumeration, FullscreenModeChoice)
{
    FAKE_SOURCE src;
    src.adapters = {OneAdapter()};
    // The desktop runs at 1920 wide with a rate no mode has: the last mode of that width wins.
    src.adapters[0].desktop = {1920, 1200, 59, FMT_X8R8G8B8};
    src.adapters[0].modes = {{1920, 1080, 60, FMT_X8R8G8B8}, {1920, 1200, 50, FMT_X8R8G8B8}, {800, 600, 60, FMT_X8R8G8B8}};
    src.windowedAllowed = false;
    D3D_ENUMERATION e;
    e.source = &src;
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    DEVICE_SETTINGS s = {};
    ASSERT_EQ(HR_OK, App_ChooseInitialSettings(e, 100, 100, &s));
    EXPECT_FALSE(s.windowed);  // no windowed combo: full screen
    EXPECT_EQ(1200u, s.fullscreenSide.displayMode.height);
    EXPECT_EQ(50u, s.fullscreenSide.displayMode.refreshRate);

    // Without any combo there is nothing to choose.
    src.adapters[0].devices[0].types.clear();
    src.adapters[0].devices[1].types.clear();
    ASSERT_EQ(HR_OK, Enum_Enumerate(e));
    EXPECT_EQ(APPERR_NOCOMPATIBLEDEVICES, App_ChooseInitialSettings(e, 100, 100, &s));
}
