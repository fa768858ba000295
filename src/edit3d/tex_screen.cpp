// The texture and UV screen: entering and leaving, the texture list, the projections, the UV tools
// and unfolds, the picture window's drags and the screen's view handlers.
#include "edit3d/tex_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/uv_map.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/file_asks.h"
#include "shell/mode_hooks.h"
#include "shell/panel_states.h"
#include "shell/panels.h"
#include "shell/picking.h"
#include "shell/ui_services.h"
#include "shell/views.h"

TEX3D_SCREEN g_Tex3D = {UV_TOOL_MOVE, {0, 0, 410, 358}, {}, {}, {}, {}, {}, 0, 0, 0, 0, 8, -1, -1, 0,
                        nullptr, nullptr};

namespace {

// The picture window's slot: the panel repaint copies the painted picture into its window.
DLG_SLOT& ImageSlot() { return g_DlgSlots[SCREEN_3D_TEXTURE][3]; }
// The texture dialog's slot: the repaint pass paints the picture while this host is open.
DLG_SLOT& DialogSlot() { return g_DlgSlots[SCREEN_3D_TEXTURE][2]; }

bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }

QVL::GROUP3* CurGroup()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m || g_CurGroup < 0 || (size_t)g_CurGroup >= m->groups.size()) return nullptr;
    return &m->groups[(size_t)g_CurGroup];
}

int32_t TextureCount()
{
    const QVL::MODEL3* m = g_CurModel3;
    return m ? std::min<int32_t>(m->textureCount, (int32_t)m->textures.size()) : 0;
}

// The current texture's picture size; 0 x 0 when there is none.
void CurTextureSize(int32_t* w, int32_t* h)
{
    *w = *h = 0;
    const int32_t t = g_Tex3DState.texture;
    if (!g_CurModel3 || t < 0 || t >= TextureCount()) return;
    *w = g_CurModel3->textures[(size_t)t].width;
    *h = g_CurModel3->textures[(size_t)t].height;
}

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption);
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}

void FlagPicture() { g_PanelDirtyTexture = 1; }

void Remap()
{
    if (g_CurModel3) {
        Model3_MapGroupUvOf(g_CurModel3, g_CurGroup);
        g_CurModel3->gpuRebuild = 1;
    }
}

void RemapAll()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    for (int32_t g = 0; g < m->groupCount && (size_t)g < m->groups.size(); ++g) Model3_MapGroupUvOf(m, g);
    m->gpuRebuild = 1;
}

// The current group's texture when it names an entry, else 0.
int32_t GroupTexture()
{
    const QVL::GROUP3* g = CurGroup();
    return g && g->texture >= 0 && g->texture < TextureCount() ? g->texture : 0;
}

void Project(uint8_t mapping, int32_t tool, bool reset, const char* caption)
{
    QVL::GROUP3* g = CurGroup();
    if (!g) return;
    g->uvMapping = mapping;
    g_UvTool = tool;
    if (reset) {
        g->uvOffset[0] = g->uvOffset[1] = 0.0f;
        g->uvScale[0] = g->uvScale[1] = 1.0f;
    }
    Remap();
    Record(caption);
    g_Tex3D.dirty = 1;
    FlagPicture();
}

void UvEdit()
{
    if (QVL::GROUP3* g = CurGroup()) g->uvMapping = UVMAP_FREE;
    g_UvTool = UV_TOOL_EDIT;
    g_Tex3D.dirty = 1;
}

void HandTool(int32_t tool)
{
    if (g_UvTool == tool) {
        g_Tex3D.rememberedTool = tool;
        Tex3D_ToolSelect();
        return;
    }
    if (QVL::GROUP3* g = CurGroup()) g->uvMapping = UVMAP_FREE;
    g_UvTool = tool;
    g_Tex3D.dirty = 1;
}

