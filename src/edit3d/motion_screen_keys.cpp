// The motion screen's model operations: key searches, key creation and deletion for bones and group
// tracks, key timing, and the motion list. Each works on a model and its current motion.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/motion_screen.h"
#include "frame/math3d.h"
#include "frame/text.h"
#include "model/motion3.h"

using QVL::GROUP_KEY3;
using QVL::GROUP_TRACK3;
using QVL::KEY3;
using QVL::MODEL3;
using QVL::MOTION3;

// ---- key arithmetic ----------------------------------------------------------------------------

int32_t Motion3D_PrevFrameIn(const int32_t* frames, int32_t stride, int32_t count, int32_t f)
{
    for (int32_t i = count - 1; frames && i >= 0; --i)
        if (frames[(size_t)i * (size_t)stride] < f) return frames[(size_t)i * (size_t)stride];
    return f;
}

int32_t Motion3D_NextFrameIn(const int32_t* frames, int32_t stride, int32_t count, int32_t f)
{
    for (int32_t i = 0; frames && i < count; ++i)
        if (frames[(size_t)i * (size_t)stride] > f) return frames[(size_t)i * (size_t)stride];
    return f;
}

int32_t Motion3D_KeyIndexAt(const int32_t* frames, int32_t stride, int32_t count, int32_t f)
{
    int32_t index = 0;
    for (int32_t i = 0; frames && i < count; ++i)
        if (frames[(size_t)i * (size_t)stride] <= f) index = i;
    return index;
}

int32_t Motion3D_SnapFrame(const int32_t* frames, int32_t stride, int32_t count, int32_t frame)
{
    int64_t best = 99999;
    int32_t out = frame;
    for (int32_t i = 0; frames && i < count; ++i) {
        const int32_t k = frames[(size_t)i * (size_t)stride];
        const int64_t d = std::llabs((int64_t)k - frame + 3);
        if (d < best && d < 5) {
            out = k;
            best = d;
        }
    }
    return out;
}

int32_t Motion3D_KeyTimingStep(int32_t dx, int32_t zoom)
{
    const double v = (double)dx * (double)zoom * 0.08;
    int32_t step = v >= 2147483647.0 ? INT32_MAX : v <= -2147483648.0 ? INT32_MIN : (int32_t)v;
    if (step == 0) step = dx < 0 ? -1 : dx > 0 ? 1 : 0;
    return step;
}

int32_t Motion3D_PanelFrame(int32_t x, int32_t scrollX, int32_t zoom, int32_t length)
{
    if (length <= 0) return 0;
    const int64_t f = ((int64_t)x - scrollX - 188) * zoom / 10;
    // The remainder is the wrap "add or subtract the length as often as needed" in one step.
    int64_t r = f % length;
    if (r < 0) r += length;
    return (int32_t)r;
}

// ---- bones -------------------------------------------------------------------------------------

static int32_t BoneCount(const MODEL3* m) { return std::max(0, std::min<int32_t>(m->boneCount, QVL::kModel3Bones)); }

std::vector<KEY3>* Motion3D_BoneKeys(MODEL3* m, int32_t bone)
{
    if (!m || bone < 0 || bone >= BoneCount(m)) return nullptr;
    const int32_t mi = m->currentMotion;
    QVL::BONE3& b = m->bones[bone];
    if (mi < 0 || (size_t)mi >= b.keys.size()) return nullptr;
    return &b.keys[(size_t)mi];
}

KEY3* Motion3D_BoneCurrentKey(MODEL3* m, int32_t bone)
{
    std::vector<KEY3>* keys = Motion3D_BoneKeys(m, bone);
    if (!keys || keys->empty()) return nullptr;
    const int32_t i = m->bones[bone].keyIndex;
    return i >= 0 && (size_t)i < keys->size() ? &(*keys)[(size_t)i] : nullptr;
}

