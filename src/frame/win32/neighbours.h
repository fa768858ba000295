// What the frame calls in the other subsystems: the renderer, the text layer, the shell's main
// handler and views, sound and media, the picture loader, the AVI recorder and the model loader.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <cstdint>

#include "frame/frame.h"
// Shell: every main-window message goes to Main_MessageHook first (the result is ignored);
// View_GetActiveView gives the view the frame presents into when the layout flag is 1.
#include "shell/views.h"
#include "shell/win32/shell_win32.h"

// Renderer: one frame into the back buffer between BeginScene and EndScene (on g_Scene).
void Render_Frame();
// Releases what does not survive a device reset; recreated on the next frame.
void Render_ReleaseDeviceResources();
void Render_ReleaseScreens();
void Render_CreateScreens();
void Render_MarkScreenDirty(int screen);
void Shadow_BuildShadeQuad();

// Text layer: builds the font for a text size; its font object does not survive a reset.
void Draw_CreateFont(float size);
void Draw_ReleaseFontObject();

// Curved-triangle weight tables, built once at start.
int32_t Curve_InitTables();

// Sound and music, started by LibInit; media playback in a window over the main window.
void Sound_Init();
void Music_Init();
bool MediaPlay(const char* path, int loop);
void Media_Stop();
HWND Media_GetWindow();          // the media window, null when none
bool Media_IsVideoPlaying();     // a picture-producing medium plays: the frame renders nothing
void Media_OnStopped();          // the media window reported MCI_MODE_STOP: replay a loop or stop

// Pictures: the placeholder texture and the toon ramp.
void ImageLoad(IDirect3DTexture9** texture, const char* folder, const char* file, D3DXIMAGE_INFO* info);
void Image_LoadToonRamp();

// Background loader: returns once no load is in progress, so no thread creates resources on the
// device while it is released.