// The unfolds' common end: the group is mapped by hand now, in point selection.
void AfterUnfold()
{
    if (QVL::GROUP3* g = CurGroup()) g->uvMapping = UVMAP_FREE;
    g_UvTool = UV_TOOL_SELECT;
    g_Tex3D.dirty = 1;
    if (g_CurModel3) g_CurModel3->gpuRebuild = 1;
    FlagPicture();
}

// The open dialog's answer; "" when cancelled.
std::string AskPicture()
{
    const char* name = FileCmd_AskOpen("*", "読み込むテクスチャを、選択して下さい", "");
    return name ? name : "";
}

// Loads entry `index` from the current directory, which it keeps as the entry's folder.
void LoadEntry(int32_t index, const std::string& file)
{
    QVL::MODEL3* m = g_CurModel3;
    QVL::TEXTURE3& t = m->textures[(size_t)index];
    t.used = 1;
    Str_CopyN(t.file, sizeof t.file, file.c_str());
    char folder[256] = "";
    if (Svc_GetCurrentDirectory(folder, sizeof folder)) Str_CopyN(t.folder, sizeof t.folder, folder);
    Model3DDlg_LoadTexture(m->id, index, t.folder, t.file);
}

void FinishTextureEdit(const char* format, const char* file)
{
    Model3DDlg_CopyPixels(g_CurModel3->id);
    Tex3D_Refresh();
    char caption[300];
    std::snprintf(caption, sizeof caption, format, file);
    Record(caption);
}

void ActivateMain() { Wnd_Activate(Wnd_Main()); }

} // namespace

// ---- enter, exit, frame ------------------------------------------------------------------------

void Tex3D_Enter()
{
    g_CurLayer = 0;
    Mode_UpdateCurrent();
    g_PolyEditState.tool = POLY_TOOL_UV;
    g_PolyEditState.selectionMode = 1;
    g_Tex3DState.texture = GroupTexture();
    QVL::MODEL3* m = g_CurModel3;
    if (g_FaceSel && g_VertexSel) {
        std::fill_n(g_FaceSel, Sel_FaceCapacity(), 0);
        std::fill_n(g_VertexSel, Sel_VertexCapacity(), 0);
        if (m) {
            const int32_t faces = std::min<int32_t>(std::min(m->faceCount, (int32_t)m->faces.size()), Sel_FaceCapacity());
            for (int32_t f = 0; f < faces; ++f) {
                const QVL::FACE3& face = m->faces[(size_t)f];
                if (face.group != g_CurGroup) continue;
                g_FaceSel[f] = 1;
                for (int c = 0; c < face.cornerCount && c < 4; ++c) {
                    const int32_t p = face.corners[c][QVL::CORNER_POS];
                    if (p >= 0 && p < Sel_VertexCapacity()) g_VertexSel[p] = 1;
                }
            }
        }
    }
    const int mw = g_Lib.monitorWidth, mh = g_Lib.monitorHeight;
    if (!g_Tex3D.dialog) {
        g_Tex3D.dialog = Model3DDlg_Create(MODEL3D_DLG_TEX);
        if (g_Tex3D.dialog) {
            Model3DDlg_Place(g_Tex3D.dialog, mw - 922, mh - 388, 410, 358);
            g_Tex3D.list = Model3DDlg_Item(g_Tex3D.dialog, 1);
        }
    }
    DLG_SLOT& image = ImageSlot();
    if (!image.window) {
        image.window = Model3DDlg_Create(MODEL3D_DLG_TEX_IMAGE);
        if (image.window) Model3DDlg_Place(image.window, mw - 512, mh - 576, 512, 546);
    }
    g_Tex3DImageHost = &image;
    DialogSlot().window = g_Tex3D.dialog;
    g_PanelHosts[PANEL_HOST_TEX3D] = &DialogSlot();
    g_Tex3DState.texture = GroupTexture();
    Tex3D_FillTextureList();
    g_Tex3D.dirty = 1;
    FlagPicture();
}

