// The layers of the 3D editors and the undo history of each: whole copies of the layer's model,
// taken after every edit, stepped through with U and I or the undo list.
#include <algorithm>
#include <vector>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "shell/current.h"
#include "shell/ui_services.h"

UNDO_HISTORY g_UndoHistories[kLayerCount];
uint8_t g_UndoPending = 0;
int16_t g_LayerCount = 0;

static QVL::MODEL3* LayerModel(int layer)
{
    if (layer < 0 || (size_t)layer >= g_LayerModelIds.size()) return nullptr;
    return Model3_GetById(g_LayerModelIds[(size_t)layer]);
}

static int32_t LayerModelId(int layer)
{
    return layer >= 0 && (size_t)layer < g_LayerModelIds.size() ? g_LayerModelIds[(size_t)layer] : -1;
}

static QVL::OBJECT* LayerObject(int layer)
{
    if (layer < 0 || (size_t)layer >= g_LayerObjectIds.size()) return nullptr;
    return Object_GetById(g_LayerObjectIds[(size_t)layer]);
}

// ---- undo --------------------------------------------------------------------------------------

void Undo_Record(UNDO_HISTORY* h)
{
    if (g_Mode != MODE_3D_EDIT || !h) return;
    if (h->position < -1) h->position = -1;
    if (h->position >= kUndoSteps - 1) {
        // Full: the oldest step goes. Its snapshot moves to the end and is written over below, so
        // no entry ever holds a copy made for another entry's size.
        std::rotate(h->entries, h->entries + 1, h->entries + kUndoSteps);
        h->position = kUndoSteps - 1;
    } else {
        ++h->position;
    }
    h->last = h->position;
    UNDO_ENTRY& e = h->entries[h->position];
    if (!e.snapshot) {
        // The snapshot is filled by the copy below; it must not take a load's pending array flag.
        const int32_t pending = g_Lib.allocArrays;
        g_Lib.allocArrays = 0;
        e.snapshot.reset(Model3_Alloc());
        g_Lib.allocArrays = pending;
    }
    QVL::MODEL3* live = LayerModel(g_CurLayer);
    if (live) Model3_CopyRecord(live, e.snapshot.get(), true);
    Str_CopyN(e.caption, sizeof e.caption, g_UndoCaption);
    // Only the current layer's object shows after a record.
    for (int32_t i = 0; i < Object_Count(); ++i)
        if (QVL::OBJECT* o = Object_GetById(i)) Object_SetVisible(o, 0);
    if (QVL::OBJECT* o = LayerObject(g_CurLayer)) Object_SetVisible(o, 1);
    Undo_FillList();
    Model3DDlg_LogMemory();
    if (live) live->gpuRebuild = 1;
    g_UndoPending = 0;
}

void Undo_Restore(UNDO_HISTORY* h)
{
    if (g_Mode != MODE_3D_EDIT || !h) return;
    if (h->position < 0) {
        h->position = 0;
        return;
    }
    if (h->position > h->last) {
        // A redo past the newest step is taken back.
        h->position = h->position - 1;
        return;
    }
    const int32_t id = LayerModelId(g_CurLayer);
    QVL::MODEL3* live = Model3_GetById(id);
    const QVL::MODEL3* snap = h->entries[h->position].snapshot.get();
    // Sized afresh from the snapshot: a bigger step must not be written into the smaller arrays of
    // the model shown now, and a smaller one leaves nothing stale behind its counts.
    if (live && snap) Model3_CopyRecord(snap, live, true);
    Mode_UpdateCurrent();
    if (live) {
        const int n = std::min<int>(live->textureCount, (int)live->textures.size());
        for (int i = 0; i < n; ++i) {
            const QVL::TEXTURE3& t = live->textures[(size_t)i];
            if (t.used == 1) Model3DDlg_LoadTexture(id, i, t.folder, t.file);
        }
        Model3DDlg_CopyPixels(id);
        live->gpuRebuild = 1;
    }
    Undo_FillList();
    Mode_RefreshAll();
}

// Outside the editor the position would drift with every U and I that the shell passes on.
void Undo_StepBack(UNDO_HISTORY* h)
{
    if (g_Mode != MODE_3D_EDIT || !h) return;
    --h->position;
    Undo_Restore(h);
    Mode_RefreshAll();
}

void Undo_StepForward(UNDO_HISTORY* h)
{
    if (g_Mode != MODE_3D_EDIT || !h) return;
    h->position = std::min(h->position + 1, kUndoSteps - 1);
    Undo_Restore(h);
    Mode_RefreshAll();
}

void Undo_SelectRow(UNDO_HISTORY* h, int row)
{
    // A list answers "no selection" with -1: that, or a row past the newest step, could never be
    // reached by single steps.
    if (!h || row < 0 || row > h->last || row >= kUndoSteps) return;
    for (int guard = 0; guard < kUndoSteps && row < h->position; ++guard) Undo_StepBack(h);
    for (int guard = 0; guard < kUndoSteps && row > h->position; ++guard) Undo_StepForward(h);
}

void Undo_FillList()
{
    std::vector<const char*> rows;
    int selected = -1;
    if (g_CurModel3 && g_CurLayer >= 0 && g_CurLayer < kLayerCount) {
        const UNDO_HISTORY& h = g_UndoHistories[g_CurLayer];
        for (int i = 0; i <= h.last && i < kUndoSteps; ++i) rows.push_back(h.entries[i].caption);
        selected = h.position;
    }
    if (g_Model3DEditor.undoList)
        Model3DDlg_FillList(g_Model3DEditor.undoList, rows.data(), (int)rows.size(), selected);
    if (g_CurModel3 && g_CurModel3->renderKind == 8) Model3_SetRenderKind(g_CurModel3, 8);
}

// ---- layers ------------------------------------------------------------------------------------

void Layer_Create()
{
    if (g_Mode != MODE_3D_EDIT || g_LayerCount >= kLayerCount) return;
    g_LayerObjectIds.push_back(ObjectCreate());
    g_Lib.allocArrays = 1;
    int32_t id = Model3_Create();
    g_LayerModelIds.push_back(id);
    // Nothing loads into a layer's own model: it is ready as made.
    if (QVL::MODEL3* m = Model3_GetById(id)) Model3_SetLoaded(m);
    ++g_LayerCount;
    Mode_UpdateCurrent();
}

void Layer_Select(int layer)
{
    if (g_Mode != MODE_3D_EDIT || layer < 0 || layer >= kLayerCount) return;
    if (QVL::OBJECT* o = LayerObject(g_CurLayer)) Object_SetVisible(o, 0);
    for (int i = g_LayerCount; i <= layer; ++i) {
        g_CurLayer = i;
        const int16_t before = g_LayerCount;
        Layer_Create();
        if (g_LayerCount == before) break;
        Mode_UpdateCurrent();
        Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, "記録開始");
        Undo_Record(&g_UndoHistories[i]);
    }
    g_CurLayer = layer;
    Mode_UpdateCurrent();
    Undo_Restore(&g_UndoHistories[layer]);
    if (QVL::OBJECT* o = LayerObject(layer)) Object_SetVisible(o, 1);
    g_Model3DEditor.layerSlot.dirty = 1;  // the layer buttons show the new layer
    Wnd_Activate(Wnd_Main());
    Mode_RefreshAll();
}
