// The device-settings dialog (the frame's change-device command): edits a copy of the device
// settings, one side (windowed or full screen) at a time. Each selection change stores its value
// and refills the boxes that depend on it; a refill posts the next selection change on.
#include <windows.h>

#include "frame/d3d_values.h"
#include "frame/format_names.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/frame_res.h"

using namespace QVL;

namespace {

HWND s_Dlg = nullptr;
DEVICE_SETTINGS* s_Copy = nullptr;

DEVICE_SETTINGS_SIDE& Side() { return s_Copy->Current(); }

HWND Item(int id) { return GetDlgItem(s_Dlg, id); }

void ComboClear(int id) { SendMessageA(Item(id), CB_RESETCONTENT, 0, 0); }
int ComboCount(int id) { return (int)SendMessageA(Item(id), CB_GETCOUNT, 0, 0); }

void ComboAdd(int id, LPARAM value, const char* text)
{
    int i = (int)SendMessageA(Item(id), CB_ADDSTRING, 0, (LPARAM)text);
    SendMessageA(Item(id), CB_SETITEMDATA, (WPARAM)i, value);
}

// Texts of fewer than 200 characters are compared.
bool ComboContainsText(int id, const char* text)
{
    char item[200];
    for (int i = 0; i < ComboCount(id); ++i) {
        int len = (int)SendMessageA(Item(id), CB_GETLBTEXTLEN, (WPARAM)i, 0);
        if (len < 0 || len >= (int)sizeof item) continue;
        SendMessageA(Item(id), CB_GETLBTEXT, (WPARAM)i, (LPARAM)item);
        if (lstrcmpA(item, text) == 0) return true;
    }
    return false;
}

void PostSelChange(int id)
{
    PostMessageA(s_Dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)Item(id));
}

// Selects the item holding value, or the first item; the chain continues with its selection change.
void ComboSelect(int id, LPARAM value)
{
    int n = ComboCount(id);
    int pick = 0;
    for (int i = 0; i < n; ++i) {
        if (SendMessageA(Item(id), CB_GETITEMDATA, (WPARAM)i, 0) == value) {
            pick = i;
            break;
        }
    }
    SendMessageA(Item(id), CB_SETCURSEL, (WPARAM)pick, 0);
    PostSelChange(id);
}

LPARAM ComboSelected(int id)
{
    int i = (int)SendMessageA(Item(id), CB_GETCURSEL, 0, 0);
    if (i < 0) return 0;
    return (LPARAM)SendMessageA(Item(id), CB_GETITEMDATA, (WPARAM)i, 0);
}

bool HasSelection(int id) { return SendMessageA(Item(id), CB_GETCURSEL, 0, 0) >= 0; }

void RateText(char* out, int size, uint32_t rate)
{
    if (rate == 0)
        Str_CopyN(out, (size_t)size, "Default Rate");
    else
        Str_Format(out, (size_t)size, "%d Hz", (int)rate);
}

void OnAdapterChanged()
{
    D3D_ADAPTER_INFO* adapter = reinterpret_cast<D3D_ADAPTER_INFO*>(ComboSelected(IDC_ADAPTER_COMBO));
    if (!adapter) return;
    Side().adapterInfo = adapter;
    ComboClear(IDC_DEVICE_COMBO);
    for (uint32_t i = 0; i < adapter->deviceInfos.Count(); ++i) {
        D3D_DEVICE_INFO* d = ArrayList_Ref<D3D_DEVICE_INFO>(&adapter->deviceInfos, i);
        ComboAdd(IDC_DEVICE_COMBO, (LPARAM)d, Enum_DeviceTypeName(d->devType));
    }
    ComboSelect(IDC_DEVICE_COMBO, (LPARAM)Side().deviceInfo);
}

void OnWindowedFullscreenChanged();