void Tex3D_Exit()
{
    DLG_SLOT& image = ImageSlot();
    if (image.window) Wnd_Destroy(image.window);
    image.window = nullptr;
    g_Tex3DImageHost = nullptr;
    g_PanelHosts[PANEL_HOST_TEX3D] = nullptr;
    DialogSlot().window = nullptr;
    if (g_Tex3D.dialog) Wnd_Destroy(g_Tex3D.dialog);  // the list is its child
    g_Tex3D.dialog = nullptr;
    g_Tex3D.list = nullptr;
    g_Tex3D.left = g_Tex3D.right = g_Tex3D.middle = 0;
    g_Tex3DState.drag = 0;
}

void Tex3D_Frame()
{
    Mode_UpdateCurrent();
    if (!g_CurModel3) return;
    if (g_PolyEditState.tool == POLY_TOOL_SELECT || g_PolyEditState.tool == POLY_TOOL_UV) View_ClassifyDrag();
    g_CurModel3->fillMode = 2;
    Render_Set3DScene(1);
}

// ---- the texture list --------------------------------------------------------------------------

void Tex3D_FillTextureList()
{
    const QVL::MODEL3* m = g_CurModel3;
    std::vector<std::string> rows;
    rows.emplace_back(" 0 : テクスチャ無し");
    const int32_t n = TextureCount();
    for (int32_t i = 1; i < n; ++i) {
        char row[300];
        const QVL::TEXTURE3& t = m->textures[(size_t)i];
        if (t.used) std::snprintf(row, sizeof row, "%2d : %s", i, t.file);
        else std::snprintf(row, sizeof row, "%2d :", i);
        rows.emplace_back(row);
    }
    std::vector<const char*> texts;
    for (const std::string& r : rows) texts.push_back(r.c_str());
    if (g_Tex3D.list) Model3DDlg_FillList(g_Tex3D.list, texts.data(), (int)texts.size(), g_Tex3DState.texture);
}

void Tex3D_Refresh()
{
    g_Tex3D.dirty = 1;
    FlagPicture();
    Tex3D_FillTextureList();
    Group3D_FillList();
}

// ---- tools -------------------------------------------------------------------------------------

void Tex3D_ToolMove() { HandTool(UV_TOOL_MOVE); }
void Tex3D_ToolRotate() { HandTool(UV_TOOL_ROTATE); }
void Tex3D_ToolScale() { HandTool(UV_TOOL_SCALE); }

void Tex3D_ToolSelect()
{
    if (QVL::GROUP3* g = CurGroup()) g->uvMapping = UVMAP_FREE;
    if (g_UvTool == UV_TOOL_SELECT) {
        const int32_t t = g_Tex3D.rememberedTool;
        g_UvTool = t >= UV_TOOL_MOVE && t <= UV_TOOL_SCALE ? t : UV_TOOL_MOVE;
    } else {
        g_UvTool = UV_TOOL_SELECT;
    }
    g_Tex3D.dirty = 1;
}

void Tex3D_ZoomIn()
{
    int32_t w, h;
    CurTextureSize(&w, &h);
    TexEdit_ZoomIn(&g_Tex3DState.zoom, &g_Tex3DState.offsetX, &g_Tex3DState.offsetY, w, h);
    g_Tex3D.dirty = 1;
    FlagPicture();
    ActivateMain();
}

void Tex3D_ZoomOut()
{
    int32_t w, h;
    CurTextureSize(&w, &h);
    TexEdit_ZoomOut(&g_Tex3DState.zoom, &g_Tex3DState.offsetX, &g_Tex3DState.offsetY, w, h);
    g_Tex3D.dirty = 1;
    FlagPicture();
    ActivateMain();
}

void Tex3D_RotateFaceUvs()
{
    if (!g_CurModel3) return;
    TexEdit_RotateFaceUvs(g_CurModel3, g_FaceSel, g_FaceSel ? Sel_FaceCapacity() : 0);
    g_CurModel3->gpuRebuild = 1;
    Record("ＵＶ回転 ( テクスチャ )");
    View_RequestRedraw();
    FlagPicture();
}

