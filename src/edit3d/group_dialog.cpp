// The group dialog's commands on the current model's material groups.
#include "edit3d/group_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panel_states.h"
#include "shell/panels.h"
#include "shell/picking.h"

using QVL::FACE3;
using QVL::GROUP3;
using QVL::MODEL3;

GROUP3D_DLG g_Group3DDlg = {nullptr, nullptr, nullptr};

namespace {

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption);
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}

int32_t FaceCount(const MODEL3* m) { return std::clamp<int32_t>(m->faceCount, 0, (int32_t)m->faces.size()); }
int32_t GroupCount(const MODEL3* m) { return std::clamp<int32_t>(m->groupCount, 0, (int32_t)m->groups.size()); }

GROUP3* CurrentGroup()
{
    MODEL3* m = g_CurModel3;
    if (!m || g_CurGroup < 0 || g_CurGroup >= GroupCount(m)) return nullptr;
    return &m->groups[(size_t)g_CurGroup];
}

// An unsigned decimal number and nothing else; false for an empty or other text.
bool ReadUInt(const char* t, unsigned long* out)
{
    if (!t || *t < '0' || *t > '9') return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(t, &end, 10);
    if (*end != '\0') return false;
    *out = v;
    return true;
}

int32_t Clamp255(unsigned long v) { return v > 255 ? 255 : (int32_t)v; }

void FillTextureRows(void* combo, int32_t selected)
{
    const MODEL3* m = g_CurModel3;
    if (!combo || !m) return;
    ListCtl_Reset(combo);
    ListCtl_Add(combo, " 0 : なし");
    const int32_t n = std::min<int32_t>(m->textureCount, (int32_t)m->textures.size());
    for (int32_t i = 1; i < n; ++i) {
        const QVL::TEXTURE3& t = m->textures[(size_t)i];
        char row[300];
        if (t.used == 1) Str_Format(row, sizeof row, "%2d : %s", i, t.file);
        else Str_Format(row, sizeof row, "%2d :", i);
        ListCtl_Add(combo, row);
    }
    ListCtl_Select(combo, selected);
}

void SlotDirty()
{
    if (g_Screen >= 0 && g_Screen < kScreenCount) g_DlgSlots[g_Screen][1].dirty = 1;
}

// The record-only copy: false with the message at 256 groups.
bool AppendCopy()
{
    MODEL3* m = g_CurModel3;
    if (!m) return false;
    if (GroupCount(m) > QVL::kModel3Groups - 1 || !CurrentGroup()) {
        Lib_MessageBox("グループを、コピーできませんでした。");
        return false;
    }
    const int32_t index = GroupCount(m);
    m->groupCount = index + 1;
    Group3D_CopyRecord(g_CurGroup, index);
    g_CurGroup = index;
    return true;
}

} // namespace

void Group3D_RowText(int32_t index, const char* name, int32_t faces, char* out, int cap)
{
    Str_Format(out, (size_t)cap, "%2d : %s ( %d Poly )", index, name, faces);
}

void Group3D_CountFaces(const MODEL3* m, int32_t* counts)
{
    std::fill(counts, counts + QVL::kModel3Groups, 0);
    const int32_t groups = GroupCount(m);
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        // The index comes from the file: one outside the groups must not write past the counts.
        const int32_t g = m->faces[(size_t)f].group;
        if (g >= 0 && g < groups) ++counts[g];
    }
}

void Group3D_FillList()
{
    const MODEL3* m = g_CurModel3;
    if (!m) return;
    if (void* list = g_Model3DEditor.groupList) {
        int32_t counts[QVL::kModel3Groups];
        Group3D_CountFaces(m, counts);
        const int32_t groups = GroupCount(m);
        static char rows[QVL::kModel3Groups][320];
        const char* texts[QVL::kModel3Groups];
        for (int32_t g = 0; g < groups; ++g) {
            Group3D_RowText(g, m->groups[(size_t)g].name, counts[g], rows[g], sizeof rows[g]);
            texts[g] = rows[g];
        }
        Model3DDlg_FillList(list, texts, groups, g_CurGroup);
    }
    Group3D_FillTextureCombo();
    Group3D_FillNormalMapCombo();
}

