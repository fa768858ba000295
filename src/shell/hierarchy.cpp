#include "shell/hierarchy.h"

#include <cstring>
#include <vector>

#include "frame/lib.h"
#include "frame/text.h"
#include "model/model2.h"
#include "model/model3.h"
#include "model/obj2.h"
#include "model/obj3.h"
#include "render/screens.h"
#include "shell/current.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"

HIER_ROW g_HierRows[kHierMaxRows];
int32_t g_HierRowCount, g_HierRowCur, g_HierDepth;
void* g_BoneTreeCtl;
void* g_BoneListCtl2D;
void* g_ParentComboCtl2D;
void* g_MotionListCtl;
void* g_ObjMotionListCtl;

namespace {

// The 2D object's part names: fixed, not the object's own.
const char kObj2RootName[] = "親オブジェクト";
const char kObj2PartName[] = "オブジェクト";
const char kRootBoneLabel[] = " 0  親ボーン";

// Field access of one kind of node, so one walk serves bones and parts of all four records.
struct NODE_REF {
    int32_t* parent;
    int32_t* firstChild;
    int32_t* nextSibling;
    int32_t* expanded;
    int32_t* listed;
    const char* name;
};

template <class Get>
void LinkNodes(int32_t count, Get node)
{
    for (int32_t i = 0; i < count; ++i) {
        NODE_REF n = node(i);
        *n.firstChild = 0;
        *n.nextSibling = 0;
    }
    for (int32_t i = 1; i < count; ++i) {
        int32_t p = *node(i).parent;
        if (p < 0 || p >= count || p == i) continue;   // from a file: links nowhere
        NODE_REF pn = node(p);
        if (*pn.firstChild == 0) {
            *pn.firstChild = i;
            continue;
        }
        if (*pn.firstChild == i) continue;
        // Children were linked in ascending order, so the chain ends within count steps.
        int32_t c = *pn.firstChild;
        for (int32_t steps = 0; steps < count; ++steps) {
            int32_t next = *node(c).nextSibling;
            if (next == 0) break;
            c = next;
        }
        *node(c).nextSibling = i;
    }
}

// Depth first from node 0: a node, its subtree, then its next sibling. A node gets a row when it is
// the root, or when its parent is expanded and listed and the root is expanded. Hidden subtrees are
// walked too (their nodes get no row). Each node is visited at most once, so links that loop end.
template <class Get>
void RebuildRows(int32_t count, int32_t clearCount, Get node)
{
    g_HierDepth = 0;
    if (count <= 0) {
        g_HierRowCount = 0;
        return;
    }
    *node(0).expanded = 1;
    for (int32_t i = 0; i < clearCount; ++i) *node(i).listed = 0;
    for (HIER_ROW& r : g_HierRows) r.depth = 0;
    g_HierRowCount = 0;
    std::vector<uint8_t> seen((size_t)count, 0);
    struct FRAME { int32_t node, depth; };
    std::vector<FRAME> stack;
    stack.push_back({0, 0});
    while (!stack.empty() && g_HierRowCount < kHierMaxRows) {
        FRAME f = stack.back();
        stack.pop_back();
        int32_t a = f.node;
        if (a < 0 || a >= count || seen[(size_t)a]) continue;
        seen[(size_t)a] = 1;
        NODE_REF n = node(a);
        int32_t b = *n.parent;
        bool visible = a == 0;
        if (!visible && b >= 0 && b < count) {
            NODE_REF pn = node(b);
            visible = *pn.expanded && *pn.listed && *node(0).expanded;
        }
        if (visible) {
            *n.listed = 1;
            HIER_ROW& r = g_HierRows[g_HierRowCount];
            std::memset(r.name, 0, sizeof r.name);
            Str_CopyN(r.name, sizeof r.name, n.name ? n.name : "");
            r.item = a;
            r.parent = b;
            r.firstChild = *n.firstChild;
            r.nextSibling = *n.nextSibling;
            r.depth = f.depth;
            ++g_HierRowCount;
        }
        // The sibling after the subtree, so push it first. The root's siblings are not walked.
        if (a != 0 && *n.nextSibling > 0) stack.push_back({*n.nextSibling, f.depth});
        if (*n.firstChild > 0) stack.push_back({*n.firstChild, f.depth + 1});
    }
    g_HierDepth = 0;
}

int32_t Clamp(int32_t n, int32_t hi) { return n < 0 ? 0 : n > hi ? hi : n; }

auto Bone3Node(QVL::MODEL3* m)
{
    return [m](int32_t i) {
        QVL::BONE3& b = m->bones[i];
        return NODE_REF{&b.parent, &b.firstChild, &b.nextSibling, &b.expanded, &b.listed, b.name};
    };
}

auto Bone2Node(QVL::MODEL2* m)
{
    return [m](int32_t i) {
        QVL::BONE2& b = m->bones[i];
        return NODE_REF{&b.parent, &b.firstChild, &b.nextSibling, &b.expanded, &b.listed, b.name};
    };
}

auto Part3Node(QVL::OBJ3* o)
{
    return [o](int32_t i) {
        QVL::OBJ3_PART& p = o->parts[i];
        return NODE_REF{&p.parent, &p.firstChild, &p.nextSibling, &p.expanded, &p.listed, p.file};
    };
}

auto Part2Node(QVL::OBJ2* o)
{
    return [o](int32_t i) {
        QVL::OBJ2_PART& p = o->parts[i];
        return NODE_REF{&o->parents[i], &o->firstChild[i], &o->nextSibling[i], &p.expanded, &p.listed,
                        i == 0 ? kObj2RootName : kObj2PartName};
    };
}

int32_t BoneCount3(const QVL::MODEL3* m) { return Clamp(m->boneCount, QVL::kModel3Bones); }
int32_t BoneCount2(const QVL::MODEL2* m) { return Clamp(m->boneCount, QVL::kModel2Bones); }
int32_t PartCount3(const QVL::OBJ3* o) { return Clamp(o->partCount, QVL::kObj3Parts); }
int32_t PartCount2(const QVL::OBJ2* o) { return Clamp(o->partCount, QVL::kObj2MaxParts); }

template <class KEY>
void StoreKeyList(HIER_ROW* row, const std::vector<KEY>& keys)
{
    Hier_StoreKeys(row, keys.empty() ? nullptr : &keys[0].frame, (int32_t)keys.size(), sizeof(KEY));
}

} // namespace

