// The 2D polygon screen's state, commands and input handlers.
#include "edit2d/poly2d_screen.h"
#include "edit2d/group2d.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/views.h"

int32_t g_Poly2DRefresh = 0;
POLY2D_UI g_Poly2DUi = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

namespace {

constexpr int32_t kClipboardSlot = 27;

enum : int32_t { TOOL_SELECT = 0, TOOL_MOVE = 1, TOOL_ROTATE = 2, TOOL_SCALE = 3, TOOL_FACES = 5, TOOL_FREE = 6, TOOL_UV = 10 };

int32_t& Tool() { return g_PolyEditState.tool; }
int32_t& FaceMode() { return g_PolyEditState.selectionMode; }
bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool MiddleHeld() { return g_Lib.mouse.held[1] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }

void Caption(const char* text) { Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, text, sizeof g_UndoCaption); }
void Message(const char* text) { Lib_MessageBox(text); }
void ActivateMain()
{
    if (g_Poly2DUi.activateMain) g_Poly2DUi.activateMain();
}
// A refused append: the studio's message, nothing changed.
bool Refused(POLY2D_RESULT r)
{
    if (r != POLY2D_LIMIT) return false;
    Message("頂点数または面数が上限を超えます。");
    return true;
}
bool SelReady() { return g_VertexSel && g_FaceSel; }

} // namespace

QVL::MODEL2* Poly2D_Model() { return SelReady() ? Model2_Get(0) : nullptr; }

POLY2D_SEL Poly2D_Selection()
{
    return POLY2D_SEL{g_VertexSel, g_FaceSel, Sel_VertexCapacity(), Sel_FaceCapacity(), FaceMode() ? 1 : 0};
}

bool Poly2D_InRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return x > left && x < right && y > top && y < bottom;
}

void Poly2D_RectSelect(int32_t face, int32_t corner, int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
                       int32_t bottom)
{
    QVL::MODEL2* m = Poly2D_Model();
    const int32_t tool = Tool();
    if (!m || (tool != TOOL_SELECT && tool != TOOL_FACES)) return;
    if (face < 0 || face >= m->polygonCount || (size_t)face >= m->polygons.size() || face >= Sel_FaceCapacity()) return;
    const bool leftHeld = LeftHeld();
    if (!leftHeld && !RightHeld()) return;
    const int32_t flag = leftHeld ? 1 : 0;
    const QVL::FACE2& f = m->polygons[(size_t)face];
    const int32_t vmax = Sel_VertexCapacity();
    if (FaceMode()) {
        bool hit = Poly2D_InRect(x, y, left, top, right, bottom);
        if (!hit && g_FaceCentres)
            hit = Poly2D_InRect((int32_t)g_FaceCentres[face][0], (int32_t)g_FaceCentres[face][1], left, top, right,
                                bottom);
        if (!hit) return;
        g_FaceSel[face] = flag;
        for (int32_t k = 0; k < f.cornerCount && k < 4; ++k)
            if (f.corners[k][0] < vmax) g_VertexSel[f.corners[k][0]] = flag;
    } else if (corner >= 0 && corner < 4 && Poly2D_InRect(x, y, left, top, right, bottom)) {
        if (f.corners[corner][0] < vmax) g_VertexSel[f.corners[corner][0]] = flag;
    }
}

void Poly2D_DragPoint(int32_t tool, float dx, float dy, float px, float py, float mx, float my, float* x, float* y)
{
    switch (tool) {
    case TOOL_MOVE:
        *x += dx;
        *y += dy;
        break;
    case TOOL_ROTATE: {
        const double a = (0.5 * dy - 0.5 * dx) * 3.14159265358979323846 / 180.0;
        const float c = (float)std::cos(a), s = (float)std::sin(a);
        const float gx = mx + *x - px, gy = my + *y - py;
        *x = px + (s * gy + c * gx) - mx;
        *y = (c * gy - s * gx) - my + py;
        break;
    }
    case TOOL_SCALE: {
        const float ox = (mx + *x - px) * dx * 0.005f;
        const float oy = dy * (*y + my - py) * 0.005f;
        *x += ox;
        *y -= oy;
        break;
    }
    default: break;
    }
}

bool Poly2D_LivePoint(int32_t cursorX, int32_t cursorY, float zoom, float out[3])
{
    if (zoom == 0.0f || !std::isfinite(zoom)) return false;
    const float x = (float)cursorX / 40.0f / zoom, y = -(float)cursorY / 40.0f / zoom;
    if (x == 0.0f && y == 0.0f) return false;
    out[0] = x, out[1] = y, out[2] = 0;
    return true;
}

