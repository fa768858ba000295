#include "shell/settings.h"

#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/text.h"
#include "shell/app_state.h"
#include "shell/dlg_slot.h"
#include "shell/views.h"

void Settings_SetDefaults()
{
    for (int s = 0; s < kScreenCount; ++s) {
        g_App.vsyncByScreen[s] = (s == 0 || s >= 19) ? 1 : 0;
        g_App.cpuByScreen[s] = 0;
    }
    g_AutoSelect = 1;
    g_App.gridOn = 1;
    g_App.reverseWheel = 0;
    g_App.toonOption = 0;
    g_App.maxPolygons = 65000;
    g_Lib.antiAlias = 0;
    View_SetDefaults();
    for (DLG_SLOT* row : g_DlgSlots)
        for (int i = 0; i < kSlotsPerScreen; ++i) {
            row[i].left = row[i].top = 0;
            row[i].extra[0] = row[i].extra[1] = 0;
        }
    // The 2D group dialog sits at the right edge.
    for (DLG_SLOT* row : g_DlgSlots) {
        row[1].left = Lib_GetWindowWidth() - 262;
        row[1].top = 0;
    }
    V_SyncSet(0);
    CPU_PossessionSet(0);
}

static const int32_t kSettingsVersions[] = {kSettingsVersion};
// No magic: the file starts with its version.
static const QVL::RECORD_FORMAT kSettingsFormat = {"", "", 0, 0, kSettingsVersions, 1, kSettingsVersion};

// Reads the file in its order. A wrong version or window value marks the file bad but the reading
// goes on (the defaults then leave some of what was read in place); a count beyond its table stops
// the reading and marks the file bad; a short file keeps whatever it did not reach.
static bool ReadBody(QVL::ByteReader& r)
{
    int32_t version = 0;
    int32_t rect[4];
    QVL::RECORD_STATUS head = QVL::Record_CheckHeader(r, kSettingsFormat, version);
    if (head == QVL::RECORD_DAMAGED || !r.I32s(rect, 4)) return false;
    std::memcpy(g_WindowRect, rect, sizeof rect);
    bool good = head == QVL::RECORD_OK;
    for (int32_t v : rect)
        if (v < -32 || v > 10000) good = false;

    int32_t i32;
    uint8_t u8;
    if (!r.I32s(g_SettingsReserved, 8)) return good;
    if (!r.I32(g_UpdateEditedViewOnly)) return good;
    if (!r.U8(g_Lib.antiAlias) || !r.Bytes(g_AntiAliasPad, 3)) return good;
    if (!r.I32(g_LightOption) || !r.I32(g_App.shadowMode) || !r.I32(g_App.showNormals)) return good;
    if (!r.I32(g_AutoSelect) || !r.I32(g_App.gridOn) || !r.I32(g_App.toonOption)) return good;
    if (!r.I32(g_App.maxPolygons)) return good;
    // The same limits as the options dialog.
    if (g_App.maxPolygons < 10000) g_App.maxPolygons = 10000;
    if (g_App.maxPolygons > 65000) g_App.maxPolygons = 65000;

    for (int s = 0; s < kScreenCount; ++s) {
        if (!r.I32(i32)) return good;
        // A damaged count would index past the row.
        if (i32 < 0 || i32 > kViewsPerScreen) return false;
        g_ViewCount[s] = i32;
        for (int i = 0; i < i32; ++i) {
            VIEW_REC& v = g_Views[s][i];
            int32_t exists;
            if (!r.I32(exists)) return good;
            if (exists != 0 && exists != 1) return false;
            v.exists = exists;
            if (exists != 1) continue;
            int32_t f[16];
            if (!r.I32s(f, 16)) return good;
            v.left = f[0];
            v.top = f[1];
            v.width = f[2];
            v.height = f[3];
            v.type = f[4];
            std::memcpy(v.reserved, f + 5, sizeof v.reserved);
        }
    }

    int32_t rows, slots;
    if (!r.I32(rows) || !r.I32(slots)) return good;
    if (rows < 0 || rows > kScreenCount || slots < 0 || slots > kSlotsPerScreen) return false;
    for (int s = 0; s < rows; ++s)
        for (int i = 0; i < slots; ++i) {
            int32_t f[4];
            if (!r.I32s(f, 4)) return good;
            DLG_SLOT& d = g_DlgSlots[s][i];
            d.left = f[0];
            d.top = f[1];
            d.extra[0] = f[2];
            d.extra[1] = f[3];
        }
    if (!r.FixedStr(g_ProgMode.sourceFolder, 256) || !r.FixedStr(g_ProgMode.sourceFile, 256)) return good;
    if (!r.U8(u8)) return good;
    CPU_PossessionSet(u8);
    if (!r.U8(u8)) return good;
    V_SyncSet(u8);
    if (!r.I32(i32)) return good;
    if (i32 < 0 || i32 > kScreenCount) return false;
    if (!r.Bytes(g_App.vsyncByScreen, (size_t)i32) || !r.Bytes(g_App.cpuByScreen, (size_t)i32)) return good;
    r.U8(g_App.reverseWheel);
    return good;
}

