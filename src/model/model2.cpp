// The 2D one-skin model record and its slot table.
#include "model/model2.h"

#include <cstdio>
#include <cstring>

#include "frame/lib.h"
#include "frame/text.h"

using namespace QVL;

MODEL2* g_Model2Table[kModel2Slots];
int32_t g_Model2InUse[kModel2Slots];
int32_t g_LastModel2Id;

void Group2_Reset(GROUP2* g, int index)
{
    *g = GROUP2{};
    std::snprintf(g->name, sizeof g->name, "グループ %d", index);
    g->texture = 0;
    g->r = g->g = g->b = 200.0f;
    g->a = 255.0f;
    g->shading = 4;
    g->uvScale[0] = g->uvScale[1] = 1.0f;
}

MODEL2* Model2_NewRecord()
{
    MODEL2* m = new MODEL2();
    m->version = kModel2Version;
    Str_CopyN(m->path, sizeof m->path, "新規.QVB");
    m->boneCount = 2;
    for (MOTION2& mo : m->motions) mo.length = 60;
    m->motionCount = 1;
    m->motions[0].used = 1;
    Str_CopyN(m->motions[0].name, sizeof m->motions[0].name, "モーション名");
    for (float& t : m->tint) t = 255.0f;
    m->displayState = 2;
    m->soundCount = 1;
    Str_CopyN(m->soundNames[0], sizeof m->soundNames[0], "なし");
    m->light = 1;
    m->reservedF = 1.0f;
    m->scaleX = m->scaleY = 1.0f;
    if (g_Lib.allocArrays == 1) {
        g_Lib.allocArrays = 0;
        m->hasArrays = true;
        m->keyListsPerBone = kModel2Motions;
        for (int b = 0; b < kModel2Bones; ++b) {
            BONE2& bone = m->bones[b];
            if (b == 0)
                Str_CopyN(bone.name, sizeof bone.name, "親ボーン");
            else
                std::snprintf(bone.name, sizeof bone.name, "ボーン_%02d", b);
            bone.restScaleX = bone.restScaleY = 1.0f;
            bone.keyLists.resize(kModel2Motions);
            for (KEY2_LIST& list : bone.keyLists) {
                list.keys.reserve(kModel2KeysPerList);
                list.keys.push_back(KEY2{0, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f});
            }
        }
        m->textureCount = 1;
        m->groupCount = 1;
        for (int g = 0; g < kModel2Groups; ++g) Group2_Reset(&m->groups[g], g);
    }
    return m;
}

MODEL2* Model2_Free(MODEL2* m)
{
    delete m;
    return nullptr;
}

void Model2_FreeSlot(int32_t id)
{
    if (id < 0 || id >= kModel2Slots) return;
    g_Model2Table[id] = Model2_Free(g_Model2Table[id]);
    g_Model2InUse[id] = 0;
    for (int32_t& h : g_Model2TexHandles[id]) h = -1;
}

MODEL2* Model2_Create(int32_t id)
{
    if (id < 0 || id >= kModel2Slots) return nullptr;
    g_LastModel2Id = id;
    Model2_FreeSlot(id);
    MODEL2* m = Model2_NewRecord();
    m->id = id;
    g_Model2Table[id] = m;
    return m;
}

MODEL2* Model2_Get(int32_t id)
{
    return id >= 0 && id < kModel2Slots ? g_Model2Table[id] : nullptr;
}

bool Model2_SetPosition(MODEL2* m, float x, float y)
{
    if (!m) return false;
    m->x = x;
    m->y = y;
    return true;
}

bool Model2_SetRotation(MODEL2* m, float degrees)
{
    if (!m) return false;
    m->rotation = degrees;
    return true;
}

bool Model2_SetScale(MODEL2* m, float sx, float sy)
{
    if (!m) return false;
    m->scaleX = sx;
    m->scaleY = sy;
    return true;
}
