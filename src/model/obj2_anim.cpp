// 2D object animation: key indices at the current frame, Catmull-Rom interpolation of each part, the
// part matrices along the parent chain, and the quads a draw hands to the 2D layer.
#include <cmath>

#include "frame/math3d.h"
#include "model/obj2.h"

using QVL::MATRIX;
using QVL::OBJ2;
using QVL::OBJ2_KEY;
using QVL::OBJ2_PART;
using QVL::OBJ2_RENDER;

namespace {

// The key list of a part in the object's current motion; null for parts without key lists.
const std::vector<OBJ2_KEY>* CurrentKeys(const OBJ2* rec, int32_t part)
{
    if (part < 0 || part >= QVL::kObj2MaxParts || rec->motion < 0) return nullptr;
    const OBJ2_PART& p = rec->parts[part];
    if ((size_t)rec->motion >= p.keyLists.size()) return nullptr;
    return &p.keyLists[(size_t)rec->motion].keys;
}

int32_t PartCount(const OBJ2* rec)
{
    return rec->partCount < 0 ? 0 : (rec->partCount > QVL::kObj2MaxParts ? QVL::kObj2MaxParts : rec->partCount);
}

} // namespace

void Obj2_UpdateKeyIndices(int32_t id)
{
    OBJ2* rec = Obj2_GetById(id);
    if (!rec || !rec->active) return;
    const int64_t F = rec->frame;
    int64_t M = 0;
    if (rec->motion >= 0 && (size_t)rec->motion < rec->motions.size()) M = rec->motions[(size_t)rec->motion].length;
    for (int32_t i = 0; i < PartCount(rec); ++i) {
        OBJ2_PART& part = rec->parts[i];
        const std::vector<OBJ2_KEY>* keys = CurrentKeys(rec, i);
        size_t n = keys ? keys->size() : 0;
        if (n <= 1) {
            part.keyIndex = 0;
            part.fraction = 0.0f;
            continue;
        }
        const std::vector<OBJ2_KEY>& L = *keys;
        size_t k = 0;
        for (size_t j = 0; j < n; ++j)
            if (L[j].frame <= F) k = j;
        const int64_t first = L[0].frame, last = L[n - 1].frame;
        if (k == n - 1 || F < first) {
            // The wrap segment from the last key over the motion's end to the first key.
            int64_t D = M + first - last;
            int64_t num = F < first ? M + F - last : F - last;
            part.keyIndex = (int32_t)(n - 1);
            part.fraction = D > 0 ? (float)num / (float)D : 0.0f;
        } else {
            int64_t span = (int64_t)L[k + 1].frame - L[k].frame;
            part.keyIndex = (int32_t)k;
            part.fraction = span == 0 ? 0.0f : (float)(F - L[k].frame) / (float)span;
        }
    }
}

void Obj2_InterpPartKey(int32_t id, int32_t partIndex, int32_t k, float t)
{
    OBJ2* rec = Obj2_GetById(id);
    if (!rec || partIndex < 0 || partIndex >= QVL::kObj2MaxParts) return;
    OBJ2_PART& part = rec->parts[partIndex];
    const std::vector<OBJ2_KEY>* keys = CurrentKeys(rec, partIndex);
    int32_t n = keys ? (int32_t)keys->size() : 0;
    if (n == 0) {
        part.shown = 0;
        part.x = part.y = part.rotation = 0.0f;
        part.scaleX = part.scaleY = 1.0f;
        part.image = 0;
        part.r = part.g = part.b = part.a = 255;
        return;
    }
    const std::vector<OBJ2_KEY>& L = *keys;
    if (n == 1) {
        const OBJ2_KEY& key = L[0];
        part.shown = key.shown;
        part.x = key.x;
        part.y = key.y;
        part.rotation = key.rotation;
        part.scaleX = key.scaleX;
        part.scaleY = key.scaleY;
        part.image = key.image;
        part.r = key.r;
        part.g = key.g;
        part.b = key.b;
        part.a = key.a;
        return;
    }
    if (k < 0 || k >= n) return;
    int32_t i1 = k;
    int32_t i2 = k + 1 >= n ? 0 : k + 1;
    int32_t i0 = k - 1 < 0 ? n - 1 : k - 1;
    int32_t i3 = i2 + 1 >= n ? 0 : i2 + 1;
    const OBJ2_KEY &a = L[(size_t)i0], &b = L[(size_t)i1], &c = L[(size_t)i2], &d = L[(size_t)i3];
    part.shown = b.shown;
    part.image = b.image;
    part.x = Anim_CatmullRom(a.x, b.x, c.x, d.x, t);
    part.y = Anim_CatmullRom(a.y, b.y, c.y, d.y, t);
    part.rotation = Anim_CatmullRom(a.rotation, b.rotation, c.rotation, d.rotation, t);
    part.scaleX = Anim_CatmullRom(a.scaleX, b.scaleX, c.scaleX, d.scaleX, t);
    part.scaleY = Anim_CatmullRom(a.scaleY, b.scaleY, c.scaleY, d.scaleY, t);
    part.r = Math_TruncInt(Anim_CatmullRom((float)a.r, (float)b.r, (float)c.r, (float)d.r, t));
    part.g = Math_TruncInt(Anim_CatmullRom((float)a.g, (float)b.g, (float)c.g, (float)d.g, t));
    part.b = Math_TruncInt(Anim_CatmullRom((float)a.b, (float)b.b, (float)c.b, (float)d.b, t));
    int32_t alpha = Math_TruncInt(Anim_CatmullRom((float)a.a, (float)b.a, (float)c.a, (float)d.a, t));
    part.a = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
}

