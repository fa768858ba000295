// The QVB file: a 2D one-skin model. Written as version 2004000; read as 2004000 and 2004020.
#include <algorithm>
#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/model2.h"

using namespace QVL;

int32_t g_Model2TexHandles[kModel2Slots][kModel2Textures];

namespace {

constexpr size_t kKeyBytes = 24;
// Bytes a polygon of n corners takes in the file.
constexpr size_t kPolygonBaseBytes = 9;
constexpr size_t kCornerBlockBytes = 16;
// Smallest group and bone entries (empty name, no key lists).
constexpr size_t kGroupMinBytes = 4 + 4 + 16 + 4 + 1 + 16 + 4;
constexpr size_t kBoneMinBytes = 4 + 4 + 20;
// Keys a list may hold when the reader allocates the lists itself (a record made with the arrays
// holds kModel2KeysPerList).
constexpr int32_t kMaxKeysAllocated = 4096;

// A name whose zero length leaves the field as it was (keepOnEmpty) or empties it. A name of 256 bytes
// or more does not fit the field and fails the read.
bool ReadName(ByteReader& r, char* dst, bool keepOnEmpty)
{
    int32_t len = 0;
    if (!r.I32(len)) return false;
    if (len < 0 || len >= 256 || (size_t)len > r.Left()) return r.Fail();
    char text[256];
    if (!r.Bytes(text, (size_t)len)) return false;
    text[len] = '\0';
    // Bytes that end at once (a leading zero) are an empty name too, so a rewritten file reads alike.
    if (text[0] == '\0') {
        if (!keepOnEmpty) dst[0] = '\0';
        return true;
    }
    std::memcpy(dst, text, (size_t)len + 1);
    return true;
}

void WriteName(ByteWriter& w, const char* s)
{
    size_t n = strnlen(s, 255);
    w.I32((int32_t)n);
    w.Bytes(s, n);
}

const int32_t kQvbVersions[] = {kModel2FileVersion, kModel2FileVersion2};
const RECORD_FORMAT kQvb = {"QVB", "QVB", 3, 3, kQvbVersions, 2, kModel2FileVersion};

// The field lists of both directions.
template <class IO>
bool Key2_Io(IO& io, KEY2& k)
{
    io.I32(k.frame);
    io.F32(k.x);
    io.F32(k.y);
    io.F32(k.rotation);
    io.F32(k.scaleX);
    return io.F32(k.scaleY);
}

template <class IO>
bool Group2_Io(IO& io, GROUP2& gr)
{
    if constexpr (IO::kReading) {
        if (!ReadName(io.r, gr.name, true)) return false;
    } else {
        WriteName(io.w, gr.name);
    }
    io.I32(gr.texture);
    io.F32(gr.r), io.F32(gr.g), io.F32(gr.b), io.F32(gr.a);
    io.I32(gr.shading);
    io.U8(gr.uvMapping);
    io.F32s(gr.uvOffset, 2);
    io.F32s(gr.uvScale, 2);
    return io.I32(gr.reserved);
}

template <class T>
int32_t Bounded(int32_t count, const std::vector<T>& a)
{
    return count < 0 ? 0 : (int32_t)std::min<size_t>((size_t)count, a.size());
}

int32_t Clamp(int32_t v, int32_t hi)
{
    return v < 0 ? 0 : v > hi ? hi : v;
}

bool ParseBody(ByteReader& r, MODEL2* m, int32_t version)
{
    uint16_t v = 0, k = 0, t = 0;
    r.U16(v);
    r.U16(k);
    r.U16(t);
    if (!r.Ok()) return false;
    if ((int64_t)v > g_VertexLimit || (int64_t)k > g_VertexLimit || (int64_t)t > g_VertexLimit) return r.Fail();
    if ((uint64_t)v * 20 + (uint64_t)k * 16 + (uint64_t)t * 8 > r.Left()) return r.Fail();
    m->vertexCount = v;
    m->colorCount = k;
    m->uvCount = t;
    m->vertices.assign(v, XY2{});
    m->deformed.assign(v, XY2{});
    m->colors.assign(k, RGBA2{});
    m->uvs.assign(t, UV2D{});
    m->bindings.assign(v, WEIGHT2{});
    for (XY2& p : m->vertices) r.F32(p.x), r.F32(p.y);
    for (RGBA2& c : m->colors) r.F32(c.r), r.F32(c.g), r.F32(c.b), r.F32(c.a);
    for (UV2D& u : m->uvs) r.F32(u.u), r.F32(u.v);
    for (WEIGHT2& b : m->bindings) r.U16(b.boneA), r.U16(b.boneB), r.F32(b.weightA), r.I32(b.flag);

    uint16_t p = 0;
    if (!r.U16(p)) return false;
    if ((int64_t)p > g_PolyLimit || (size_t)p > r.Left() / kPolygonBaseBytes) return r.Fail();
    m->polygonCount = p;
    m->polygons.assign(p, FACE2{});
    for (FACE2& f : m->polygons) {
        r.I32(f.used);
        if (!r.U8(f.cornerCount)) return false;
        if (f.cornerCount > 4) return r.Fail();
        for (int c = 0; c < f.cornerCount; ++c) {
            for (int i = 0; i < 3; ++i) r.U16(f.corners[c][i]);
            r.Skip(kCornerBlockBytes - 6);
        }
        if (!r.I32(f.group)) return false;
    }

    uint16_t x = 0;
    if (!r.U16(x)) return false;
    if (x > kModel2Textures || (size_t)x > r.Left() / 4) return r.Fail();
    m->textureCount = x;
    for (int i = 0; i < x; ++i) {
        TEXTURE2& tex = m->textures[i];
        if (!r.I32(tex.used)) return false;
        if (tex.used == 1 && !ReadName(r, tex.file, false)) return false;
    }

    int32_t g = 0;
    if (!r.Count(g, kModel2Groups, kGroupMinBytes)) return false;
    m->groupCount = g;
    RecordReadIO io(r);
    for (int i = 0; i < g; ++i)
        if (!Group2_Io(io, m->groups[i])) return false;
    r.I32(m->light);
    r.I32(m->vertexColorFlag);
    r.I32(m->reserved);
    r.F32(m->reservedF);

    int32_t motions = 0;
    if (!r.Count(motions, kModel2Motions, 4)) return false;
    m->motionCount = motions;
    for (int i = 0; i < motions; ++i) {
        MOTION2& mo = m->motions[i];
        if (!r.I32(mo.used)) return false;
        if (mo.used == 1 && (!ReadName(r, mo.name, true) || !r.I32(mo.length))) return false;
    }

    int32_t bones = 0;
    if (!r.Count(bones, kModel2Bones, kBoneMinBytes + 4 * (size_t)motions)) return false;
    m->boneCount = bones;
    const int32_t maxKeys = m->hasArrays ? kModel2KeysPerList : kMaxKeysAllocated;
    if (!m->hasArrays) m->keyListsPerBone = motions;
    for (int b = 0; b < bones; ++b) {
        BONE2& bone = m->bones[b];
        if (!ReadName(r, bone.name, version == kModel2FileVersion)) return false;
        r.I32(bone.parent);
        r.F32(bone.restX), r.F32(bone.restY), r.F32(bone.restRotation);
        r.F32(bone.restScaleX), r.F32(bone.restScaleY);
        if (bone.keyLists.size() < (size_t)motions) bone.keyLists.resize((size_t)motions);
        for (int mo = 0; mo < motions; ++mo) {
            int32_t n = 0;
            if (!r.Count(n, maxKeys, kKeyBytes)) return false;
            std::vector<KEY2>& keys = bone.keyLists[(size_t)mo].keys;
            keys.assign((size_t)n, KEY2{});
            for (KEY2& key : keys) Key2_Io(io, key);
        }
        if (!r.Ok()) return false;
    }
    return r.Ok();
}

} // namespace

