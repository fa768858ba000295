// The frame font ("Arial", 12, bold). Nothing of the studio draws with it (text goes through the 2D
// layer); it keeps its GDI font for the life of the device objects, as the frame's hooks drive it.
#include <windows.h>
#include <d3d9.h>

#include "frame/text.h"
#include "frame/win32/app_frame.h"

namespace {

struct FRAME_FONT {
    bool exists;
    char face[64];
    int height;
    bool bold;
    HFONT font;
    IDirect3DDevice9* device;
};

FRAME_FONT s_Font;

} // namespace

bool FrameFont_Create(const char* face, int height, bool bold)
{
    s_Font = FRAME_FONT{};
    s_Font.exists = true;
    Str_CopyN(s_Font.face, sizeof s_Font.face, face);
    s_Font.height = height;
    s_Font.bold = bold;
    return true;
}

void FrameFont_InitDeviceObjects(IDirect3DDevice9* device)
{
    if (!s_Font.exists) return;
    s_Font.device = device;
    if (!s_Font.font) {
        HDC dc = GetDC(nullptr);
        int pixels = -MulDiv(s_Font.height, GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, dc);
        s_Font.font = CreateFontA(pixels, 0, 0, 0, s_Font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                  VARIABLE_PITCH, s_Font.face);
    }
}

void FrameFont_RestoreDeviceObjects() {}
void FrameFont_InvalidateDeviceObjects() {}

void FrameFont_DeleteDeviceObjects()
{
    if (s_Font.font) DeleteObject(s_Font.font);
    s_Font.font = nullptr;
    s_Font.device = nullptr;
}

void Lib_ReleaseFrameFont()
{
    if (!s_Font.exists) return;
    FrameFont_DeleteDeviceObjects();
    s_Font.exists = false;
}
