// The 2D motion screen's key arithmetic, its operations on a model and its key commands.
#include "edit2d/motion2d.h"

#include <algorithm>
#include <cstdlib>

#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/motion_screen.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/views.h"

using QVL::KEY2;
using QVL::MODEL2;

std::vector<KEY2>* g_CurKeyList2D;
KEY2 g_KeyClip2D[QVL::kModel2Bones];
int32_t g_Motion2DDlgDirty, g_Motion2DKeyDlgDirty, g_Motion2DListDirty;

// ---- key arithmetic ----------------------------------------------------------------------------

int32_t Motion2D_FindKey(const std::vector<KEY2>& keys, int32_t frame)
{
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i].frame == frame) return (int32_t)i;
    return -1;
}

int32_t Motion2D_InsertIndex(const std::vector<KEY2>& keys, int32_t frame)
{
    if (keys.size() >= (size_t)QVL::kModel2KeysPerList || Motion2D_FindKey(keys, frame) >= 0) return -1;
    int32_t at = 0;
    for (const KEY2& k : keys)
        if (k.frame < frame) ++at;
    return at;
}

int32_t Motion2D_SnapFrame(const std::vector<KEY2>& keys, int32_t frame)
{
    int64_t best = 99999;
    int32_t out = frame;
    for (const KEY2& k : keys) {
        // In 64 bits: frames from a file may lie anywhere in int32.
        const int64_t d = std::llabs((int64_t)k.frame - frame + 3);
        if (d < best && d < 5) {
            out = k.frame;
            best = d;
        }
    }
    return out;
}

int32_t Motion2D_KeyTimingStep(int32_t dx, int32_t zoom)
{
    const int64_t step = (int64_t)dx * zoom / 12;
    if (step != 0) return (int32_t)std::max<int64_t>(std::min<int64_t>(step, INT32_MAX), INT32_MIN);
    return dx > 0 ? 1 : dx < 0 ? -1 : 0;
}

int32_t Motion2D_StripFrame(int32_t x, int32_t scrollX, int32_t left, int32_t zoom, int32_t length)
{
    if (x <= left || length <= 0) return 0;
    int64_t f = ((int64_t)x - scrollX - left) * zoom / 10;
    // One step instead of a loop: a wrap of a far-off value must not spin.
    f %= length;
    if (f < 0) f += length;
    return (int32_t)f;
}

int32_t Motion2D_PanelRowAt(int32_t y, int32_t scrollY, int32_t rowHeight, int32_t rowCount)
{
    if (rowHeight <= 0) return -1;
    for (int32_t k = rowCount - 1; k >= 0; --k) {
        const int64_t top = 28 + (int64_t)scrollY + (int64_t)k * rowHeight;
        if (y >= top && y <= top + rowHeight) return k;
    }
    return -1;
}

const char* Motion2D_DragChange(KEY2* key, int32_t tool, float dx, float dy)
{
    switch (tool) {
    case 0:
        key->x += dx;
        key->y += dy;
        return "移動 ( モーション )";
    case 1:
        key->rotation += dx * 0.3f;
        key->rotation -= dy * 0.3f;
        return "回転 ( モーション )";
    case 2:
        key->scaleX += dx * 0.005f;
        key->scaleY -= dy * 0.005f;
        return "拡大 ( モーション )";
    default:
        return nullptr;
    }
}

// ---- model operations --------------------------------------------------------------------------

std::vector<KEY2>* Motion2D_BoneKeys(MODEL2* m, int32_t bone)
{
    if (!m || bone < 0 || bone >= m->boneCount || bone >= QVL::kModel2Bones) return nullptr;
    std::vector<QVL::KEY2_LIST>& lists = m->bones[bone].keyLists;
    const int32_t motion = m->currentMotion;
    if (motion < 0 || (size_t)motion >= lists.size()) return nullptr;
    return &lists[(size_t)motion].keys;
}

int32_t Motion2D_InsertKeyAt(int32_t id, int32_t bone, int32_t frame)
{
    MODEL2* m = Model2_Get(id);
    std::vector<KEY2>* keys = Motion2D_BoneKeys(m, bone);
    if (!keys || bone == 0) return -1;
    const int32_t at = Motion2D_InsertIndex(*keys, frame);
    if (at < 0) return -1;
    KEY2 k{frame, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f};
    if (!keys->empty()) {
        QVL::BONE2& b = m->bones[bone];
        Model2_InterpBoneKeyAt(id, bone, std::min(std::max(b.keyIndex, 0), (int32_t)keys->size() - 1), b.fraction);
        k = KEY2{frame, b.x, b.y, b.rotation, b.scaleX, b.scaleY};
    }
    keys->insert(keys->begin() + at, k);
    return at;
}

bool Motion2D_DeleteKeyAt(MODEL2* m, int32_t bone, int32_t frame)
{
    std::vector<KEY2>* keys = Motion2D_BoneKeys(m, bone);
    if (!keys) return false;
    const int32_t at = Motion2D_FindKey(*keys, frame);
    if (at < 0) return false;
    keys->erase(keys->begin() + at);
    return true;
}

