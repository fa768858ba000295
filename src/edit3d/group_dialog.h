// The group dialog (3D_GROUP_DLG) of the polygon, texture and weight screens: the material groups of
// the current model, their lists and combos, and the commands of its buttons. The dialog procedure
// in edit3d/win32/group_dialogs.cpp reads the controls and calls these.
#pragma once
#include <cstdint>

#include "edit3d/poly_mesh.h"
#include "model/model3.h"

// The combos the fill functions write to (set by the dialog when it is made; null: none).
struct GROUP3D_DLG {
    void* textureCombo;    // 1394
    void* normalMapCombo;  // 1400
    void* shadingCombo;    // 1388
};
extern GROUP3D_DLG g_Group3DDlg;

// The group list's row text: "%2d : %s ( %d Poly )".
void Group3D_RowText(int32_t index, const char* name, int32_t faces, char* out, int cap);
// Faces per group; faces whose group index lies outside 0..groupCount - 1 are counted nowhere.
void Group3D_CountFaces(const QVL::MODEL3* m, int32_t* counts /* kModel3Groups */);

void Group3D_FillList();
void Group3D_FillTextureCombo();
void Group3D_FillNormalMapCombo();
void Group3D_FillShadingCombo();

void Group3D_CopyRecord(int32_t source, int32_t destination);
// The record-only delete (button 1399); false with a message when only one group is left.
bool Group3D_Remove(int32_t index);
// Exchanges groups a and b and the faces of each; the current group follows to b.
void Group3D_Swap(int32_t a, int32_t b);

// The texts and rows of the dialog's fields as Apply takes them; a row of -1 is no selection.
struct GROUP3D_FIELDS {
    const char* name;
    int32_t textureRow;
    const char* alphaRef;
    const char* level;
    int32_t normalMapRow;
    const char* height;
    const char* color[4];
    const char* specular[3];
    int32_t shadingRow;
};
void Group3D_Apply(const GROUP3D_FIELDS& f);

// A row of the group list made current; a row outside the groups (no selection) changes nothing.
void Group3D_Select(int32_t row);
void Group3D_CopyWithFaces();      // 1395
void Group3D_CopyRecordOnly();     // 1398
void Group3D_DeleteWithFaces();    // 1393
void Group3D_DeleteRecordOnly();   // 1399
void Group3D_MoveUp();             // 1396
void Group3D_MoveDown();           // 1397
// Mirrors the faces of `group` in x (1068). False, and nothing changes, when the doubled attribute
// arrays would pass the vertex limit.
bool Group3D_MirrorModel(QVL::MODEL3* m, int32_t group, POLY_SEL& s);
void Group3D_Mirror();
// The colour chooser's answer for the current group.
void Group3D_SetColor(uint8_t r, uint8_t g, uint8_t b);
// The six flag checkboxes (1386, 1387, 1402, 1403, 1404, 1405); false for another id.
bool Group3D_Toggle(int id);
