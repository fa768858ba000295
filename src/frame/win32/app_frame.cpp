// The Direct3D side of the frame: creation, device choice, reset, the frame tick and the errors.
#include "frame/win32/app_frame.h"

#include <d3dx9.h>

#include "frame/d3d_values.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/text.h"
#include "frame/tick_services.h"
#include "frame/timer.h"
#include "frame/win32/avi_writer.h"
#include "frame/win32/frame_hooks.h"
#include "frame/win32/media.h"

using namespace QVL;

IDirect3D9* g_D3D = nullptr;
IDirect3DDevice9* g_Device = nullptr;
HWND g_MainWnd = nullptr;
D3DPRESENT_PARAMETERS g_PresentParams;
D3DSURFACE_DESC g_BackBufferDesc;
D3DCAPS9 g_DeviceCaps;
RECT g_WindowBounds;
RECT g_ClientRect;
HINSTANCE g_Instance = nullptr;

// Direct3DCreate9, replaceable so that a test can hold a reference to the object the frame makes.
IDirect3D9*(WINAPI* g_Direct3DCreate)(UINT) = Direct3DCreate9;

static HWND s_FocusWnd = nullptr;
static HMENU s_SavedMenu = nullptr;
static RECT s_SavedWindowedRect;
static ENUM_SOURCE* s_EnumSource = nullptr;

// Releases a COM object once: a second path to the same release finds null.
template <class T> static void ReleaseOnce(T*& p)
{
    if (p) {
        T* q = p;
        p = nullptr;
        q->Release();
    }
}

DWORD App_BehaviourFlags(int32_t vpType)
{
    switch (vpType) {
    case VP_SOFTWARE: return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    case VP_MIXED: return D3DCREATE_MIXED_VERTEXPROCESSING;
    case VP_HARDWARE: return D3DCREATE_HARDWARE_VERTEXPROCESSING;
    case VP_PURE_HARDWARE: return D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    default: return 0;
    }
}

HRESULT App_ConfirmDevice(const D3DCAPS9* caps, DWORD behaviour, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat)
{
    if (behaviour & D3DCREATE_PUREDEVICE) return E_FAIL;
    if (!g_D3D) return E_FAIL;
    if (FAILED(g_D3D->CheckDeviceFormat(caps->AdapterOrdinal, caps->DeviceType, adapterFormat,
                                        D3DUSAGE_RENDERTARGET | D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                        D3DRTYPE_SURFACE, backBufferFormat)))
        return E_FAIL;
    if (!(caps->TextureCaps & (D3DPTEXTURECAPS_ALPHAPALETTE | D3DPTEXTURECAPS_ALPHA))) return E_FAIL;
    return S_OK;
}

bool App_ConfirmDeviceCallback(const ENUM_CAPS& caps, int32_t vpType, int32_t adapterFormat, int32_t backBufferFormat)
{
    D3DCAPS9 d3dCaps = {};
    d3dCaps.DeviceType = (D3DDEVTYPE)caps.devType;
    d3dCaps.AdapterOrdinal = caps.adapterOrdinal;
    d3dCaps.TextureCaps = caps.textureCaps;
    d3dCaps.DevCaps = caps.devCaps;
    return SUCCEEDED(App_ConfirmDevice(&d3dCaps, App_BehaviourFlags(vpType), (D3DFORMAT)adapterFormat,
                                       (D3DFORMAT)backBufferFormat));
}

// ---- device objects ---------------------------------------------------------------------------

HRESULT App_InitDeviceObjects()
{
    FrameFont_InitDeviceObjects(g_Device);
    return S_OK;
}

HRESULT App_RestoreDeviceObjects()
{
    FrameFont_RestoreDeviceObjects();
    D3DXMATRIX proj;
    float aspect = (float)g_BackBufferDesc.Width / (float)g_BackBufferDesc.Height;
    D3DXMatrixPerspectiveFovLH(&proj, 0.7853982f, aspect, 0.1f, 65000.0f);
    g_Device->SetTransform(D3DTS_PROJECTION, &proj);
    return S_OK;
}

HRESULT App_InvalidateDeviceObjects()
{
    FrameFont_InvalidateDeviceObjects();
    return S_OK;
}

HRESULT App_DeleteDeviceObjects()
{
    FrameFont_DeleteDeviceObjects();
    return S_OK;
}

