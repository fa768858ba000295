// The polygon screen's state, commands and input handlers.
#include "edit3d/poly_screen.h"

#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_dialogs.h"
#include "edit3d/poly_drag.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/model_load.h"
#include "model/normals.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/grid.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/navigation.h"
#include "shell/picking.h"
#include "shell/views.h"

int32_t g_Poly3DDirty = 0;
int32_t g_FreeCreateCount = 0;
float g_FreeCreatePoints[4][3];
int32_t g_PolyColour[4] = {200, 200, 200, 255};
QVL::MODEL3* g_PolyClipboard = nullptr;
POLY3D_UI g_Poly3DUi = {nullptr, nullptr};

namespace {

enum : int {
    KEY_LEFT = 0x25, KEY_UP = 0x26, KEY_RIGHT = 0x27, KEY_DOWN = 0x28, KEY_DELETE = 0x2E, KEY_CONTROL = 0x11,
};

POLY_DRAG_WORK g_DragWork;

int32_t& Tool() { return g_PolyEditState.tool; }
int32_t& FaceMode() { return g_PolyEditState.selectionMode; }

bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool MiddleHeld() { return g_Lib.mouse.held[1] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }

UNDO_HISTORY* CurHistory()
{
    return g_CurLayer >= 0 && g_CurLayer < 10 ? &g_UndoHistories[g_CurLayer] : nullptr;
}

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption, sizeof g_UndoCaption);
    if (UNDO_HISTORY* h = CurHistory()) Undo_Record(h);
}

void Message(const char* text) { Lib_MessageBox(text); }

void ActivateMain()
{
    if (g_Poly3DUi.activateMain) g_Poly3DUi.activateMain();
}

POLY_VIEW ViewOf(const VIEW_REC& v)
{
    POLY_VIEW out;
    out.type = v.type;
    out.cx = v.centreX;
    out.cy = v.centreY;
    out.pan[0] = v.pan[0], out.pan[1] = v.pan[1], out.pan[2] = v.pan[2];
    out.zoom = v.zoom;
    return out;
}

// A selection mode set afresh: the select tool, an empty drag rectangle.
void SetMode(int32_t faceMode)
{
    FaceMode() = faceMode;
    Tool() = POLY_TOOL_SELECT;
    g_DragStart = POINT32{0, 0};
    g_DragCurrent = POINT32{0, 0};
    g_Poly3DDirty = 1;
    Poly3D_Refresh();
}

void ToggleTool(int32_t tool)
{
    if (Tool() != tool) Tool() = tool;
    else SetMode(FaceMode());
    g_Poly3DDirty = 1;
}

void Pan(int direction)
{
    if (LeftHeld() || RightHeld() || !g_CurView) return;
    PolyDrag_Pan(g_CurView->pan, g_CurView->type, g_CurView->zoom, direction);
    View_RequestRedraw();
}

} // namespace

POLY_SEL Poly3D_Selection()
{
    POLY_SEL s;
    s.vertexSel = g_VertexSel;
    s.faceSel = g_FaceSel;
    s.maxPolygons = g_FaceSel ? g_Lib.maxPolygons : 0;
    s.maxVertices = g_VertexSel ? 4 * g_Lib.maxPolygons : 0;
    s.faceMode = FaceMode();
    s.pickedVertex = g_CurVertex;
    return s;
}

void Poly3D_CheckPickedFace()
{
    if (!g_CurModel3 || g_PickedFace < -1 || g_PickedFace >= g_CurModel3->faceCount) g_PickedFace = -1;
}

void Poly3D_Refresh()
{
    g_Poly3DDirty = 1;
    // A delete or an undo can leave the last pick past the end of the faces.
    Poly3D_CheckPickedFace();
    if (g_CurVertex >= (g_CurModel3 ? g_CurModel3->positionCount : 0)) g_CurVertex = -1;
    Group3D_FillList();
    g_DlgSlots[SCREEN_3D_POLYGON][1].dirty = 1;
    View_RequestRedraw();
}

