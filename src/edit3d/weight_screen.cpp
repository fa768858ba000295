// The weight screen: its enter and exit, the views' weight display, the picks and the numbers.
#include "edit3d/weight_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_drag.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/motion3.h"
#include "model/skeleton.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/ui_services.h"
#include "shell/views.h"

void* g_Weight3DDlg = nullptr;
int32_t g_Weight3DDirty = 0;
int32_t g_PrevBone = 0;

namespace {

enum : int { KEY_LEFT = 0x25, KEY_UP = 0x26, KEY_RIGHT = 0x27, KEY_DOWN = 0x28 };

bool IsOrtho(int32_t type) { return type >= VIEW_TYPE_FRONT && type <= VIEW_TYPE_SIDE; }
bool Held(int i) { return g_Lib.mouse.held[i] != 0; }

int32_t Bones(const QVL::MODEL3* m) { return std::clamp<int32_t>(m->boneCount, 0, QVL::kModel3Bones); }

void SetItem(int id, const char* text)
{
    if (g_Weight3DDlg) Wnd_SetText(Model3DDlg_Item(g_Weight3DDlg, id), text);
}

void BoneScreenPoint(const QVL::MODEL3* m, const VIEW_REC& v, int32_t bone, int32_t* x, int32_t* y)
{
    QVL::VEC3 j;
    Motion3_GetBoneRestPosition(&j, m->id, bone);
    const float p[3] = {j.x, j.y, j.z};
    View_OrthoToScreen(v, p, x, y);
}

bool BoundTo(const QVL::WEIGHT3& w, int32_t bone) { return w.boneA == bone || w.boneB == bone; }

void DrawSquare(int32_t x, int32_t y) { Draw_Rect2D(x - 3, y - 3, x + 3, y + 3, 255, 255, 0, 255); }

void DrawOrtho(const QVL::MODEL3* m, const VIEW_REC& v, bool underMouse, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2)
{
    const int32_t faces = std::min(m->faceCount, (int32_t)m->faces.size());
    const int32_t vertexCap = Sel_VertexCapacity();
    for (int32_t f = 0; f < faces; ++f) {
        const QVL::FACE3& face = m->faces[(size_t)f];
        const int corners = std::min<int>(face.cornerCount, 4);
        int32_t sx[4], sy[4];
        for (int k = 0; k < corners; ++k) {
            const QVL::XYZ q = Model3_PositionAt(m, face.corners[k][QVL::CORNER_POS]);
            const float p[3] = {q.x, q.y, q.z};
            View_OrthoToScreen(v, p, &sx[k], &sy[k]);
        }
        for (int k = 0; k < corners; ++k) {
            const int n = k + 1 < corners ? k + 1 : 0;
            if (sx[k] == sx[n] && sy[k] == sy[n]) Draw_Point2DSimple(sx[k], sy[k], 160, 160, 160, 255);
            else Draw_Line2DSimple(sx[k], sy[k], sx[n], sy[n], 160, 160, 160, 255);
        }
        for (int k = 0; k < corners; ++k) {
            if (underMouse) View_RectSelect3D(f, k, sx[k], sy[k], x1, y1, x2, y2);
            const int32_t p = face.corners[k][QVL::CORNER_POS];
            if (g_CurBone > 0 && BoundTo(Model3_WeightAt(m, p), g_CurBone)) {
                Draw_Point2DSimple(sx[k] - 1, sy[k], 255, 255, 0, 255);
                Draw_Point2DSimple(sx[k] + 1, sy[k], 255, 255, 0, 255);
                Draw_Point2DSimple(sx[k], sy[k] - 1, 255, 255, 0, 255);
                Draw_Point2DSimple(sx[k], sy[k] + 1, 255, 255, 0, 255);
            }
            if (g_VertexSel && p >= 0 && p < vertexCap && g_VertexSel[p] == 1) DrawSquare(sx[k], sy[k]);
        }
    }
    const int32_t bones = Bones(m);
    for (int32_t b = 0; b < bones; ++b) {
        int32_t x, y;
        BoneScreenPoint(m, v, b, &x, &y);
        const int g = b == g_CurBone ? 255 : 180;
        Draw_Line2DSimple(x - 5, y - 5, x + 5, y + 5, g, g, 0, 255);
        Draw_Line2DSimple(x - 5, y + 5, x + 5, y - 5, g, g, 0, 255);
        const int32_t parent = m->bones[b].parent;
        if (parent > 0 && parent < bones) {
            int32_t px, py;
            BoneScreenPoint(m, v, parent, &px, &py);
            Draw_Line2DSimple(x, y, px, py, 125, 125, 0, 255);
        }
    }
}

void DrawMain(const QVL::MODEL3* m, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    View_ProjectVertices3D();
    if (!g_ProjVerts || !g_VertexSel) return;
    const int32_t n = std::min({m->positionCount, (int32_t)m->positions.size(), Sel_VertexCapacity()});
    for (int32_t p = 0; p < n; ++p) {
        const float x = g_ProjVerts[p][0], y = g_ProjVerts[p][1];
        if ((float)x1 < x && x < (float)x2 && (float)y1 < y && y < (float)y2) {
            if (g_SelectDrag) g_VertexSel[p] = 1;
            else if (g_DeselectDrag) g_VertexSel[p] = 0;
        }
        if (g_VertexSel[p] == 1) DrawSquare(Sel_TruncPixel(x), Sel_TruncPixel(y));
    }
}

} // namespace