namespace {

struct VISIT {
    const MODEL3* m;
    void (*fn)(MODEL3*, int32_t, void*);
    void* ctx;
    bool seen[QVL::kModel3Bones];
};

// The bone, then its first child with that child's later siblings, each with its own subtree. The
// seen flags keep links from a file that form a loop from running forever.
void VisitFrom(VISIT& v, int32_t bone, bool siblings)
{
    const int32_t n = BoneCount(v.m);
    while (bone >= 0 && bone < n && !v.seen[bone]) {
        v.seen[bone] = true;
        v.fn(const_cast<MODEL3*>(v.m), bone, v.ctx);
        const int32_t child = v.m->bones[bone].firstChild;
        if (child > 0) VisitFrom(v, child, true);
        if (!siblings) return;
        bone = v.m->bones[bone].nextSibling;
        if (bone <= 0) return;
    }
}

} // namespace

void Motion3D_VisitSubtree(const MODEL3* m, int32_t bone, void (*fn)(MODEL3*, int32_t, void*), void* ctx)
{
    if (!m || !fn) return;
    VISIT v = {m, fn, ctx, {}};
    VisitFrom(v, bone, false);
}

void Motion3D_VisitDescendants(const MODEL3* m, int32_t bone, void (*fn)(MODEL3*, int32_t, void*), void* ctx)
{
    if (!m || !fn || bone < 0 || bone >= BoneCount(m)) return;
    VISIT v = {m, fn, ctx, {}};
    v.seen[bone] = true;
    const int32_t child = m->bones[bone].firstChild;
    if (child > 0) VisitFrom(v, child, true);
}

static int32_t CountBelow(const std::vector<KEY3>& keys, int32_t frame)
{
    int32_t j = 0;
    for (const KEY3& k : keys)
        if (k.frame < frame) ++j;
    return j;
}

bool Motion3D_CreateBoneKey(MODEL3* m, int32_t bone, int32_t frame)
{
    std::vector<KEY3>* keys = Motion3D_BoneKeys(m, bone);
    if (!keys) return false;
    for (const KEY3& k : *keys)
        if (k.frame == frame) return false;
    const int32_t j = CountBelow(*keys, frame);
    QVL::BONE3& b = m->bones[bone];
    KEY3 key;
    Key3_Default(&key);
    if (!keys->empty()) {
        // The pose the bone has there now: the new key changes nothing in it.
        int32_t length = 0;
        if ((size_t)m->currentMotion < m->motions.size()) length = m->motions[(size_t)m->currentMotion].length;
        b.keyIndex = j;
        Motion3_SearchKeys(&(*keys)[0].frame, sizeof(KEY3) / sizeof(int32_t), (int32_t)keys->size(), length, frame,
                           &b.keyIndex, &b.fraction);
        Motion3_InterpolateBone(m, bone, b.keyIndex, b.fraction);
        std::memcpy(key.translation, b.poseTranslation, sizeof key.translation);
        std::memcpy(key.rotation, b.poseRotation, sizeof key.rotation);
        std::memcpy(key.scale, b.poseScale, sizeof key.scale);
    }
    key.frame = frame;
    keys->insert(keys->begin() + j, key);
    b.keyIndex = j;
    return true;
}

bool Motion3D_DeleteBoneKey(MODEL3* m, int32_t bone, int32_t frame)
{
    std::vector<KEY3>* keys = Motion3D_BoneKeys(m, bone);
    if (!keys) return false;
    for (size_t i = 0; i < keys->size(); ++i) {
        if ((*keys)[i].frame != frame) continue;
        keys->erase(keys->begin() + (ptrdiff_t)i);
        QVL::BONE3& b = m->bones[bone];
        // The index stays inside the shortened list (0 for an empty one).
        if (b.keyIndex >= (int32_t)keys->size()) b.keyIndex = keys->empty() ? 0 : (int32_t)keys->size() - 1;
        return true;
    }
    return false;
}

bool Motion3D_ShiftBoneKey(MODEL3* m, int32_t bone, int32_t c, int32_t v)
{
    std::vector<KEY3>* keys = Motion3D_BoneKeys(m, bone);
    if (!keys) return false;
    KEY3* at = nullptr;
    for (KEY3& k : *keys)
        if (k.frame == c && !at) at = &k;
    if (!at) return false;
    int64_t n64 = (int64_t)c + v;
    const int32_t n = n64 < 0 ? 0 : n64 > INT32_MAX ? INT32_MAX : (int32_t)n64;
    for (const KEY3& k : *keys)
        if (k.frame == n) return false;
    at->frame = n;
    return true;
}

// ---- group tracks ------------------------------------------------------------------------------