void Poly3D_SetVertexMode() { SetMode(0); }
void Poly3D_SetFaceMode() { SetMode(1); }
void Poly3D_ToggleSelectMode() { SetMode(FaceMode() ? 0 : 1); }
void Poly3D_ToolMove() { ToggleTool(POLY_TOOL_MOVE); }
void Poly3D_ToolRotate() { ToggleTool(POLY_TOOL_ROTATE); }
void Poly3D_ToolScale() { ToggleTool(POLY_TOOL_SCALE); }

void Poly3D_SelectAll()
{
    POLY_SEL s = Poly3D_Selection();
    PolyMesh_SelectAll(s);
    g_App.keyLatch = 1;
}

void Poly3D_InvertSelection()
{
    POLY_SEL s = Poly3D_Selection();
    PolyMesh_InvertSelection(s);
}

void Poly3D_ToggleAutoSelect()
{
    g_AutoSelect = 1 - g_AutoSelect;
    Poly3D_Refresh();
    View_RequestRedraw();
}

void Poly3D_PanUp() { Pan(PAN_UP); }
void Poly3D_PanDown() { Pan(PAN_DOWN); }
void Poly3D_PanLeft() { Pan(PAN_LEFT); }
void Poly3D_PanRight() { Pan(PAN_RIGHT); }

void Poly3D_Optimize()
{
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    for (int32_t f = 0; f < g_CurModel3->faceCount && f < s.maxPolygons; ++f) s.faceSel[f] = 0;
    for (int32_t p = 0; p < g_CurModel3->positionCount && p < s.maxVertices; ++p) s.vertexSel[p] = 0;
    Model3_Weld(g_CurModel3);
    g_Poly3DDirty = 1;
}

void Poly3D_ApplyVertexColorText(const char* const fields[4])
{
    if (!g_CurModel3) return;
    int32_t value[4];
    for (int i = 0; i < 4; ++i) {
        const char* t = fields[i];
        if (!t || *t < '0' || *t > '9') return;
        char* end = nullptr;
        unsigned long v = std::strtoul(t, &end, 10);
        if (*end != '\0') return;
        value[i] = v > 255 ? 255 : (int32_t)v;
    }
    float rgba[4];
    for (int i = 0; i < 4; ++i) g_PolyColour[i] = value[i], rgba[i] = (float)value[i];
    POLY_SEL s = Poly3D_Selection();
    if (!PolyMesh_ApplyVertexColor(g_CurModel3, s, rgba)) Message("色数が上限を超えます。");
}

void Poly3D_ShowCounts()
{
    if (!g_CurModel3 || !g_Poly3DUi.setCountText) return;
    char text[64];
    PolyMesh_CountText(g_CurModel3, Poly3D_Selection(), text, sizeof text);
    g_Poly3DUi.setCountText(text);
}

void Poly3D_Frame()
{
    if (!g_CurModel3) return;
    if (Tool() == POLY_TOOL_SELECT || Tool() == POLY_TOOL_UV) View_ClassifyDrag();
    if (Tool() == POLY_TOOL_FREE && g_FreeCreateCount < 4 && g_CurView && g_CurView->zoom != 0.0f) {
        float h, v;
        PolyDrag_ScreenToAxes(ViewOf(*g_CurView), g_PressPoint.x, g_PressPoint.y, &h, &v);
        float p[3];
        switch (g_CurViewIndex) {
        case 1: p[0] = h, p[1] = v, p[2] = 0; break;
        case 2: p[0] = h, p[1] = 0, p[2] = v; break;
        case 3: p[0] = 0, p[1] = v, p[2] = h; break;
        default: p[0] = p[1] = p[2] = 0; break;
        }
        if (p[0] != 0 || p[1] != 0 || p[2] != 0) std::memcpy(g_FreeCreatePoints[g_FreeCreateCount], p, sizeof p);
    }
    g_CurModel3->fillMode = 2;
}

