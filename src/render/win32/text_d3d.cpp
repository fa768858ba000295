// The text queue's font and drawing: one font object of the extension library, rebuilt when the size
// changes and after a device reset, draws every queued text near the end of the 2D layer.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/text_queue.h"

namespace {

ID3DXFont* s_Font = nullptr;
float s_FontSize = 0.0f;   // the size the font object was built for

} // namespace

void Draw_ReleaseFontObject()
{
    if (s_Font) s_Font->Release();
    s_Font = nullptr;
}

void Draw_CreateFont(float size)
{
    s_FontSize = size;
    Text_WindowScale(g_ScaleToWindow, (int)g_BackBufferDesc.Width, (int)g_BackBufferDesc.Height, g_WindowScale);
    Draw_ReleaseFontObject();
    if (!g_Device) return;
    // The extension library builds the font from its parameters (no GDI font handle is needed); a
    // failure leaves no font and the next flush tries again.
    if (FAILED(D3DXCreateFontA(g_Device, Text_FontHeight(g_WindowScale[0], size), 0, FW_NORMAL, 1, FALSE,
                               SHIFTJIS_CHARSET, OUT_TT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ 明朝",
                               &s_Font)))
        s_Font = nullptr;
}

void Draw_FlushTexts()
{
    if (!s_Font) Draw_CreateFont(s_FontSize);
    const bool gameScreen = Draw_IsGameScreenMode();
    float panX = 0.0f, panY = 0.0f;
    if (gameScreen) Draw_MainViewPan(&panX, &panY);
    for (const QVL::TEXT_REC& t : g_TextQueue) {
        if (t.size != s_FontSize) Draw_CreateFont(t.size);
        if (!(s_FontSize > 0.0f) || !s_Font) continue;
        int x, y;
        Text_DrawPosition(t.x, t.y, gameScreen, g_Lib.monitorWidth, g_Lib.monitorHeight, panX, panY, g_ScaleToWindow,
                          (int)g_BackBufferDesc.Width, (int)g_BackBufferDesc.Height, &x, &y);
        RECT rc = {x, y, x, y};
        s_Font->DrawTextA(nullptr, t.text, -1, &rc, DT_NOCLIP | DT_NOPREFIX, Text_Color(t));
    }
    if (g_RenderDrawers.movieTexts) g_RenderDrawers.movieTexts((int32_t)g_BackBufferDesc.Width, (int32_t)g_BackBufferDesc.Height);
    g_TextQueue.clear();
}

void Draw_SubtitleText(int x, int y, const char* text)
{
    if (s_FontSize != 2.0f || !s_Font) Draw_CreateFont(2.0f);
    if (!s_Font || !text) return;
    RECT rc = {x, y, x, y};
    s_Font->DrawTextA(nullptr, text, -1, &rc, DT_NOCLIP | DT_NOPREFIX, 0xFFFFFFFFu);
}
