#include "scene/map_edit.h"

#include <algorithm>
#include <cmath>

#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "render/immediate.h"
#include "render/sprite.h"
#include "render/tex_slots.h"
#include "scene/map2.h"
#include "scene/scene_edit_hooks.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

MAP2_EDIT g_Map2Edit;
int32_t g_Map2Sprite = -1;
float g_Map2SpriteSteps = 0.0f;
int32_t g_Map2SpritePose = 0;
MAP2_EDIT_UI g_Map2EditUi;

namespace {

enum { kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28 };

const VIEW_REC& MainView() { return g_Views[g_Screen][0]; }

} // namespace

bool Map2Edit_CellAt(int mouseX, int mouseY, float panX, float panY, int monitorW, int monitorH, int32_t* cellX,
                     int32_t* cellY)
{
    const QVL::MAP2* m = g_Map2;
    if (!m || m->width < 1 || m->height < 1) return false;
    const double fx = (double)mouseX - ((double)(monitorW - 640) * 0.5 + (double)panX);
    const double fy = (double)mouseY - ((double)(monitorH - 480) * 0.5 + (double)panY);
    if (!std::isfinite(fx) || !std::isfinite(fy)) return false;
    // Truncation toward zero, then whole cells (also toward zero), then the scroll.
    const int64_t tx = (int64_t)std::trunc(std::max(-1e9, std::min(1e9, fx)));
    const int64_t ty = (int64_t)std::trunc(std::max(-1e9, std::min(1e9, fy)));
    int64_t x = tx / 32 + g_Map2Edit.scrollX, y = ty / 32 + g_Map2Edit.scrollY;
    const int32_t w = std::min(m->width, QVL::kMap2Side), h = std::min(m->height, QVL::kMap2Side);
    x = x < 0 ? 0 : (x > w - 1 ? w - 1 : x);
    y = y < 0 ? 0 : (y > h - 1 ? h - 1 : y);
    *cellX = (int32_t)x;
    *cellY = (int32_t)y;
    return true;
}

std::vector<std::string> Map2Edit_ChipLines()
{
    std::vector<std::string> lines;
    const QVL::MAP2* m = g_Map2;
    if (!m) return lines;
    for (int32_t i = 0; i < m->chipCount && i < QVL::kMap2Chips; ++i) {
        char line[300];
        Str_Format(line, sizeof line, "%2d : %s : %s", i, m->attributes[i] == 1 ? "○" : "×", m->chipNames[i]);
        lines.push_back(line);
    }
    return lines;
}

void Map2Edit_FillChipList()
{
    if (g_Map2EditUi.fillChipList) g_Map2EditUi.fillChipList();
}

bool Map2Edit_AddChip(const char* file)
{
    QVL::MAP2* m = Map2_Get();
    if (m->chipCount >= QVL::kMap2Chips) {
        Lib_MessageBox("これ以上 追加できません。");
        return false;
    }
    if (!file || !file[0]) return false;
    const int32_t chip = m->chipCount < 0 ? 0 : m->chipCount;
    Map2_LoadChip(chip, file);
    Str_CopyN(m->chipNames[chip], sizeof m->chipNames[chip], file);
    g_Map2Edit.currentChip = chip;
    m->chipCount = chip + 1;
    Map2Edit_FillChipList();
    return true;
}

void Map2Edit_ToggleAttribute()
{
    QVL::MAP2* m = Map2_Get();
    const int32_t c = g_Map2Edit.currentChip;
    if (c >= 0 && c < QVL::kMap2Chips) m->attributes[c] = m->attributes[c] == 1 ? 0 : 1;
    Map2Edit_FillChipList();
}

void Map2Edit_SampleSet()
{
    Map2_SetDefaults();
    Map2Edit_FillChipList();
}

void Map2Edit_SelectChip(int32_t chip)
{
    if (chip >= 0 && chip < QVL::kMap2Chips) g_Map2Edit.currentChip = chip;
}

