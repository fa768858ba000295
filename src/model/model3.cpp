#include "model/model3.h"

#include <algorithm>
#include <cstring>

#include "frame/lib.h"
#include "frame/text.h"

using namespace QVL;

void Key3_Default(KEY3* k)
{
    std::memset(k, 0, sizeof *k);
    k->rotation[3] = 1.0f;
    k->scale[0] = k->scale[1] = k->scale[2] = 1.0f;
}

void Motion3_Default(MOTION3* mo)
{
    std::memset(mo, 0, sizeof *mo);
    Str_CopyN(mo->name, sizeof mo->name, "モーション名");
    mo->length = 60;
    mo->loop = 1;
    mo->next = -1;
}

void Motion3_ResizeList(std::vector<MOTION3>& motions, int32_t count)
{
    if (count < 0) count = 0;
    size_t old = motions.size();
    motions.resize((size_t)count);
    for (size_t i = old; i < motions.size(); ++i) Motion3_Default(&motions[i]);
}

void Group3_Reset(GROUP3* g, int index)
{
    *g = GROUP3();
    Str_Format(g->name, sizeof g->name, "グループ %d", index);
    g->texture = 0;
    g->color[0] = g->color[1] = g->color[2] = 200.0f;
    g->alpha = 255.0f;
    g->shading = 4;
    g->uvScale[0] = g->uvScale[1] = 1.0f;
    g->reserved0 = 4;
    g->specularColor[0] = g->specularColor[1] = g->specularColor[2] = 64;
    g->textureSwitch = 1;
    g->reserved3 = 1;
    g->reserved4 = 1.0f;
    g->reserved6 = 1.0f;
    g->reserved9 = 1.0f;
    g->reserved11 = 1;
    g->reserved13 = 1.0f;
    g->alphaRef = 1;
    g->reserved14 = 1;
}

void Model3_ClearTexture(TEXTURE3* t)
{
    if (!t) return;
    t->used = 0;
    t->width = 0;
    t->height = 0;
    t->folder[0] = 0;
    t->file[0] = 0;
    t->path[0] = 0;
}

bool Model3_SetLight(MODEL3* m, uint8_t on)
{
    if (!m) return false;
    // Only the low byte is written: callers pass a byte.
    m->light = (m->light & ~0xFF) | on;
    return true;
}

bool Model3_SetRenderKind(MODEL3* m, int32_t kind)
{
    if (!m) return false;
    // With the toon ramp loaded, the buffered kind 3 is drawn by the toon-capable kind 2.
    if (kind == 3 && g_ToonShading) kind = 2;
    m->renderKind = kind;
    m->gpuRebuild = 1;
    return true;
}

static void ResetBoneKeys(BONE3& b)
{
    b.keys.assign(1, std::vector<KEY3>(1));
    Key3_Default(&b.keys[0][0]);
}

MODEL3* Model3_Alloc()
{
    MODEL3* m = new MODEL3();
    m->inUse = 1;
    if (g_Lib.allocArrays) {
        g_Lib.allocArrays = 0;
        for (BONE3& b : m->bones) ResetBoneKeys(b);
        Motion3_ResizeList(m->motions, 1);
    }
    Model3_Reset(m);
    return m;
}

void Model3_Reset(MODEL3* m)
{
    if (!m) return;
    m->positionCount = m->normalCount = m->colorCount = m->uvCount = 0;
    m->faceCount = 0;
    m->textures.assign(kModel3Textures, TEXTURE3());
    for (TEXTURE3& t : m->textures) Model3_ClearTexture(&t);
    m->displacementHeight = 1.0f;
    m->textureCount = 1;
    m->displacement = 0;
    m->groupCount = 1;
    m->groups.assign(kModel3Groups, GROUP3());
    for (int i = 0; i < kModel3Groups; ++i) Group3_Reset(&m->groups[i], i);
    m->subdivision = 4;
    int mode = g_Mode >= 0 && g_Mode < kModeCount ? g_Mode : 0;
    Model3_SetRenderKind(m, g_StudioFlag && g_ModeModelFlags[mode] ? 0 : 3);
    m->shadowKind = 0;
    m->shadowHeight = -0.01f;
    m->shadowFactor = 1.0f;
    m->shadowNormal[0] = 0.0f;
    m->shadowNormal[1] = 1.0f;
    m->shadowNormal[2] = 0.0f;
    m->secondMesh = 0;
    m->animated = 0;
    m->boneCount = 2;
    m->version = kModel3Version;
    Str_CopyN(m->file, sizeof m->file, "新規.QVP");
    for (int i = 0; i < kModel3Bones; ++i) {
        BONE3& b = m->bones[i];
        if (i == 0) Str_CopyN(b.name, sizeof b.name, "親ボーン");
        else Str_Format(b.name, sizeof b.name, "ボーン_%02d", i);
        Key3_Default(&b.rest);
        b.parent = 0;
        ResetBoneKeys(b);
    }
    m->motions.clear();
    Motion3_ResizeList(m->motions, 1);
    m->tint[0] = m->tint[1] = m->tint[2] = m->tint[3] = 255.0f;
    m->loaded = 0;
    m->releaseRequest = 0;
    m->visible = 1;
    m->autoNormals = 1;
    m->skinningOption = 0;
    m->fillMode = 2;
    m->soundCount = 1;
    Str_CopyN(m->soundNames[0], sizeof m->soundNames[0], "なし");
    m->light = 1;
    m->vertexColorMode = 0;
    m->edge = 0;
    m->edgeWidth = 1.0f;
    m->currentFrame = 0;
    m->currentMotion = 0;
    m->wrapped = 0;
    for (int k = 0; k < 3; ++k) m->boundsMin[k] = m->boundsMax[k] = 0.0f;
    m->radius = 3.0f;
}

