// LibInit and the library's switches that need the device.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <d3dx9.h>

#include <cstdlib>
#include <ctime>

#include "frame/d3d_values.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/scene.h"
#include "frame/text.h"
#include "frame/timer.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/frame_hooks.h"
#include "frame/win32/image_load.h"
#include "frame/win32/media.h"
#include "frame/win32/sound.h"

using namespace QVL;

// Forgets the frame's objects of a previous run (LibInit's reset of the frame state).
void App_ResetFrame();

static void* AllocZeroed(uint8_t*& p, size_t bytes)
{
    std::free(p);
    p = static_cast<uint8_t*>(std::calloc(bytes, 1));
    return p;
}

bool LibInit(HINSTANCE instance)
{
    // 1.
    Log_Printf("QVライブラリ %s", Lib_GetVersion());
    Str_CopyN(g_Lib.downloadPage, sizeof g_Lib.downloadPage, "https://qv-viduza-rozar.example/download/");

    // 2.
    Frame_ResetState(g_Frame);
    App_ResetFrame();
    App_Pause(true);
    g_Frame.clipCursorWhenFullscreen = true;
    g_Frame.title = kProductCaption;

    // 3.-4.
    FrameFont_Create("Arial", 12, true);
    CPU_Identify(&g_Lib.cpu);

    // 5.
    g_Lib.monitorWidth = GetSystemMetrics(SM_CXSCREEN);
    g_Lib.monitorHeight = GetSystemMetrics(SM_CYSCREEN);
    Log_Printf("モニター %d×%d", g_Lib.monitorWidth, g_Lib.monitorHeight);
    if (g_Lib.windowWidth > g_Lib.monitorWidth) g_Lib.windowWidth = g_Lib.monitorWidth;
    if (g_Lib.windowHeight > g_Lib.monitorHeight) g_Lib.windowHeight = g_Lib.monitorHeight;
    g_Frame.createWidth = g_Lib.windowWidth;
    g_Frame.createHeight = g_Lib.windowHeight;

    // 6.
    InitCommonControls();
    std::srand((unsigned)std::time(nullptr));

    // 7.
    size_t n = (size_t)g_Lib.maxPolygons;
    if (!AllocZeroed(g_Lib.workPositions, n * 12) || !AllocZeroed(g_Lib.workIndices, 4 * n * 4)) {
        Log_Printf("*** エラー *** メモリ確保");
        return false;
    }
    g_PolyLimit = (int32_t)n;
    g_VertexLimit = (int32_t)(4 * n);
    g_Enumeration.usesDepthBuffer = true;
    if (g_Lib.stencilShadowSwitch) {
        g_Enumeration.minDepthBits = 16;
        g_Enumeration.minStencilBits = 4;
    }

    // 8.
    if (FAILED(App_Create(instance))) return false;

    // 9.
    char module[256] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    Lib_ExeFolderOf(module, g_Lib.exeFolder, sizeof g_Lib.exeFolder);
    Str_Format(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "%s\\Data", g_Lib.exeFolder);
    SetCurrentDirectoryA(g_Lib.dataFolder);

    // 10.
    char placeholder[512];
    Str_Format(placeholder, sizeof placeholder, "%s\\System\\tex_null.bmp", g_Lib.dataFolder);
    D3DXIMAGE_INFO info;
    ImageLoad(&g_Scene.nullTexture, g_Lib.dataFolder, placeholder, &info);
    if (!g_Scene.nullTexture) Log_Printf("*** LoadError *** System\\tex_null.bmp");

    // 11.
    g_Lib.osClass = App_GetOsClass();
    Log_Printf("QV.WinVer %d", g_Lib.osClass);
    if (g_DeviceSettings.windowedSide.adapterInfo) Log_Printf("%s", g_DeviceSettings.windowedSide.adapterInfo->description);

    // 12.
    D3DCAPS9 caps = {};
    g_D3D->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps);
    g_Lib.caps.maxVertexBlendMatrices = (int32_t)caps.MaxVertexBlendMatrices;
    g_Lib.caps.maxVertexBlendMatrixIndex = (int32_t)caps.MaxVertexBlendMatrixIndex;
    g_Lib.caps.maxPrimitiveCount = (int32_t)caps.MaxPrimitiveCount;
    g_Lib.caps.maxVertexIndex = (int32_t)caps.MaxVertexIndex;
    Log_Printf("QV.GPU_Info.VertexBlendMatrices %d", g_Lib.caps.maxVertexBlendMatrices);
    Log_Printf("QV.GPU_Info.VertexBlendMatrixIndex %d", g_Lib.caps.maxVertexBlendMatrixIndex);
    Log_Printf("QV.GPU_Info.PrimitiveCount %d", g_Lib.caps.maxPrimitiveCount);
    Log_Printf("QV.GPU_Info.VertexIndex %d", g_Lib.caps.maxVertexIndex);

    // 13. The reference device's override is part of the decision, so it is not lost here.
    bool antiAliasRequest = false;
    g_Lib.chipClass = Lib_ChipClass(caps.MaxVertexBlendMatrices, caps.VertexShaderVersion,
                                    g_Frame.deviceType == DEVTYPE_REF, &antiAliasRequest);
    if (g_Frame.deviceType == DEVTYPE_REF) g_Lib.antiAlias = 0;
    Log_Printf("QV.GPU_Info.GeForce %d", g_Lib.chipClass);

    // 14.
    g_Lib.vertexShaderMajor = Lib_ShaderMajor(caps.VertexShaderVersion);
    Log_Printf("QV.GPU_Info.VertexShaderVersion %d", g_Lib.vertexShaderMajor);
    g_Lib.pixelShaderMajor = Lib_ShaderMajor(caps.PixelShaderVersion);
    Log_Printf("QV.GPU_Info.PixelShaderVersion   %d", g_Lib.pixelShaderMajor);

    // 15.
    g_LightAmbient[0] = g_LightAmbient[1] = g_LightAmbient[2] = 0.125f;
    g_Lib.instance = instance;
    g_Lib.allocArrays = 0;
    g_Lib.textScale = 1.0f;
    g_ScreenGroup = 4;
    Lib_SetClearColor(0, 0, 0);
    g_MoviePlayState = 0;
    Str_CopyN(g_MovieRenderSettings.outputName, sizeof g_MovieRenderSettings.outputName, "レンダリング");
    g_MovieRenderSettings.interval = 20;
    g_MovieRenderSettings.firstFrame = 0;
    g_MovieRenderSettings.lastFrame = 300;
    g_LightOption = 1;

    // 16.-17.
    if (g_FrameHooks.initCurveTables) g_FrameHooks.initCurveTables();
    timeBeginPeriod(1);
    if (!g_Lib.workDraw) g_Lib.workDraw = static_cast<uint8_t*>(std::calloc(n * 240, 1));

    // 18.
    Music_Init();
    Sound_Init();
    WindowSize();

    // 19.
    D3DDISPLAYMODE mode;
    bool four = SUCCEEDED(g_D3D->GetAdapterDisplayMode(0, &mode)) &&
                SUCCEEDED(g_D3D->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, mode.Format, FALSE,
                                                            D3DMULTISAMPLE_4_SAMPLES, nullptr));
    g_Lib.antiAlias4Supported = four ? 1 : 0;
    Log_Printf(four ? "アンチエイリアス 対応( 4 Sample )" : "アンチエイリアス 未対応( 4 Sample )");
    Lib_SetAntiAlias(antiAliasRequest ? 1 : 0);

    // 20.
    if (g_FrameHooks.createFont) g_FrameHooks.createFont(1.0f);
    if (g_Lib.toonRampSwitch) Image_LoadToonRamp();

    // 21.
    if (g_Device) {
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        g_Device->Present(nullptr, nullptr, nullptr, nullptr);
    }

    // 22.
    Lib_SetFadeStep(0.03f);
    App_Timer(TIMER_START);
    g_Lib.ready = 1;
    Lib_ResetFrameTimer();
    Log_Printf("QV.LibInit() 初期化 終了");
    Log_Printf("-----------------------------------------------------------------------");
    return true;
}