// ---- errors -----------------------------------------------------------------------------------

HRESULT App_DisplayErrorMsg(HRESULT code, int kind)
{
    if (g_Frame.fatalShown) return code;
    char text[1024];
    Str_CopyN(text, sizeof text, Frame_ErrorText(code));
    if (kind == 1 || code == (HRESULT)HR_DRIVERINTERNALERROR) {
        g_Frame.fatalShown = true;
        MessageBoxA(nullptr, text, g_Frame.title, MB_ICONERROR | MB_OK);
        Lib_ResetFrameTimer();
        if (g_MainWnd) SendMessageA(g_MainWnd, WM_CLOSE, 0, 0);
    } else {
        if (kind == 2) Str_Format(text, sizeof text, "%s%s", Frame_ErrorText(code), kRefSwitchText);
        MessageBoxA(nullptr, text, g_Frame.title, MB_ICONWARNING | MB_OK);
        Lib_ResetFrameTimer();
    }
    return code;
}

int App_GetOsClass()
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) return 0;
    return Frame_OsClass(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion);
}

// ---- creation ---------------------------------------------------------------------------------

static void ReadBackBufferDesc()
{
    IDirect3DSurface9* back = nullptr;
    if (g_Device && SUCCEEDED(g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
        back->GetDesc(&g_BackBufferDesc);
        back->Release();
    }
}

static void ApplyCursorClip()
{
    if (!g_Frame.clipCursorWhenFullscreen) return;
    if (!g_Frame.windowed) {
        RECT r;
        GetWindowRect(g_MainWnd, &r);
        ClipCursor(&r);
    } else {
        ClipCursor(nullptr);
    }
}

void App_BuildPresentParams()
{
    DEVICE_SETTINGS_SIDE& side = g_DeviceSettings.Current();
    ZeroMemory(&g_PresentParams, sizeof g_PresentParams);
    g_PresentParams.Windowed = g_DeviceSettings.windowed;
    g_PresentParams.BackBufferCount = 1;
    g_PresentParams.MultiSampleType = (D3DMULTISAMPLE_TYPE)side.multiSampleType;
    g_PresentParams.MultiSampleQuality = side.multiSampleQuality;
    g_PresentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    g_PresentParams.EnableAutoDepthStencil = g_Enumeration.usesDepthBuffer;
    g_PresentParams.hDeviceWindow = g_MainWnd;
    if (g_Enumeration.usesDepthBuffer) {
        g_PresentParams.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
        g_PresentParams.AutoDepthStencilFormat = (D3DFORMAT)side.depthStencilFormat;
    } else {
        g_PresentParams.Flags = 0;
    }
    D3DFORMAT backFormat = side.deviceCombo ? (D3DFORMAT)side.deviceCombo->backBufferFormat : D3DFMT_UNKNOWN;
    if (g_DeviceSettings.windowed) {
        g_PresentParams.BackBufferWidth = g_ClientRect.right - g_ClientRect.left;
        g_PresentParams.BackBufferHeight = g_ClientRect.bottom - g_ClientRect.top;
        g_PresentParams.BackBufferFormat = backFormat;
        g_PresentParams.FullScreen_RefreshRateInHz = 0;
    } else {
        g_PresentParams.BackBufferWidth = side.displayMode.width;
        g_PresentParams.BackBufferHeight = side.displayMode.height;
        g_PresentParams.BackBufferFormat = backFormat;
        g_PresentParams.FullScreen_RefreshRateInHz = side.displayMode.refreshRate;
    }
    g_PresentParams.PresentationInterval = side.presentInterval;
}

void App_AdjustWindowForChange()
{
    if (g_Frame.windowed) {
        SetWindowLongA(g_MainWnd, GWL_STYLE, g_Frame.windowStyle);
        if (s_SavedMenu) {
            SetMenu(g_MainWnd, s_SavedMenu);
            s_SavedMenu = nullptr;
        }
    } else {
        SetWindowLongA(g_MainWnd, GWL_STYLE, WS_POPUP | WS_SYSMENU | WS_VISIBLE);
        if (!s_SavedMenu) {
            s_SavedMenu = GetMenu(g_MainWnd);
            SetMenu(g_MainWnd, nullptr);
        }
    }
}

HRESULT App_Initialize3D()
{
    DEVICE_SETTINGS_SIDE& side = g_DeviceSettings.Current();
    D3D_ADAPTER_INFO* adapter = side.adapterInfo;
    D3D_DEVICE_INFO* device = side.deviceInfo;
    if (!adapter || !device) return E_FAIL;
    g_Frame.windowed = g_DeviceSettings.windowed;
    App_AdjustWindowForChange();
    App_BuildPresentParams();

    if (device->caps.primitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE) App_DisplayErrorMsg(APPERR_NULLREFDEVICE, 0);

    DWORD behaviour = App_BehaviourFlags(side.vertexProcessingType);
    if (!g_D3D) return (HRESULT)-1;

    HRESULT hr = g_D3D->CreateDevice(adapter->ordinal, (D3DDEVTYPE)device->devType, s_FocusWnd,
                                     behaviour | D3DCREATE_MULTITHREADED, &g_PresentParams, &g_Device);
    if (SUCCEEDED(hr)) {
        if (g_Frame.windowed) {
            SetWindowPos(g_MainWnd, HWND_NOTOPMOST, g_WindowBounds.left, g_WindowBounds.top,
                         g_WindowBounds.right - g_WindowBounds.left, g_WindowBounds.bottom - g_WindowBounds.top,
                         SWP_SHOWWINDOW);
        }
        g_Device->GetDeviceCaps(&g_DeviceCaps);
        g_Frame.createFlags = behaviour;
        g_Frame.deviceType = device->devType;
        if (device->devType == DEVTYPE_REF) {
            g_Lib.chipClass = 0;
            g_Lib.antiAlias = 0;
        }
        Frame_FormatDeviceStats(g_Frame.deviceStats, device->devType, behaviour, adapter->description);
        ReadBackBufferDesc();
        ApplyCursorClip();

        hr = App_InitDeviceObjects();
        if (FAILED(hr)) {
            App_DeleteDeviceObjects();
        } else {
            g_Frame.objectsInitialised = true;
            hr = App_RestoreDeviceObjects();
            if (SUCCEEDED(hr)) {
                g_Frame.objectsRestored = true;
                return S_OK;
            }
            App_InvalidateDeviceObjects();
        }
        App_Cleanup();
    }

    if (hr != APPERR_MEDIANOTFOUND && hr != HR_FILENOTFOUND && device->devType == DEVTYPE_HAL) {
        if (App_FindBestWindowedMode(g_Enumeration, false, true, g_ClientRect.right - g_ClientRect.left,
                                     g_ClientRect.bottom - g_ClientRect.top, &g_DeviceSettings)) {
            g_Frame.windowed = true;
            App_AdjustWindowForChange();
            SetWindowPos(g_MainWnd, HWND_NOTOPMOST, g_WindowBounds.left, g_WindowBounds.top,
                         g_WindowBounds.right - g_WindowBounds.left, g_WindowBounds.bottom - g_WindowBounds.top,
                         SWP_SHOWWINDOW);
            App_DisplayErrorMsg(hr, 2);
            return App_Initialize3D();
        }
    }
    return hr;
}

HRESULT App_Create(HINSTANCE instance)
{
    HRESULT hr;
    g_D3D = g_Direct3DCreate(D3D_SDK_VERSION);
    if (!g_D3D) return App_DisplayErrorMsg(APPERR_NODIRECT3D, 1);

    delete s_EnumSource;
    s_EnumSource = Enum_D3D9Source(g_D3D);
    g_Enumeration.source = s_EnumSource;
    g_Enumeration.confirmDevice = App_ConfirmDeviceCallback;
    hr = Enum_Enumerate(g_Enumeration);
    if (FAILED(hr)) goto failed;

    if (!g_MainWnd) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = App_WndProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(101));
        wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
        wc.lpszClassName = "D3D Window";
        RegisterClassA(&wc);  // already registered when the frame is brought up again

        g_Frame.windowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        RECT rc = {0, 0, g_Frame.createWidth, g_Frame.createHeight};
        // Sized as if it had a menu: the studio attaches its menus after creation.
        AdjustWindowRect(&rc, g_Frame.windowStyle, TRUE);
        int x = (GetSystemMetrics(SM_CXSCREEN) + rc.left - rc.right) / 2;
        int y = (GetSystemMetrics(SM_CYSCREEN) + rc.top - rc.bottom) / 2;
        g_Instance = instance;
        g_MainWnd = CreateWindowA("D3D Window", g_Frame.title, g_Frame.windowStyle, x, y, rc.right - rc.left,
                                  rc.bottom - rc.top, nullptr, nullptr, instance, nullptr);
        if (!g_MainWnd) {
            hr = APPERR_NOWINDOW;
            goto failed;
        }
    }

    if (!s_FocusWnd) s_FocusWnd = g_MainWnd;
    g_Frame.windowStyle = (uint32_t)GetWindowLongA(g_MainWnd, GWL_STYLE);
    GetWindowRect(g_MainWnd, &g_WindowBounds);
    GetClientRect(g_MainWnd, &g_ClientRect);

    hr = App_ChooseInitialSettings(g_Enumeration, g_ClientRect.right - g_ClientRect.left,
                                   g_ClientRect.bottom - g_ClientRect.top, &g_DeviceSettings);
    if (FAILED(hr)) goto failed;

    App_Timer(TIMER_START);
    hr = App_Initialize3D();
    if (FAILED(hr)) goto failed;

    App_Pause(false);
    return S_OK;