void OnDeviceChanged()
{
    D3D_DEVICE_INFO* device = reinterpret_cast<D3D_DEVICE_INFO*>(ComboSelected(IDC_DEVICE_COMBO));
    if (!device) return;
    Side().deviceInfo = device;
    bool canWindowed = false, canFullscreen = false;
    for (uint32_t i = 0; i < device->deviceCombos.Count(); ++i) {
        D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&device->deviceCombos, i);
        if (c->windowed) canWindowed = true; else canFullscreen = true;
    }
    EnableWindow(Item(IDC_WINDOW), canWindowed);
    EnableWindow(Item(IDC_FULLSCREEN), canFullscreen);
    bool windowed = s_Copy->windowed && canWindowed;
    CheckRadioButton(s_Dlg, IDC_WINDOW, IDC_FULLSCREEN, windowed ? IDC_WINDOW : IDC_FULLSCREEN);
    OnWindowedFullscreenChanged();
}

void OnWindowedFullscreenChanged()
{
    D3D_ADAPTER_INFO* adapter = reinterpret_cast<D3D_ADAPTER_INFO*>(ComboSelected(IDC_ADAPTER_COMBO));
    D3D_DEVICE_INFO* device = reinterpret_cast<D3D_DEVICE_INFO*>(ComboSelected(IDC_DEVICE_COMBO));
    if (!adapter || !device) return;
    s_Copy->windowed = IsDlgButtonChecked(s_Dlg, IDC_WINDOW) == BST_CHECKED;
    // The chosen adapter and device carry over to the side now edited.
    Side().adapterInfo = adapter;
    Side().deviceInfo = device;
    char text[64];
    ComboClear(IDC_ADAPTERFORMAT_COMBO);
    ComboClear(IDC_RESOLUTION_COMBO);
    ComboClear(IDC_REFRESHRATE_COMBO);
    if (s_Copy->windowed) {
        // Windowed use runs in the desktop mode: one format, one size, one rate, none to choose.
        const DISPLAY_MODE& m = s_Copy->windowedSide.displayMode;
        ComboAdd(IDC_ADAPTERFORMAT_COMBO, m.format, App_FormatName(m.format, true));
        Str_Format(text, sizeof text, "%d by %d", (int)m.width, (int)m.height);
        ComboAdd(IDC_RESOLUTION_COMBO, (LPARAM)((m.height << 16) | m.width), text);
        RateText(text, sizeof text, m.refreshRate);
        ComboAdd(IDC_REFRESHRATE_COMBO, (LPARAM)m.refreshRate, text);
        EnableWindow(Item(IDC_ADAPTERFORMAT_COMBO), FALSE);
        EnableWindow(Item(IDC_RESOLUTION_COMBO), FALSE);
        EnableWindow(Item(IDC_REFRESHRATE_COMBO), FALSE);
        ComboSelect(IDC_ADAPTERFORMAT_COMBO, m.format);
        SendMessageA(Item(IDC_RESOLUTION_COMBO), CB_SETCURSEL, 0, 0);
        SendMessageA(Item(IDC_REFRESHRATE_COMBO), CB_SETCURSEL, 0, 0);
    } else {
        for (uint32_t i = 0; i < device->deviceCombos.Count(); ++i) {
            D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&device->deviceCombos, i);
            if (c->windowed) continue;
            if (!ComboContainsText(IDC_ADAPTERFORMAT_COMBO, App_FormatName(c->adapterFormat, true)))
                ComboAdd(IDC_ADAPTERFORMAT_COMBO, c->adapterFormat, App_FormatName(c->adapterFormat, true));
        }
        EnableWindow(Item(IDC_ADAPTERFORMAT_COMBO), TRUE);
        EnableWindow(Item(IDC_RESOLUTION_COMBO), TRUE);
        EnableWindow(Item(IDC_REFRESHRATE_COMBO), TRUE);
        ComboSelect(IDC_ADAPTERFORMAT_COMBO, s_Copy->fullscreenSide.displayMode.format);
    }
}