void Poly2D_CountText(const QVL::MODEL2* m, const POLY2D_SEL& s, char* out, int cap)
{
    int32_t corners = 0, selCorners = 0, used = 0, selFaces = 0;
    const int32_t n = std::min<int32_t>(m->polygonCount, (int32_t)m->polygons.size());
    for (int32_t f = 0; f < n; ++f) {
        const QVL::FACE2& face = m->polygons[(size_t)f];
        if (!face.used) continue;
        ++used;
        if (f < s.maxPolygons && s.faceSel[f]) ++selFaces;
        for (int32_t k = 0; k < face.cornerCount && k < 4; ++k) {
            ++corners;
            if (face.corners[k][0] < s.maxVertices && s.vertexSel[face.corners[k][0]]) ++selCorners;
        }
    }
    if (s.faceMode) Str_Format(out, (size_t)cap, "面  %4d / %4d", selFaces, used);
    else Str_Format(out, (size_t)cap, "頂点  %4d / %4d", selCorners, corners);
}

void Poly2D_ShowCounts()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m || !g_Poly2DUi.setCountText) return;
    char text[64];
    Poly2D_CountText(m, Poly2D_Selection(), text, sizeof text);
    g_Poly2DUi.setCountText(text);
}

void Poly2D_Enter()
{
    g_CurLayer = 0;
    g_ScreenGroup = 2;
    g_CurModel2Id = 0;
    if (g_Poly2DUi.openDialog) g_Poly2DUi.openDialog();
}

void Poly2D_Exit()
{
    if (g_Poly2DUi.closeDialog) g_Poly2DUi.closeDialog();
}

void Poly2D_Frame()
{
    if (Tool() == TOOL_FREE && g_FreeCreateCount >= 0 && g_FreeCreateCount < 4 && g_CurView)
        Poly2D_LivePoint(g_PressPoint.x, g_PressPoint.y, g_CurView->zoom, g_FreeCreatePoints[g_FreeCreateCount]);
    if (QVL::MODEL2* m = Poly2D_Model()) m->displayState = 2;
}

void Poly2D_Drag(int32_t)
{
    if (!LeftHeld() || MiddleHeld() || RightHeld()) return;
    g_DragCurrent = g_PressPoint;
    QVL::MODEL2* m = Poly2D_Model();
    const int32_t tool = Tool();
    const char* caption = tool == TOOL_MOVE ? "移動 ( モデリング )" : tool == TOOL_ROTATE ? "回転 ( モデリング )"
                        : tool == TOOL_SCALE ? "拡大 ( モデリング )" : nullptr;
    if (m && caption) {
        Caption(caption);
        g_UndoPending = 1;
        const int32_t n = std::min<int32_t>(m->vertexCount, (int32_t)m->vertices.size());
        const int32_t cap = Sel_VertexCapacity();
        for (int32_t i = 0; i < n && i < cap; ++i)
            if (g_VertexSel[i])
                Poly2D_DragPoint(tool, g_MouseDelta.x, g_MouseDelta.y, (float)g_DragStart.x, (float)g_DragStart.y, m->x,
                                 m->y, &m->vertices[(size_t)i].x, &m->vertices[(size_t)i].y);
    }
    g_PrevMousePos = g_PressPoint;
}

void Poly2D_LButtonUp(int32_t)
{
    if (Tool() == TOOL_FREE) {
        if (g_FreeCreateCount < 3) ++g_FreeCreateCount;
        else Poly2D_FreeCreate();
    }
    g_Poly2DRefresh = 1;
}

void Poly2D_RButtonUp(int32_t)
{
    g_Poly2DRefresh = 1;
    if (Tool() == TOOL_FREE) g_FreeCreateCount = 0;
}

void Poly2D_VertexMode()
{
    Tool() = TOOL_SELECT;
    g_Poly2DRefresh = 1;
    if (!SelReady()) return;
    POLY2D_SEL s = Poly2D_Selection();
    Poly2DOps_SetMode(s, 0);
    FaceMode() = 0;
    g_DragStart = g_DragCurrent = POINT32{0, 0};
}

void Poly2D_FaceMode()
{
    Tool() = TOOL_FACES;
    g_Poly2DRefresh = 1;
    if (!SelReady()) return;
    POLY2D_SEL s = Poly2D_Selection();
    Poly2DOps_SetMode(s, 1);
    FaceMode() = 1;
    g_DragStart = g_DragCurrent = POINT32{0, 0};
}

void Poly2D_SelectAll()
{
    if (!Poly2D_Model()) return;
    Poly2DOps_SelectAll(Poly2D_Selection());
    g_Poly2DRefresh = 1;
}

void Poly2D_InvertSelection()
{
    if (!Poly2D_Model()) return;
    Poly2DOps_InvertSelection(Poly2D_Selection());
    g_Poly2DRefresh = 1;
}