failed:
    // The fatal message closes the window, whose WM_CLOSE releases Direct3D too: once is enough.
    App_ReleaseDirect3D();
    return App_DisplayErrorMsg(hr, 1);
}

// ---- reset and teardown -----------------------------------------------------------------------

// Re-reads the window; when the client size changed, resets the device to it. True when it did.
static bool HandleSizeChange(HRESULT* result)
{
    *result = S_OK;
    if (g_Frame.ignoreSizeChange) return false;
    RECT oldClient = g_ClientRect;
    GetWindowRect(g_MainWnd, &g_WindowBounds);
    GetClientRect(g_MainWnd, &g_ClientRect);
    if (oldClient.right - oldClient.left == g_ClientRect.right - g_ClientRect.left &&
        oldClient.bottom - oldClient.top == g_ClientRect.bottom - g_ClientRect.top)
        return false;
    App_Pause(true);
    g_PresentParams.BackBufferWidth = g_ClientRect.right - g_ClientRect.left;
    g_PresentParams.BackBufferHeight = g_ClientRect.bottom - g_ClientRect.top;
    HRESULT hr = App_ResetDevice();
    if (FAILED(hr)) {
        if (hr != D3DERR_OUTOFVIDEOMEMORY) hr = APPERR_RESETFAILED;
        App_DisplayErrorMsg(hr, 1);
    }
    App_Pause(false);
    *result = hr;
    return true;
}