float Weight3D_ClampWeight(double w)
{
    if (!(w >= 0.0)) return 0.0f;   // negative, or no number at all (NaN)
    return w > 1.0 ? 1.0f : (float)w;
}

uint8_t Weight3D_ClampBone(long bone)
{
    return (uint8_t)std::clamp<long>(bone, 0, QVL::kModel3Bones - 1);
}

void Weight3D_Enter()
{
    g_CurLayer = 0;
    Mode_UpdateCurrent();
    g_PolyEditState.tool = POLY_TOOL_SELECT;
    g_PolyEditState.selectionMode = 0;
    if (!g_Weight3DDlg) {
        g_Weight3DDlg = Model3DDlg_Create(MODEL3D_DLG_WEIGHT);
        if (g_Weight3DDlg) Model3DDlg_Place(g_Weight3DDlg, 0, 317, 90, 180);
    }
    Sel_ClearAll();
    // The cleared selection leaves no vertex picked.
    g_WeightVertex = -1;
}

void Weight3D_Exit()
{
    if (g_Weight3DDlg) Wnd_Destroy(g_Weight3DDlg);
    g_Weight3DDlg = nullptr;
}

void Weight3D_Frame()
{
    Mode_UpdateCurrent();
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    if (g_PolyEditState.tool == POLY_TOOL_SELECT || g_PolyEditState.tool == 5) View_ClassifyDrag();
    m->fillMode = 3;
    Render_Set3DScene(1);
}

void Weight3D_Draw()
{
    const VIEW_REC* v = g_CurView;
    const QVL::MODEL3* m = g_CurModel3;
    if (!v || !m) return;
    const int32_t x1 = std::min(g_DragStart.x, g_DragCurrent.x), x2 = std::max(g_DragStart.x, g_DragCurrent.x);
    const int32_t y1 = std::min(g_DragStart.y, g_DragCurrent.y), y2 = std::max(g_DragStart.y, g_DragCurrent.y);
    const bool underMouse = g_CurViewIndex == g_PickedView;
    if (IsOrtho(v->type)) DrawOrtho(m, *v, underMouse, x1, y1, x2, y2);
    else if (v->type == VIEW_TYPE_MAIN) DrawMain(m, x1, y1, x2, y2);
    if (underMouse) {
        if (g_SelectDrag) Draw_Rect2D(x1, y1, x2, y2, 0, 0, 255, 255);
        else if (g_DeselectDrag) Draw_Rect2D(x1, y1, x2, y2, 255, 0, 0, 255);
    }
    if (!Held(0) && !Held(1)) {
        for (int32_t b = 1; b < Bones(m); ++b) Model3D_DrawJointCross(b, -1);
    } else if (g_CurBone > 0) {
        Model3D_DrawJointCross(g_CurBone, -1);
    }
}

void Weight3D_MouseMove(int32_t)
{
    if (!Held(0) && !Held(2)) return;
    g_DragCurrent = g_PressPoint;
    // The rectangle follows the mouse only where the views are drawn again.
    View_RequestRedraw();
}

