#include "scene/coli_edit.h"
#include "scene/movie.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/model3.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "render/tex_slots.h"
#include "render/text_queue.h"
#include "scene/coli.h"
#include "scene/collision.h"
#include "scene/scene_edit_hooks.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/ui_services.h"
#include "shell/views.h"

using namespace QVL;

COLI_EDIT g_ColiEdit = {{}, {}, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
COLI_EDIT_UI g_ColiEditUi;

namespace {

enum { kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28 };
const int32_t kCharacters = 5;

// The characters' start places: the same in every build (no rand()).
uint32_t s_placeSeed = 1;
int32_t NextPlace()
{
    s_placeSeed = s_placeSeed * 1103515245u + 12345u;
    return (int32_t)((s_placeSeed >> 16) & 0x7fff) % 50 - 25;
}

void Circle16(float cx, float y0, float y1, float cz, float r, bool verticals, int red, int green, int blue)
{
    for (int k = 0; k < 16; ++k) {
        const double a0 = k * 22.5 * 3.14159265358979 / 180.0, a1 = (k + 1) * 22.5 * 3.14159265358979 / 180.0;
        const float x0 = cx + r * (float)std::cos(a0), z0 = cz + r * (float)std::sin(a0);
        const float x1 = cx + r * (float)std::cos(a1), z1 = cz + r * (float)std::sin(a1);
        Draw_Line3D(x0, y1, z0, red, green, blue, 255, 0, 0, x1, y1, z1, red, green, blue, 255, 0, 0);
        if (verticals) Draw_Line3D(x1, y0, z1, red, green, blue, 255, 0, 0, x1, y1, z1, red, green, blue, 255, 0, 0);
    }
}

} // namespace

int32_t ColiEdit_CurrentObject()
{
    if (g_CurLayer < 0 || (size_t)g_CurLayer >= g_ColiEdit.objectIds.size()) return -1;
    return g_ColiEdit.objectIds[(size_t)g_CurLayer];
}

void ColiEdit_RotatePoints(float a, float b, float degrees, float* outA, float* outB)
{
    const double t = degrees * 3.14159265358979 / 180.0;
    const float c = (float)std::cos(t), s = (float)std::sin(t);
    *outA = a * c + b * s;
    *outB = b * c - a * s;
}

void ColiEdit_OpenToolDialog()
{
    if (g_ColiEditUi.openToolDialog) g_ColiEditUi.openToolDialog(g_ColiEdit.target);
    g_ColiEdit.shownTarget = g_ColiEdit.target;
    Wnd_Activate(Wnd_Main());
}

void ColiEdit_CloseDialogs()
{
    if (g_ColiEditUi.closeToolDialogs) g_ColiEditUi.closeToolDialogs();
}

void ColiEdit_RefreshBoxDlg() { g_ColiEdit.refreshBox = 1; }

void ColiEdit_RefreshDialogs()
{
    g_ColiEdit.refreshBox = g_ColiEdit.refreshCircle = g_ColiEdit.refreshArea = 1;
    View_RequestRedraw();
}

void ColiEdit_SelectTarget(int32_t target)
{
    if (target < COLI_TARGET_AREA || target > COLI_TARGET_CIRCLES) return;
    if (target != g_ColiEdit.shownTarget) ColiEdit_CloseDialogs();
    g_ColiEdit.target = target;
    ColiEdit_OpenToolDialog();
    g_ColiEdit.refreshSelect = 1;
}

namespace {

template <class WALL>
void Compact(WALL* walls, int32_t& count)
{
    for (bool moved = true; moved;) {
        moved = false;
        for (int32_t k = 0; k < kColiWalls - 1; ++k) {
            if (walls[k].used != 1 && walls[k + 1].used == 1) {
                walls[k] = walls[k + 1];
                walls[k + 1].used = 0;
                moved = true;
            }
        }
    }
    count = 0;
    for (int32_t k = 0; k < kColiWalls; ++k)
        if (walls[k].used == 1) count = k + 1;
}

// Where new walls go: scene object 0 when 3D model 0 exists.
void NewWallPlace(float* x, float* y, float* z)
{
    *x = *y = *z = 0.0f;
    const OBJECT* o = Object_GetById(0);
    if (Model3_GetById(0) && o) {
        *x = o->position[0];
        *y = o->position[1];
        *z = o->position[2];
    }
}

} // namespace

void ColiEdit_CompactBoxes() { Compact(Coli_Get()->boxes, Coli_Get()->boxCount); }
void ColiEdit_CompactCircles() { Compact(Coli_Get()->circles, Coli_Get()->circleCount); }

bool ColiEdit_AddBox()
{
    COLI* c = Coli_Get();
    for (int32_t k = 0; k < kColiWalls; ++k) {
        if (c->boxes[k].used == 1) continue;
        COLI_BOX& b = c->boxes[k];
        b = COLI_BOX{0, 0, 0, 0, 0, 5.0f};
        NewWallPlace(&b.x, &b.y, &b.z);
        b.used = 1;
        ++c->boxCount;
        if (g_ColiEdit.selectedBox < 0) g_ColiEdit.selectedBox = 0;
        g_ColiEdit.refreshBox = 1;
        return true;
    }
    Lib_MessageBox("壁(立方体)を追加できませんでした。");
    return false;
}

bool ColiEdit_AddCircle()
{
    COLI* c = Coli_Get();
    for (int32_t k = 0; k < kColiWalls; ++k) {
        if (c->circles[k].used == 1) continue;
        COLI_CIRCLE& w = c->circles[k];
        w = COLI_CIRCLE{0, 0, 0, 0, 5.0f};
        NewWallPlace(&w.x, &w.y, &w.z);
        w.used = 1;
        ++c->circleCount;
        if (g_ColiEdit.selectedCircle < 0) g_ColiEdit.selectedCircle = 0;
        g_ColiEdit.refreshCircle = 1;
        return true;
    }
    Lib_MessageBox("壁(円)を追加できませんでした。");
    return false;
}

void ColiEdit_Enter()
{
    g_ScreenGroup = 4;
    g_ColiEdit.objectIds.clear();
    g_ColiEdit.modelIds.clear();
    // Only what the movie made goes: the models the user opened stay.
    Movie_ClearTracks();
    Coli_Reset();
    g_ColiEdit.boxTool = g_ColiEdit.circleTool = 0;
    g_ColiEdit.selectedBox = g_ColiEdit.selectedCircle = -1;
    g_CurLayer = 0;
    g_ModeMenu = Menu_Set("MENU_COLI");

    char folder[512];
    Str_Format(folder, sizeof folder, "%s\\System", g_Lib.dataFolder);
    Svc_SetCurrentDirectory(g_Lib.dataFolder);
    Svc_SetCurrentDirectory("System");
    s_placeSeed = 1;
    for (int32_t i = 0; i < kCharacters; ++i) {
        // Only the characters' own models are loaded: the models already open stay as they are.
        const int32_t model = Model3_LoadQueued(folder, "コリジョンキャラ.QVP");
        if (model < 0) continue;  // the queue refused it: there is no model to set a render kind on
        g_ColiEdit.modelIds.push_back(model);
        Model3_SetRenderKind(Model3_GetById(model), 2);
        const int32_t id = ObjectCreate();
        OBJECT* o = Object_GetById(id);
        if (!o) continue;
        g_ColiEdit.objectIds.push_back(id);
        o->modelId = model;
        const float x = (float)NextPlace();
        const float z = (float)NextPlace();
        o->position[0] = x;
        o->position[1] = 0.0f;
        o->position[2] = z;
        o->collisionEnabled = 1;
    }
    Svc_SetCurrentDirectory("../");
    if (!g_ColiEdit.objectIds.empty())
        if (OBJECT* o = Object_GetById(g_ColiEdit.objectIds.back())) o->position[0] = o->position[1] = o->position[2] = 0.0f;

    if (g_ColiEditUi.openSelectDialog) g_ColiEditUi.openSelectDialog();
    g_ColiEdit.target = COLI_TARGET_AREA;
    ColiEdit_OpenToolDialog();
    Mode_UpdateCurrent();
    if (g_CurView) g_CurView->zoom = 8.0f;
}

void ColiEdit_Exit()
{
    COLI* c = Coli_Get();
    c->active = 0;
    ColiEdit_CompactBoxes();
    ColiEdit_CompactCircles();
    for (int32_t id : g_ColiEdit.objectIds) Object_Delete(id);
    for (int32_t id : g_ColiEdit.modelIds) Model3_Release(id);
    g_ColiEdit.objectIds.clear();
    g_ColiEdit.modelIds.clear();
    if (g_ColiEditUi.closeSelectDialog) g_ColiEditUi.closeSelectDialog();
    ColiEdit_CloseDialogs();
    g_Lib.allocArrays = 1;
}

void ColiEdit_Frame()
{
    OBJECT* o = Object_GetById(ColiEdit_CurrentObject());
    if (!o || !o->active || !Model3_GetById(o->modelId)) return;
    COLI* c = Coli_Get();
    Lib_SetClearColor(128, 128, 128);
    c->active = 1;

    float dx = 0, dz = 0;
    if (g_Lib.keys[kKeyUp]) dz = 0.5f;
    if (g_Lib.keys[kKeyRight]) dx = 0.5f;
    if (g_Lib.keys[kKeyDown]) dz = -0.5f;
    if (g_Lib.keys[kKeyLeft]) dx = -0.5f;
    o->position[0] += dx;
    o->position[2] += dz;

    Coli_ResolveObjects();
    for (int32_t id : g_ColiEdit.objectIds)
        if (OBJECT* t = Object_GetById(id))
            if (t->collisionEnabled) t->collisionVelocity[0] = t->collisionVelocity[1] = t->collisionVelocity[2] = 0.0f;

    VIEW_REC& v = g_Views[g_Screen][0];
    v.pan[0] = o->position[0];
    v.pan[1] = o->position[1];
    v.pan[2] = o->position[2];

    // Picking the wall nearest the mouse on screen, while no button is held.
    if (!g_Lib.mouse.held[0] && !g_Lib.mouse.held[1] && !g_Lib.mouse.held[2] &&
        (g_ColiEdit.target == COLI_TARGET_BOXES || g_ColiEdit.target == COLI_TARGET_CIRCLES)) {
        const bool boxes = g_ColiEdit.target == COLI_TARGET_BOXES;
        int32_t best = -1;
        float bestDist = 99999.9f;
        for (int32_t k = 0; k < kColiWalls; ++k) {
            const bool used = boxes ? c->boxes[k].used == 1 : c->circles[k].used == 1;
            if (!used) continue;
            const float wx = boxes ? c->boxes[k].x : c->circles[k].x, wz = boxes ? c->boxes[k].z : c->circles[k].z;
            VEC3 s{};
            Render_ProjectToScreen(&s, wx, o->position[1], wz);
            const float d = std::sqrt((s.x - g_Lib.mouse.x) * (s.x - g_Lib.mouse.x) + (s.y - g_Lib.mouse.y) * (s.y - g_Lib.mouse.y));
            if (d < bestDist) {
                bestDist = d;
                best = k;
            }
        }
        int32_t& selected = boxes ? g_ColiEdit.selectedBox : g_ColiEdit.selectedCircle;
        if (selected >= 0 && best != selected) (boxes ? g_ColiEdit.refreshBox : g_ColiEdit.refreshCircle) = 1;
        selected = best;
    }
    Render_Set3DScene(1);
    View_RequestRedraw();
}

void ColiEdit_MouseMove(int32_t)
{
    const int32_t mx = g_Lib.mouse.x, my = g_Lib.mouse.y;
    const float dx = (float)(mx - g_ColiEdit.prevMouseX), dy = (float)(my - g_ColiEdit.prevMouseY);
    const int32_t* held = g_Lib.mouse.held;
    COLI* c = Coli_Get();
    if (held[0] && !held[1] && !held[2]) {
        if (g_ColiEdit.target == COLI_TARGET_BOXES && g_ColiEdit.selectedBox >= 0 && g_ColiEdit.selectedBox < kColiWalls) {
            COLI_BOX& b = c->boxes[g_ColiEdit.selectedBox];
            if (g_ColiEdit.boxTool == COLI_TOOL_MOVE) {
                b.x += 0.1f * dx;
                b.z -= 0.1f * dy;
            } else if (g_ColiEdit.boxTool == COLI_TOOL_ROTATE) {
                b.angle += 0.2f * dx - 0.2f * dy;
            } else if (g_ColiEdit.boxTool == COLI_TOOL_SIZE) {
                b.size = std::max(0.1f, b.size + 0.1f * dx - 0.1f * dy);
            }
            g_ColiEdit.refreshBox = 1;
        } else if (g_ColiEdit.target == COLI_TARGET_CIRCLES && g_ColiEdit.selectedCircle >= 0 &&
                   g_ColiEdit.selectedCircle < kColiWalls) {
            COLI_CIRCLE& w = c->circles[g_ColiEdit.selectedCircle];
            if (g_ColiEdit.circleTool == COLI_TOOL_MOVE) {
                w.x += 0.1f * dx;
                w.z -= 0.1f * dy;
            } else if (g_ColiEdit.circleTool == COLI_TOOL_SIZE) {
                w.size = std::max(0.1f, w.size + 0.1f * dx - 0.1f * dy);
            }
            g_ColiEdit.refreshCircle = 1;
        }
        Mode_StoreDragStart(0);
    } else if ((held[1] && !held[0] && !held[2]) || (held[2] && !held[0] && !held[1])) {
        Mode_StoreDragStart(0);
    }
    g_ColiEdit.prevMouseX = mx;
    g_ColiEdit.prevMouseY = my;
}

void ColiEdit_LButtonUp(int32_t)
{
    COLI* c = Coli_Get();
    if (g_ColiEdit.target == COLI_TARGET_BOXES && g_ColiEdit.selectedBox >= 0 && g_ColiEdit.selectedBox < kColiWalls) {
        if (g_ColiEdit.boxTool == COLI_TOOL_COPY) {
            for (int32_t k = 0; k < kColiWalls; ++k) {
                if (c->boxes[k].used == 1) continue;
                c->boxes[k] = c->boxes[g_ColiEdit.selectedBox];
                c->boxes[k].used = 1;
                ++c->boxCount;
                g_ColiEdit.selectedBox = k;
                break;
            }
        } else if (g_ColiEdit.boxTool == COLI_TOOL_DELETE) {
            c->boxes[g_ColiEdit.selectedBox].used = 0;
            ColiEdit_CompactBoxes();
            if (g_ColiEdit.selectedBox >= c->boxCount) g_ColiEdit.selectedBox = c->boxCount - 1;
            g_ColiEdit.refreshBox = 1;
        }
    } else if (g_ColiEdit.target == COLI_TARGET_CIRCLES && g_ColiEdit.selectedCircle >= 0 &&
               g_ColiEdit.selectedCircle < kColiWalls) {
        if (g_ColiEdit.circleTool == COLI_TOOL_COPY) {
            for (int32_t k = 0; k < kColiWalls; ++k) {
                if (c->circles[k].used == 1) continue;
                c->circles[k] = c->circles[g_ColiEdit.selectedCircle];
                c->circles[k].used = 1;
                ++c->circleCount;
                g_ColiEdit.selectedCircle = k;
                break;
            }
        } else if (g_ColiEdit.circleTool == COLI_TOOL_DELETE) {
            c->circles[g_ColiEdit.selectedCircle].used = 0;
            ColiEdit_CompactCircles();
            if (g_ColiEdit.selectedCircle >= c->circleCount) g_ColiEdit.selectedCircle = c->circleCount - 1;
            g_ColiEdit.refreshCircle = 1;
        }
    }
}

void ColiEdit_MButtonDown(int32_t lParam) { Mode_StoreDragStart(lParam); }

void ColiEdit_KeyDown(int key)
{
    if (key == 'E' || key == 'G' || key == 'R' || key == 'T') ColiEdit_RefreshBoxDlg();
}

void ColiEdit_Draw()
{
    if (!V_SyncGet()) Draw_Text(100, 10, "オプション -> 垂直同期 -> ONにされないと、時の流れ(タイミング)が合いません。");
}

void ColiEdit_DrawOverlay()
{
    COLI* c = g_Coli;
    if (!c) return;
    const float floorY = c->area[1], top = c->wallHeight;
    const OBJECT* first = Object_GetById(0);
    const float y0 = first ? first->position[1] : 0.0f;
    Tex_Set(-1);
    if (const MODEL3* m = Model3_GetById(c->modelId)) {
        auto drawFace = [&](const FACE3& f, float lift, int r, int g, int b, int a) {
            const XYZ n = Model3_NormalAt(m, f.corners[0][CORNER_NORMAL]);
            const int32_t tris = f.cornerCount < 3 ? 0 : (f.cornerCount > 4 ? 2 : f.cornerCount - 2);
            for (int32_t k = 0; k < tris; ++k) {
                const XYZ p0 = Model3_PositionAt(m, f.corners[0][CORNER_POS]);
                const XYZ p1 = Model3_PositionAt(m, f.corners[k + 1][CORNER_POS]);
                const XYZ p2 = Model3_PositionAt(m, f.corners[k + 2][CORNER_POS]);
                Draw_Triangle3D(p0.x + lift * n.x, p0.y + lift * n.y, p0.z + lift * n.z, n.x, n.y, n.z, r, g, b, a, 0, 0,
                                p1.x + lift * n.x, p1.y + lift * n.y, p1.z + lift * n.z, n.x, n.y, n.z, r, g, b, a, 0, 0,
                                p2.x + lift * n.x, p2.y + lift * n.y, p2.z + lift * n.z, n.x, n.y, n.z, r, g, b, a, 0, 0);
            }
        };
        const int32_t last = c->lastFace[0];
        if (last >= 0) {
            c->lastFace[0] = -1;
            if ((size_t)last < m->faces.size()) drawFace(m->faces[(size_t)last], 1.0f, 0, 0, 255, 64);
        }
        for (const FACE3& f : m->faces) drawFace(f, 0.0f, 255, 0, 255, 128);
    }
    for (int32_t k = 0; k < kColiWalls; ++k) {
        const COLI_BOX& b = c->boxes[k];
        if (b.used != 1) continue;
        const bool sel = k == g_ColiEdit.selectedBox;
        const int red = 255, green = sel ? 255 : 0;
        float px[4], pz[4];
        const float corners[4][2] = {{-b.size, -b.size}, {b.size, -b.size}, {b.size, b.size}, {-b.size, b.size}};
        for (int i = 0; i < 4; ++i) {
            ColiEdit_RotatePoints(corners[i][0], corners[i][1], b.angle, &px[i], &pz[i]);
            px[i] += b.x;
            pz[i] += b.z;
        }
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            Draw_Line3D(px[i], top, pz[i], red, green, 0, 255, 0, 0, px[j], top, pz[j], red, green, 0, 255, 0, 0);
            Draw_Line3D(px[i], floorY, pz[i], red, green, 0, 255, 0, 0, px[i], top, pz[i], red, green, 0, 255, 0, 0);
        }
    }
    for (int32_t k = 0; k < kColiWalls; ++k) {
        const COLI_CIRCLE& w = c->circles[k];
        if (w.used != 1) continue;
        const bool sel = k == g_ColiEdit.selectedCircle;
        Circle16(w.x, floorY, top, w.z, w.size, true, 255, sel ? 255 : 0, 0);
    }
    for (size_t i = 0; i < g_ObjectTable.size(); ++i) {
        const OBJECT* o = g_ObjectTable[i];
        const MODEL3* m = o && o->active && o->collisionEnabled ? Model3_GetById(o->modelId) : nullptr;
        if (m) Circle16(o->position[0], 0, y0 + 5.0f, o->position[2], m->radius, false, 0, 255, 255);
    }
    const float* a = c->area;
    Draw_Quad3D(a[0], floorY, a[2], 0, 1, 0, 255, 128, 128, 64, 0, 0, a[3], floorY, a[2], 0, 1, 0, 255, 128, 128, 64, 0, 0,
                a[3], floorY, a[5], 0, 1, 0, 255, 128, 128, 64, 0, 0, a[0], floorY, a[5], 0, 1, 0, 255, 128, 128, 64, 0, 0);
    for (int side = 0; side < 2; ++side) {
        const float x = side ? a[3] : a[0];
        Draw_Quad3D(x, floorY, a[2], 0, 1, 0, 0, 255, 100, 128, 0, 0, x, floorY, a[5], 0, 1, 0, 0, 255, 100, 128, 0, 0, x,
                    a[4], a[5], 0, 1, 0, 0, 255, 100, 128, 0, 0, x, a[4], a[2], 0, 1, 0, 0, 255, 100, 128, 0, 0);
    }
    Draw_Quad3D(a[0], floorY, a[5], 0, 1, 0, 64, 128, 255, 128, 0, 0, a[3], floorY, a[5], 0, 1, 0, 64, 128, 255, 128, 0, 0,
                a[3], a[4], a[5], 0, 1, 0, 64, 128, 255, 128, 0, 0, a[0], a[4], a[5], 0, 1, 0, 64, 128, 255, 128, 0, 0);
    const float low = y0 + 7.0f;
    Draw_Quad3D(a[0], floorY, a[2], 0, 1, 0, 0, 255, 255, 64, 0, 0, a[3], floorY, a[2], 0, 1, 0, 0, 255, 255, 64, 0, 0,
                a[3], low, a[2], 0, 1, 0, 0, 255, 255, 64, 0, 0, a[0], low, a[2], 0, 1, 0, 0, 255, 255, 64, 0, 0);
}