// ---- texture entries ---------------------------------------------------------------------------

void Tex3D_AddTexture()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t n = TextureCount();
    if (n >= QVL::kModel3Textures || (size_t)n >= m->textures.size()) {
        Lib_MessageBox("これ以上テクスチャを、追加できません。");
        return;
    }
    const std::string file = AskPicture();
    if (file.empty()) return;
    LoadEntry(n, file);
    RemapAll();
    m->textureCount = (int16_t)(n + 1);
    FinishTextureEdit("追加 %s ( テクスチャ )", file.c_str());
}

void Tex3D_ReplaceTexture()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t s = g_Tex3DState.texture;
    if (s == 0) {
        Lib_MessageBox("０番には、テクスチャを読み込めません。");
        return;
    }
    if (s < 0 || s >= TextureCount()) return;
    const std::string file = AskPicture();
    if (file.empty()) return;
    LoadEntry(s, file);
    RemapAll();
    FinishTextureEdit("入替 %s ( テクスチャ )", file.c_str());
}

void Tex3D_DeleteTexture()
{
    QVL::MODEL3* m = g_CurModel3;
    const int32_t s = g_Tex3DState.texture;
    if (!m || s <= 0 || s >= TextureCount()) return;
    char caption[300];
    std::snprintf(caption, sizeof caption, "消去 %s ( テクスチャ )", m->textures[(size_t)s].file);
    TexEdit_DeleteEntry(m, s);
    for (int32_t i = 0; i < TextureCount(); ++i) {
        const QVL::TEXTURE3& t = m->textures[(size_t)i];
        if (t.used == 1) Model3DDlg_LoadTexture(m->id, i, t.folder, t.file);
    }
    g_Tex3DState.texture = s - 1;
    m->gpuRebuild = 1;
    Model3DDlg_CopyPixels(m->id);
    Tex3D_Refresh();
    Record(caption);
}

// ---- 3D_TEX_DLG --------------------------------------------------------------------------------

void Tex3D_DialogCommand(int id, int caretRow, const char* gridText)
{
    Mode_UpdateCurrent();
    // No caret row (LB_ERR) names no texture: the current one stays.
    if (caretRow >= 0 && caretRow < TextureCount()) {
        g_Tex3DState.texture = caretRow;
        if (caretRow != g_Tex3D.lastListSel) {
            g_Tex3D.lastListSel = caretRow;
            g_Tex3DState.offsetX = g_Tex3DState.offsetY = 0;
            FlagPicture();
        }
    }
    if (id != g_Tex3D.lastCommand) {
        g_Tex3D.lastCommand = id;
        if (gridText) {
            const int step = std::atoi(gridText);
            g_Tex3D.gridStep = step < 1 ? 1 : step;
        }
    }
    switch (id) {
    case 1133: Tex3D_AddTexture(); break;
    case 1135: Tex3D_ReplaceTexture(); break;
    case 1134: Tex3D_DeleteTexture(); break;
    case 1045: Project(UVMAP_FRONT, UV_TOOL_FRONT, false, "正面ボタン ( テクスチャ )"); break;
    case 1043: Project(UVMAP_TOP, UV_TOOL_TOP, false, "上面ボタン ( テクスチャ )"); break;
    case 1042: Project(UVMAP_SIDE, UV_TOOL_SIDE, false, "側面ボタン ( テクスチャ )"); break;
    case 1047: Project(UVMAP_CYLINDER, UV_TOOL_SIDE, true, "円柱ボタン ( テクスチャ )"); break;
    case 1056: Project(UVMAP_SPHERE, UV_TOOL_SIDE, true, "球体ボタン ( テクスチャ )"); break;
    case 1057: Project(UVMAP_EACH_FACE, UV_TOOL_SIDE, true, "各面ボタン ( テクスチャ )"); break;
    case 1046: UvEdit(); break;
    case 1055: Tex3D_ToolSelect(); break;
    case 1052: Tex3D_ToolMove(); break;
    case 1053: Tex3D_ToolRotate(); break;
    case 1054: Tex3D_ToolScale(); break;
    case 1064:
        if (g_CurModel3) TexEdit_UnfoldCylinder(g_CurModel3, g_CurGroup);
        AfterUnfold();
        break;
    case 1062:
        if (g_CurModel3) TexEdit_UnfoldPositions(g_CurModel3, g_FaceSel, g_FaceSel ? Sel_FaceCapacity() : 0);
        AfterUnfold();
        break;
    case 1063:
        if (g_CurModel3) TexEdit_UnfoldNormals(g_CurModel3, g_FaceSel, g_FaceSel ? Sel_FaceCapacity() : 0);
        AfterUnfold();
        break;
    case 1443: Tex3D_RotateFaceUvs(); break;
    case 1060: Tex3D_ZoomIn(); break;
    case 1061: Tex3D_ZoomOut(); break;
    case 1059:
        g_Tex3D.snap = !g_Tex3D.snap;
        g_Tex3D.dirty = 1;
        break;
    default: break;
    }
}