HRESULT App_ResetDevice()
{
    if (!g_Device) return S_OK;
    HRESULT hr;
    // A changed client size resets the device to it; the reset below would only repeat it.
    if (HandleSizeChange(&hr)) return hr;
    if (!g_Device) return S_OK;  // a fatal error closed the frame meanwhile

    if (g_Frame.objectsRestored) {
        g_Frame.objectsRestored = false;
        App_InvalidateDeviceObjects();
    }
    if (g_FrameHooks.releaseFont) g_FrameHooks.releaseFont();
    if (g_FrameHooks.releaseDeviceResources) g_FrameHooks.releaseDeviceResources();

    // A present into a view window leaves the swap chain bound to that window, and the reset
    // would build its context there: on a view closed since, it fails and takes the process down.
    // Presenting to the device window first binds the swap chain back to it.
    g_Device->Present(nullptr, nullptr, g_MainWnd, nullptr);
    hr = g_Device->Reset(&g_PresentParams);
    if (FAILED(hr)) return hr;

    ReadBackBufferDesc();
    ApplyCursorClip();

    hr = App_RestoreDeviceObjects();
    if (FAILED(hr)) {
        App_InvalidateDeviceObjects();
        return hr;
    }
    g_Frame.objectsRestored = true;
    if (!g_Frame.frameMoving) {
        g_Frame.singleStep = true;
        App_Timer(TIMER_START);
        App_Timer(TIMER_STOP);
    }
    return S_OK;
}