static int32_t TrackCount(const GROUP_TRACK3& t) { return std::max(0, std::min<int32_t>(t.keyCount, QVL::kModel3GroupKeys)); }

static void ResetGroupKey(GROUP_KEY3& k)
{
    k.reserved = 0;
    k.texture = 0;
    for (float& f : k.reservedF) f = 1.0f;
}

int Motion3D_InsertGroupKey(MOTION3* mo, int32_t track, int32_t frame)
{
    if (!mo || track < 0 || track >= QVL::kModel3Groups) return GROUP_KEY_EXISTS;
    GROUP_TRACK3& t = mo->tracks[track];
    const int32_t n = TrackCount(t);
    for (int32_t i = 0; i < n; ++i)
        if (t.keys[i].frame == frame) return GROUP_KEY_EXISTS;
    // Key n would lie past the track's 16 places.
    if (n >= QVL::kModel3GroupKeys) return GROUP_KEY_FULL;
    for (int32_t idx = n; idx >= 1; --idx) {
        if (t.keys[idx - 1].frame <= frame) continue;
        for (GROUP_TRACK3& other : mo->tracks) other.keys[idx] = other.keys[idx - 1];
    }
    int32_t j = 0;
    for (int32_t i = 0; i < n; ++i)
        if (t.keys[i].frame < frame) ++j;
    if (n == 0) {
        ResetGroupKey(t.keys[j]);
    } else {
        for (GROUP_TRACK3& other : mo->tracks) ResetGroupKey(other.keys[j]);
    }
    t.keys[j].frame = frame;
    t.keyCount = n + 1;
    return GROUP_KEY_ADDED;
}

bool Motion3D_DeleteGroupKey(MOTION3* mo, int32_t track, int32_t frame)
{
    if (!mo || track < 0 || track >= QVL::kModel3Groups) return false;
    GROUP_TRACK3& t = mo->tracks[track];
    const int32_t n = TrackCount(t);
    int32_t at = -1;
    for (int32_t i = 0; i < n && at < 0; ++i)
        if (t.keys[i].frame == frame) at = i;
    if (at < 0) return false;
    for (int32_t i = at; i + 1 < n; ++i) t.keys[i] = t.keys[i + 1];
    t.keyCount = n - 1;
    return true;
}

bool Motion3D_ShiftGroupKey(MOTION3* mo, int32_t track, int32_t keyIndex, int32_t c, int32_t v)
{
    if (!mo || track < 0 || track >= QVL::kModel3Groups) return false;
    GROUP_TRACK3& t = mo->tracks[track];
    const int32_t n = TrackCount(t);
    if (n == 0 || keyIndex < 0 || keyIndex >= n || t.keys[keyIndex].frame != c) return false;
    int64_t n64 = (int64_t)c + v;
    const int32_t to = n64 < 0 ? 0 : n64 > INT32_MAX ? INT32_MAX : (int32_t)n64;
    for (int32_t i = 0; i < n; ++i)
        if (t.keys[i].frame == to) return false;
    t.keys[keyIndex].frame = to;
    return true;
}

// ---- motion list -------------------------------------------------------------------------------

static bool CurrentIndex(const MODEL3* m, int32_t* a)
{
    if (!m || m->currentMotion < 0 || (size_t)m->currentMotion >= m->motions.size()) return false;
    *a = m->currentMotion;
    return true;
}

bool Motion3D_AppendMotion(MODEL3* m, bool copyKeys)
{
    int32_t a;
    if (!CurrentIndex(m, &a) || m->motions.size() >= (size_t)QVL::kModel3MaxMotions) return false;
    const MOTION3 copy = m->motions[(size_t)a];
    m->motions.push_back(copy);
    const size_t n = m->motions.size();
    for (int32_t b = 0; b < BoneCount(m); ++b) {
        std::vector<std::vector<KEY3>>& lists = m->bones[b].keys;
        std::vector<KEY3> keys;
        if (copyKeys) {
            if ((size_t)a < lists.size()) keys = lists[(size_t)a];
        } else {
            KEY3 k;
            Key3_Default(&k);
            keys.push_back(k);
        }
        if (lists.size() < n - 1) lists.resize(n - 1);
        lists.resize(n);
        lists[n - 1] = keys;
    }
    m->currentMotion = (int32_t)(n - 1);
    return true;
}