bool Motion2D_MoveKeyTime(MODEL2* m, int32_t bone, int32_t from, int32_t step, int32_t* to)
{
    std::vector<KEY2>* keys = Motion2D_BoneKeys(m, bone);
    if (!keys || step == 0 || bone == 0) return false;
    const int32_t at = Motion2D_FindKey(*keys, from);
    if (at < 0) return false;
    const int64_t target = std::max<int64_t>((int64_t)from + step, 0);
    if (target > INT32_MAX || target == from || Motion2D_FindKey(*keys, (int32_t)target) >= 0) return false;
    KEY2 k = (*keys)[(size_t)at];
    keys->erase(keys->begin() + at);
    k.frame = (int32_t)target;
    keys->insert(keys->begin() + Motion2D_InsertIndex(*keys, k.frame), k);
    if (to) *to = k.frame;
    return true;
}

int32_t Motion2D_PrevKeyFrameIn(const std::vector<KEY2>* keys, int32_t frame)
{
    if (!keys) return frame;
    for (size_t i = keys->size(); i-- > 0;)
        if ((*keys)[i].frame < frame) return (*keys)[i].frame;
    return frame;
}

int32_t Motion2D_NextKeyFrameIn(const std::vector<KEY2>* keys, int32_t frame)
{
    if (!keys) return frame;
    for (const KEY2& k : *keys)
        if (k.frame > frame) return k.frame;
    return frame;
}

// ---- the screen's key commands (model slot 0) --------------------------------------------------

namespace {

MODEL2* Model() { return Model2_Get(g_CurModel2Id); }
int32_t Frame() { return Model() ? Model()->currentFrame : 0; }

} // namespace

void Motion2D_SyncCurrentKey()
{
    g_CurKeyList2D = Motion2D_BoneKeys(Model(), g_CurBone);
    g_CurKeyIndex = 0;
    if (!g_CurKeyList2D) return;
    const int32_t f = Frame();
    for (size_t i = 0; i < g_CurKeyList2D->size(); ++i)
        if ((*g_CurKeyList2D)[i].frame <= f) g_CurKeyIndex = (int32_t)i;
}

void Motion2D_InsertKey()
{
    Mode_UpdateCurrent();
    Motion2D_InsertKeyAt(g_CurModel2Id, g_CurBone, Frame());
    Motion2D_SyncCurrentKey();
}

void Motion2D_CopyKey()
{
    Mode_UpdateCurrent();
    std::vector<KEY2>* keys = Motion2D_BoneKeys(Model(), g_CurBone);
    // An empty list has no key to copy (index 0 would read past it); a kept index may come from a
    // longer list.
    if (!keys || keys->empty()) return;
    const int32_t i = std::min(std::max(Model()->bones[g_CurBone].keyIndex, 0), (int32_t)keys->size() - 1);
    const KEY2 k = (*keys)[(size_t)i];
    const int32_t n = std::min(std::max(Model()->boneCount, 0), QVL::kModel2Bones);
    for (int32_t i = 0; i < n; ++i) g_KeyClip2D[i] = k;
}

void Motion2D_PasteKey()
{
    Motion2D_InsertKey();
    Model2_UpdateKeyIndices(g_CurModel2Id);
    std::vector<KEY2>* keys = Motion2D_BoneKeys(Model(), g_CurBone);
    const int32_t f = Frame();
    // Only onto a key at the current frame: a refused insert (bone 0, a full list) must not move
    // another key's frame and break the list's order.
    const int32_t at = keys ? Motion2D_FindKey(*keys, f) : -1;
    if (at < 0 || g_CurBone == 0) return;
    const int32_t n = std::min(std::max(Model()->boneCount, 0), QVL::kModel2Bones);
    if (n == 0) return;
    (*keys)[(size_t)at] = g_KeyClip2D[n - 1];
    (*keys)[(size_t)at].frame = f;
    Motion2D_SyncCurrentKey();
}

void Motion2D_DeleteKey()
{
    Mode_UpdateCurrent();
    Motion2D_DeleteKeyAt(Model(), g_CurBone, Frame());
    Motion2D_SyncCurrentKey();
}

void Motion2D_CutKey()
{
    Motion2D_CopyKey();
    Motion2D_DeleteKey();
}

void Motion2D_SnapToKey()
{
    MODEL2* m = Model();
    std::vector<KEY2>* keys = Motion2D_BoneKeys(m, g_CurBone);
    if (keys) m->currentFrame = Motion2D_SnapFrame(*keys, m->currentFrame);
}

void Motion2D_Play()
{
    g_LoopPlay = 0;
    MODEL2* m = Model();
    g_SavedFrame = Frame();
    if (m) m->currentFrame = 0;
    g_Motion2DKeyDlgDirty = 1;
    g_PlayFlag = 1;
}

void Motion2D_Stop()
{
    g_PlayFlag = 0;
    if (MODEL2* m = Model()) m->currentFrame = g_SavedFrame;
    g_Motion2DKeyDlgDirty = 1;
    View_RequestRedraw();
}
