// Key-frame operations of the effect editor on one part: create, delete and paste a key on a frame,
// and the neighbouring key frames. A part holds 1 to 16 keys, sorted by frame, one per frame.
#include "effect/effect.h"

using QVL::EFFECT_KEY;
using QVL::EFFECT_PART;

static int32_t ValidKeys(const EFFECT_PART* part)
{
    int32_t n = part->keyCount;
    return n < 0 ? 0 : (n > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : n);
}

int32_t EffectPart_FindKey(const EFFECT_PART* part, int32_t frame)
{
    if (!part) return -1;
    for (int32_t k = 0; k < ValidKeys(part); ++k)
        if (part->keys[k].frame == frame) return k;
    return -1;
}

EFFECT_KEY_RESULT EffectPart_CreateKey(EFFECT_PART* part, int32_t frame)
{
    if (!part || EffectPart_FindKey(part, frame) >= 0) return EFFECT_KEY_NONE;
    int32_t n = ValidKeys(part);
    if (n >= QVL::kEffectMaxKeys) return EFFECT_KEY_FULL;
    for (int32_t k = n - 1; k >= 0; --k)
        if (part->keys[k].frame > frame) part->keys[k + 1] = part->keys[k];
    int32_t j = 0;
    for (int32_t k = 0; k < n; ++k)
        if (part->keys[k].frame < frame) ++j;
    // Texture, interval and emitter values stay as the slot holds them: a copy of the key that
    // followed the frame, or what the slot held before.
    EFFECT_KEY& key = part->keys[j];
    key.frame = frame;
    key.reserved = 0;
    key.shown = 1;
    key.blend = 0;
    for (int a = 0; a < 3; ++a) {
        // The interpolation adds the origin to every key position, so the key holds it without.
        key.position[a] = part->curPosition[a] - part->origin[a];
        key.reservedVec[a] = part->curReserved[a];
        key.rotation[a] = part->curRotation[a];
        key.scale[a] = part->curScale[a];
    }
    for (int a = 0; a < 4; ++a) key.color[a] = part->curColor[a];
    part->keyCount = n + 1;
    return EFFECT_KEY_DONE;
}

EFFECT_KEY_RESULT EffectPart_DeleteKey(EFFECT_PART* part, int32_t frame)
{
    int32_t k = EffectPart_FindKey(part, frame);
    if (k < 0) return EFFECT_KEY_NONE;
    int32_t n = ValidKeys(part);
    if (n <= 1) return EFFECT_KEY_LAST;   // a part always keeps one key
    for (int32_t i = k; i + 1 < n; ++i) part->keys[i] = part->keys[i + 1];
    part->keyCount = n - 1;
    return EFFECT_KEY_DONE;
}

EFFECT_KEY_RESULT EffectPart_PasteKey(EFFECT_PART* part, int32_t frame, const EFFECT_KEY& clip)
{
    if (!part) return EFFECT_KEY_NONE;
    int32_t k = EffectPart_FindKey(part, frame);
    if (k < 0) {
        EFFECT_KEY_RESULT r = EffectPart_CreateKey(part, frame);
        if (r != EFFECT_KEY_DONE) return r;
        k = EffectPart_FindKey(part, frame);
    }
    part->keys[k] = clip;
    part->keys[k].frame = frame;
    return EFFECT_KEY_DONE;
}

int32_t EffectPart_PrevKeyFrame(const EFFECT_PART* part, int32_t frame)
{
    if (!part) return frame;
    for (int32_t k = ValidKeys(part) - 1; k >= 0; --k)
        if (part->keys[k].frame < frame) return part->keys[k].frame;
    return frame;
}

int32_t EffectPart_NextKeyFrame(const EFFECT_PART* part, int32_t frame)
{
    if (!part) return frame;
    for (int32_t k = 0; k < ValidKeys(part); ++k)
        if (part->keys[k].frame > frame) return part->keys[k].frame;
    return frame;
}