MODEL2* Model2_Parse(const uint8_t* data, size_t size, int32_t version)
{
    std::unique_ptr<MODEL2> m(Model2_NewRecord());
    ByteReader r(data, size);
    int32_t fileVersion = 0;
    // The layout is the caller's choice: only magic and a whole header count here.
    RECORD_STATUS head = Record_CheckHeader(r, kQvb, fileVersion);
    if (head == RECORD_NOT_FORMAT || head == RECORD_DAMAGED) return nullptr;
    m->version = fileVersion;
    if (!ParseBody(r, m.get(), version)) return nullptr;
    return m.release();
}

std::vector<uint8_t> Model2_Write(MODEL2* m)
{
    ByteWriter w;
    RecordWriteIO io(w);
    m->version = kModel2FileVersion;
    Record_WriteHeader(w, kQvb);
    // Counts never pass what the arrays hold: a record made without arrays saves as empty.
    const int32_t v = std::min(Bounded(m->vertexCount, m->vertices), Bounded(m->vertexCount, m->bindings));
    const int32_t k = Bounded(m->colorCount, m->colors);
    const int32_t t = Bounded(m->uvCount, m->uvs);
    w.U16((uint16_t)v);
    w.U16((uint16_t)k);
    w.U16((uint16_t)t);
    for (int i = 0; i < v; ++i) w.F32(m->vertices[i].x), w.F32(m->vertices[i].y);
    for (int i = 0; i < k; ++i) {
        const RGBA2& c = m->colors[i];
        w.F32(c.r), w.F32(c.g), w.F32(c.b), w.F32(c.a);
    }
    for (int i = 0; i < t; ++i) w.F32(m->uvs[i].u), w.F32(m->uvs[i].v);
    for (int i = 0; i < v; ++i) {
        const WEIGHT2& b = m->bindings[i];
        w.U16(b.boneA), w.U16(b.boneB), w.F32(b.weightA), w.I32(b.flag);
    }
    const int32_t p = std::min(Bounded(m->polygonCount, m->polygons), 0xFFFF);
    w.U16((uint16_t)p);
    for (int i = 0; i < p; ++i) {
        const FACE2& f = m->polygons[i];
        const int n = std::min<int>(f.cornerCount, 4);
        w.I32(f.used);
        w.U8((uint8_t)n);
        // Each corner block carries the record's bytes that follow the corner (the later corners,
        // two padding bytes, the group), as files always have; past the record, zeros.
        uint8_t tail[40] = {};
        for (int c = 0; c < 4; ++c)
            for (int j = 0; j < 3; ++j) {
                tail[c * 6 + j * 2] = (uint8_t)(f.corners[c][j] & 0xFF);
                tail[c * 6 + j * 2 + 1] = (uint8_t)(f.corners[c][j] >> 8);
            }
        for (int b = 0; b < 4; ++b) tail[26 + b] = (uint8_t)((uint32_t)f.group >> (8 * b));
        for (int c = 0; c < n; ++c) w.Bytes(tail + c * 6, kCornerBlockBytes);
        w.I32(f.group);
    }
    const int32_t x = Clamp(m->textureCount, kModel2Textures);
    w.U16((uint16_t)x);
    for (int i = 0; i < x; ++i) {
        w.I32(m->textures[i].used);
        if (m->textures[i].used == 1) WriteName(w, m->textures[i].file);
    }
    const int32_t g = Clamp(m->groupCount, kModel2Groups);
    w.I32(g);
    for (int i = 0; i < g; ++i) Group2_Io(io, m->groups[i]);
    w.I32(m->light);
    w.I32(m->vertexColorFlag);
    w.I32(m->reserved);
    w.F32(m->reservedF);
    const int32_t motions = Clamp(m->motionCount, kModel2Motions);
    w.I32(motions);
    for (int i = 0; i < motions; ++i) {
        const MOTION2& mo = m->motions[i];
        w.I32(mo.used);
        if (mo.used == 1) {
            WriteName(w, mo.name);
            w.I32(mo.length);
        }
    }
    const int32_t bones = Clamp(m->boneCount, kModel2Bones);
    w.I32(bones);
    for (int b = 0; b < bones; ++b) {
        BONE2& bone = m->bones[b];
        WriteName(w, bone.name);
        w.I32(bone.parent);
        w.F32(bone.restX), w.F32(bone.restY), w.F32(bone.restRotation);
        w.F32(bone.restScaleX), w.F32(bone.restScaleY);
        for (int mo = 0; mo < motions; ++mo) {
            // A bone without key lists (a record made without arrays) stores empty ones.
            if ((size_t)mo >= bone.keyLists.size()) {
                w.I32(0);
                continue;
            }
            w.I32((int32_t)bone.keyLists[(size_t)mo].keys.size());
            for (KEY2& key : bone.keyLists[(size_t)mo].keys) Key2_Io(io, key);
        }
    }
    return w.Data();
}