void Obj2_Animate(OBJ2* rec)
{
    if (!rec) return;
    Obj2_UpdateKeyIndices(rec->id);
    for (int32_t i = 0; i < PartCount(rec); ++i)
        Obj2_InterpPartKey(rec->id, i, rec->parts[i].keyIndex, rec->parts[i].fraction);
}

void Obj2_AnimateAll()
{
    for (size_t id = 0; id < g_Obj2Table.size(); ++id)
        if (g_Obj2Table[id] && g_Obj2Table[id]->active) Obj2_Animate(g_Obj2Table[id].get());
}

void Obj2_MulParentMatrices(int32_t id, int32_t part, MATRIX* work)
{
    OBJ2* rec = Obj2_GetById(id);
    OBJ2_RENDER* r = Obj2_GetRender(id);
    if (!rec || !r || !work || part < 0 || part >= QVL::kObj2MaxParts) return;
    // local(part) x local(parent) x ... up to the child of part 0. A chain that does not reach
    // part 0 within the part limit is a loop: it stops there instead of recursing for ever.
    int32_t chain[QVL::kObj2MaxParts];
    int32_t len = 0;
    int32_t cur = part;
    for (;;) {
        chain[len++] = cur;
        int32_t p = rec->parents[cur];
        if (p <= 0 || p >= QVL::kObj2MaxParts || len == QVL::kObj2MaxParts) break;
        cur = p;
    }
    *work = r->local[chain[len - 1]];
    for (int32_t j = len - 2; j >= 0; --j) Math_MatrixMultiply(work, r->local[chain[j]], *work);
}

void Obj2_BuildPartMatrices(int32_t id)
{
    OBJ2* rec = Obj2_GetById(id);
    OBJ2_RENDER* r = Obj2_GetRender(id);
    if (!rec || !r) return;
    const int32_t count = PartCount(rec);
    for (int32_t i = 0; i < count; ++i) {
        const OBJ2_PART& p = rec->parts[i];
        if (i == 0 || !r->images[0]) Math_MatrixIdentity(&r->local[i]);
        else Math_MatrixWorld(&r->local[i], p.x, p.y, 0.0f, 0.0f, 0.0f, -p.rotation, p.scaleX, p.scaleY, 0.0f);
    }
    for (int32_t i = 0; i < count; ++i) {
        MATRIX work;
        Obj2_MulParentMatrices(id, i, &work);
        r->world[i] = work;
    }
}

void Obj2_BuildQuads(OBJ2* rec, std::vector<QVL::OBJ2_QUAD>& out)
{
    out.clear();
    if (!rec || !rec->visible) return;
    OBJ2_RENDER* r = Obj2_GetRender(rec->id);
    if (!r) return;
    Obj2_BuildPartMatrices(rec->id);
    const int32_t count = PartCount(rec);
    for (int32_t i = 1; i < count; ++i) {
        const OBJ2_PART& p = rec->parts[i];
        int32_t j = p.image;
        if (!p.shown || j < 0 || j >= QVL::kObj2MaxImages || r->textures[j] < 0 || !r->images[j]) continue;
        // The pivot sits at the part's origin.
        const float w = (float)r->images[j]->width, h = (float)r->images[j]->height;
        const float px = (float)rec->pivotX[j], py = (float)rec->pivotY[j];
        const float local[4][2] = {{-px, -py}, {w - px, -py}, {w - px, h - py}, {-px, h - py}};
        QVL::OBJ2_QUAD q;
        q.part = i;
        q.texture = r->textures[j];
        for (int c = 0; c < 4; ++c) {
            QVL::VEC3 v;
            Math_TransformPoint(&v, local[c][0], local[c][1], 0.0f, r->world[i]);
            q.corners[c * 2] = Math_TruncInt(v.x + rec->x);
            q.corners[c * 2 + 1] = Math_TruncInt(v.y + rec->y);
        }
        for (int c = 0; c < 8; ++c) r->corners[i][c] = q.corners[c];
        auto clamp = [](int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
        q.r = clamp(p.r);
        q.g = clamp(p.g);
        q.b = clamp(p.b);
        q.a = clamp(p.a);
        QVL::VEC3 o;
        Math_TransformPoint(&o, 0.0f, 0.0f, 0.0f, r->world[i]);
        r->origin[i][0] = Math_TruncInt(o.x);
        r->origin[i][1] = Math_TruncInt(o.y);
        out.push_back(q);
    }
}
