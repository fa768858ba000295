// Stand-ins for what other subsystems will provide; each goes when the real one lands.
#include <windows.h>
#include <d3d9.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/neighbours.h"

// Render_Frame (renderer): clears the back buffer to the clear colour, so a black frame is presented.
void Render_Frame()
{
    if (!g_Device) return;
    D3DCOLOR c = 0xFF000000u | ((DWORD)(g_Lib.clearColor[0] & 0xFF) << 16) | ((DWORD)(g_Lib.clearColor[1] & 0xFF) << 8) |
                 (DWORD)(g_Lib.clearColor[2] & 0xFF);
    if (SUCCEEDED(g_Device->BeginScene())) {
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, c, 1.0f, 0);
        g_Device->EndScene();
    }
}
// Render_ReleaseDeviceResources (renderer): nothing device-dependent exists yet.
void Render_ReleaseDeviceResources() {}
// Render_ReleaseScreens (immediate drawing): no render-target screens yet.
void Render_ReleaseScreens() {}
// Render_CreateScreens (immediate drawing): no render-target screens yet.
void Render_CreateScreens() {}
// Shadow_BuildShadeQuad (shadows): no shade quad yet.
void Shadow_BuildShadeQuad() {}
// Draw_CreateFont (text queue): no text font yet.
void Draw_CreateFont(float) {}
// Draw_ReleaseFontObject (text queue): releases the 2D layer's font object; none yet.
void Draw_ReleaseFontObject() {}
// Curve_InitTables (curved triangles): tables not built yet.
int32_t Curve_InitTables() { return 0; }
// g_AviWriter (AVI recorder): never recording yet.
AVI_WRITER* g_AviWriter = nullptr;
// Avi_AddFrame (AVI recorder): no writer yet.
bool Avi_AddFrame(AVI_WRITER*) { return false; }
// Avi_GetMemoryDC (AVI recorder): no writer yet.
HDC Avi_GetMemoryDC(AVI_WRITER*) { return nullptr; }
// App_SaveScreenshot (screenshots): writes nothing yet.
void App_SaveScreenshot(const char*) {}
