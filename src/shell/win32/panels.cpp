// The panel bitmap as a GDI DIB section, and the repaint pass that paints each dirty panel into it
// and copies it into the panel's host dialog.
#include <windows.h>

#include <cstring>

#include "frame/win32/app_frame.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"

namespace {

HBITMAP s_Bitmap;
HDC s_PaintDc;

void GdiText(int32_t x, int32_t y, const char* text, int32_t r, int32_t g, int32_t b)
{
    if (!s_PaintDc) return;
    SetBkMode(s_PaintDc, TRANSPARENT);
    SetTextColor(s_PaintDc, RGB(r & 255, g & 255, b & 255));
    TextOutA(s_PaintDc, x, y, text, (int)std::strlen(text));
    // The painters write pixels straight into the bitmap after a text.
    GdiFlush();
}

// One painter's frame: the host's DC, a memory DC selecting the bitmap, the painting, the copy.
void Paint(HWND host, int32_t width, int32_t height, void (*painter)(int32_t, int32_t))
{
    if (!s_Bitmap || !g_PanelDib.bits) return;
    HDC wdc = GetDC(host);
    if (!wdc) return;
    HDC mdc = CreateCompatibleDC(wdc);
    HGDIOBJ old = SelectObject(mdc, s_Bitmap);
    s_PaintDc = mdc;
    g_PanelTextHook = GdiText;
    GdiFlush();
    painter(width, height);
    GdiFlush();
    BitBlt(wdc, 0, 0, width < kPanelWidth ? width : kPanelWidth, height < kPanelHeight ? height : kPanelHeight, mdc, 0,
           0, SRCCOPY);
    g_PanelTextHook = nullptr;
    s_PaintDc = nullptr;
    SelectObject(mdc, old);
    DeleteDC(mdc);
    ReleaseDC(host, wdc);
}

} // namespace

void Panel_CreateDib()
{
    if (s_Bitmap) return;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kPanelWidth;
    bi.bmiHeader.biHeight = -kPanelHeight;   // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(g_MainWnd);
    void* bits = nullptr;
    s_Bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(g_MainWnd, dc);
    g_PanelDib.bits = s_Bitmap ? (uint32_t*)bits : nullptr;
    g_PanelDib.width = kPanelWidth;
    g_PanelDib.height = kPanelHeight;
    Panel_SetTextColor(255, 255, 255);
}

void Panel_RepaintDirty()
{
    Mode_UpdateCurrent();
    // (The key panels, swatches and texture pictures of the model editors join here with them.)
    const DLG_SLOT& slot = *g_EffectTimelineHost;
    HWND host = (HWND)slot.window;
    if (g_PanelDirtyEffect == 1 && host && IsWindow(host)) {
        g_PanelDirtyEffect = 0;
        Paint(host, slot.extra[0], slot.extra[1], Panel_PaintEffectTimeline);
    }
}
