// The polygon screen's dialogs: enter and exit, and the modelling dialog's command table.
#include "edit3d/poly_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_create_cmds.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/text.h"
#include "model/normals.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/ui_services.h"
#include "shell/views.h"

void* g_Poly3DDlg = nullptr;
void* g_Poly3DNumDlg = nullptr;

namespace {

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption, sizeof g_UndoCaption);
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}

void Caption(const char* caption) { Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption, sizeof g_UndoCaption); }

void SetTool(int32_t tool)
{
    g_PolyEditState.tool = tool;
    g_Poly3DDirty = 1;
}

void SetMoveMode(int32_t mode)
{
    g_PolyEditState.dragBasis = mode;
    View_RequestRedraw();
}

// A model switch toggled; the caption names the new state without a record.
void Toggle(int32_t& value, const char* on, const char* off)
{
    value = value == 1 ? 0 : 1;
    Caption(value == 1 ? on : off);
    View_RequestRedraw();
}

// An edit's number: false for an empty text (the axis is left alone).
bool Number(const char* text, float* out)
{
    *out = 0;
    if (!text || !*text) return false;
    *out = (float)std::strtod(text, nullptr);
    if (!std::isfinite(*out)) *out = 0;
    return true;
}

} // namespace

void Poly3D_Enter()
{
    g_ScreenGroup = 4;
    g_CurLayer = 0;
    if (!g_Poly3DDlg) {
        g_Poly3DDlg = Model3DDlg_Create(MODEL3D_DLG_POLY);
        if (g_Poly3DDlg) Model3DDlg_Place(g_Poly3DDlg, 0, Lib_GetWindowHeight() - 210, 740, 180);
    }
    if (!g_Poly3DNumDlg) {
        g_Poly3DNumDlg = Model3DDlg_Create(MODEL3D_DLG_POLY_NUM);
        if (g_Poly3DNumDlg)
            Model3DDlg_Place(g_Poly3DNumDlg, Lib_GetWindowWidth() - 172, Lib_GetWindowHeight() - 130, 172, 100);
    }
    g_Poly3DDirty = 1;
}

void Poly3D_Exit()
{
    if (g_Poly3DDlg) Wnd_Destroy(g_Poly3DDlg);
    if (g_Poly3DNumDlg) Wnd_Destroy(g_Poly3DNumDlg);
    g_Poly3DDlg = nullptr;
    g_Poly3DNumDlg = nullptr;
}

bool Poly3D_DlgCommand(int id)
{
    if (Poly3D_Loading()) return false;
    QVL::MODEL3* m = g_CurModel3;
    switch (id) {
    case 1141: Poly3D_SetVertexMode(); break;
    case 1142: Poly3D_SetFaceMode(); break;
    case 1134: Poly3D_SelectAll(); break;
    case 1133: Poly3D_InvertSelection(); break;
    case 1140: SetTool(POLY_TOOL_MOVE); break;
    case 1145: SetTool(POLY_TOOL_ROTATE); break;
    case 1148: SetTool(POLY_TOOL_SCALE); break;
    case 1440: SetMoveMode(0); break;
    case 1442: SetMoveMode(1); break;
    case 1441: SetMoveMode(2); break;
    case 1149: Poly3D_DeleteKey(); break;
    case 1146: Poly3D_Merge(); break;
    case 1174: Poly3D_FlipFaces(); break;
    case 1151: Poly3D_RotateColorNumbers(); break;
    case 1184: Poly3D_FacesToPoints(); break;
    case 1135: Poly3D_DeleteLeftHalf(); break;
    case 1144: Poly3D_CutSelection(); Record("カット ( モデリング )"); break;
    case 1147: Poly3D_CopySelection(); Record("コピー ( モデリング )"); break;
    case 1150: Poly3D_Paste(); Record("ペースト ( モデリング )"); break;
    case 1143: Poly3D_SplitFaces(); break;
    case 81: Poly3D_Extrude(); break;
    case 1153:
        g_PolyEditState.tool = POLY_TOOL_FREE;
        g_FreeCreateCount = 0;
        g_Poly3DDirty = 1;
        Poly3D_Refresh();
        break;
    case 1173: Poly3D_CreateFace(); break;
    case 1177:
        Poly3D_Optimize();
        Record("最適化 ( モデリング )");
        Poly3D_Refresh();
        break;
    case 1166:
        if (m) Model3_CalcNormals(m);
        Record("法線計算 ( モデリング )");
        Poly3D_Refresh();
        break;
    case 1136: Poly3D_BakeCurves(); break;
    case 1349: Poly3D_ToggleAutoSelect(); break;
    case 1350:
        g_App.showNormals = 1 - g_App.showNormals;
        Poly3D_Refresh();
        break;
    case 1351:
        if (m) m->autoNormals = m->autoNormals == 1 ? 0 : 1;
        Poly3D_Refresh();
        break;
    case 1181:
        if (m) Toggle(m->light, "ライトON ( モデリング )", "ライトOFF ( モデリング )");
        break;
    case 1187:
        if (m) Toggle(m->vertexColorMode, "頂点カラーフラグON ( モデリング )", "頂点カラーフラグOFF ( モデリング )");
        break;
    case 1188:
        if (m) Toggle(m->edge, "エッジON ( モデリング )", "エッジOFF ( モデリング )");
        break;
    case 1158:
        g_Poly3DDirty = 1;
        Poly3D_Refresh();
        break;
    case 1157:
    case 1167: break;
    default: return false;
    }
    return true;
}