void Map2Edit_Enter()
{
    g_ModeMenu = Menu_Set("MENU_MAP2");
    char dir[512];
    Str_Format(dir, sizeof dir, "%s\\MAP2_2Dマップ", g_Lib.dataFolder);
    Svc_SetCurrentDirectory(g_Lib.dataFolder);
    Svc_SetCurrentDirectory(dir);
    Map2_New();
    Map2_SetDefaults();
    Tex_LoadFile(&g_Map2Sprite, "cat.psd");
    g_Map2Edit.scrollX = g_Map2Edit.scrollY = 0;
    g_Map2Edit.painting = 0;
    g_Map2Edit.cursorX = g_Map2Edit.cursorY = 0;
    if (g_Map2Edit.currentChip < 0 || g_Map2Edit.currentChip >= QVL::kMap2Chips) g_Map2Edit.currentChip = 0;
    g_Views[g_Screen][0].pan[0] = -320.0f;
    g_Views[g_Screen][0].pan[1] = -180.0f;
    if (g_Map2EditUi.openImageDialog) g_Map2EditUi.openImageDialog();
    Map2Edit_FillChipList();
    Wnd_Activate(Wnd_Main());
}

void Map2Edit_Exit()
{
    g_Lib.allocArrays = 1;
    g_Map2Edit.painting = 0;
    if (g_Map2EditUi.closeImageDialog) g_Map2EditUi.closeImageDialog();
}

void Map2Edit_Frame()
{
    Lib_SetClearColor(128, 128, 128);
    const VIEW_REC& v = MainView();
    int32_t cx = 0, cy = 0;
    const bool onMap = Map2Edit_CellAt(g_Lib.mouse.x, g_Lib.mouse.y, v.pan[0], v.pan[1], g_Lib.monitorWidth,
                                       g_Lib.monitorHeight, &cx, &cy);
    if (onMap) {
        g_Map2Edit.cursorX = cx;
        g_Map2Edit.cursorY = cy;
    }
    View_RequestRedraw();
    // An empty map has no cell to paint (the clamp would give -1).
    if (g_Map2Edit.painting && onMap) g_Map2->cells[cy][cx] = g_Map2Edit.currentChip;
}

void Map2Edit_Draw()
{
    Map2_Draw(-32 * g_Map2Edit.scrollX, -32 * g_Map2Edit.scrollY);
    const int x = 32 * (g_Map2Edit.cursorX - g_Map2Edit.scrollX), y = 32 * (g_Map2Edit.cursorY - g_Map2Edit.scrollY);
    Tex_Set(-1);
    Draw_Rect2D(x, y, x + 31, y + 31, 255, 255, 0, 255);
    g_Map2SpriteSteps += g_FrameStep;
    if (g_Map2SpriteSteps > 20.0f) {
        g_Map2SpriteSteps -= 20.0f;
        g_Map2SpritePose = (g_Map2SpritePose + 1) % 4;
    }
    static const double kPoseV[4] = {0, 64, 0, 128};
    const double v = kPoseV[g_Map2SpritePose & 3];
    Tex_DrawUv(g_Map2Sprite, 608, 312, 672, 312, 672, 376, 608, 376, 0, v, 64, v, 64, v + 64, 0, v + 64, 255, 255, 255,
               255);
}

void Map2Edit_LButtonDown(int32_t lParam)
{
    g_Map2Edit.painting = 1;
    Mode_StoreDragStart(lParam);
}

void Map2Edit_LButtonUp(int32_t) { g_Map2Edit.painting = 0; }

void Map2Edit_MouseMove(int32_t)
{
    const int held = g_Lib.mouse.held[0] + g_Lib.mouse.held[1] + g_Lib.mouse.held[2];
    if (held == 1) {
        g_DragStart = g_PressPoint;
        g_DragCurrent = g_PrevMousePos = g_DragAnchor = g_PressPoint;
    }
}

void Map2Edit_KeyDown(int key)
{
    if (key == kKeyLeft) --g_Map2Edit.scrollX;
    else if (key == kKeyRight) ++g_Map2Edit.scrollX;
    else if (key == kKeyUp) --g_Map2Edit.scrollY;
    else if (key == kKeyDown) ++g_Map2Edit.scrollY;
}
