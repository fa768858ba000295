// QVB animation: key search and interpolation per bone, pose and rest matrices down the bone
// hierarchy, and the one- or two-bone skinning of every vertex.
#include <algorithm>

#include "frame/lib.h"
#include "model/model2.h"

using namespace QVL;

MATRIX g_Model2PoseMatrices[kModel2Slots * kModel2Bones];
MATRIX g_Model2RestMatrices[kModel2Slots * kModel2Bones];
MATRIX g_Model2WorldMatrices[kModel2Slots];

namespace {

// The bone's keys of the model's current motion; null when the bone has no list for it (a record
// made without arrays, or a motion beyond the lists read).
const std::vector<KEY2>* CurrentKeys(const MODEL2* m, const BONE2& bone)
{
    const int32_t mo = m->currentMotion;
    if (mo < 0 || (size_t)mo >= bone.keyLists.size()) return nullptr;
    return &bone.keyLists[(size_t)mo].keys;
}

int32_t MotionLength(const MODEL2* m)
{
    const int32_t mo = m->currentMotion;
    return mo >= 0 && mo < kModel2Motions ? m->motions[mo].length : 0;
}

bool InUse(int32_t id)
{
    return id >= 0 && id < kModel2Slots && g_Model2InUse[id] == 1 && g_Model2Table[id];
}

void Chain(int32_t id, MATRIX* table)
{
    const MODEL2* m = g_Model2Table[id];
    MATRIX* mats = table + id * kModel2Bones;
    // A parent always has a smaller number than its child, so it is complete before it is used.
    for (int j = 0; j < kModel2Bones - 1; ++j)
        for (int k = j + 1; k < kModel2Bones; ++k)
            if (m->bones[k].parent == j) Math_MatrixMultiply(&mats[k], mats[k], mats[j]);
}

void Identity(MATRIX* mats)
{
    for (int b = 0; b < kModel2Bones; ++b) Math_MatrixIdentity(&mats[b]);
}

} // namespace

void Model2_UpdateKeyIndices(int32_t id)
{
    MODEL2* m = Model2_Get(id);
    if (!m) return;
    const int32_t frame = m->currentFrame;
    const int32_t length = MotionLength(m);
    const int32_t bones = std::min(std::max(m->boneCount, 0), kModel2Bones);
    for (int b = 0; b < bones; ++b) {
        BONE2& bone = m->bones[b];
        const std::vector<KEY2>* list = CurrentKeys(m, bone);
        const int32_t count = list ? (int32_t)list->size() : 0;
        if (count <= 1) {
            bone.keyIndex = 0;
            bone.fraction = 0.0f;
            continue;
        }
        const std::vector<KEY2>& keys = *list;
        for (int32_t i = 0; i < count; ++i)
            if (keys[(size_t)i].frame <= frame) bone.keyIndex = i;
        // A kept index may come from a longer list of another motion.
        if (bone.keyIndex < 0 || bone.keyIndex >= count) bone.keyIndex = count - 1;
        const int32_t first = keys[0].frame;
        if (bone.keyIndex == count - 1 || frame < first) {
            // In 64 bits: frames from a file may lie anywhere in int32.
            const int64_t last = keys[(size_t)count - 1].frame;
            const int64_t span = (int64_t)first + length - last;
            // A last key at the motion's length plus the first key's frame leaves no wrap interval.
            if (span == 0)
                bone.fraction = 0.0f;
            else if (frame >= first)
                bone.fraction = (float)(frame - last) / (float)span;
            else
                bone.fraction = (float)((int64_t)length - last + frame) / (float)span;
            bone.keyIndex = count - 1;
        } else {
            const int64_t a = keys[(size_t)bone.keyIndex].frame, c = keys[(size_t)bone.keyIndex + 1].frame;
            bone.fraction = c == a ? 0.0f : (float)(frame - a) / (float)(c - a);
        }
    }
}