template <typename T>
static void CopyArray(const std::vector<T>& src, std::vector<T>& dst, int32_t count, bool reallocate)
{
    size_t n = count > 0 ? (size_t)count : 0;
    if (reallocate) dst.assign(n + 1, T());
    else if (dst.size() < n) dst.resize(n);
    size_t have = std::min(n, src.size());
    std::copy(src.begin(), src.begin() + (ptrdiff_t)have, dst.begin());
    std::fill(dst.begin() + (ptrdiff_t)have, dst.begin() + (ptrdiff_t)n, T());
}

void Model3_CopyRecord(const MODEL3* s, MODEL3* d, bool reallocate)
{
    if (!s || !d || s == d) return;
    d->version = s->version;
    std::memcpy(d->file, s->file, sizeof d->file);
    d->positionCount = s->positionCount;
    d->normalCount = s->normalCount;
    d->colorCount = s->colorCount;
    d->uvCount = s->uvCount;
    CopyArray(s->positions, d->positions, s->positionCount, reallocate);
    CopyArray(s->normals, d->normals, s->normalCount, reallocate);
    CopyArray(s->colors, d->colors, s->colorCount, reallocate);
    CopyArray(s->uvs, d->uvs, s->uvCount, reallocate);
    CopyArray(s->weights, d->weights, s->positionCount, reallocate);
    CopyArray(s->faces, d->faces, s->faceCount, reallocate);
    d->faceCount = s->faceCount;
    if (reallocate) {
        size_t n = (size_t)std::max(s->positionCount, 0) + 1;
        d->deformedPositions.assign(n, XYZ());
        d->deformedNormals.assign(n, XYZ());
    }
    d->textureCount = s->textureCount;
    d->textures.resize(kModel3Textures);
    for (int i = 0; i < s->textureCount && i < kModel3Textures && i < (int)s->textures.size(); ++i)
        d->textures[i] = s->textures[i];
    d->displacement = s->displacement;
    d->displacementHeight = s->displacementHeight;
    d->groupCount = s->groupCount;
    d->groups.resize(kModel3Groups);
    for (int i = 0; i < s->groupCount && i < kModel3Groups && i < (int)s->groups.size(); ++i)
        d->groups[i] = s->groups[i];
    for (int k = 0; k < 4; ++k) d->tint[k] = s->tint[k];
    d->renderKind = s->renderKind;
    d->motions = s->motions;
    d->boneCount = s->boneCount;
    for (int i = 0; i < s->boneCount && i < kModel3Bones; ++i) {
        const BONE3& a = s->bones[i];
        BONE3& b = d->bones[i];
        std::memcpy(b.name, a.name, sizeof b.name);
        b.rest = a.rest;
        b.parent = a.parent;
        b.keys = a.keys;
    }
    d->currentFrame = s->currentFrame;
    d->frameFraction = s->frameFraction;
    d->currentMotion = s->currentMotion;
    // Faces may index past the counts the copy sized by (see the invariant in model3.h).
    Model3_FitArrays(d);
}

void Model3_Free(MODEL3* m)
{
    delete m;
}

template <typename T>
static void Cover(std::vector<T>& a, int32_t need)
{
    if (need > 0 && a.size() < (size_t)need) a.resize((size_t)need, T());
}

void Model3_FitArrays(MODEL3* m)
{
    if (!m) return;
    int32_t need[4] = {m->positionCount, m->normalCount, m->colorCount, m->uvCount};
    if (m->faceCount < 0) m->faceCount = 0;
    if (m->faces.size() < (size_t)m->faceCount) m->faces.resize((size_t)m->faceCount, FACE3());
    for (int32_t f = 0; f < m->faceCount; ++f) {
        const FACE3& face = m->faces[f];
        int k = std::min<int>(face.cornerCount, 4);
        for (int c = 0; c < k; ++c)
            for (int a = 0; a < 4; ++a)
                if (face.corners[c][a] >= need[a]) need[a] = face.corners[c][a] + 1;
    }
    Cover(m->positions, need[0]);
    Cover(m->normals, need[1]);
    Cover(m->colors, need[2]);
    Cover(m->uvs, need[3]);
    size_t n = m->positions.size();
    if (m->weights.size() < n) {
        size_t old = m->weights.size();
        m->weights.resize(n, WEIGHT3());
        for (size_t i = old; i < n; ++i) m->weights[i].automatic = 1;
    }
    if (m->deformedPositions.size() < n) m->deformedPositions.resize(n, XYZ());
    if (m->deformedNormals.size() < n) m->deformedNormals.resize(n, XYZ());
}