bool Settings_Parse(const uint8_t* data, size_t size)
{
    QVL::ByteReader r(data, size);
    bool ok = ReadBody(r);
    if (!ok) Settings_SetDefaults();
    return ok;
}

void Settings_Build(std::vector<uint8_t>& out)
{
    QVL::ByteWriter w;
    QVL::Record_WriteHeader(w, kSettingsFormat);
    w.I32s(g_WindowRect, 4);
    w.I32s(g_SettingsReserved, 8);
    w.I32(g_UpdateEditedViewOnly);
    w.U8(g_Lib.antiAlias);
    w.Bytes(g_AntiAliasPad, 3);
    w.I32(g_LightOption);
    w.I32(g_App.shadowMode);
    w.I32(g_App.showNormals);
    w.I32(g_AutoSelect);
    w.I32(g_App.gridOn);
    w.I32(g_App.toonOption);
    w.I32(g_App.maxPolygons);
    for (int s = 0; s < kScreenCount; ++s) {
        int n = g_ViewCount[s] < 0 ? 0 : g_ViewCount[s] > kViewsPerScreen ? kViewsPerScreen : g_ViewCount[s];
        w.I32(n);
        for (int i = 0; i < n; ++i) {
            const VIEW_REC& v = g_Views[s][i];
            int32_t exists = v.exists == 1 ? 1 : 0;
            w.I32(exists);
            if (!exists) continue;
            int32_t f[5] = {v.left, v.top, v.width, v.height, v.type};
            w.I32s(f, 5);
            w.I32s(v.reserved, 11);
        }
    }
    w.I32(kScreenCount);
    w.I32(kSlotsPerScreen);
    for (int s = 0; s < kScreenCount; ++s)
        for (int i = 0; i < kSlotsPerScreen; ++i) {
            const DLG_SLOT& d = g_DlgSlots[s][i];
            int32_t f[4] = {d.left, d.top, d.extra[0], d.extra[1]};
            w.I32s(f, 4);
        }
    w.FixedStr(g_ProgMode.sourceFolder, 256);
    w.FixedStr(g_ProgMode.sourceFile, 256);
    w.U8(CPU_PossessionGet() ? 1 : 0);
    w.U8(V_SyncGet() ? 1 : 0);
    w.I32(kScreenCount);
    w.Bytes(g_App.vsyncByScreen, kScreenCount);
    w.Bytes(g_App.cpuByScreen, kScreenCount);
    w.U8(g_App.reverseWheel);
    out = w.Data();
}

void Settings_FileName(char* out, size_t cap, int monitorWidth)
{
    Str_Format(out, cap, "System/System%d.dat", monitorWidth);
}

static void ToDataFolder()
{
    if (g_Lib.dataFolder[0]) Svc_SetCurrentDirectory(g_Lib.dataFolder);
}

void Settings_Load()
{
    Settings_SetDefaults();
    ToDataFolder();
    char name[64];
    Settings_FileName(name, sizeof name, g_Lib.monitorWidth);
    std::vector<uint8_t> bytes;
    if (QVL::File_ReadAll(name, bytes)) Settings_Parse(bytes.data(), bytes.size());
    else Settings_SetDefaults();
    MainWnd_ApplyRect();
    g_App.toonActive = g_App.toonOption;
}

void Settings_Save()
{
    // Written from the data folder; the current directory is given back, since a program that
    // closes the main window and goes on (a test) still loads relative to it.
    char before[512];
    bool known = Svc_GetCurrentDirectory(before, sizeof before);
    ToDataFolder();
    char name[64];
    Settings_FileName(name, sizeof name, g_Lib.monitorWidth);
    std::vector<uint8_t> bytes;
    Settings_Build(bytes);
    QVL::File_WriteAll(name, bytes.data(), bytes.size());
    if (known) Svc_SetCurrentDirectory(before);
}
