#include "model/motion3.h"

#include <algorithm>

#include "model/gpu_data.h"

using namespace QVL;

static_assert(sizeof(KEY3) % sizeof(int32_t) == 0 && offsetof(KEY3, frame) == 0, "key frames read by stride");
static_assert(sizeof(GROUP_KEY3) % sizeof(int32_t) == 0 && offsetof(GROUP_KEY3, frame) == 0,
              "group key frames read by stride");

void Motion3_SearchKeys(const int32_t* frames, int32_t stride, int32_t count, int32_t length, int32_t frame,
                        int32_t* keyIndex, float* fraction)
{
    if (count < 2 || !frames) {
        *keyIndex = 0;
        *fraction = 0.0f;
        return;
    }
    auto f = [&](int32_t i) { return (int64_t)frames[(size_t)i * (size_t)stride]; };
    const int64_t c = frame;
    int32_t index = *keyIndex;
    for (int32_t i = 0; i < count; ++i)
        if (f(i) <= c) index = i;
    // Differences in 64 bits: frames come from files and may be anywhere in the int32 range.
    if (index >= 0 && index < count - 1 && c >= f(0)) {
        const int64_t span = f(index + 1) - f(index);
        *keyIndex = index;
        *fraction = span == 0 ? 0.0f : (float)(c - f(index)) / (float)span;
        return;
    }
    const int64_t last = f(count - 1);
    const int64_t at = c < f(0) ? (int64_t)length + c : c;
    const int64_t span = (int64_t)length + f(0) - last;
    *keyIndex = count - 1;
    *fraction = span == 0 ? 0.0f : (float)(at - last) / (float)span;
}

bool Motion3_Select(MODEL3* m, int32_t index)
{
    if (!m || index < 0 || (size_t)index >= m->motions.size()) return false;
    m->animated = 1;
    if (index == m->currentMotion) return false;
    m->currentMotion = index;
    m->currentFrame = 0;
    m->wrapped = 0;
    return true;
}

static int32_t BoneCount(const MODEL3* m)
{
    return std::max(0, std::min<int32_t>(m->boneCount, kModel3Bones));
}

// The bone's keys in the current motion; null when it has none there.
static const std::vector<KEY3>* CurrentKeys(const MODEL3* m, int32_t bone)
{
    const BONE3& b = m->bones[bone];
    if (m->currentMotion < 0 || (size_t)m->currentMotion >= b.keys.size()) return nullptr;
    const std::vector<KEY3>& keys = b.keys[(size_t)m->currentMotion];
    return keys.empty() ? nullptr : &keys;
}

void Motion3_UpdateKeyIndex(MODEL3* m)
{
    if (!m || !m->animated) return;
    const int32_t n = BoneCount(m);
    int32_t length = 0;
    MOTION3* motion = nullptr;
    if (m->currentMotion >= 0 && (size_t)m->currentMotion < m->motions.size()) {
        motion = &m->motions[(size_t)m->currentMotion];
        length = motion->length;
    }
    for (int32_t b = 0; b < n; ++b) {
        BONE3& bone = m->bones[b];
        const std::vector<KEY3>* keys = CurrentKeys(m, b);
        const int32_t count = keys ? (int32_t)std::min<size_t>(keys->size(), INT32_MAX) : 0;
        Motion3_SearchKeys(keys ? &(*keys)[0].frame : nullptr, sizeof(KEY3) / sizeof(int32_t), count, length,
                           m->currentFrame, &bone.keyIndex, &bone.fraction);
    }
    if (!motion) return;
    for (GROUP_TRACK3& t : motion->tracks) {
        const int32_t count = std::max(0, std::min<int32_t>(t.keyCount, kModel3GroupKeys));
        Motion3_SearchKeys(&t.keys[0].frame, sizeof(GROUP_KEY3) / sizeof(int32_t), count, length, m->currentFrame,
                           &t.keyIndex, &t.fraction);
    }
}

int32_t Motion3_EvalParent(const MODEL3* m, int32_t bone)
{
    if (bone <= 0) return -1;
    const int32_t p = m->bones[bone].parent;
    return p >= 0 && p < bone ? p : 0;
}