int32_t Weight3D_NearestBone(const QVL::MODEL3* m, int32_t viewType, int32_t centreX, int32_t centreY,
                             const float pan[3], float zoom, int32_t x, int32_t y)
{
    VIEW_REC v{};
    v.type = viewType;
    v.centreX = centreX, v.centreY = centreY;
    v.pan[0] = pan[0], v.pan[1] = pan[1], v.pan[2] = pan[2];
    v.zoom = zoom;
    double best = 99999.9;
    int32_t found = -1;
    for (int32_t b = 0; b < Bones(m); ++b) {
        int32_t sx, sy;
        BoneScreenPoint(m, v, b, &sx, &sy);
        const double d = std::fabs((double)sx - x) + std::fabs((double)sy - y);
        if (d <= best) best = d, found = b;
    }
    return found;
}

bool Weight3D_ShowVertex()
{
    const QVL::MODEL3* m = g_CurModel3;
    // No picked vertex (-1) or one past the positions: the fields keep what they show.
    if (!m || g_WeightVertex < 0 || g_WeightVertex >= m->positionCount) return false;
    const QVL::WEIGHT3 w = Model3_WeightAt(m, g_WeightVertex);
    char text[64];
    Str_Format(text, sizeof text, "%d", w.boneA);
    SetItem(1126, text);
    Str_Format(text, sizeof text, "%d", w.boneB);
    SetItem(1127, text);
    Str_Format(text, sizeof text, "%1.2f", (double)w.weightA);
    SetItem(1128, text);
    g_Weight3DDirty = 1;
    return true;
}

void Weight3D_RButtonUp(int32_t)
{
    const VIEW_REC* v = g_CurView;
    if (!v) return;
    if (v->type == VIEW_TYPE_MAIN) {
        View_PickBone3D(false);
        View_PickVertex3D(false);
        Weight3D_ShowVertex();
        return;
    }
    const QVL::MODEL3* m = g_CurModel3;
    if (!m || !IsOrtho(v->type) || g_DragCurrent.x != g_DragStart.x || g_DragCurrent.y != g_DragStart.y) return;
    const int32_t bone =
        Weight3D_NearestBone(m, v->type, v->centreX, v->centreY, v->pan, v->zoom, g_PressPoint.x, g_PressPoint.y);
    if (bone < 0 || bone == g_CurBone) return;
    g_PrevBone = g_CurBone;
    g_CurBone = bone;
    Model3D_FillBoneList();
    View_RequestRedraw();
}

void Weight3D_KeyDown(int key)
{
    VIEW_REC* v = g_CurView;
    if (Held(0) || Held(2) || !v || !IsOrtho(v->type) || v->zoom == 0.0f) return;
    const float step = 2.0f / v->zoom;
    const int t = v->type;
    switch (key) {
    case KEY_RIGHT: (t == VIEW_TYPE_SIDE ? v->pan[2] -= step : v->pan[0] += step); break;
    case KEY_LEFT: (t == VIEW_TYPE_SIDE ? v->pan[2] += step : v->pan[0] -= step); break;
    case KEY_UP: (t == VIEW_TYPE_TOP ? v->pan[2] -= step : v->pan[1] += step); break;
    case KEY_DOWN: (t == VIEW_TYPE_TOP ? v->pan[2] += step : v->pan[1] -= step); break;
    default: return;
    }
    View_RequestRedraw();
}

void Weight3D_Assign(const char* boneA, const char* boneB, const char* weight)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    const uint8_t a = Weight3D_ClampBone(boneA ? std::atol(boneA) : 0);
    const uint8_t b = Weight3D_ClampBone(boneB ? std::atol(boneB) : 0);
    const float w = Weight3D_ClampWeight(weight ? std::atof(weight) : 0.0);
    Model3_FitArrays(m);
    if (g_VertexSel) {
        const int32_t n = std::min({m->positionCount, (int32_t)m->weights.size(), Sel_VertexCapacity()});
        for (int32_t p = 0; p < n; ++p) {
            if (g_VertexSel[p] != 1) continue;
            QVL::WEIGHT3& out = m->weights[(size_t)p];
            out.boneA = a;
            out.boneB = b;
            out.weightA = w;
            out.automatic = a == 0 && b == 0 ? 1 : 0;
        }
    }
    Model3_AutoWeights(m);
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, "数値入力 ( ウエイト )");
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}
