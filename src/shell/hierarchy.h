// Hierarchy lists: the first-child/next-sibling links of bones and parts, the flattened rows the key
// panels show (g_HierRows) with each row's key frames, and the fillers of the bone trees, the parent
// combo and the bone and motion list boxes (through shell/list_controls.h).
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int32_t kHierMaxRows = 256;
constexpr int32_t kHierMaxKeys = 256;

struct HIER_ROW {
    char name[256];
    int32_t reserved;
    int32_t item;         // bone or part number
    int32_t parent;
    int32_t firstChild;
    int32_t nextSibling;
    int32_t depth;        // 0 for the root
    int32_t keyCount;     // at most kHierMaxKeys: a longer key list keeps its first 256 keys
    int32_t reserved2[256];
    int32_t keyFrames[kHierMaxKeys];
};

extern HIER_ROW g_HierRows[kHierMaxRows];
extern int32_t g_HierRowCount, g_HierRowCur, g_HierDepth;

// The controls the fillers write to, set by the dialogs that own them (null while closed).
extern void* g_BoneTreeCtl;        // the tree view of BONE_LIST_DLG (3D or 2D bones)
extern void* g_BoneListCtl2D;      // the 2D bone list box (multiple selection)
extern void* g_ParentComboCtl2D;   // the 2D bone dialog's parent combo box
extern void* g_MotionListCtl;      // the motion list box of the current screen's motion dialog
extern void* g_ObjMotionListCtl;   // the object motion list box

void List_LinkBones3D();
void List_LinkBones2D();
void List_LinkParts3D();
void List_LinkParts2D();
void List_RebuildBones3D();
void List_RebuildBones2D();
void List_RebuildObj3D();
void List_RebuildObj2D();
void List_FillRowKeys2D();
void List_FillRowKeys3D();
void List_FillBoneTree3D();
void List_FillBoneTree2D();
void List_FillParentCombo2D();
void List_FillBoneList2D();
void List_FillMotions3D();
void List_FillMotionsObj2D();
void List_FillMotions2D();
void List_FillMotionsObj3D();

// A row's key frames from a list of count frames (stride bytes apart); keeps the first 256.
void Hier_StoreKeys(HIER_ROW* row, const int32_t* frames, int32_t count, size_t stride);

// The labels the fillers write (bounded: a 255-byte name is cut, never overrun).
void List_BoneLabel(char* out, size_t cap, int32_t bone, const char* name);
void List_MotionLabel(char* out, size_t cap, int32_t index, int32_t length, const char* name, bool range);
// The label the bone tree shows for a bone, kept for the tree's notifications ("" outside).
const char* List_TreeLabel(int32_t bone);

// Command 1306 of that dialog: appends a motion unless the object has the most it can hold.
bool Obj3D_AppendMotion();