void Group3D_FillTextureCombo()
{
    const GROUP3* g = CurrentGroup();
    FillTextureRows(g_Group3DDlg.textureCombo, g ? g->texture : -1);
}

void Group3D_FillNormalMapCombo()
{
    const GROUP3* g = CurrentGroup();
    FillTextureRows(g_Group3DDlg.normalMapCombo, g ? g->normalMapTexture : -1);
}

void Group3D_FillShadingCombo()
{
    void* combo = g_Group3DDlg.shadingCombo;
    if (!g_CurModel3 || !combo) return;
    static const char* const kModes[6] = {"非表示", "ポイント", "ワイヤー", "フラット", "グーロー", "曲面"};
    ListCtl_Reset(combo);
    for (const char* row : kModes) ListCtl_Add(combo, row);
    const GROUP3* g = CurrentGroup();
    ListCtl_Select(combo, g ? g->shading : -1);
}

void Group3D_CopyRecord(int32_t source, int32_t destination)
{
    MODEL3* m = g_CurModel3;
    if (!m || source < 0 || destination < 0 || (size_t)source >= m->groups.size() ||
        (size_t)destination >= m->groups.size() || source == destination)
        return;
    m->groups[(size_t)destination] = m->groups[(size_t)source];
}

bool Group3D_Remove(int32_t index)
{
    MODEL3* m = g_CurModel3;
    if (!m) return false;
    const int32_t groups = GroupCount(m);
    if (groups <= 1) {
        Lib_MessageBox("グループを消去できません。");
        return false;
    }
    if (index < 0 || index >= groups) return false;
    for (int32_t g = index; g + 1 < groups; ++g) m->groups[(size_t)g] = m->groups[(size_t)g + 1];
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        int32_t& g = m->faces[(size_t)f].group;
        if (g > 0 && g >= index) --g;
    }
    m->groupCount = groups - 1;
    if (g_CurGroup >= m->groupCount) g_CurGroup = m->groupCount - 1;
    Record("グループ 消去");
    Poly3D_Refresh();
    return true;
}

void Group3D_Swap(int32_t a, int32_t b)
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t groups = GroupCount(m);
    if (a < 0 || b < 0 || a >= groups || b >= groups || a == b) return;
    std::swap(m->groups[(size_t)a], m->groups[(size_t)b]);
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        int32_t& g = m->faces[(size_t)f].group;
        if (g == a) g = b;
        else if (g == b) g = a;
    }
    g_CurGroup = b;
}

void Group3D_Apply(const GROUP3D_FIELDS& f)
{
    MODEL3* m = g_CurModel3;
    GROUP3* g = CurrentGroup();
    if (!m || !g) return;
    if (g_FaceSel) {
        const int32_t n = std::min(FaceCount(m), Sel_FaceCapacity());
        for (int32_t i = 0; i < n; ++i)
            if (g_FaceSel[i] == 1) m->faces[(size_t)i].group = g_CurGroup;
    }
    if (f.name) Str_CopyN(g->name, sizeof g->name, f.name, 255);
    // No selection (-1) keeps what the group had.
    if (f.textureRow >= 0 && f.textureRow < QVL::kModel3Textures) g->texture = f.textureRow;
    g_Tex3DState.texture = g->texture;
    unsigned long v;
    if (ReadUInt(f.alphaRef, &v)) g->alphaRef = (uint16_t)Clamp255(v);
    if (f.normalMapRow >= 0 && f.normalMapRow < QVL::kModel3Textures) g->normalMapTexture = (uint16_t)f.normalMapRow;
    if (f.height) m->displacementHeight = (float)std::atof(f.height);
    Group3D_FillList();
    Tex3D_Refresh();
    if (f.shadingRow >= 0 && f.shadingRow <= 5) g->shading = f.shadingRow;
    unsigned long c[4];
    if (ReadUInt(f.color[0], &c[0]) && ReadUInt(f.color[1], &c[1]) && ReadUInt(f.color[2], &c[2]) &&
        ReadUInt(f.color[3], &c[3])) {
        for (int i = 0; i < 3; ++i) g->color[i] = (float)Clamp255(c[i]);
        g->alpha = (float)Clamp255(c[3]);
    }
    if (ReadUInt(f.specular[0], &c[0]) && ReadUInt(f.specular[1], &c[1]) && ReadUInt(f.specular[2], &c[2]))
        for (int i = 0; i < 3; ++i) g->specularColor[i] = Clamp255(c[i]);
    if (f.level) m->subdivision = (int16_t)std::atoi(f.level);
    Record("グループ 決定ボタン");
    View_RequestRedraw();
    g_PanelDirtyGroups = 1;
}

