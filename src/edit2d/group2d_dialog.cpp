// The 2D group dialog's fills and commands on the model of the current 2D slot.
#include <cstdio>

#include "edit2d/group2d.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/picking.h"

using QVL::MODEL2;

namespace {

MODEL2* Model() { return Model2_Get(g_CurModel2Id); }
// The current group's record; null without a model or outside the groups.
QVL::GROUP2* Current(MODEL2* m)
{
    if (!m || g_CurGroup < 0 || g_CurGroup >= QVL::kModel2Groups) return nullptr;
    return &m->groups[g_CurGroup];
}

void Caption(const char* text) { snprintf(g_UndoCaption, sizeof g_UndoCaption, "%s", text); }

} // namespace

void Group2D_FillTextureCombo()
{
    MODEL2* m = Model();
    void* combo = g_Group2DDlg.textureCombo;
    if (!m || !combo) return;
    ListCtl_Reset(combo);
    char row[300];
    const int32_t n = m->textureCount < 0 ? 0 : m->textureCount > QVL::kModel2Textures ? QVL::kModel2Textures : m->textureCount;
    for (int32_t i = 0; i < n; ++i) {
        Group2D_TextureLabel(row, sizeof row, i, m->textures[i]);
        ListCtl_Add(combo, row);
    }
    if (QVL::GROUP2* g = Current(m)) ListCtl_Select(combo, g->texture);
}

void Group2D_FillShadingCombo()
{
    MODEL2* m = Model();
    void* combo = g_Group2DDlg.shadingCombo;
    if (!m || !combo) return;
    ListCtl_Reset(combo);
    for (const char* row : {"非表示", "ポイント", "ワイヤー", "フラット", "グーロー", "曲面"}) ListCtl_Add(combo, row);
    if (QVL::GROUP2* g = Current(m)) ListCtl_Select(combo, g->shading);
}

void Group2D_FillGroupList()
{
    void* list = g_Group2DDlg.list;
    if (!list) return;
    ListCtl_Reset(list);
    MODEL2* m = Model();
    if (!m) return;
    static int32_t counts[QVL::kModel2Groups];
    Group2D_CountFaces(m, counts);
    char row[300];
    const int32_t n = m->groupCount < 0 ? 0 : m->groupCount > QVL::kModel2Groups ? QVL::kModel2Groups : m->groupCount;
    for (int32_t i = 0; i < n; ++i) {
        Group2D_ListLabel(row, sizeof row, i, m->groups[i].name, counts[i]);
        ListCtl_Add(list, row);
    }
    ListCtl_Select(list, g_CurGroup);
    Group2D_FillTextureCombo();
}

void Group2D_TakeListRow(int32_t row)
{
    // LB_ERR: keep the current group rather than index group -1.
    if (row >= 0) g_CurGroup = row & 0xFFFF;
    if (g_CurGroup == g_Group2DPrevGroup) return;
    g_Group2DPrevGroup = g_CurGroup;
    MODEL2* m = Model();
    QVL::GROUP2* g = Current(m);
    if (!g) return;
    g_CurTexture2D = g->texture >= 0 && g->texture <= 255 ? g->texture : 0;
    Group2D_SelectGroup(m, g_CurGroup, g_FaceSel, Sel_FaceCapacity(), g_VertexSel,
                        Sel_VertexCapacity());
    const QVL::TEXTURE2& t = m->textures[g_CurTexture2D];
    g_TexOrigin = POINT32{(int32_t)(t.width * g_TexZoom), (int32_t)(t.height * g_TexZoom)};
    g_Poly2DRefresh = 1;
    g_Group2DDlg.dirty = 1;
    Tex2D_FillTextureList();
    View_RequestRedraw();
}

void Group2D_Apply(const char* name, int32_t textureRow, int32_t shadingRow, const char* const colour[4])
{
    MODEL2* m = Model();
    QVL::GROUP2* g = Current(m);
    if (!g) return;
    Group2D_AssignSelected(m, g_CurGroup, g_FaceSel, Sel_FaceCapacity());
    snprintf(g->name, sizeof g->name, "%.255s", name);
    g->texture = textureRow < 0 || textureRow > 255 ? 0 : textureRow;
    g_CurTexture2D = g->texture;
    Group2D_FillGroupList();
    Group2D_FillTextureCombo();
    Tex2D_FillTextureList();
    // No row chosen keeps the display mode.
    if (shadingRow >= 0) g->shading = shadingRow;
    float c[4];
    if (Group2D_ParseColour(colour, c)) {
        g->r = c[0];
        g->g = c[1];
        g->b = c[2];
        g->a = c[3];
    }
    View_RequestRedraw();
    g_PanelDirtyGroups = 1;
}

void Group2D_AddCommand()
{
    MODEL2* m = Model();
    if (!m) return;
    g_CurGroup = Group2D_Add(m);
    Caption("グループ追加");
    Poly2D_Refresh();
}

void Group2D_MirrorCommand()
{
    MODEL2* m = Model();
    if (!m) return;
    if (!Group2D_Mirror(m, g_CurGroup, g_FaceSel, Sel_FaceCapacity(), g_VertexSel,
                        Sel_VertexCapacity()))
        return;
    g_PolyEditState.tool = 1;
    g_Poly2DRefresh = 1;
    Caption("鏡面 ( グループ )");
}

void Group2D_SetChosenColour(uint32_t colorRef)
{
    QVL::GROUP2* g = Current(Model());
    if (!g) return;
    g->r = (float)(colorRef & 0xFF);
    g->g = (float)((colorRef >> 8) & 0xFF);
    g->b = (float)((colorRef >> 16) & 0xFF);
    Caption("カラー ( グループ )");
    g_PanelDirtyGroups = 1;
}
