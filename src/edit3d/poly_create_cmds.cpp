// The polygon screen's creation commands.
#include "edit3d/poly_create_cmds.h"

#include <algorithm>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_create.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "edit3d/poly_split.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/curve.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/normals.h"
#include "model/skeleton.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/panel_states.h"
#include "shell/views.h"

uint32_t g_Poly3DLoadTimeoutMs = 60000;

namespace {

bool s_Loading;

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption, sizeof g_UndoCaption);
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}

void ActivateMain()
{
    if (g_Poly3DUi.activateMain) g_Poly3DUi.activateMain();
}

const char kTooMany[] = "頂点数または面数が上限を超えます。";

// The current group when it names one of the model's groups, else 0.
int32_t Group(const QVL::MODEL3* m)
{
    return g_CurGroup >= 0 && g_CurGroup < std::max(m->groupCount, 1) && g_CurGroup < QVL::kModel3Groups ? g_CurGroup : 0;
}

void ClearSelection()
{
    POLY_SEL s = Poly3D_Selection();
    std::fill(s.faceSel, s.faceSel + s.maxPolygons, 0);
    std::fill(s.vertexSel, s.vertexSel + s.maxVertices, 0);
}

int32_t LayerModelId()
{
    return g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size() ? g_LayerModelIds[(size_t)g_CurLayer] : -1;
}

// Waits for a queued load while the studio keeps running, at most the timeout. The source, or null
// (released) when it failed, took too long, or the screen or layer changed meanwhile.
QVL::MODEL3* WaitForSource(int32_t id, int32_t layer)
{
    if (id < 0) return nullptr;
    const uint32_t start = Svc_TimeMs();
    bool ready = false;
    for (;;) {
        QVL::MODEL3* m = Model3_GetById(id);
        if (!m || !m->inUse || __atomic_load_n(&m->releaseRequest, __ATOMIC_ACQUIRE)) break;
        if (Model3_IsReady(m)) {
            ready = true;
            break;
        }
        if (Svc_TimeMs() - start > g_Poly3DLoadTimeoutMs) break;
        if (!Svc_PumpMessage()) Svc_Sleep(1);
    }
    Mode_UpdateCurrent();
    const bool same = g_Mode == MODE_3D_EDIT && g_Screen == SCREEN_3D_POLYGON && g_CurLayer == layer && g_CurModel3;
    if (!ready || !same) {
        Model3_Release(id);
        return nullptr;
    }
    return Model3_GetById(id);
}

struct LoadingScope {
    LoadingScope() { s_Loading = true; }
    ~LoadingScope() { s_Loading = false; }
};

} // namespace

bool Poly3D_Loading() { return s_Loading; }

void Poly3D_SplitFaces()
{
    Mode_UpdateCurrent();
    if (!g_PolyEditState.selectionMode) {
        Lib_MessageBox("面選択モードで、利用できます。");
        return;
    }
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    const POLY_SPLIT_RESULT r = PolyMesh_SplitFaces(g_CurModel3, s);
    if (r.otherCorners) Lib_MessageBox("４角形のみ分割できます。");
    if (r.refused) {
        Lib_MessageBox(kTooMany);
        return;
    }
    // Once for all faces: the normals depend only on the final mesh.
    if (r.split) Model3_CalcNormals(g_CurModel3);
    Record("分割 ( モデリング )");
    Poly3D_Refresh();
}

void Poly3D_Extrude()
{
    Mode_UpdateCurrent();
    g_Poly3DDirty = 1;
    if (!g_CurModel3) return;
    POLY_SEL s = Poly3D_Selection();
    const bool faces = g_PolyEditState.selectionMode != 0;
    if (faces) {
        const POLY_EXTRUDE_RESULT r = PolyMesh_ExtrudeFaces(g_CurModel3, s, g_LastViewZoom);
        if (r.refused) {
            Lib_MessageBox(kTooMany);
            return;
        }
    } else {
        PolyMesh_ExtrudeVertices(g_CurModel3, s);
    }
    Model3_CalcNormals(g_CurModel3);
    Record(faces ? "面押出し ( モデリング )" : "頂点押出し ( モデリング )");
    g_PolyEditState.tool = POLY_TOOL_MOVE;
    Poly3D_Refresh();
}

void Poly3D_CreateFace()
{
    Mode_UpdateCurrent();
    g_FreeCreateCount = 0;
    if (g_CurModel3) {
        const POLY_CREATE_RESULT r = PolyMesh_CreateFace(g_CurModel3, Poly3D_Selection(), Group(g_CurModel3));
        if (r.refused) {
            Lib_MessageBox(kTooMany);
        } else if (r.corners == 3 || r.corners == 4) {
            Model3_CalcNormals(g_CurModel3);
            Record("作成 ( モデリング )");
        } else {
            Lib_MessageBox("３又は４頂点を選択して下さい。");
        }
    }
    g_Poly3DDirty = 1;
    Poly3D_Refresh();
}