void Poly3D_MouseMove(int32_t)
{
    VIEW_REC* row = View_Row();
    g_CurView = &View_Picked();
    const int32_t tool = Tool();
    if (g_CurViewIndex == 0 && g_AutoSelect && (tool == POLY_TOOL_SELECT || tool == POLY_TOOL_UV)) {
        View_PickVertexOrFace3D();
        if (row) row[0].redraw = 1;
        View_RequestRedraw();
    }
    if (row) {
        if (g_PickedView == 0 && tool == POLY_TOOL_MOVE) row[0].redraw = 1;
        else if (tool == POLY_TOOL_FREE)
            for (int i = 1; i < g_ViewCount[g_Screen]; ++i)
                if (row[i].exists) row[i].redraw = 1;
    }
    if (!LeftHeld() || MiddleHeld() || RightHeld()) return;
    g_DragCurrent = g_PressPoint;
    if (g_CurModel3) {
        if (tool == POLY_TOOL_2D) {
            g_CurModel3->gpuRebuild = 1;
        } else if (const char* caption = PolyDrag_Caption(tool)) {
            Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption, sizeof g_UndoCaption);
            g_UndoPending = 1;
            POLY_DRAG d;
            d.tool = tool;
            d.moveMode = g_PolyEditState.dragBasis;
            d.axis = g_GizmoAxis;
            d.mx = g_PressPoint.x, d.my = g_PressPoint.y;
            d.px = g_PrevMousePos.x, d.py = g_PrevMousePos.y;
            d.dx = g_MouseDelta.x, d.dy = g_MouseDelta.y;
            d.lx = g_LeftPressPoint.x, d.ly = g_LeftPressPoint.y;
            d.camYaw = g_OrbitYaw, d.camPitch = g_OrbitPitch;
            const POLY_SEL s = Poly3D_Selection();
            if (s.vertexSel && s.faceSel)
                PolyDrag_Step(g_CurModel3, s.vertexSel, s.maxVertices, s.faceSel, s.maxPolygons, ViewOf(*g_CurView),
                              d, g_DragWork);
        }
    }
    g_PrevMousePos = g_PressPoint;
}

void Poly3D_LButtonUp(int32_t)
{
    g_DragStart = g_PressPoint;
    if (g_CurView && Tool() == POLY_TOOL_FREE && g_CurView->type >= VIEW_TYPE_FRONT &&
        g_CurView->type <= VIEW_TYPE_SIDE) {
        if (g_FreeCreateCount < 3) ++g_FreeCreateCount;
        else Poly3D_FinishFreePolygon();
    }
    if (!g_CurModel3) return;
    if (g_CurModel3->autoNormals && g_CurModel3->light) Model3_CalcNormals(g_CurModel3);
    g_CurModel3->gpuRebuild = 1;
    if (g_UndoPending == 1) {
        g_UndoPending = 0;
        if (UNDO_HISTORY* h = CurHistory()) Undo_Record(h);
    }
    g_Poly3DDirty = 1;
}

void Poly3D_MButtonDown(int32_t)
{
    g_DragCurrent = g_DragStart = g_PrevMousePos = g_DragAnchor = g_PressPoint;
    View_RequestRedraw();
}

void Poly3D_MButtonUp(int32_t) { Poly3D_FinishFreePolygon(); }

void Poly3D_RButtonUp(int32_t)
{
    // A click: released where the right button went down (the press stored the drag start).
    if (g_DragStart.x == g_PressPoint.x && g_DragStart.y == g_PressPoint.y) View_PickVertexOrFace3D();
    if (g_CurView && Tool() == POLY_TOOL_FREE && g_CurView->type >= VIEW_TYPE_FRONT &&
        g_CurView->type <= VIEW_TYPE_SIDE)
        g_FreeCreateCount = 0;
    g_Poly3DDirty = 1;
}

void Poly3D_KeyUp(int key)
{
    switch (key) {
    case KEY_LEFT: Poly3D_PanLeft(); break;
    case KEY_UP: Poly3D_PanUp(); break;
    case KEY_RIGHT: Poly3D_PanRight(); break;
    case KEY_DOWN: Poly3D_PanDown(); break;
    case KEY_DELETE:
    case 'D': Poly3D_DeleteKey(); break;
    case 'M': Poly3D_MergeKey(); break;
    case 'A': Poly3D_ToggleAutoSelect(); break;
    case 'E': Poly3D_ToggleSelectMode(); break;
    case 'T': Poly3D_ToolMove(); break;
    case 'R': Poly3D_ToolRotate(); break;
    case 'G': Poly3D_ToolScale(); break;
    case 'S': Poly3D_SelectAll(); break;
    default: break;
    }
}