static BONE3_POSE* PoseOf(int32_t id, int32_t bone)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(id);
    if (!r || bone < 0 || (size_t)bone >= r->bonePoses.size()) return nullptr;
    return &r->bonePoses[(size_t)bone];
}

void Motion3_InterpolateBone(MODEL3* m, int32_t bone, int32_t i, float t)
{
    if (!m || bone < 0 || bone >= kModel3Bones) return;
    BONE3& b = m->bones[bone];
    const std::vector<KEY3>* keys = CurrentKeys(m, bone);
    if (!keys) {
        b.joint[0] = b.joint[1] = b.joint[2] = 0.0f;
        b.poseRotation[0] = b.poseRotation[1] = b.poseRotation[2] = 0.0f;
        b.poseRotation[3] = 1.0f;
        b.poseScale[0] = b.poseScale[1] = b.poseScale[2] = 1.0f;
        return;
    }
    const int32_t k = (int32_t)std::min<size_t>(keys->size(), INT32_MAX);
    i = std::max(0, std::min(i, k - 1));
    const bool loop = m->currentMotion >= 0 && (size_t)m->currentMotion < m->motions.size() &&
                      m->motions[(size_t)m->currentMotion].loop != 0;
    int32_t prev = i - 1, next = i + 1, next2;
    if (loop) {
        if (prev < 0) prev = k - 1;
        if (next >= k) next = 0;
        next2 = next + 1;
        if (next2 >= k) next2 = 0;
    } else {
        if (prev < 0) prev = 0;
        if (next >= k) next = k - 1;
        next2 = next + 1;
        if (next2 >= k) next2 = k - 1;
    }
    const KEY3& k0 = (*keys)[(size_t)prev];
    const KEY3& k1 = (*keys)[(size_t)i];
    const KEY3& k2 = (*keys)[(size_t)next];
    const KEY3& k3 = (*keys)[(size_t)next2];
    for (int c = 0; c < 3; ++c)
        b.poseTranslation[c] = Anim_CatmullRom(k0.translation[c], k1.translation[c], k2.translation[c],
                                               k3.translation[c], t);
    QUAT q;
    float* qc[4] = {&q.x, &q.y, &q.z, &q.w};
    for (int c = 0; c < 4; ++c)
        *qc[c] = Anim_CatmullRom(k0.rotation[c], k1.rotation[c], k2.rotation[c], k3.rotation[c], t);
    // A zero (or NaN) quaternion normalises to the identity.
    Math_QuatNormalize(&q);
    b.poseRotation[0] = q.x;
    b.poseRotation[1] = q.y;
    b.poseRotation[2] = q.z;
    b.poseRotation[3] = q.w;

    const int32_t p = Motion3_EvalParent(m, bone);
    if (p < 0) {
        // The root has no parent to hang on: its joint is its own translation, never a running sum.
        for (int c = 0; c < 3; ++c) b.joint[c] = b.poseTranslation[c];
    } else {
        const BONE3& parent = m->bones[p];
        VEC3 own, from;
        Motion3_GetBoneRestPosition(&own, m->id, bone);
        Motion3_GetBoneRestPosition(&from, m->id, p);
        MATRIX rot;
        Math_QuatToMatrix(&rot, QUAT{parent.poseRotation[0], parent.poseRotation[1], parent.poseRotation[2],
                                     parent.poseRotation[3]});
        VEC3 d;
        Math_TransformPoint(&d, own.x - from.x, own.y - from.y, own.z - from.z, rot);
        b.joint[0] = parent.joint[0] + d.x + b.poseTranslation[0];
        b.joint[1] = parent.joint[1] + d.y + b.poseTranslation[1];
        b.joint[2] = parent.joint[2] + d.z + b.poseTranslation[2];
    }
    for (int c = 0; c < 3; ++c)
        b.poseScale[c] = Anim_CatmullRom(k0.scale[c], k1.scale[c], k2.scale[c], k3.scale[c], t);
}

// The render data of the ID with a pose record for every bone of the model.
static MODEL3_RENDER* PosesFor(const MODEL3* m, int32_t id)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(id);
    if (r && r->bonePoses.size() < (size_t)BoneCount(m)) Gpu_ResizeBonePoses(r, BoneCount(m));
    return r;
}