static MODEL2* ReadFile(const char* path, int32_t version)
{
    std::vector<uint8_t> bytes;
    if (!path || !File_ReadAll(path, bytes)) return nullptr;
    return Model2_Parse(bytes.data(), bytes.size(), version);
}

MODEL2* Model2_ReadV2004000(const char* path)
{
    return ReadFile(path, kModel2FileVersion);
}

MODEL2* Model2_ReadV2004020(const char* path)
{
    return ReadFile(path, kModel2FileVersion2);
}

bool Model2_Load(int32_t id, const char* path)
{
    if (!path || !path[0]) {
        Lib_MessageBox("ファイル名が指定されていません。");
        return false;
    }
    if (id < 0 || id >= kModel2Slots) return false;
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(path, bytes)) return Record_Report(kQvb, RECORD_CANNOT_OPEN, path);
    // A file too short for the header is not taken for a QVB, whatever its first bytes.
    ByteReader head(bytes.data(), bytes.size());
    int32_t version = 0;
    RECORD_STATUS status = bytes.size() < 7 ? RECORD_NOT_FORMAT : Record_CheckHeader(head, kQvb, version);
    // Between the two versions no layout is known: the file is refused like a damaged one, and a
    // damaged file leaves the open model as it was.
    if (status == RECORD_UNKNOWN_VERSION) status = RECORD_DAMAGED;
    if (!Record_Report(kQvb, status, path)) return false;
    MODEL2* fresh = Model2_Parse(bytes.data(), bytes.size(), version);
    if (!fresh) return Record_Report(kQvb, RECORD_DAMAGED, path);
    Model2_Free(g_Model2Table[id]);
    g_Model2Table[id] = fresh;
    g_Model2InUse[id] = 1;
    fresh->id = id;
    Str_CopyN(fresh->path, sizeof fresh->path, path);
    fresh->displayState = 2;
    for (int i = 0; i < kModel2Textures; ++i) g_Model2TexHandles[id][i] = -1;
    for (int i = 0; i < fresh->textureCount; ++i) {
        TEXTURE2& tex = fresh->textures[i];
        if (tex.used != 1) continue;
        g_Model2TexHandles[id][i] = Tex_Load(tex.file);
        float w = 0.0f, h = 0.0f;
        if (Tex_GetSize(g_Model2TexHandles[id][i], &w, &h)) {
            tex.width = (int32_t)w;
            tex.height = (int32_t)h;
        }
    }
    fresh->loaded = 1;
    Lib_ResetFrameTimer();
    return true;
}

bool Model2_Save(int32_t id, const char* path)
{
    MODEL2* m = Model2_Get(id);
    if (!m || !path) return false;
    // The file holds the polygon count in 16 bits: a larger model cannot be stored whole.
    if (m->polygonCount > 0xFFFF) return false;
    std::vector<uint8_t> bytes = Model2_Write(m);
    return File_WriteAll(path, bytes.data(), bytes.size());
}