void Hier_StoreKeys(HIER_ROW* row, const int32_t* frames, int32_t count, size_t stride)
{
    if (count < 0 || !frames) count = 0;
    if (count > kHierMaxKeys) count = kHierMaxKeys;
    const char* p = (const char*)frames;
    for (int32_t k = 0; k < count; ++k) std::memcpy(&row->keyFrames[k], p + (size_t)k * stride, sizeof(int32_t));
    row->keyCount = count;
}

void List_LinkBones3D()
{
    Mode_UpdateCurrent();
    if (g_CurModel3) LinkNodes(BoneCount3(g_CurModel3), Bone3Node(g_CurModel3));
}

void List_LinkBones2D()
{
    Mode_UpdateCurrent();
    if (g_CurModel2) LinkNodes(BoneCount2(g_CurModel2), Bone2Node(g_CurModel2));
}

void List_LinkParts3D()
{
    Mode_UpdateCurrent();
    if (g_CurObj3) LinkNodes(PartCount3(g_CurObj3), Part3Node(g_CurObj3));
}

void List_LinkParts2D()
{
    Mode_UpdateCurrent();
    if (g_CurObj2) LinkNodes(PartCount2(g_CurObj2), Part2Node(g_CurObj2));
}

void List_RebuildBones3D()
{
    if (!g_CurModel3) return;
    List_LinkBones3D();
    if (!g_CurModel3) return;
    RebuildRows(BoneCount3(g_CurModel3), QVL::kModel3Bones, Bone3Node(g_CurModel3));
    Render_MarkScreenDirty(0);
}

void List_RebuildBones2D()
{
    if (!g_CurModel2) return;
    List_LinkBones2D();
    if (!g_CurModel2) return;
    RebuildRows(BoneCount2(g_CurModel2), QVL::kModel2Bones, Bone2Node(g_CurModel2));
    Render_MarkScreenDirty(0);
}

void List_RebuildObj3D()
{
    if (!g_CurObj3) return;
    List_LinkParts3D();
    if (!g_CurObj3) return;
    RebuildRows(PartCount3(g_CurObj3), QVL::kObj3Parts, Part3Node(g_CurObj3));
    Render_MarkScreenDirty(0);
}

void List_RebuildObj2D()
{
    if (!g_CurObj2) return;
    List_LinkParts2D();
    if (!g_CurObj2) return;
    RebuildRows(PartCount2(g_CurObj2), QVL::kObj2MaxParts, Part2Node(g_CurObj2));
    Render_MarkScreenDirty(0);
}