// ---- 3D_TEX_IMAGE_DLG --------------------------------------------------------------------------

namespace {

POINT32 Texel(int x, int y)
{
    const float z = g_Tex3DState.zoom > 0.0f ? g_Tex3DState.zoom : 1.0f;
    return POINT32{(int32_t)((float)x / z), (int32_t)((float)y / z)};
}

// The painter's selection rectangle: point selection, while the current group shows the current
// texture, selects under the left button and deselects under the right.
void UpdateSelectionRect()
{
    TEX_DLG_STATE& st = g_Tex3DState;
    const bool active = g_UvTool == UV_TOOL_SELECT && (g_Tex3D.left || g_Tex3D.right) && CurGroup() &&
                        CurGroup()->texture == st.texture;
    st.drag = active ? kTexDragRect : 0;
    st.add = active && g_Tex3D.left;
    st.remove = active && !g_Tex3D.left && g_Tex3D.right;
    st.dragRect[0] = g_Tex3D.pressPixel.x;
    st.dragRect[1] = g_Tex3D.pressPixel.y;
    st.dragRect[2] = g_Tex3D.currentPixel.x;
    st.dragRect[3] = g_Tex3D.currentPixel.y;
}

const char* DragCaption(int32_t tool)
{
    switch (tool) {
    case UV_TOOL_FRONT: return "ＵＶ正面 ( テクスチャ )";
    case UV_TOOL_TOP: return "ＵＶ上面 ( テクスチャ )";
    case UV_TOOL_SIDE: return "ＵＶ側面 ( テクスチャ )";
    case UV_TOOL_MOVE: return "ＵＶ移動 ( テクスチャ )";
    case UV_TOOL_ROTATE: return "ＵＶ回転 ( テクスチャ )";
    case UV_TOOL_SCALE: return "ＵＶ拡縮 ( テクスチャ )";
    default: return nullptr;
    }
}

} // namespace

void Tex3D_ImageButton(int button, bool down, int x, int y)
{
    Mode_UpdateCurrent();
    const POINT32 p = Texel(x, y);
    if (down) {
        g_Tex3D.press = g_Tex3D.previous = p;
        g_Tex3D.pressPixel = g_Tex3D.currentPixel = POINT32{x, y};
    }
    switch (button) {
    case TEX_BUTTON_LEFT:
        g_Tex3D.left = down;
        if (down) {
            g_Tex3D.current = p;
            g_Tex3DState.texture = GroupTexture();
            Tex3D_FillTextureList();
        } else if (const char* caption = DragCaption(g_UvTool)) {
            Record(caption);
        }
        break;
    case TEX_BUTTON_RIGHT: g_Tex3D.right = down; break;
    case TEX_BUTTON_MIDDLE: g_Tex3D.middle = down; break;
    default: return;
    }
    UpdateSelectionRect();
    FlagPicture();
}

