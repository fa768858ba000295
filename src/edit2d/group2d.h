// The 2D editor's group dialog (2D_GROUP_DLG): the material groups of the 2D model in slot 0. The
// operations on a model come first, usable without the dialog.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/model2.h"

// The dialog, its group list box and its two combos (texture 1394, display mode 1388), null while
// closed; its refresh flag and its place, kept when the hub destroys it.
struct GROUP2D_DLG {
    void* dialog;
    void* list;
    void* textureCombo;
    void* shadingCombo;
    int32_t dirty;
    int32_t left, top;
};
extern GROUP2D_DLG g_Group2DDlg;
// The group chosen last; -1 at start and after a model load, so the next command re-selects it.
extern int32_t g_Group2DPrevGroup;

// Used faces per group (counts[0..255]); faces with a group outside 0..255 are not counted.
void Group2D_CountFaces(const QVL::MODEL2* m, int32_t counts[QVL::kModel2Groups]);
// "%2d : %s ( %d )" for a group with faces, "%2d : %s" without; bounded by cap.
void Group2D_ListLabel(char* out, size_t cap, int32_t index, const char* name, int32_t faces);
// The texture combo's row: " 0 : テクスチャ無し", "%2d : %s" for a used entry, "%2d :" otherwise.
void Group2D_TextureLabel(char* out, size_t cap, int32_t index, const QVL::TEXTURE2& tex);
// Selects exactly the used faces of the group and every vertex of theirs; the rest is cleared.
void Group2D_SelectGroup(const QVL::MODEL2* m, int32_t group, int32_t* faceSel, int32_t faceCap,
                         int32_t* vertexSel, int32_t vertexCap);
// The four colour edits as unsigned integers limited to 255; false (out untouched) when any is
// empty, negative or not a number.
bool Group2D_ParseColour(const char* const text[4], float out[4]);
// Gives every selected face (faceSel 1) the group.
void Group2D_AssignSelected(QVL::MODEL2* m, int32_t group, const int32_t* faceSel, int32_t faceCap);
// One more group up to 256; the index of the last group (-1 without a model).
int32_t Group2D_Add(QVL::MODEL2* m);
// Mirrors the group's faces in x: the vertex, colour and UV arrays are doubled (the copies of the
// vertices negated in x and selected) and each face of the group is appended wound the other way
// and selected. Refused (false, nothing changed) when a count would pass 65,535, the faces the
// selection can hold (faceCap) or the vertices it can hold (vertexCap).
bool Group2D_Mirror(QVL::MODEL2* m, int32_t group, int32_t* faceSel, int32_t faceCap, int32_t* vertexSel,
                    int32_t vertexCap);

// ---- the dialog (model slot g_CurModel2Id) -----------------------------------------------------

void Group2D_FillTextureCombo();
void Group2D_FillShadingCombo();
void Group2D_FillGroupList();
// Before each command: the list's row (-1 for none) as g_CurGroup; a change selects the group.
void Group2D_TakeListRow(int32_t row);
// "決定": the selected faces join the current group, then the name, texture row, display row and the
// colour edits (all four or none) are applied.
void Group2D_Apply(const char* name, int32_t textureRow, int32_t shadingRow, const char* const colour[4]);
// "追加" and "鏡面" on the current group.
void Group2D_AddCommand();
void Group2D_MirrorCommand();
// The colour the system chooser confirmed (0x00BBGGRR) as the current group's R, G, B.
void Group2D_SetChosenColour(uint32_t colorRef);

// Of the texture and polygon screens, standing in here until they land.
extern int32_t g_CurTexture2D;
extern int32_t g_Poly2DRefresh;
void Tex2D_FillTextureList();