void List_FillRowKeys2D()
{
    int32_t rows = Clamp(g_HierRowCount, kHierMaxRows);
    for (int32_t r = 0; r < rows; ++r) {
        HIER_ROW& row = g_HierRows[r];
        row.keyCount = 0;
        int32_t item = row.item;
        if (g_Screen == SCREEN_2D_OBJECT && g_CurObj2) {
            if (item < 0 || item >= QVL::kObj2MaxParts) continue;
            const QVL::OBJ2_PART& part = g_CurObj2->parts[item];
            int32_t mo = g_CurObj2->motion;
            if (mo >= 0 && (size_t)mo < part.keyLists.size()) StoreKeyList(&row, part.keyLists[(size_t)mo].keys);
        } else if (g_Screen == SCREEN_2D_MOTION && g_CurModel2) {
            if (item < 0 || item >= QVL::kModel2Bones) continue;
            const QVL::BONE2& bone = g_CurModel2->bones[item];
            int32_t mo = g_CurModel2->currentMotion;
            if (mo >= 0 && (size_t)mo < bone.keyLists.size()) StoreKeyList(&row, bone.keyLists[(size_t)mo].keys);
        }
    }
}

void List_FillRowKeys3D()
{
    int32_t rows = Clamp(g_HierRowCount, kHierMaxRows);
    for (int32_t r = 0; r < rows; ++r) {
        HIER_ROW& row = g_HierRows[r];
        if (g_Screen == SCREEN_3D_OBJECT && g_CurObj3) {
            row.keyCount = 0;
            int32_t mo = g_CurObj3->motion;
            if (mo < 0 || mo >= QVL::kObj3Motions) continue;
            const QVL::OBJ3_MOTION& m = g_CurObj3->motions[mo];
            Hier_StoreKeys(&row, m.keyFrames, Clamp(m.keyCount, QVL::kObj3Keys), sizeof(int32_t));
        } else if (g_Screen == SCREEN_3D_MOTION && g_CurModel3) {
            row.keyCount = 0;
            if (row.item < 0 || row.item >= QVL::kModel3Bones) continue;
            const QVL::BONE3& bone = g_CurModel3->bones[row.item];
            int32_t mo = g_CurModel3->currentMotion;
            if (mo >= 0 && (size_t)mo < bone.keys.size()) StoreKeyList(&row, bone.keys[(size_t)mo]);
        }
    }
}

void List_BoneLabel(char* out, size_t cap, int32_t bone, const char* name)
{
    if (bone == 0) Str_CopyN(out, cap, kRootBoneLabel);
    else Str_Format(out, cap, "%2d  %s", bone, name ? name : "");
}

void List_MotionLabel(char* out, size_t cap, int32_t index, int32_t length, const char* name, bool range)
{
    Str_Format(out, cap, range ? "%2d : 0 ～ %2d  %s" : "%2d : %2d Frame  %s", index, length, name ? name : "");
}

// ---- fillers -------------------------------------------------------------------------------------

namespace {

// The per-bone labels the tree's notifications compare with, and the items made for them.
char s_TreeLabels[QVL::kModel3Bones][256];
void* s_TreeItems[QVL::kModel3Bones];

template <class BONE>
void FillTree(const BONE* bones, int32_t count)
{
    int32_t keep = g_CurBone;
    TreeCtl_Clear(g_BoneTreeCtl);
    g_CurBone = keep;
    for (int32_t i = 0; i < count; ++i) s_TreeItems[i] = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        List_BoneLabel(s_TreeLabels[i], sizeof s_TreeLabels[i], i, bones[i].name);
        int32_t p = bones[i].parent;
        // A parent not yet made (a later number, from a file) puts the bone at the root level.
        void* parentItem = (i > 0 && p > 0 && p < i) ? s_TreeItems[p] : nullptr;
        s_TreeItems[i] = TreeCtl_Insert(g_BoneTreeCtl, parentItem, s_TreeLabels[i]);
        if (parentItem) TreeCtl_Expand(g_BoneTreeCtl, parentItem);
    }
    if (g_CurBone >= 0 && g_CurBone < count && s_TreeItems[g_CurBone]) {
        TreeCtl_Select(g_BoneTreeCtl, s_TreeItems[g_CurBone]);
        g_CurBone = keep;
    }
}

} // namespace

const char* List_TreeLabel(int32_t bone)
{
    return bone >= 0 && bone < QVL::kModel3Bones ? s_TreeLabels[bone] : "";
}

void List_FillBoneTree3D()
{
    if (!g_CurModel3 || !g_BoneTreeCtl) return;
    FillTree(g_CurModel3->bones, BoneCount3(g_CurModel3));
}

void List_FillBoneTree2D()
{
    if (!g_CurModel2 || !g_BoneTreeCtl) return;
    FillTree(g_CurModel2->bones, BoneCount2(g_CurModel2));
}

