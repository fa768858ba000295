// The effect table and the default records.
#include "effect/effect.h"

#include "frame/log.h"
#include "frame/services.h"
#include "frame/text.h"

using QVL::EFFECT;
using QVL::EFFECT_PART;

void Effect_InitData(EFFECT& e)
{
    e = EFFECT{};
    e.version = QVL::kEffectVersion;
    e.frameCount = 60;
}

void Effect_InitPart(EFFECT_PART& part)
{
    part = EFFECT_PART{};
    part.keyCount = 1;
    part.object = -1;
}

int32_t Effect_DataCreate()
{
    g_EffectData.emplace_back();
    Effect_InitData(g_EffectData.back());
    int32_t id = (int32_t)g_EffectData.size() - 1;
    Log_DebugPrintf("QV.Effect.DataCreate() ID:%d", id);
    return id;
}

EFFECT* Effect_GetData(int32_t id)
{
    if (id < 0 || (size_t)id >= g_EffectData.size()) return nullptr;
    return &g_EffectData[(size_t)id];
}

void Effect_EraseAllData()
{
    g_EffectData.clear();
}

int32_t Effect_PartCreate(EFFECT* e)
{
    if (!e) return -1;
    // The QVE reader takes no more: an effect saved with more could not be opened again.
    if (e->parts.size() >= (size_t)QVL::kEffectMaxParts) {
        Lib_MessageBox("これ以上パーツを、追加できません。");
        return -1;
    }
    e->parts.emplace_back();
    Effect_InitPart(e->parts.back());
    return (int32_t)e->parts.size() - 1;
}

int32_t Effect_AddTexture(EFFECT* e, const char* folder, const char* file)
{
    if (!e) return -1;
    // Bounded like the parts, by what the QVE reader takes.
    if (e->textures.size() >= (size_t)QVL::kEffectMaxTextures) {
        Lib_MessageBox("これ以上テクスチャを、追加できません。");
        return -1;
    }
    QVL::EFFECT_TEX t{};
    if (!Str_CopyN(t.folder, sizeof t.folder, folder) || !Str_CopyN(t.file, sizeof t.file, file)) return -1;
    t.texture = -1;
    e->textures.push_back(t);
    return (int32_t)e->textures.size() - 1;
}

int32_t Effect_GetPartCount(const EFFECT* e)
{
    return e ? (int32_t)e->parts.size() : 0;
}

int32_t Effect_GetTextureCount(const EFFECT* e)
{
    return e ? (int32_t)e->textures.size() : 0;
}

int32_t Effect_ClampFrameCount(int64_t n)
{
    if (n < 1) return 1;
    if (n > QVL::kEffectMaxFrames) return QVL::kEffectMaxFrames;
    return (int32_t)n;
}