void Poly2D_DeleteLeftHalf()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    Poly2DOps_DeleteLeftHalf(m, Poly2D_Selection());
    Caption("左半分消 ( モデリング )");
    g_Poly2DRefresh = 1;
}

void Poly2D_FlipFaces()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m || Poly2DOps_Flip(m, Poly2D_Selection()) != POLY2D_DONE) return;
    Caption("反転 ( モデリング )");
    g_Poly2DRefresh = 1;
}

void Poly2D_RemoveFaces()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    const POLY2D_RESULT r = Poly2DOps_RemoveFaces(m, Poly2D_Selection());
    if (Refused(r) || r != POLY2D_DONE) return;
    Caption("面撤去 ( モデリング )");
    g_Poly2DRefresh = 1;
}

void Poly2D_Optimise()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    Poly2DOps_Optimise(m, Poly2D_Selection());
    Tool() = TOOL_MOVE;
    g_Poly2DRefresh = 1;
}

namespace {

void Primitive(POLY2D_RESULT r, const char* caption)
{
    if (Refused(r)) return;
    Tool() = TOOL_MOVE;
    Bone2D_UpdateJoints();
    Caption(caption);
    g_Poly2DRefresh = 1;
    ActivateMain();
}

} // namespace

void Poly2D_AddTriangle()
{
    if (QVL::MODEL2* m = Poly2D_Model())
        Primitive(Poly2DOps_AddPrimitive(m, Poly2D_Selection(), 3, g_CurGroup), "３角形 追加 ( モデリング )");
}

void Poly2D_AddQuad()
{
    if (QVL::MODEL2* m = Poly2D_Model())
        Primitive(Poly2DOps_AddPrimitive(m, Poly2D_Selection(), 4, g_CurGroup), "４角形 追加 ( モデリング )");
}

void Poly2D_AddCircle()
{
    if (QVL::MODEL2* m = Poly2D_Model())
        Primitive(Poly2DOps_AddCircle(m, Poly2D_Selection(), g_CurGroup), "円 追加 ( モデリング )");
}

void Poly2D_DeleteSelected()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    Poly2DOps_DeleteSelected(m, Poly2D_Selection());
    g_Poly2DRefresh = 1;
}

void Poly2D_Delete()
{
    if (!Poly2D_Model()) return;
    Poly2D_DeleteSelected();
    Caption("消去 ( モデリング )");
}

void Poly2D_Copy()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    if (!FaceMode()) {
        Message("面選択モードで利用できます。");
        return;
    }
    QVL::MODEL2* clip = Model2_Get(kClipboardSlot);
    if (!clip) clip = Model2_Create(kClipboardSlot);
    if (!clip) return;
    Poly2DOps_Copy(m, Poly2D_Selection(), clip);
    ActivateMain();
}

void Poly2D_Cut()
{
    if (!Poly2D_Model()) return;
    if (!FaceMode()) {
        Message("面選択モードで利用できます。");
        return;
    }
    Poly2D_Copy();
    Poly2D_DeleteSelected();
}

void Poly2D_Paste()
{
    QVL::MODEL2* m = Poly2D_Model();
    const QVL::MODEL2* clip = Model2_Get(kClipboardSlot);
    if (!m || !clip) return;
    if (Refused(Poly2DOps_Paste(m, Poly2D_Selection(), clip))) return;
    Tool() = TOOL_MOVE;
    g_Poly2DRefresh = 1;
    ActivateMain();
}

void Poly2D_Merge()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    const int32_t faceMode = FaceMode();
    if (Poly2DOps_Merge(m, Poly2D_Selection()) != POLY2D_DONE) return;
    Caption(faceMode ? "統合:面 ( モデリング )" : "統合:頂点 ( モデリング )");
    g_Poly2DRefresh = 1;
}

void Poly2D_FreeCreate()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m || Tool() != TOOL_FREE) return;
    const int32_t n = std::max(0, std::min(g_FreeCreateCount, 3)) + 1;
    g_FreeCreateCount = 0;
    g_Poly2DRefresh = 1;
    if (Refused(Poly2DOps_FreeCreate(m, Poly2D_Selection(), g_FreeCreatePoints, n, g_CurGroup))) return;
    char text[64];
    Str_Format(text, sizeof text, "自由作成:%d ( モデリング )", n);
    Caption(text);
}

void Poly2D_ApplyColour()
{
    QVL::MODEL2* m = Poly2D_Model();
    int32_t rgba[4];
    if (!m || !g_Poly2DUi.readColour || !g_Poly2DUi.readColour(rgba)) return;
    for (int i = 0; i < 4; ++i) g_PolyColour[i] = std::max(0, std::min(rgba[i], 255));
    if (Poly2DOps_ApplyColour(m, Poly2D_Selection(), g_PolyColour) == POLY2D_LIMIT) Message("色数が上限を超えます。");
}