void List_FillParentCombo2D()
{
    if (!g_CurModel2 || !g_ParentComboCtl2D) return;
    ListCtl_Reset(g_ParentComboCtl2D);
    int32_t n = BoneCount2(g_CurModel2);
    char text[256];
    for (int32_t i = 0; i < n; ++i) {
        List_BoneLabel(text, sizeof text, i, g_CurModel2->bones[i].name);
        ListCtl_Add(g_ParentComboCtl2D, text);
    }
    if (g_CurBone >= 0 && g_CurBone < n) ListCtl_Select(g_ParentComboCtl2D, g_CurModel2->bones[g_CurBone].parent);
}

void List_FillBoneList2D()
{
    if (!g_CurModel2) return;
    if (g_BoneListCtl2D) {
        ListCtl_Reset(g_BoneListCtl2D);
        int32_t n = BoneCount2(g_CurModel2);
        char text[256], line[300];
        for (int32_t i = 0; i < n; ++i) {
            List_BoneLabel(text, sizeof text, i, g_CurModel2->bones[i].name);
            int32_t p = g_CurModel2->bones[i].parent;
            if (i > 0 && p > 0) Str_Format(line, sizeof line, "%s ( %d )", text, p);
            else Str_CopyN(line, sizeof line, text);
            ListCtl_Add(g_BoneListCtl2D, line);
        }
        if (g_CurBone >= 0 && g_CurBone < n) ListCtl_SetSel(g_BoneListCtl2D, g_CurBone);
    }
    List_FillParentCombo2D();
}

void List_FillMotions3D()
{
    if (!g_CurModel3 || !g_MotionListCtl) return;
    ListCtl_Reset(g_MotionListCtl);
    char text[300];
    const std::vector<QVL::MOTION3>& ms = g_CurModel3->motions;
    for (size_t i = 0; i < ms.size(); ++i) {
        List_MotionLabel(text, sizeof text, (int32_t)i, ms[i].length, ms[i].name, false);
        ListCtl_Add(g_MotionListCtl, text);
    }
    ListCtl_Select(g_MotionListCtl, g_CurModel3->currentMotion);
}

void List_FillMotionsObj2D()
{
    if (!g_CurObj2 || !g_ObjMotionListCtl) return;
    ListCtl_Reset(g_ObjMotionListCtl);
    char text[300];
    const std::vector<QVL::OBJ2_MOTION>& ms = g_CurObj2->motions;
    for (size_t i = 0; i < ms.size(); ++i) {
        List_MotionLabel(text, sizeof text, (int32_t)i, ms[i].length, ms[i].name, false);
        ListCtl_Add(g_ObjMotionListCtl, text);
    }
    ListCtl_Select(g_ObjMotionListCtl, g_CurObj2->motion);
}

void List_FillMotions2D()
{
    if (!g_CurModel2 || !g_MotionListCtl) return;
    ListCtl_Reset(g_MotionListCtl);
    char text[300];
    int32_t n = Clamp(g_CurModel2->motionCount, QVL::kModel2Motions);
    for (int32_t i = 0; i < n; ++i) {
        const QVL::MOTION2& m = g_CurModel2->motions[i];
        List_MotionLabel(text, sizeof text, i, m.length, m.name, true);
        ListCtl_Add(g_MotionListCtl, text);
    }
    ListCtl_Select(g_MotionListCtl, g_CurModel2->currentMotion);
}

void List_FillMotionsObj3D()
{
    if (!g_CurObj3 || !g_ObjMotionListCtl) return;
    ListCtl_Reset(g_ObjMotionListCtl);
    char text[300];
    int32_t n = Clamp(g_CurObj3->motionCount, QVL::kObj3Motions);
    for (int32_t i = 0; i < n; ++i) {
        const QVL::OBJ3_MOTION& m = g_CurObj3->motions[i];
        List_MotionLabel(text, sizeof text, i, m.length, m.name, true);
        ListCtl_Add(g_ObjMotionListCtl, text);
    }
    ListCtl_Select(g_ObjMotionListCtl, g_CurObj3->motion);
}

bool Obj3D_AppendMotion()
{
    if (!g_CurObj3) return false;
    // The motion table holds kObj3Motions entries; a further append would index past it.
    if (g_CurObj3->motionCount < 0 || g_CurObj3->motionCount >= QVL::kObj3Motions) return false;
    int32_t last = g_CurObj3->motionCount++;
    g_CurObj3->motion = last;
    g_CurObj3->motions[last].used = 1;
    List_FillMotionsObj3D();
    return true;
}