void Poly3D_CounterTexts(char out[4][64])
{
    const QVL::MODEL3* m = g_CurModel3;
    const int32_t counts[4] = {m ? m->positionCount : 0, m ? m->normalCount : 0, m ? m->colorCount : 0,
                               m ? m->uvCount : 0};
    static const char* const kFormats[4] = {"頂点数  %5d", "法線数  %5d", " 色数   %5d", "ＵＶ数  %5d"};
    for (int i = 0; i < 4; ++i) Str_Format(out[i], 64, kFormats[i], counts[i]);
}

bool Poly3D_ButtonChecked(int id)
{
    const POLY_EDIT_STATE& e = g_PolyEditState;
    switch (id) {
    case 1141: return e.selectionMode == 0;
    case 1142: return e.selectionMode != 0;
    case 1440: return e.dragBasis == 0;
    case 1441: return e.dragBasis == 2;
    case 1442: return e.dragBasis == 1;
    case 1140: return e.tool == POLY_TOOL_MOVE;
    case 1145: return e.tool == POLY_TOOL_ROTATE;
    case 1148: return e.tool == POLY_TOOL_SCALE;
    case 1153: return e.tool == POLY_TOOL_FREE;
    default: return false;
    }
}

void Poly3D_ApplyNumbers(const char* const fields[3])
{
    Mode_UpdateCurrent();
    QVL::MODEL3* m = g_CurModel3;
    if (!m || !g_VertexSel) return;
    float v[3];
    bool given[3];
    for (int i = 0; i < 3; ++i) given[i] = Number(fields[i], &v[i]);
    const int32_t tool = g_PolyEditState.tool;
    QVL::MATRIX rot;
    const float k = 3.14159265358979f / 180.0f;
    if (tool == POLY_TOOL_ROTATE) Math_MatrixWorld(&rot, 0, 0, 0, v[0] * k, v[1] * k, v[2] * k, 1, 1, 1);
    const POLY_SEL s = Poly3D_Selection();
    const int32_t n = std::min<int32_t>(std::min(m->positionCount, s.maxVertices), (int32_t)m->positions.size());
    for (int32_t p = 0; p < n; ++p) {
        if (s.vertexSel[p] != 1) continue;
        QVL::XYZ& q = m->positions[(size_t)p];
        float* axis[3] = {&q.x, &q.y, &q.z};
        if (tool == POLY_TOOL_MOVE || tool == POLY_TOOL_SCALE) {
            for (int i = 0; i < 3; ++i)
                if (given[i]) *axis[i] = tool == POLY_TOOL_MOVE ? *axis[i] + v[i] : *axis[i] * v[i];
        } else if (tool == POLY_TOOL_ROTATE) {
            QVL::VEC3 out;
            Math_TransformPoint(&out, q.x, q.y, q.z, rot);
            q = QVL::XYZ{out.x, out.y, out.z};
        }
    }
    Model3_CalcNormals(m);
    Record("数値入力 ( モデリング )");
    View_RequestRedraw();
}