int App_IsActive()
{
    return g_Frame.active ? 1 : 0;
}

void WindowSize()
{
    if (!g_Device) return;
    IDirect3DSurface9* back = nullptr;
    if (SUCCEEDED(g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
        back->GetDesc(&g_BackBufferDesc);
        back->Release();
    }
    g_Lib.windowWidth = (int32_t)g_BackBufferDesc.Width;
    g_Lib.windowHeight = (int32_t)g_BackBufferDesc.Height;
    Log_Printf("WindowSize %d×%d", g_Lib.windowWidth, g_Lib.windowHeight);
    if (g_FrameHooks.buildShadeQuad) g_FrameHooks.buildShadeQuad();
    HWND media = Media_GetWindow();
    if (media) MoveWindow(media, 0, 0, g_Lib.windowWidth, g_Lib.windowHeight, TRUE);
}

// The presentation parameters changed: rebuild the device and the render-target screens.
static void ResetForSwitch()
{
    if (g_FrameHooks.releaseScreens) g_FrameHooks.releaseScreens();
    App_ResetDevice();
    if (g_FrameHooks.createScreens) g_FrameHooks.createScreens();
    if (g_FrameHooks.markScreenDirty) g_FrameHooks.markScreenDirty(0);
}

void V_SyncSet(int flag)
{
    // Before LibInit there is no device: only the switch is stored.
    if (g_Frame.windowed && g_Device) {
        g_PresentParams.PresentationInterval = flag ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
        ResetForSwitch();
    }
    g_Scene.vSync = flag ? 1 : 0;
    Log_Printf(flag ? "垂直同期を待つ QV.V_SyncSet()" : "垂直同期を待たない QV.V_SyncSet()");
    Lib_ResetFrameTimer();
}

void Lib_SetAntiAlias(int flag)
{
    bool on = flag && g_Lib.antiAlias4Supported;
    if (!g_Frame.windowed) {
        g_Lib.antiAlias = 0;
        Log_Printf("アンチエイリアス OFF");
        return;
    }
    g_Lib.antiAlias = on ? 1 : 0;
    D3DMULTISAMPLE_TYPE type = on ? D3DMULTISAMPLE_4_SAMPLES : D3DMULTISAMPLE_NONE;
    g_PresentParams.MultiSampleType = type;
    g_DeviceSettings.windowedSide.multiSampleType = type;
    if (!on) {
        g_PresentParams.MultiSampleQuality = 0;
        g_DeviceSettings.windowedSide.multiSampleQuality = 0;
    }
    if (g_Device) ResetForSwitch();
    Log_Printf(on ? "アンチエイリアス ON" : "アンチエイリアス OFF");
}

void Lib_SetShadowColor(float r, float g, float b, float a)
{
    g_Scene.shadowColor[0] = r;
    g_Scene.shadowColor[1] = g;
    g_Scene.shadowColor[2] = b;
    g_Scene.shadowColor[3] = a;
    if (g_FrameHooks.buildShadeQuad) g_FrameHooks.buildShadeQuad();
}

void Lib_ShellOpen(const char* file)
{
    ShellExecuteA(nullptr, nullptr, file, nullptr, nullptr, SW_SHOWMINIMIZED);
}