void App_Cleanup()
{
    if (!g_Device) return;
    // The loader thread creates resources on this device: no load may run while it goes away.
    if (g_FrameHooks.beforeDeviceRelease) g_FrameHooks.beforeDeviceRelease();
    if (g_FrameHooks.releaseFont) g_FrameHooks.releaseFont();
    if (g_Frame.objectsRestored) {
        g_Frame.objectsRestored = false;
        App_InvalidateDeviceObjects();
    }
    if (g_Frame.objectsInitialised) {
        g_Frame.objectsInitialised = false;
        App_DeleteDeviceObjects();
    }
    ReleaseOnce(g_Device);
}

void App_ReleaseDirect3D()
{
    ReleaseOnce(g_D3D);
}

void App_Pause(bool pause)
{
    int command = Frame_Pause(g_Frame, pause);
    if (command >= 0) App_Timer(command);
}

// ---- the frame tick ---------------------------------------------------------------------------

static void PresentPlanned(HRESULT* result)
{
    PRESENT_VIEW view = {};
    bool haveView = g_Lib.layoutFlag == 1 && g_FrameHooks.activeView && g_FrameHooks.activeView(&view);
    PRESENT_PLAN plan = Frame_PlanPresent(g_Lib.layoutFlag, g_Mode, haveView ? &view : nullptr,
                                          Lib_GetWindowWidth(), Lib_GetWindowHeight());
    *result = S_OK;
    if (plan.target == 1) {
        *result = g_Device->Present(nullptr, nullptr, nullptr, nullptr);
    } else if (plan.target == 2) {
        RECT src = {plan.source.left, plan.source.top, plan.source.right, plan.source.bottom};
        RECT dst = {plan.dest.left, plan.dest.top, plan.dest.right, plan.dest.bottom};
        *result = g_Device->Present(&src, &dst, (HWND)plan.window, nullptr);
    }
}

bool FrameTick_VideoPlaying() { return Media_IsVideoPlaying(); }
int32_t FrameTick_TestCooperativeLevel() { return g_Device->TestCooperativeLevel(); }
void FrameTick_TakeDesktopModeForWindowed()
{
    DEVICE_SETTINGS_SIDE& w = g_DeviceSettings.windowedSide;
    D3DDISPLAYMODE mode;
    if (w.adapterInfo && SUCCEEDED(g_D3D->GetAdapterDisplayMode(w.adapterInfo->ordinal, &mode))) {
        w.displayMode = {mode.Width, mode.Height, mode.RefreshRate, (int32_t)mode.Format};
        g_PresentParams.BackBufferFormat = mode.Format;
    }
}
int32_t FrameTick_ResetDevice() { return App_ResetDevice(); }
float FrameTick_AppTime() { return App_Timer(TIMER_GETAPPTIME); }
float FrameTick_ElapsedTime() { return App_Timer(TIMER_GETELAPSEDTIME); }
void FrameTick_Render()
{
    if (g_FrameHooks.renderFrame) g_FrameHooks.renderFrame();
    App_UpdateStats();
}
bool FrameTick_Recording() { return g_ScreenGroup == 9 && g_AviWriter; }
void FrameTick_Record() { Avi_CaptureFrame(); }
int32_t FrameTick_Present()
{
    HRESULT hr;
    PresentPlanned(&hr);
    return hr;
}

void App_Render3D()
{
    if (!g_Device) return;
    Frame_Tick(g_Frame);
}

void App_RenderFrame()
{
    double seconds = timeGetTime() * 0.001;
    ++g_Frame.fpsFrames;
    if (seconds - g_Frame.fpsLastTime > 1.0) {
        g_Frame.fps = (float)(g_Frame.fpsFrames / (seconds - g_Frame.fpsLastTime));
        g_Frame.fpsInt = (int32_t)g_Frame.fps;
        g_Frame.fpsFrames = 0;
        g_Frame.fpsLastTime = seconds;
    }
    App_Render3D();
}

void App_UpdateStats()
{
    float time = App_Timer(TIMER_GETABSOLUTETIME);
    ++g_Frame.statsFrames;
    if (time - g_Frame.statsLastTime > 1.0f) {
        g_Frame.fps = g_Frame.statsFrames / (time - g_Frame.statsLastTime);
        g_Frame.statsLastTime = time;
        g_Frame.statsFrames = 0;
        DEVICE_SETTINGS_SIDE& side = g_DeviceSettings.Current();
        Frame_FormatFrameStats(g_Frame.frameStats, g_Frame.fps, g_BackBufferDesc.Width, g_BackBufferDesc.Height,
                               g_BackBufferDesc.Format, side.displayMode.format, g_Enumeration.usesDepthBuffer,
                               side.depthStencilFormat, side.multiSampleType);
    }
}

