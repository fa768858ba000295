// The 2D editor's group dialog (2D_GROUP_DLG): the material groups of the 2D model in slot 0. The
// operations on a model come first, usable without the dialog.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/model2.h"

// Refresh flag, remembered position and the group chosen last (-1: re-select on the next command).
extern int32_t g_Group2DDlgDirty, g_Group2DLeft, g_Group2DTop, g_Group2DPrevGroup;
// Asks the panel painter to repaint the dialog's group panel.
extern int32_t g_GroupPanelDirty;

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
