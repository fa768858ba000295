// The render-target screen slots on the device.
#include <windows.h>
#include <d3d9.h>

#include "frame/win32/app_frame.h"
#include "render/screens.h"

void Render_ReleaseScreen(int screen)
{
    if (screen < 0 || screen >= kScreenSlots) return;
    QVL::SCREEN& s = g_Screens[screen];
    if (s.surface) s.surface->Release();
    s.surface = nullptr;
    if (s.texture) s.texture->Release();
    s.texture = nullptr;
}

void Render_ReleaseScreens()
{
    for (int i = 0; i < kScreenSlots; ++i) Render_ReleaseScreen(i);
}

void Render_CreateScreen(int screen)
{
    if (!g_Device || screen < 0 || screen >= kScreenSlots) return;
    Render_ReleaseScreen(screen);
    QVL::SCREEN& s = g_Screens[screen];
    s.drawn = 0;
    // No slot is ever given a size, so this creates nothing; a zero size is refused by the device.
    if (s.width <= 0 || s.height <= 0) return;
    if (SUCCEEDED(g_Device->CreateTexture((UINT)s.width, (UINT)s.height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &s.texture, nullptr)) &&
        s.texture)
        s.texture->GetSurfaceLevel(0, &s.surface);
}

void Render_CreateScreens()
{
    for (int i = 0; i < kScreenSlots; ++i) Render_CreateScreen(i);
}