bool Motion3D_RemoveMotion(MODEL3* m)
{
    int32_t a;
    if (!CurrentIndex(m, &a) || m->motions.size() < 2) return false;
    m->motions.erase(m->motions.begin() + a);
    for (int32_t b = 0; b < BoneCount(m); ++b) {
        std::vector<std::vector<KEY3>>& lists = m->bones[b].keys;
        if ((size_t)a < lists.size()) lists.erase(lists.begin() + a);
    }
    if ((size_t)m->currentMotion >= m->motions.size()) m->currentMotion = (int32_t)m->motions.size() - 1;
    return true;
}

bool Motion3D_MoveMotion(MODEL3* m, int32_t dir)
{
    int32_t a;
    if (!CurrentIndex(m, &a) || m->motions.size() < 2 || (dir != -1 && dir != 1)) return false;
    const int32_t b = a + dir;
    if (b < 0 || (size_t)b >= m->motions.size()) return false;
    std::swap(m->motions[(size_t)a], m->motions[(size_t)b]);
    for (int32_t i = 0; i < BoneCount(m); ++i) {
        std::vector<std::vector<KEY3>>& lists = m->bones[i].keys;
        const size_t hi = (size_t)std::max(a, b);
        if (lists.size() <= hi) lists.resize(hi + 1);
        std::swap(lists[(size_t)a], lists[(size_t)b]);
    }
    m->currentMotion = b;
    return true;
}

void Motion3D_SetName(MOTION3* mo, const char* text)
{
    if (!mo) return;
    Str_CopyN(mo->name, sizeof mo->name, text ? text : "", sizeof mo->name - 1);
}

static bool ParseInt(const char* text, long lo, long hi, long* out)
{
    if (!text) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool Motion3D_ParseLength(const char* text, int32_t* length)
{
    long v;
    if (!ParseInt(text, 1, INT32_MAX, &v)) return false;
    *length = (int32_t)v;
    return true;
}

bool Motion3D_ParseNext(const char* text, int16_t* next)
{
    long v;
    if (!ParseInt(text, -1, INT16_MAX, &v)) return false;
    *next = (int16_t)v;
    return true;
}

int32_t Motion3D_TextureOfRow(int32_t row)
{
    if (row < 0) return -1;
    return row < QVL::kModel3Textures ? row : 0;
}

bool Motion3D_AddSoundName(MODEL3* m, const char* name)
{
    if (!m || m->soundCount < 0 || m->soundCount >= QVL::kModel3Sounds) return false;
    Str_CopyN(m->soundNames[m->soundCount], sizeof m->soundNames[0], name ? name : "");
    ++m->soundCount;
    return true;
}

// ---- key turns ---------------------------------------------------------------------------------

void Motion3D_TurnKey(KEY3* k, int axis, float degrees)
{
    if (!k) return;
    QVL::MATRIX r;
    if (axis == 0) Math_MatrixRotationX(&r, degrees);
    else if (axis == 1) Math_MatrixRotationY(&r, degrees);
    else Math_MatrixRotationZ(&r, degrees);
    QVL::QUAT q, p = {k->rotation[0], k->rotation[1], k->rotation[2], k->rotation[3]};
    Math_MatrixToQuat(&q, r);
    Math_QuatMultiply(&p, q);
    k->rotation[0] = p.x, k->rotation[1] = p.y, k->rotation[2] = p.z, k->rotation[3] = p.w;
}

bool Motion3D_TurnKeyAbout(KEY3* k, float x, float y, float z, float degrees)
{
    if (!k) return false;
    const float len2 = x * x + y * y + z * z;
    // A zero axis (a bone on its parent's joint) has no direction to turn about.
    if (!(len2 > 1e-12f) || !std::isfinite(len2)) return false;
    QVL::QUAT q, p = {k->rotation[0], k->rotation[1], k->rotation[2], k->rotation[3]};
    Math_QuatFromAxisAngle(&q, x, y, z, degrees);
    Math_QuatNormalize(&q);
    Math_QuatMultiply(&p, q);
    k->rotation[0] = p.x, k->rotation[1] = p.y, k->rotation[2] = p.z, k->rotation[3] = p.w;
    return true;
}