void OnAdapterFormatChanged()
{
    if (!HasSelection(IDC_ADAPTERFORMAT_COMBO)) return;
    int32_t format = (int32_t)ComboSelected(IDC_ADAPTERFORMAT_COMBO);
    D3D_ADAPTER_INFO* adapter = Side().adapterInfo;
    D3D_DEVICE_INFO* device = Side().deviceInfo;
    if (!adapter || !device) return;
    char text[64];
    if (!s_Copy->windowed) {
        Side().displayMode.format = format;
        ComboClear(IDC_RESOLUTION_COMBO);
        for (uint32_t i = 0; i < adapter->displayModes.Count(); ++i) {
            DISPLAY_MODE m = ArrayList_Value<DISPLAY_MODE>(&adapter->displayModes, i);
            if (m.format != format) continue;
            Str_Format(text, sizeof text, "%d by %d", (int)m.width, (int)m.height);
            if (!ComboContainsText(IDC_RESOLUTION_COMBO, text))
                ComboAdd(IDC_RESOLUTION_COMBO, (LPARAM)((m.height << 16) | m.width), text);
        }
        const DISPLAY_MODE& cur = Side().displayMode;
        ComboSelect(IDC_RESOLUTION_COMBO, (LPARAM)((cur.height << 16) | cur.width));
    }
    ComboClear(IDC_BACKBUFFERFORMAT_COMBO);
    for (uint32_t i = 0; i < device->deviceCombos.Count(); ++i) {
        D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&device->deviceCombos, i);
        if (c->windowed != s_Copy->windowed || c->adapterFormat != format) continue;
        if (!ComboContainsText(IDC_BACKBUFFERFORMAT_COMBO, App_FormatName(c->backBufferFormat, true)))
            ComboAdd(IDC_BACKBUFFERFORMAT_COMBO, c->backBufferFormat, App_FormatName(c->backBufferFormat, true));
    }
    D3D_DEVICE_COMBO* current = Side().deviceCombo;
    ComboSelect(IDC_BACKBUFFERFORMAT_COMBO, current ? current->backBufferFormat : FMT_UNKNOWN);
}

void OnResolutionChanged()
{
    if (s_Copy->windowed || !HasSelection(IDC_RESOLUTION_COMBO)) return;
    uint32_t packed = (uint32_t)ComboSelected(IDC_RESOLUTION_COMBO);
    DISPLAY_MODE& cur = Side().displayMode;
    cur.width = packed & 0xFFFF;
    cur.height = packed >> 16;
    D3D_ADAPTER_INFO* adapter = Side().adapterInfo;
    if (!adapter) return;
    char text[64];
    ComboClear(IDC_REFRESHRATE_COMBO);
    for (uint32_t i = 0; i < adapter->displayModes.Count(); ++i) {
        DISPLAY_MODE m = ArrayList_Value<DISPLAY_MODE>(&adapter->displayModes, i);
        if (m.format != cur.format || m.width != cur.width || m.height != cur.height) continue;
        RateText(text, sizeof text, m.refreshRate);
        if (!ComboContainsText(IDC_REFRESHRATE_COMBO, text)) ComboAdd(IDC_REFRESHRATE_COMBO, (LPARAM)m.refreshRate, text);
    }
    ComboSelect(IDC_REFRESHRATE_COMBO, (LPARAM)cur.refreshRate);
}

void OnRefreshRateChanged()
{
    if (s_Copy->windowed || !HasSelection(IDC_REFRESHRATE_COMBO)) return;
    Side().displayMode.refreshRate = (uint32_t)ComboSelected(IDC_REFRESHRATE_COMBO);
}