void Poly3D_FlipFaces()
{
    g_Poly3DDirty = 1;
    if (!g_CurModel3 || !FaceMode()) return;
    PolyMesh_Flip(g_CurModel3, Poly3D_Selection());
    Model3_CalcNormals(g_CurModel3);
    Record("反転 ( モデリング )");
    Poly3D_Refresh();
}

void Poly3D_RotateColorNumbers()
{
    Mode_UpdateCurrent();
    if (!FaceMode()) {
        Message("面選択モードで、利用できます。");
        return;
    }
    if (!g_CurModel3) return;
    PolyMesh_RotateColorNumbers(g_CurModel3, Poly3D_Selection());
    Record("色No回転 ( モデリング )");
    View_RequestRedraw();
}

void Poly3D_DeleteSelection()
{
    Mode_UpdateCurrent();
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    PolyMesh_DeleteSelection(g_CurModel3, s);
    Poly3D_Optimize();
    Model3_CalcNormals(g_CurModel3);
    Poly3D_Refresh();
}

void Poly3D_DeleteKey()
{
    Poly3D_DeleteSelection();
    Record("消去 ( モデリング )");
}

void Poly3D_DeleteLeftHalf()
{
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    PolyMesh_DeleteLeftHalf(g_CurModel3, s);
    Record("左半分消 ( モデリング )");
    Poly3D_Refresh();
}

void Poly3D_Merge()
{
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    if (!FaceMode()) {
        POLY_MERGE_RESULT r = PolyMesh_MergeVertices(g_CurModel3, s);
        if (r == MERGE_NO_PICK) Message("統合先の頂点を選択して下さい。");
        if (r != MERGE_DONE) {
            Poly3D_Refresh();
            return;
        }
        Model3_CalcNormals(g_CurModel3);
        Record("統合:頂点 ( モデリング )");
    } else {
        PolyMesh_MergeFaces(g_CurModel3, s);
        Model3_CalcNormals(g_CurModel3);
        Record("統合:面 ( モデリング )");
    }
    Poly3D_Refresh();
}

void Poly3D_MergeKey() { Poly3D_Merge(); }

void Poly3D_FacesToPoints()
{
    g_Poly3DDirty = 1;
    if (!g_CurModel3 || !FaceMode()) return;
    POLY_SEL s = Poly3D_Selection();
    if (!PolyMesh_FacesToPoints(g_CurModel3, s)) {
        Message("面数が上限を超えます。");
        return;
    }
    Model3_CalcNormals(g_CurModel3);
    Record("面撤去 ( モデリング )");
    Poly3D_Refresh();
}

void Poly3D_CopySelection()
{
    if (!g_PolyClipboard) {
        g_Lib.allocArrays = 1;
        g_PolyClipboard = Model3_Alloc();
    }
    if (!FaceMode()) {
        Message("面選択モードで利用できます。");
        return;
    }
    if (g_CurModel3 && g_PolyClipboard) PolyMesh_Copy(g_CurModel3, Poly3D_Selection(), g_PolyClipboard);
    ActivateMain();
}

void Poly3D_CutSelection()
{
    if (!FaceMode()) {
        Message("面選択モードで利用できます。");
        return;
    }
    Poly3D_CopySelection();
    Poly3D_DeleteSelection();
}

void Poly3D_Paste()
{
    if (!g_PolyClipboard || !g_CurModel3) return;
    if (!PolyMesh_Paste(g_CurModel3, Poly3D_Selection(), g_PolyClipboard)) {
        Message("頂点数または面数が上限を超えます。");
        return;
    }
    g_Poly3DDirty = 1;
    ActivateMain();
}

void Poly3D_RemoveFace(int32_t face)
{
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    PolyMesh_RemoveFace(g_CurModel3, s, face);
}

bool Poly3D_DialogCommand(int id)
{
    if (!Poly3D_DlgCommand(id)) return false;
    Poly3D_ShowCounts();
    return true;
}
