#include "frame/frame.h"

#include <cstring>

#include "frame/d3d_values.h"
#include "frame/format_names.h"
#include "frame/mode_ids.h"
#include "frame/text.h"
#include "frame/tick_services.h"
#include "frame/timer.h"

QVL::FRAME_STATE g_Frame = {
    true, false, false, false, false, false, true, false, true, false, 0, "D3D9 Application",
};

namespace QVL {

void Frame_ResetState(FRAME_STATE& f)
{
    bool fatalShown = f.fatalShown;
    std::memset(&f, 0, sizeof f);
    f.windowed = true;
    f.frameMoving = true;
    f.clipCursorWhenFullscreen = true;
    f.title = "D3D9 Application";
    // Once the user has seen a fatal message, a restart must not show another.
    f.fatalShown = fatalShown;
}

int32_t Frame_AspectHeight(int32_t width, int32_t layoutFlag, int32_t osClass)
{
    int32_t h = layoutFlag == 1 ? (int32_t)((float)(width + 6) * 0.75f + 44.0f)
                                : (int32_t)((float)(width + 6) * 0.5625f + 46.0f);
    if (osClass < 5) h -= 8;
    else if (osClass == 5) h += 1;
    return h;
}

int32_t Frame_OsClass(uint32_t platformId, uint32_t major, uint32_t minor)
{
    switch (platformId) {
    case 0: return 1;   // VER_PLATFORM_WIN32s
    case 1: return 2;   // VER_PLATFORM_WIN32_WINDOWS
    case 2:             // VER_PLATFORM_WIN32_NT
        if (major > 5) return 6;
        if (major == 5) return minor != 0 ? 5 : 4;
        return 3;
    default: return 0;
    }
}

int32_t Frame_MouseCoord(uint32_t half)
{
    int32_t v = (int32_t)(half & 0xFFFF);
    return v > 10000 ? v - 65535 : v;
}

const char* const kRefSwitchText =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
    "Direct3D feature set, but runs very slowly.";

const char* Frame_ErrorText(int32_t code)
{
    switch (code) {
    case APPERR_NODIRECT3D:
        return "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
               "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
               "was compiled with header files that match\nthe installed DirectX DLLs.";
    case APPERR_NOCOMPATIBLEDEVICES:
        return "ビデオカードが、DirectX 9 に対応していない可能性があります。\n"
               "使用できる Direct3D デバイスが、見つかりませんでした。";
    case APPERR_NOWINDOWABLEDEVICES:
        return "This sample cannot run in a desktop\nwindow with the current display settings.\n"
               "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\nsample.";
    case APPERR_NOHARDWAREDEVICE:
        return "No hardware-accelerated Direct3D devices\nwere found.";
    case APPERR_HALNOTCOMPATIBLE:
        return "This sample requires functionality that is\nnot available on your Direct3D hardware\naccelerator.";
    case APPERR_NOWINDOWEDHAL:
        return "Your Direct3D hardware accelerator cannot\nrender into a window.\n"
               "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case APPERR_NODESKTOPHAL:
        return "Your Direct3D hardware accelerator cannot\nrender into a window with the current\n"
               "desktop display settings.\nPress F2 while the app is running to see a\n"
               "list of available devices and modes.";
    case APPERR_NOHALTHISMODE:
        return "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
               "accelerator with the current desktop display\nsettings.\n"
               "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case APPERR_NONZEROREFCOUNT:
        return "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned up).";
    case APPERR_MEDIANOTFOUND:
    case HR_FILENOTFOUND:
        return "Could not load required media.";
    case APPERR_RESETFAILED:
        return "Could not reset the Direct3D device.";
    case APPERR_NULLREFDEVICE:
        return "ビデオカードが、DirectX 9 に対応していない可能性があります。\nD3DAPPERR_NULLREFDEVICE";
    case HR_OUTOFVIDEOMEMORY:
        return "Not enough video memory.";
    case HR_E_OUTOFMEMORY:
        return "Not enough memory.";
    case HR_DRIVERINTERNALERROR:
        return "A serious problem occured inside the display driver.";
    default:
        return "Generic application error. Enable\ndebug output for detailed information.";
    }
}

void Frame_FormatDeviceStats(char out[90], int32_t devType, uint32_t behaviour, const char* adapterDescription)
{
    const char* type = devType == DEVTYPE_HAL ? "HAL" : devType == DEVTYPE_REF ? "REF" : "SW";
    bool hal = devType == DEVTYPE_HAL;
    const char* vp;
    if ((behaviour & CREATE_HARDWARE_VP) && (behaviour & CREATE_PUREDEVICE))
        vp = hal ? " (pure hw vp)" : " (simulated pure hw vp)";
    else if (behaviour & CREATE_HARDWARE_VP)
        vp = hal ? " (hw vp)" : " (simulated hw vp)";
    else if (behaviour & CREATE_MIXED_VP)
        vp = hal ? " (mixed vp)" : " (simulated mixed vp)";
    else
        vp = " (sw vp)";
    if (hal)
        Str_Format(out, 90, "%s%s: %s", type, vp, adapterDescription ? adapterDescription : "");
    else
        Str_Format(out, 90, "%s%s", type, vp);
}

void Frame_FormatFrameStats(char out[90], float fps, uint32_t width, uint32_t height, int32_t backFormat,
                            int32_t displayFormat, bool usesDepth, int32_t depthFormat, int32_t multiSampleType)
{
    char formats[64];
    if (backFormat == displayFormat)
        Str_CopyN(formats, sizeof formats, App_FormatName(backFormat, false));
    else
        Str_Format(formats, sizeof formats, "backbuf %s, adapter %s", App_FormatName(backFormat, false),
                   App_FormatName(displayFormat, false));
    char depth[32] = "";
    if (usesDepth) Str_Format(depth, sizeof depth, " (%s)", App_FormatName(depthFormat, false));
    char multi[32] = "";
    if (multiSampleType == 1)
        Str_CopyN(multi, sizeof multi, " (Nonmaskable Multisample)");
    else if (multiSampleType >= 2 && multiSampleType <= 16)
        Str_Format(multi, sizeof multi, " (%dx Multisample)", multiSampleType);
    Str_Format(out, 90, "%.02f fps (%dx%d), %s%s%s", fps, (int)width, (int)height, formats, depth, multi);
}

int16_t Lib_ChipClass(uint32_t maxVertexBlendMatrices, uint32_t vs, bool referenceDevice, bool* antiAliasRequest)
{
    int16_t chip = 0;
    bool aa = false;
    if (maxVertexBlendMatrices != 0) {
        chip = 1;
        if (vs >= VS_VERSION(1, 0)) { chip = 3; aa = true; }
        if (vs >= VS_VERSION(2, 0)) chip = 5;
        if (vs >= VS_VERSION(3, 0)) chip = 6;
        if (vs >= VS_VERSION(4, 0)) chip = 8;
    }
    // The reference rasterizer reports everything but runs nothing fast: treat it as the weakest chip.
    if (referenceDevice) {
        chip = 0;
        aa = false;
    }
    if (antiAliasRequest) *antiAliasRequest = aa;
    return chip;
}

int16_t Lib_ShaderMajor(uint32_t version)
{
    uint32_t major = (version >> 8) & 0xFF;
    uint32_t minor = version & 0xFF;
    if (major == 0 && minor == 0) return 0;
    return (int16_t)(major > 4 ? 4 : major);
}

int Frame_Pause(FRAME_STATE& f, bool pause)
{
    f.pauseCount += pause ? 1 : -1;
    f.active = f.pauseCount == 0;
    if (pause && f.pauseCount == 1 && f.frameMoving) return TIMER_STOP;
    if (f.pauseCount == 0 && f.frameMoving) return TIMER_START;
    return -1;
}

void Frame_Tick(FRAME_STATE& f)
{
    if (FrameTick_VideoPlaying()) return;

    if (f.deviceLost) {
        int32_t hr = FrameTick_TestCooperativeLevel();
        if (hr == HR_DEVICELOST) return;
        if (hr == HR_DEVICENOTRESET) {
            if (f.windowed) FrameTick_TakeDesktopModeForWindowed();
            FrameTick_ResetDevice();
            return;
        }
        if (HR_Failed(hr)) return;
        f.deviceLost = false;
    }

    float appTime = FrameTick_AppTime();
    float elapsed = FrameTick_ElapsedTime();
    if (elapsed == 0.0f && f.frameMoving) return;
    if (f.frameMoving || f.singleStep) {
        f.appTime = appTime;
        f.elapsedTime = elapsed;
        f.singleStep = false;
    }

    FrameTick_Render();
    // A discard swap chain leaves the back buffer undefined after Present: record first.
    if (FrameTick_Recording()) FrameTick_Record();
    if (FrameTick_Present() == HR_DEVICELOST) f.deviceLost = true;
}

PRESENT_PLAN Frame_PlanPresent(int32_t layoutFlag, int32_t mode, const PRESENT_VIEW* view, int32_t W, int32_t H)
{
    PRESENT_PLAN p = {};
    if (layoutFlag != 1) {
        p.target = 1;
        return p;
    }
    if (!view || !view->window) return p;
    if (mode != MODE_MOVIE) {
        int32_t w = view->type == 0 ? W : view->width;
        int32_t h = view->type == 0 ? H : view->height;
        p.target = 2;
        p.window = view->window;
        p.source = {0, 0, w, h};
        p.dest = {0, 0, w, h};
        return p;
    }
    if (view->type == 0) {
        p.target = 1;
        return p;
    }
    p.target = 2;
    p.window = view->window;
    if (view->type >= 1 && view->type <= 3) {
        int32_t w = view->width, h = view->height;
        int32_t left = (int32_t)((float)(W - w) * 0.5f);
        int32_t top = (int32_t)((float)(H - h) * 0.5f);
        p.source = {left, top, W - left, H - top};
        p.dest = {0, 0, w, h};
    } else {
        int32_t w = view->clientWidth, h = view->clientHeight;
        int32_t left = (int32_t)((float)(W - w) * 0.5f);
        int32_t top = (int32_t)((float)(H - h) * 0.5f);
        p.source = {left, top, left + w, top + h};
        p.dest = {0, 0, w, h};
    }
    return p;
}

} // namespace QVL