void Group3D_Select(int32_t row)
{
    MODEL3* m = g_CurModel3;
    // LB_ERR (no row) and rows past the groups leave everything as it was.
    if (!m || row < 0 || row >= GroupCount(m)) return;
    g_CurGroup = row;
    const GROUP3& g = m->groups[(size_t)row];
    g_Tex3DState.texture = g.texture >= 0 && g.texture <= 255 ? g.texture : 0;
    Tex3D_Refresh();
    if (g_FaceSel && g_VertexSel) {
        const int32_t faceCap = Sel_FaceCapacity(), vertexCap = Sel_VertexCapacity();
        std::memset(g_FaceSel, 0, (size_t)faceCap * sizeof(int32_t));
        std::memset(g_VertexSel, 0, (size_t)vertexCap * sizeof(int32_t));
        const int32_t n = std::min(FaceCount(m), faceCap);
        for (int32_t f = 0; f < n; ++f) {
            const FACE3& face = m->faces[(size_t)f];
            if (face.group != row) continue;
            g_FaceSel[f] = 1;
            for (int k = 0; k < std::min<int>(face.cornerCount, 4); ++k) {
                const int32_t p = face.corners[k][QVL::CORNER_POS];
                if (p >= 0 && p < vertexCap) g_VertexSel[p] = 1;
            }
        }
    }
    g_Poly3DDirty = 1;
    SlotDirty();
    View_RequestRedraw();
}

void Group3D_CopyWithFaces()
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    if (!g_PolyEditState.selectionMode) {
        // The copy takes faces only; a paste now would bring back an older clipboard.
        Poly3D_CopySelection();
        return;
    }
    const int32_t oldCurrent = g_CurGroup;
    if (!AppendCopy()) return;
    const int32_t faces = FaceCount(m);
    Poly3D_CopySelection();
    if (!g_PolyClipboard || !PolyMesh_Paste(m, Poly3D_Selection(), g_PolyClipboard)) {
        Lib_MessageBox("頂点数または面数が上限を超えます。");
        m->groupCount -= 1;
        g_CurGroup = oldCurrent;
        return;
    }
    const int32_t n = FaceCount(m);
    for (int32_t f = faces; f < n; ++f) m->faces[(size_t)f].group = g_CurGroup;
    g_Poly3DDirty = 1;
    Record("グループ コピー");
    Poly3D_Refresh();
}

void Group3D_CopyRecordOnly()
{
    if (!AppendCopy()) return;
    Record("グループ コピー");
    Poly3D_Refresh();
}

void Group3D_DeleteWithFaces()
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    if (GroupCount(m) <= 1) {
        Lib_MessageBox("グループを消去できません。");
        return;
    }
    Poly3D_DeleteSelection();
    Group3D_Remove(g_CurGroup);
}

void Group3D_DeleteRecordOnly() { Group3D_Remove(g_CurGroup); }

void Group3D_MoveUp()
{
    if (!CurrentGroup() || g_CurGroup == 0) return;
    Group3D_Swap(g_CurGroup, g_CurGroup - 1);
    Record("グループ ↑");
    Poly3D_Refresh();
}

void Group3D_MoveDown()
{
    if (!CurrentGroup() || g_CurGroup >= GroupCount(g_CurModel3) - 1) return;
    Group3D_Swap(g_CurGroup, g_CurGroup + 1);
    Record("グループ ↓");
    Poly3D_Refresh();
}

