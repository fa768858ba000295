// Eight render-target "screen" slots. Nothing gives a slot a size or draws into one, so the slots
// stay without textures; the device resets still release and recreate them.
#pragma once
#include <cstdint>

struct IDirect3DTexture9;
struct IDirect3DSurface9;

namespace QVL {

struct SCREEN {
    int32_t redraw;        // 1: the slot must be drawn again
    int32_t drawn;
    int32_t width, height;
    IDirect3DTexture9* texture;
    IDirect3DSurface9* surface;  // level 0 of the texture
};

} // namespace QVL

constexpr int kScreenSlots = 8;
extern QVL::SCREEN g_Screens[kScreenSlots];

// Redraw request of a slot 0..7 (others are ignored).
void Render_MarkScreenDirty(int screen);

// Device side (render/win32/screens_d3d.cpp).
void Render_CreateScreen(int screen);
void Render_CreateScreens();
void Render_ReleaseScreen(int screen);
void Render_ReleaseScreens();