bool Motion3_BuildRestMatrices(MODEL3* m, int32_t id)
{
    if (!m) return false;
    MODEL3_RENDER* r = PosesFor(m, id);
    if (!r) return true;
    const int32_t n = BoneCount(m);
    for (int32_t b = 0; b < n; ++b) {
        const float* t = m->bones[b].rest.translation;
        MATRIX& rest = r->bonePoses[(size_t)b].rest;
        if (b == 0) Math_MatrixCompose(&rest, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1);
        else Math_MatrixCompose(&rest, t[0], t[1], t[2], 0, 0, 0, 1, 1, 1, 1);
        // Parents come first, so each parent's matrix is already the whole chain above it.
        const int32_t p = Motion3_EvalParent(m, b);
        if (p >= 0) Math_MatrixMultiply(&rest, rest, r->bonePoses[(size_t)p].rest);
    }
    return true;
}

bool Motion3_BuildPoseMatrices(MODEL3* m, int32_t id)
{
    if (!m || !m->animated) return false;
    MODEL3_RENDER* r = PosesFor(m, id);
    if (!r) return false;
    Motion3_UpdateKeyIndex(m);
    const int32_t n = BoneCount(m);
    for (int32_t b = 0; b < n; ++b) {
        BONE3& bone = m->bones[b];
        Motion3_InterpolateBone(m, b, bone.keyIndex, bone.fraction);
        BONE3_POSE& pose = r->bonePoses[(size_t)b];
        QUAT q{bone.poseRotation[0], bone.poseRotation[1], bone.poseRotation[2], bone.poseRotation[3]};
        if (b == 0) {
            q = QUAT{0, 0, 0, 1};
            Math_MatrixIdentity(&pose.pose);
        } else {
            Math_MatrixCompose(&pose.pose, bone.joint[0], bone.joint[1], bone.joint[2], q.x, q.y, q.z, q.w,
                               bone.poseScale[0], bone.poseScale[1], bone.poseScale[2]);
        }
        Math_MatrixCompose(&pose.chain, 0, 0, 0, q.x, q.y, q.z, q.w, 1, 1, 1);
        pose.rotation = q;
        const int32_t p = Motion3_EvalParent(m, b);
        if (p >= 0) {
            const BONE3_POSE& up = r->bonePoses[(size_t)p];
            Math_MatrixMultiply(&pose.chain, pose.chain, up.chain);
            // The record is the rotation of the whole chain: the matrix of (own ⊗ parent's record)
            // equals the chain matrix.
            Math_QuatMultiply(&pose.rotation, up.rotation);
        }
    }
    return true;
}

void Motion3_GetBonePoseMatrix(MATRIX* out, int32_t id, int32_t bone)
{
    const BONE3_POSE* p = PoseOf(id, bone);
    if (p) *out = p->pose;
    else Math_MatrixIdentity(out);
}

void Motion3_SetBonePoseMatrix(int32_t id, int32_t bone, const float m[16])
{
    BONE3_POSE* p = PoseOf(id, bone);
    if (!p || !m) return;
    for (int i = 0; i < 16; ++i) p->pose.m[i / 4][i % 4] = m[i];
}

void Motion3_GetBoneChainMatrix(MATRIX* out, int32_t id, int32_t bone)
{
    const BONE3_POSE* p = PoseOf(id, bone);
    if (p) *out = p->chain;
    else Math_MatrixIdentity(out);
}

void Motion3_GetBoneRotation(QUAT* out, int32_t id, int32_t bone)
{
    const BONE3_POSE* p = PoseOf(id, bone);
    *out = p ? p->rotation : QUAT{0, 0, 0, 1};
}

void Motion3_GetBonePosition(VEC3* out, int32_t id, int32_t bone)
{
    const BONE3_POSE* p = PoseOf(id, bone);
    if (p) Math_TransformPoint(out, 0, 0, 0, p->pose);
    else *out = VEC3{0, 0, 0};
}

void Motion3_GetBoneRestPosition(VEC3* out, int32_t id, int32_t bone)
{
    const BONE3_POSE* p = PoseOf(id, bone);
    if (p) Math_TransformPoint(out, 0, 0, 0, p->rest);
    else *out = VEC3{0, 0, 0};
}