void Model2_InterpBoneKey(int32_t id, int32_t boneIndex, int32_t key, float t)
{
    MODEL2* m = Model2_Get(id);
    if (!m || boneIndex < 0 || boneIndex >= kModel2Bones) return;
    BONE2& bone = m->bones[boneIndex];
    const std::vector<KEY2>* list = CurrentKeys(m, bone);
    const int32_t count = list ? (int32_t)list->size() : 0;
    if (count == 0) {
        bone.x = bone.y = bone.rotation = 0.0f;
        bone.scaleX = bone.scaleY = 1.0f;
        return;
    }
    const std::vector<KEY2>& keys = *list;
    if (count == 1) {
        bone.x = keys[0].x, bone.y = keys[0].y, bone.rotation = keys[0].rotation;
        bone.scaleX = keys[0].scaleX, bone.scaleY = keys[0].scaleY;
        return;
    }
    const int32_t i = std::min(std::max(key, 0), count - 1);
    const int32_t a = i == 0 ? count - 1 : i - 1;
    const int32_t c = i + 1 >= count ? 0 : i + 1;
    const int32_t d = c + 1 >= count ? 0 : c + 1;
    const KEY2 &ka = keys[(size_t)a], &ki = keys[(size_t)i], &kc = keys[(size_t)c], &kd = keys[(size_t)d];
    bone.x = Anim_CatmullRom(ka.x, ki.x, kc.x, kd.x, t);
    bone.y = Anim_CatmullRom(ka.y, ki.y, kc.y, kd.y, t);
    bone.rotation = Anim_CatmullRom(ka.rotation, ki.rotation, kc.rotation, kd.rotation, t);
    bone.scaleX = Anim_CatmullRom(ka.scaleX, ki.scaleX, kc.scaleX, kd.scaleX, t);
    bone.scaleY = Anim_CatmullRom(ka.scaleY, ki.scaleY, kc.scaleY, kd.scaleY, t);
}

void Model2_InterpBoneKeyAt(int32_t id, int32_t boneIndex, int32_t key, float t)
{
    MODEL2* m = Model2_Get(id);
    if (!m || boneIndex < 0 || boneIndex >= kModel2Bones || m->bones[boneIndex].keyLists.empty()) return;
    Model2_InterpBoneKey(id, boneIndex, key, t);
}

void Model2_BuildPoseMatrices()
{
    for (int32_t id = 0; id < kModel2Slots; ++id) {
        if (!InUse(id)) continue;
        MODEL2* m = g_Model2Table[id];
        MATRIX* mats = g_Model2PoseMatrices + id * kModel2Bones;
        Model2_UpdateKeyIndices(id);
        Identity(mats);
        const int32_t bones = std::min(std::max(m->boneCount, 0), kModel2Bones);
        for (int b = 0; b < bones; ++b) {
            BONE2& bone = m->bones[b];
            Model2_InterpBoneKey(id, b, bone.keyIndex, bone.fraction);
            if (b == 0) continue;   // the root never moves, whatever its keys say
            Math_MatrixWorld(&mats[b], bone.x + bone.restX, bone.y + bone.restY, 0.0f, 0.0f, 0.0f, -bone.rotation,
                             bone.scaleX, bone.scaleY, 1.0f);
        }
        Chain(id, g_Model2PoseMatrices);
    }
}

void Model2_BuildRestMatrices()
{
    for (int32_t id = 0; id < kModel2Slots; ++id) {
        if (!InUse(id)) continue;
        MODEL2* m = g_Model2Table[id];
        if (m->boneCount < 1) continue;
        MATRIX* mats = g_Model2RestMatrices + id * kModel2Bones;
        Identity(mats);
        const int32_t bones = std::min(m->boneCount, kModel2Bones);
        for (int b = 1; b < bones; ++b) {
            const BONE2& bone = m->bones[b];
            Math_MatrixWorld(&mats[b], bone.restX, bone.restY, 0.0f, 0.0f, 0.0f, bone.restRotation, bone.restScaleX,
                             bone.restScaleY, 1.0f);
        }
        Chain(id, g_Model2RestMatrices);
    }
}