void Poly2D_MakeFace()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    g_FreeCreateCount = 0;
    const POLY2D_RESULT r = Poly2DOps_MakeFace(m, Poly2D_Selection());
    if (r == POLY2D_TOO_FEW) Message("２つ以上頂点を選択して下さい。");
    if (Refused(r) || r != POLY2D_DONE) return;
    Caption("作成 ( モデリング )");
    g_Poly2DRefresh = 1;
}

void Poly2D_SplitFaces()
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    const POLY2D_RESULT r = Poly2DOps_Split(m, Poly2D_Selection());
    if (r == POLY2D_NEED_FACE_MODE) {
        Message("面選択モードで、利用できます。");
        return;
    }
    if (Refused(r)) return;
    if (r == POLY2D_ONLY_QUADS) Message("４角形のみ分割できます。");
    Caption("分割 ( モデリング )");
    g_Poly2DRefresh = 1;
}

void Poly2D_AddFile(const char* file)
{
    QVL::MODEL2* m = Poly2D_Model();
    if (!m || !file || !file[0]) return;
    const int32_t id = Model3_LoadWait(file);
    if (id >= 0) {
        if (const QVL::MODEL3* src = Model3_GetById(id)) {
            if (!Refused(Poly2DOps_AddModel3(m, Poly2D_Selection(), src, g_CurGroup))) {
                Tool() = TOOL_MOVE;
                Bone2D_UpdateJoints();
            }
        }
        Model3_Release(id);
    }
    g_Poly2DRefresh = 1;
    ActivateMain();
}

bool Poly2D_Command(int id)
{
    switch (id) {
    case 1141: Poly2D_VertexMode(); return true;
    case 1142: Poly2D_FaceMode(); return true;
    case 1134: Poly2D_SelectAll(); return true;
    case 1133: Poly2D_InvertSelection(); return true;
    case 1135: Poly2D_DeleteLeftHalf(); return true;
    case 1140: Tool() = TOOL_MOVE; g_Poly2DRefresh = 1; return true;
    case 1145: Tool() = TOOL_ROTATE; g_Poly2DRefresh = 1; return true;
    case 1148: Tool() = TOOL_SCALE; g_Poly2DRefresh = 1; return true;
    case 1151: Tool() = TOOL_UV; g_Poly2DRefresh = 1; return true;
    case 1153: Tool() = TOOL_FREE; g_FreeCreateCount = 0; g_Poly2DRefresh = 1; return true;
    case 1149: Poly2D_Delete(); return true;
    case 1144: Poly2D_Cut(); Caption("カット ( モデリング )"); return true;
    case 1147: Poly2D_Copy(); Caption("コピー ( モデリング )"); return true;
    case 1150: Poly2D_Paste(); Caption("貼り付け ( モデリング )"); return true;
    case 1143: Poly2D_SplitFaces(); return true;
    case 1146: Poly2D_Merge(); return true;
    case 1173: Poly2D_MakeFace(); return true;
    case 1174: Poly2D_FlipFaces(); return true;
    case 1184: Poly2D_RemoveFaces(); return true;
    case 1177: Poly2D_Optimise(); Caption("最適化 ( モデリング )"); return true;
    case 1165: Poly2D_AddTriangle(); return true;
    case 1168: Poly2D_AddQuad(); return true;
    case 1170: Poly2D_AddCircle(); return true;
    case 1159:
        Poly2D_ApplyColour();
        Caption("決定ボタン ( モデリング )");
        View_RequestRedraw();
        return true;
    case 1154: {
        char file[260] = "";
        if (!g_Poly2DUi.askFile || !g_Poly2DUi.askFile(file, sizeof file) || !file[0]) return true;
        Poly2D_AddFile(file);
        char text[320];
        Str_Format(text, sizeof text, "%.255s ( モデリング )", file);
        Caption(text);
        return true;
    }
    case 1181:
    case 1187: {
        QVL::MODEL2* m = Poly2D_Model();
        if (!m) return true;
        int32_t& flag = id == 1181 ? m->light : m->vertexColorFlag;
        flag = !flag;
        if (id == 1181) Caption(flag ? "ライトON ( モデリング )" : "ライトOFF ( モデリング )");
        else Caption(flag ? "頂点カラーフラグON ( モデリング )" : "頂点カラーフラグOFF ( モデリング )");
        View_RequestRedraw();
        return true;
    }
    case 1349: g_AutoSelect = !g_AutoSelect; g_Poly2DRefresh = 1; return true;
    case 1350: g_App.showNormals = !g_App.showNormals; g_Poly2DRefresh = 1; return true;
    default: return false;
    }
}

void Poly2D_Refresh()
{
    g_Poly2DRefresh = 1;
    Group2D_FillGroupList();
    View_RequestRedraw();
}