bool Group3D_MirrorModel(MODEL3* m, int32_t group, POLY_SEL& s)
{
    if (!m || !s.vertexSel || !s.faceSel) return false;
    Model3_FitArrays(m);
    const int64_t limit = s.maxVertices;
    const int32_t pc = m->positionCount, nc = m->normalCount, cc = m->colorCount, uc = m->uvCount;
    if (pc < 0 || nc < 0 || cc < 0 || uc < 0 || 2 * (int64_t)pc > limit || 2 * (int64_t)nc > limit ||
        2 * (int64_t)cc > limit || 2 * (int64_t)uc > limit)
        return false;
    const int32_t n = std::min(FaceCount(m), s.maxPolygons);
    std::memset(s.faceSel, 0, (size_t)n * sizeof(int32_t));
    std::memset(s.vertexSel, 0, (size_t)s.maxVertices * sizeof(int32_t));
    m->positions.resize((size_t)pc);
    m->normals.resize((size_t)nc);
    m->colors.resize((size_t)cc);
    m->uvs.resize((size_t)uc);
    for (int32_t i = 0; i < pc; ++i) {
        QVL::XYZ p = m->positions[(size_t)i];
        p.x = -p.x;
        m->positions.push_back(p);
        s.vertexSel[pc + i] = 1;
    }
    for (int32_t i = 0; i < nc; ++i) {
        QVL::XYZ v = m->normals[(size_t)i];
        v.x = -v.x;
        m->normals.push_back(v);
    }
    for (int32_t i = 0; i < cc; ++i) m->colors.push_back(m->colors[(size_t)i]);
    for (int32_t i = 0; i < uc; ++i) m->uvs.push_back(m->uvs[(size_t)i]);
    m->faces.resize((size_t)FaceCount(m));
    const int32_t base[4] = {pc, nc, cc, uc};
    for (int32_t f = 0; f < n && m->faceCount < s.maxPolygons; ++f) {
        const FACE3 src = m->faces[(size_t)f];
        if (src.group != group) continue;
        FACE3 face = src;
        const int corners = std::min<int>(src.cornerCount, 4);
        for (int k = 0; k < corners; ++k)
            for (int a = 0; a < 4; ++a) face.corners[k][a] = src.corners[corners - 1 - k][a] + base[a];
        m->faces.push_back(face);
        s.faceSel[m->faceCount] = 1;
        ++m->faceCount;
    }
    m->positionCount = 2 * pc;
    m->normalCount = 2 * nc;
    m->colorCount = 2 * cc;
    m->uvCount = 2 * uc;
    Model3_FitArrays(m);
    return true;
}

void Group3D_Mirror()
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    POLY_SEL s = Poly3D_Selection();
    if (!Group3D_MirrorModel(m, g_CurGroup, s)) {
        Lib_MessageBox("頂点数が上限を超えます。");
        return;
    }
    g_PolyEditState.tool = POLY_TOOL_MOVE;
    g_Poly3DDirty = 1;
    m->gpuRebuild = 1;
    View_RequestRedraw();
    Record("鏡面 ( グループ )");
}

void Group3D_SetColor(uint8_t r, uint8_t g, uint8_t b)
{
    if (GROUP3* grp = CurrentGroup()) {
        grp->color[0] = r, grp->color[1] = g, grp->color[2] = b;
        Record("カラー ( グループ )");
    }
    g_PanelDirtyGroups = 1;
}

bool Group3D_Toggle(int id)
{
    GROUP3* g = CurrentGroup();
    if (!g) return false;
    auto flipByte = [](uint8_t& v) { v = v == 1 ? 0 : 1; return v == 1; };
    bool on;
    const char* name;
    switch (id) {
    case 1386: g->mirror = 1 - g->mirror; on = g->mirror != 0; name = "鏡面"; break;
    case 1387: g->specular = 1 - g->specular; on = g->specular != 0; name = "スペキュラー"; break;
    case 1402: on = flipByte(g->textureSwitch); name = "テクスチャ"; break;
    case 1403:
        on = flipByte(g->normalMap);
        name = "法線マップ";
        Model3_SetRenderKind(g_CurModel3, on ? 6 : 0);
        break;
    case 1404: on = flipByte(g->selfIllumination); name = "自己発光(Bloom)"; break;
    case 1405: on = flipByte(g->alphaTest); name = "アルファテスト"; break;
    default: return false;
    }
    char caption[128];
    Str_Format(caption, sizeof caption, "%s%s ( グループ )", name, on ? "ON" : "OFF");
    Record(caption);
    g_Poly3DDirty = 1;
    View_RequestRedraw();
    return true;
}