void Poly3D_FinishFreePolygon()
{
    if (g_PolyEditState.tool != POLY_TOOL_FREE || !g_CurView || g_CurView->type == 0 || !g_CurModel3) return;
    const int32_t n = std::min(g_FreeCreateCount + 1, 4);
    POLY_SEL s = Poly3D_Selection();
    if (!PolyMesh_AddFreePolygon(g_CurModel3, s, g_FreeCreatePoints, n, g_CurView->pan, Group(g_CurModel3))) {
        g_FreeCreateCount = 0;
        Lib_MessageBox(kTooMany);
        return;
    }
    Model3_CalcNormals(g_CurModel3);
    char caption[64];
    Str_Format(caption, sizeof caption, "自由作成:%d ( モデリング )", n);
    Record(caption);
    g_Poly3DDirty = 1;
    g_FreeCreateCount = 0;
}

void Poly3D_AddPrimitive(const char* name)
{
    if (s_Loading || !name) return;
    LoadingScope scope;
    Mode_UpdateCurrent();
    ClearSelection();
    const int32_t layer = g_CurLayer;
    char folder[512], file[300];
    Str_Format(folder, sizeof folder, "%s\\System\\プリミティブ", g_Lib.dataFolder);
    Str_Format(file, sizeof file, "%s.QVP", name);
    const int32_t id = Model3_LoadQueued(folder, file);
    QVL::MODEL3* src = WaitForSource(id, layer);
    if (!src) {
        ActivateMain();
        return;
    }
    const float pan[3] = {g_CurView ? g_CurView->pan[0] : 0, g_CurView ? g_CurView->pan[1] : 0,
                          g_CurView ? g_CurView->pan[2] : 0};
    const float zoom = g_CurView ? g_CurView->zoom : 1.0f;
    POLY_SEL s = Poly3D_Selection();
    const bool added = PolyMesh_AddPrimitive(g_CurModel3, s, src, zoom, pan, Group(g_CurModel3));
    Model3_Release(id);
    if (!added) {
        Lib_MessageBox(kTooMany);
        ActivateMain();
        return;
    }
    Model3_AutoWeights(g_CurModel3);
    g_PolyEditState.tool = POLY_TOOL_MOVE;
    g_Poly3DDirty = 1;
    char caption[300];
    Str_Format(caption, sizeof caption, "%s ( モデリング )", name);
    Record(caption);
    ActivateMain();
}

void Poly3D_AddModelFile(const char* file)
{
    if (s_Loading || !file || !*file) return;
    LoadingScope scope;
    Mode_UpdateCurrent();
    ClearSelection();
    const int32_t layer = g_CurLayer;
    char folder[256];
    if (!Svc_GetCurrentDirectory(folder, sizeof folder)) folder[0] = 0;
    const int32_t id = Model3_LoadQueued(folder, file);
    if (QVL::MODEL3* src = WaitForSource(id, layer)) {
        POLY_SEL s = Poly3D_Selection();
        const int32_t t0 = g_CurModel3->textureCount;
        const POLY_ADD_RESULT r = PolyMesh_AddModel(g_CurModel3, s, src);
        if (r == ADD_DONE) {
            const int32_t modelId = LayerModelId();
            for (int32_t t = t0; t < g_CurModel3->textureCount; ++t) {
                const QVL::TEXTURE3& tex = g_CurModel3->textures[(size_t)t];
                if (tex.used == 1) Model3DDlg_LoadTexture(modelId, t, folder, tex.file);
            }
            g_Tex3DState.texture = g_CurModel3->textureCount - 1;
            Model3DDlg_CopyPixels(modelId);
            g_PolyEditState.tool = POLY_TOOL_MOVE;
            g_Poly3DDirty = 1;
            Tex3D_Refresh();
        } else {
            Lib_MessageBox(r == ADD_TOO_MANY_GROUPS     ? "グループ数が上限を超えます。"
                           : r == ADD_TOO_MANY_TEXTURES ? "テクスチャ数が上限を超えます。"
                                                        : kTooMany);
        }
        Model3_Release(id);
    }
    ActivateMain();
    Poly3D_Refresh();
}

void Poly3D_BakeCurves()
{
    Mode_UpdateCurrent();
    if (!g_CurModel3) return;
    Curve_ResetTempModel();
    // The bake refuses a result past the limits with its message, before anything changes.
    if (!Curve_BakeInto(g_CurModel3, g_CurveBaker)) return;
    Model3_CopyRecord(g_CurveBaker, g_CurModel3, true);
    Model3_CalcNormals(g_CurModel3);
    Record("曲面化 ( モデリング )");
    Mode_RefreshAll();
}