void OnBackBufferFormatChanged()
{
    if (!HasSelection(IDC_BACKBUFFERFORMAT_COMBO) || !HasSelection(IDC_ADAPTERFORMAT_COMBO)) return;
    int32_t adapterFormat = (int32_t)ComboSelected(IDC_ADAPTERFORMAT_COMBO);
    int32_t backFormat = (int32_t)ComboSelected(IDC_BACKBUFFERFORMAT_COMBO);
    D3D_DEVICE_INFO* device = Side().deviceInfo;
    if (!device) return;
    D3D_DEVICE_COMBO* combo = nullptr;
    for (uint32_t i = 0; i < device->deviceCombos.Count(); ++i) {
        D3D_DEVICE_COMBO* c = ArrayList_Ref<D3D_DEVICE_COMBO>(&device->deviceCombos, i);
        if (c->windowed == s_Copy->windowed && c->adapterFormat == adapterFormat && c->backBufferFormat == backFormat) {
            combo = c;
            break;
        }
    }
    if (!combo) return;
    Side().deviceCombo = combo;

    ComboClear(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO);
    if (g_Enumeration.usesDepthBuffer) {
        EnableWindow(Item(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), TRUE);
        for (uint32_t i = 0; i < combo->depthStencilFormats.Count(); ++i) {
            int32_t f = ArrayList_Value<int32_t>(&combo->depthStencilFormats, i);
            ComboAdd(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, f, App_FormatName(f, true));
        }
        ComboSelect(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, Side().depthStencilFormat);
    } else {
        ComboAdd(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, 0, "(not used)");
        SendMessageA(Item(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), CB_SETCURSEL, 0, 0);
        EnableWindow(Item(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), FALSE);
    }

    ComboClear(IDC_VERTEXPROCESSING_COMBO);
    for (uint32_t i = 0; i < combo->vertexProcessingTypes.Count(); ++i) {
        int32_t vp = ArrayList_Value<int32_t>(&combo->vertexProcessingTypes, i);
        ComboAdd(IDC_VERTEXPROCESSING_COMBO, vp, Enum_VertexProcessingTypeName(vp));
    }
    ComboSelect(IDC_VERTEXPROCESSING_COMBO, Side().vertexProcessingType);

    ComboClear(IDC_PRESENTINTERVAL_COMBO);
    for (uint32_t i = 0; i < combo->presentIntervals.Count(); ++i) {
        uint32_t pi = ArrayList_Value<uint32_t>(&combo->presentIntervals, i);
        ComboAdd(IDC_PRESENTINTERVAL_COMBO, (LPARAM)pi, Enum_PresentIntervalName(pi));
    }
    ComboSelect(IDC_PRESENTINTERVAL_COMBO, (LPARAM)Side().presentInterval);
}

void OnDepthStencilChanged()
{
    D3D_DEVICE_COMBO* combo = Side().deviceCombo;
    if (!combo || !HasSelection(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO)) return;
    int32_t ds = (int32_t)ComboSelected(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO);
    if (g_Enumeration.usesDepthBuffer) Side().depthStencilFormat = ds;
    ComboClear(IDC_MULTISAMPLE_COMBO);
    for (uint32_t i = 0; i < combo->multiSampleTypes.Count(); ++i) {
        int32_t ms = ArrayList_Value<int32_t>(&combo->multiSampleTypes, i);
        bool conflict = false;
        for (uint32_t j = 0; j < combo->conflicts.Count(); ++j) {
            DS_MS_CONFLICT c = ArrayList_Value<DS_MS_CONFLICT>(&combo->conflicts, j);
            if (c.depthStencilFormat == ds && c.multiSampleType == ms) conflict = true;
        }
        if (!conflict) ComboAdd(IDC_MULTISAMPLE_COMBO, ms, Enum_MultiSampleTypeName(ms));
    }
    ComboSelect(IDC_MULTISAMPLE_COMBO, Side().multiSampleType);
}

