// The panel bitmap as a GDI DIB section, and the repaint pass that paints each dirty panel into it
// and copies it into the panel's host dialog.
#include <windows.h>

#include <cstring>

#include "frame/win32/app_frame.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/win32/panel_host.h"

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

// One painter's frame: the host's DC, a memory DC selecting the bitmap, the painting, the copy of
// the painted rectangle (at most the bitmap) to (dx, 0) of the host.
void Paint(HWND host, int32_t width, int32_t height, int32_t dx, PANEL_PAINTER painter)
{
    if (!s_Bitmap || !g_PanelDib.bits || !painter) return;
    HDC wdc = GetDC(host);
    if (!wdc) return;
    HDC mdc = CreateCompatibleDC(wdc);
    HGDIOBJ old = SelectObject(mdc, s_Bitmap);
    s_PaintDc = mdc;
    g_PanelTextHook = GdiText;
    GdiFlush();
    painter(width, height);
    GdiFlush();
    int32_t w = width, h = height;
    Panel_ClipSize(&w, &h);
    BitBlt(wdc, dx, 0, w, h, mdc, 0, 0, SRCCOPY);
    g_PanelTextHook = nullptr;
    s_PaintDc = nullptr;
    SelectObject(mdc, old);
    DeleteDC(mdc);
    ReleaseDC(host, wdc);
}

bool HostOpen(int32_t host)
{
    const DLG_SLOT* slot = Panel_HostSlot(host);
    return slot && slot->window && IsWindow((HWND)slot->window);
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
    PANEL_JOB jobs[PANEL_HOST_COUNT];
    const int32_t n = Panel_CollectDirty(HostOpen, jobs);
    for (int32_t i = 0; i < n; ++i) {
        const DLG_SLOT& slot = *Panel_HostSlot(jobs[i].host);
        HWND host = (HWND)slot.window;
        int32_t w = slot.extra[0], h = slot.extra[1], dx = 0;
        switch (jobs[i].host) {
        case PANEL_HOST_GROUPS2D:
        case PANEL_HOST_GROUPS3D:
            w = kSwatchWidth;
            h = kSwatchHeight;
            break;
        case PANEL_HOST_TEX2D:
            w = h = kTexPanelSide;
            break;
        case PANEL_HOST_TEX3D:
            w = h = kTexPanelSide;
            // Painted into the texture dialog's picture dialog.
            if (!g_Tex3DImageHost || !g_Tex3DImageHost->window || !IsWindow((HWND)g_Tex3DImageHost->window)) continue;
            host = (HWND)g_Tex3DImageHost->window;
            break;
        case PANEL_HOST_OBJ2_IMAGE:
            dx = kObj2ImageLeft;
            break;
        default:
            break;
        }
        Paint(host, w, h, dx, jobs[i].paint);
    }
}

void PanelHost_Store(HWND wnd, DLG_SLOT* slot, int host)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        slot->left = r.left;
        slot->top = r.top;
    }
    if (GetClientRect(wnd, &r)) {
        slot->extra[0] = r.right;
        slot->extra[1] = r.bottom;
    }
    slot->window = wnd;
    if (host >= 0 && host < PANEL_HOST_COUNT) g_PanelHosts[host] = slot;
}