void Tex3D_ImageMouseMove(int x, int y)
{
    Mode_UpdateCurrent();
    const POINT32 p = Texel(x, y);
    TEX3D_SCREEN& s = g_Tex3D;
    QVL::MODEL3* m = g_CurModel3;
    QVL::GROUP3* g = CurGroup();
    if (s.left && !s.right) {
        s.current = p;
        s.currentPixel = POINT32{x, y};
        const int32_t dx = s.current.x - s.previous.x, dy = s.current.y - s.previous.y;
        if (m && g) {
            if (g->uvMapping > UVMAP_SIDE) {
                int32_t w, h;
                CurTextureSize(&w, &h);
                TexEdit_DragUvs(m, g_UvSel, g_UvSel ? Sel_VertexCapacity() : 0, g_UvTool, dx, dy, g_Tex3DState.zoom,
                                w, h, s.dlgRect[2], s.dlgRect[3]);
                m->gpuRebuild = 1;
            } else {
                g->uvOffset[0] += (float)dx / 200.0f;
                g->uvOffset[1] -= (float)dy / 200.0f;
                Remap();
            }
        }
        s.previous = s.current;
        s.dirty = 1;
    } else if (s.left && s.right) {
        s.current = p;
        const int32_t dx = s.current.x - s.previous.x, dy = s.current.y - s.previous.y;
        if (g && g->uvMapping <= UVMAP_SIDE) {
            g->uvScale[0] += (float)dx / 200.0f;
            g->uvScale[1] -= (float)dy / 200.0f;
            Remap();
        }
        s.previous = s.current;
        s.dirty = 1;
    } else if (s.middle) {
        const float z = g_Tex3DState.zoom;
        g_Tex3DState.offsetX += (int32_t)(z * (float)(p.x - s.previous.x));
        g_Tex3DState.offsetY += (int32_t)(z * (float)(p.y - s.previous.y));
        s.previous = p;
        s.dirty = 1;
    } else if (s.right) {
        s.current = s.previous = p;
        s.currentPixel = POINT32{x, y};
        s.dirty = 1;
    } else {
        return;
    }
    UpdateSelectionRect();
    FlagPicture();
}

// ---- the views ---------------------------------------------------------------------------------

void Tex3D_MouseMove(int32_t)
{
    g_CurView = &View_Picked();
    const bool left = LeftHeld(), right = RightHeld();
    if (g_CurViewIndex == 0) {
        if (left && !right) {
            g_DragCurrent = g_PrevMousePos = g_PressPoint;
            g_Tex3D.dirty = 1;
        } else if (left && right) {
            QVL::GROUP3* g = CurGroup();
            if (g && g->uvMapping <= UVMAP_SIDE) {
                g->uvScale[0] += (float)(g_PressPoint.x - g_PrevMousePos.x) / 200.0f;
                g->uvScale[1] -= (float)(g_PressPoint.y - g_PrevMousePos.y) / 200.0f;
                Remap();
                g_PrevMousePos = g_PressPoint;
                g_Tex3D.dirty = 1;
            }
        }
    } else if (g_CurView && g_CurView->type >= VIEW_FRONT && g_CurView->type <= VIEW_SIDE && left != right) {
        g_DragCurrent = g_PrevMousePos = g_PressPoint;
    }
}

void Tex3D_RButtonUp(int32_t)
{
    // A click: released where the right button went down.
    if (g_PressPoint.x == g_PrevMousePos.x && g_PressPoint.y == g_PrevMousePos.y) View_PickVertexOrFace3D();
    FlagPicture();
}

void Tex3D_KeyUp(int key)
{
    switch (key) {
    case 'E': Tex3D_ToolSelect(); break;
    case 'G': Tex3D_ToolScale(); break;
    case 'R': Tex3D_ToolRotate(); break;
    case 'T': Tex3D_ToolMove(); break;
    case 'S': Poly3D_SelectAll(); break;
    default: break;
    }
}