void Model2_BuildWorldMatrix(int32_t id)
{
    const MODEL2* m = Model2_Get(id);
    if (!m) return;
    Math_MatrixWorld(&g_Model2WorldMatrices[id], m->x, m->y, 0.0f, 0.0f, 0.0f, m->rotation, m->scaleX, m->scaleY,
                     1.0f);
}

void Model2_SkinModels()
{
    Model2_BuildPoseMatrices();
    Model2_BuildRestMatrices();
    for (int32_t id = 0; id < kModel2Slots; ++id) {
        if (!InUse(id)) continue;
        MODEL2* m = g_Model2Table[id];
        Model2_BuildWorldMatrix(id);
        const MATRIX* pose = g_Model2PoseMatrices + id * kModel2Bones;
        const MATRIX* rest = g_Model2RestMatrices + id * kModel2Bones;
        const int32_t bones = std::min(std::max(m->boneCount, 0), kModel2Bones);
        size_t n = std::min<size_t>(m->vertexCount, std::min(m->vertices.size(), m->bindings.size()));
        if (m->deformed.size() < n) m->deformed.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const XY2 v = m->vertices[i];
            const WEIGHT2& w = m->bindings[i];
            // A bone at or above the bone count has no matrices of this model: the vertex stays, or
            // (for bone B of a blend) bone A carries it alone.
            if (w.boneA >= bones) {
                m->deformed[i] = v;
                continue;
            }
            VEC3 pivotA, pa;
            Math_TransformPoint(&pivotA, 0.0f, 0.0f, 0.0f, rest[w.boneA]);
            Math_TransformPoint(&pa, v.x - pivotA.x, v.y - pivotA.y, 0.0f, pose[w.boneA]);
            if (w.weightA > 0.0f && w.weightA < 1.0f && w.boneB < bones) {
                VEC3 pivotB, pb;
                Math_TransformPoint(&pivotB, 0.0f, 0.0f, 0.0f, rest[w.boneB]);
                Math_TransformPoint(&pb, v.x - pivotB.x, v.y - pivotB.y, 0.0f, pose[w.boneB]);
                const float rest1 = 1.0f - w.weightA;
                pa.x = pa.x + rest1 * (pb.x - pa.x);
                pa.y = pa.y + rest1 * (pb.y - pa.y);
            }
            m->deformed[i] = XY2{pa.x, pa.y};
        }
    }
}

void Model2_SkinAll()
{
    if (!Lib_IsDrawAllowed()) return;
    Model2_SkinModels();
}

void Model2_PoseTransform(VEC3* out, int32_t id, int32_t bone, float x, float y, float z)
{
    if (id < 0 || id >= kModel2Slots || bone < 0 || bone >= kModel2Bones) {
        *out = VEC3{x, y, z};
        return;
    }
    Math_TransformPoint(out, x, y, z, g_Model2PoseMatrices[id * kModel2Bones + bone]);
}

void Model2_RestTransform(VEC3* out, int32_t id, int32_t bone, float x, float y, float z)
{
    if (id < 0 || id >= kModel2Slots || bone < 0 || bone >= kModel2Bones) {
        *out = VEC3{x, y, z};
        return;
    }
    Math_TransformPoint(out, x, y, z, g_Model2RestMatrices[id * kModel2Bones + bone]);
}

void Model2_AdvanceFrame(MODEL2* m, float step)
{
    if (!m) return;
    m->frameFraction += step;
    // NaN or a step of millions of frames must not loop for ever.
    if (!(m->frameFraction < 1.0e6f)) m->frameFraction = 0.0f;
    while (m->frameFraction >= 1.0f) {
        m->currentFrame = m->currentFrame == INT32_MAX ? 0 : m->currentFrame + 1;
        m->frameFraction -= 1.0f;
        if (m->currentFrame < 0 || m->currentFrame >= MotionLength(m)) m->currentFrame = 0;
        Model2_UpdateKeyIndices(m->id);
    }
    if (m->currentFrame < 0) m->currentFrame = 0;
}