void OnMultiSampleTypeChanged()
{
    D3D_DEVICE_COMBO* combo = Side().deviceCombo;
    if (!combo || !HasSelection(IDC_MULTISAMPLE_COMBO)) return;
    int32_t ms = (int32_t)ComboSelected(IDC_MULTISAMPLE_COMBO);
    Side().multiSampleType = ms;
    uint32_t levels = 0;
    for (uint32_t i = 0; i < combo->multiSampleTypes.Count(); ++i) {
        if (ArrayList_Value<int32_t>(&combo->multiSampleTypes, i) == ms) levels = ArrayList_Value<uint32_t>(&combo->multiSampleQualities, i);
    }
    ComboClear(IDC_MULTISAMPLE_QUALITY_COMBO);
    char text[16];
    for (uint32_t q = 0; q < levels; ++q) {
        Str_Format(text, sizeof text, "%d", (int)q);
        ComboAdd(IDC_MULTISAMPLE_QUALITY_COMBO, (LPARAM)q, text);
    }
    ComboSelect(IDC_MULTISAMPLE_QUALITY_COMBO, (LPARAM)Side().multiSampleQuality);
}

INT_PTR CALLBACK DeviceDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        s_Dlg = dlg;
        if (g_Enumeration.adapterInfos) {
            for (uint32_t i = 0; i < g_Enumeration.adapterInfos->Count(); ++i) {
                D3D_ADAPTER_INFO* a = ArrayList_Ref<D3D_ADAPTER_INFO>(g_Enumeration.adapterInfos, i);
                ComboAdd(IDC_ADAPTER_COMBO, (LPARAM)a, a->description);
            }
        }
        ComboSelect(IDC_ADAPTER_COMBO, (LPARAM)Side().adapterInfo);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: EndDialog(dlg, IDOK); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        case IDC_WINDOW:
        case IDC_FULLSCREEN:
            if (HIWORD(wp) == BN_CLICKED) OnWindowedFullscreenChanged();
            return TRUE;
        }
        if (HIWORD(wp) != CBN_SELCHANGE) break;
        switch (LOWORD(wp)) {
        case IDC_ADAPTER_COMBO: OnAdapterChanged(); break;
        case IDC_DEVICE_COMBO: OnDeviceChanged(); break;
        case IDC_ADAPTERFORMAT_COMBO: OnAdapterFormatChanged(); break;
        case IDC_RESOLUTION_COMBO: OnResolutionChanged(); break;
        case IDC_REFRESHRATE_COMBO: OnRefreshRateChanged(); break;
        case IDC_BACKBUFFERFORMAT_COMBO: OnBackBufferFormatChanged(); break;
        case IDC_DEPTHSTENCILBUFFERFORMAT_COMBO: OnDepthStencilChanged(); break;
        case IDC_MULTISAMPLE_COMBO: OnMultiSampleTypeChanged(); break;
        case IDC_MULTISAMPLE_QUALITY_COMBO:
            if (HasSelection(IDC_MULTISAMPLE_QUALITY_COMBO))
                Side().multiSampleQuality = (uint32_t)ComboSelected(IDC_MULTISAMPLE_QUALITY_COMBO);
            break;
        case IDC_VERTEXPROCESSING_COMBO:
            if (HasSelection(IDC_VERTEXPROCESSING_COMBO))
                Side().vertexProcessingType = (int32_t)ComboSelected(IDC_VERTEXPROCESSING_COMBO);
            break;
        case IDC_PRESENTINTERVAL_COMBO:
            if (HasSelection(IDC_PRESENTINTERVAL_COMBO))
                Side().presentInterval = (uint32_t)ComboSelected(IDC_PRESENTINTERVAL_COMBO);
            break;
        }
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR App_RunDeviceDialog(HWND owner, DEVICE_SETTINGS* settings)
{
    s_Copy = settings;
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELECTDEVICE), owner, DeviceDlgProc, 0);
    s_Dlg = nullptr;
    s_Copy = nullptr;
    Lib_ResetFrameTimer();
    return r;
}