void App_PaintFrame()
{
    if (Media_IsVideoPlaying()) return;
    if (g_Lib.layoutFlag == 0 && g_FrameHooks.renderFrame) g_FrameHooks.renderFrame();
    g_Device->Present(nullptr, nullptr, nullptr, nullptr);
}

// ---- switching devices ------------------------------------------------------------------------

static void ReturnToWindowed()
{
    g_Frame.windowed = true;
    g_DeviceSettings.windowed = true;
    App_AdjustWindowForChange();
    SetWindowPos(g_MainWnd, HWND_NOTOPMOST, g_WindowBounds.left, g_WindowBounds.top,
                 g_WindowBounds.right - g_WindowBounds.left, g_WindowBounds.bottom - g_WindowBounds.top, SWP_SHOWWINDOW);
}

HRESULT App_ToggleFullscreen()
{
    DEVICE_SETTINGS_SIDE& before = g_DeviceSettings.Current();
    uint32_t ordinal = before.adapterInfo ? before.adapterInfo->ordinal : 0;
    int32_t devType = before.deviceInfo ? before.deviceInfo->devType : 0;

    App_Pause(true);
    g_Frame.ignoreSizeChange = true;
    g_Frame.windowed = !g_Frame.windowed;
    g_DeviceSettings.windowed = g_Frame.windowed;
    App_AdjustWindowForChange();

    HRESULT hr;
    DEVICE_SETTINGS_SIDE& after = g_DeviceSettings.Current();
    if (after.adapterInfo && after.deviceInfo && after.adapterInfo->ordinal == ordinal &&
        after.deviceInfo->devType == devType) {
        App_BuildPresentParams();
        hr = App_ResetDevice();
    } else {
        App_Cleanup();
        hr = App_Initialize3D();
    }
    if (FAILED(hr)) {
        g_Frame.ignoreSizeChange = false;
        if (!g_Frame.windowed) ReturnToWindowed();
        return App_DisplayErrorMsg(hr == D3DERR_OUTOFVIDEOMEMORY ? hr : (HRESULT)APPERR_RESETFAILED, 1);
    }
    g_Frame.ignoreSizeChange = false;
    if (g_Frame.windowed) {
        SetWindowPos(g_MainWnd, HWND_NOTOPMOST, s_SavedWindowedRect.left, s_SavedWindowedRect.top,
                     s_SavedWindowedRect.right - s_SavedWindowedRect.left,
                     s_SavedWindowedRect.bottom - s_SavedWindowedRect.top, SWP_SHOWWINDOW);
    } else {
        s_SavedWindowedRect = g_WindowBounds;
    }
    WindowSize();
    App_Pause(false);
    return S_OK;
}

HRESULT App_UserSelectNewDevice()
{
    if (!g_Frame.windowed) {
        HRESULT hr = App_ToggleFullscreen();
        if (FAILED(hr)) return App_DisplayErrorMsg(APPERR_RESETFAILED, 1);
    }
    DEVICE_SETTINGS copy = g_DeviceSettings;
    if (App_RunDeviceDialog(g_MainWnd, &copy) != IDOK) return S_OK;

    g_DeviceSettings = copy;
    g_Frame.windowed = g_DeviceSettings.windowed;
    App_Cleanup();
    HRESULT hr = App_Initialize3D();
    if (FAILED(hr)) {
        if (!g_Frame.windowed) ReturnToWindowed();
        return App_DisplayErrorMsg(hr == D3DERR_OUTOFVIDEOMEMORY ? hr : (HRESULT)APPERR_RESETFAILED, 1);
    }
    if (!g_Frame.frameMoving) {
        g_Frame.singleStep = true;
        App_Timer(TIMER_START);
        App_Timer(TIMER_STOP);
    }
    return S_OK;
}

void App_ResetFrame()
{
    g_D3D = nullptr;
    g_Device = nullptr;
    g_MainWnd = nullptr;
    s_FocusWnd = nullptr;
    s_SavedMenu = nullptr;
}
