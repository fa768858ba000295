// The Direct3D application frame: main window "D3D Window", Direct3D object and device, device
// choice and creation, lost device and reset, resize, the frame tick and the frame's errors.
#pragma once
#include <windows.h>
#include <d3d9.h>

#include "frame/enumeration.h"
#include "frame/frame.h"

extern IDirect3D9* g_D3D;
extern IDirect3DDevice9* g_Device;
extern HWND g_MainWnd;
extern D3DPRESENT_PARAMETERS g_PresentParams;
extern D3DSURFACE_DESC g_BackBufferDesc;
extern D3DCAPS9 g_DeviceCaps;
extern RECT g_WindowBounds;
extern RECT g_ClientRect;
extern HINSTANCE g_Instance;
extern IDirect3D9*(WINAPI* g_Direct3DCreate)(UINT);

// Frame-font hooks and projection, run at creation, reset and cleanup; each returns 0.
HRESULT App_InitDeviceObjects();
HRESULT App_RestoreDeviceObjects();
HRESULT App_InvalidateDeviceObjects();
HRESULT App_DeleteDeviceObjects();

// 0, or an error code (already shown).
HRESULT App_Create(HINSTANCE instance);
HRESULT App_Initialize3D();
// 0 when there is no device.
HRESULT App_ResetDevice();
void App_Cleanup();
// Releases the Direct3D object (once, whichever path gets there first).
void App_ReleaseDirect3D();
void App_RenderFrame();
void App_Render3D();
void App_UpdateStats();
void App_Pause(bool pause);
HRESULT App_ToggleFullscreen();
HRESULT App_UserSelectNewDevice();
void App_BuildPresentParams();
void App_AdjustWindowForChange();
// kind: 0 plain warning, 1 fatal (closes the main window), 2 switching to the reference rasterizer.
HRESULT App_DisplayErrorMsg(HRESULT code, int kind);
int App_GetOsClass();
void App_PaintFrame();
LRESULT CALLBACK App_WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT App_MsgProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Capability check of every device and format combination offered to the program.
HRESULT App_ConfirmDevice(const D3DCAPS9* caps, DWORD behaviour, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat);
bool App_ConfirmDeviceCallback(const QVL::ENUM_CAPS& caps, int32_t vpType, int32_t adapterFormat, int32_t backBufferFormat);

// The device catalogue over IDirect3D9.
QVL::ENUM_SOURCE* Enum_D3D9Source(IDirect3D9* d3d);
void Enum_CapsFromD3D(const D3DCAPS9& in, QVL::ENUM_CAPS* out);

// The device-settings dialog on a copy of the settings; IDOK means the copy holds the choice.
INT_PTR App_RunDeviceDialog(HWND owner, QVL::DEVICE_SETTINGS* settings);

// Behaviour flags for a vertex-processing type (without the multithreaded flag).
DWORD App_BehaviourFlags(int32_t vpType);

// Frame commands (WM_COMMAND of the main window).
enum {
    IDM_CHANGEDEVICE = 40002,
    IDM_TOGGLEFULLSCREEN = 40003,
    IDM_TOGGLESTART = 40004,
    IDM_SINGLESTEP = 40005,
    IDM_EXIT = 40006,
};

// The frame font (face "Arial", 12, bold): nothing draws with it, its device objects follow the
// frame's hooks.
bool FrameFont_Create(const char* face, int height, bool bold);
void FrameFont_InitDeviceObjects(IDirect3DDevice9* device);
void FrameFont_RestoreDeviceObjects();
void FrameFont_InvalidateDeviceObjects();
void FrameFont_DeleteDeviceObjects();

