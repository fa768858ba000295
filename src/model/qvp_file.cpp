#include "model/qvp_file.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/export_dedup.h"
#include "model/exact_index.h"
#include "model/gpu_services.h"
#include "model/model_table.h"
#include "model/normals.h"

using namespace QVL;

namespace {
const int32_t kQvpVersions[] = {2004002, 2005000, 2006000, 2008000, kModel3Version};
}
// The magic is not compared: files of this format were always read by their version alone.
const RECORD_FORMAT kQvpFormat = {"QVP", "QVP", 3, 0, kQvpVersions, 5, kModel3Version};

namespace {

// Bytes of one group record before its export section, name excluded.
constexpr size_t kGroupFixed2006 = 69;
constexpr size_t kGroupFixed2008 = 103;
constexpr size_t kWeightBytes = 7;
constexpr size_t kExportVertexBytes = 12 + 12 + 16 + 8 + kWeightBytes;
// A 2004002 bone carries only a key count; the keys it stands for are made, not read.
constexpr int32_t kMaxCountedKeys = 4096;

// The floats of an array of float records (XYZ, RGBA, UV2), without touching a null pointer.
template <typename T>
float* FloatsOf(std::vector<T>& v)
{
    return reinterpret_cast<float*>(v.data());
}
template <typename T>
const float* FloatsOf(const std::vector<T>& v)
{
    return reinterpret_cast<const float*>(v.data());
}

int32_t Clamp(int32_t n, int32_t lo, size_t hi)
{
    if (n < lo) return lo;
    return (size_t)n > hi ? (int32_t)hi : n;
}

// ---------------------------------------------------------------------------------------------
// Field lists, one for both directions (the writer always the 2009000 layout)

template <class IO>
bool Key3_Io(IO& io, KEY3& key)
{
    io.I32(key.frame);
    io.F32s(key.translation, 3);
    io.F32s(key.rotation, 4);
    return io.F32s(key.scale, 3);
}

template <class IO>
bool GroupKey3_Io(IO& io, GROUP_KEY3& key)
{
    io.I32(key.frame);
    io.U16(key.reserved);
    io.U16(key.texture);
    io.F32s(key.reservedF, 4);
    if constexpr (IO::kReading)
        if (io.Ok() && key.texture > kModel3Textures) return io.Fail();
    return io.Ok();
}

// A group's fields before its export section; 2008000 added the second block.
template <class IO>
bool Group3_Io(IO& io, int32_t layout, GROUP3& g)
{
    io.Str(g.name, sizeof g.name);
    io.I32(g.texture);
    if constexpr (IO::kReading) {
        if (!io.Ok()) return false;
        if (g.texture < 0 || g.texture >= kModel3Textures) return io.Fail();
    }
    io.F32s(g.color, 3);
    io.F32(g.alpha);
    io.I32(g.shading);
    io.U8(g.uvMapping);
    io.F32s(g.uvOffset, 2);
    io.F32s(g.uvScale, 2);
    io.I32(g.doubleSided);
    io.I32(g.reserved0);
    io.I32(g.mirror);
    io.I32(g.specular);
    io.I32s(g.specularColor, 3);
    if (layout < 2008000) return io.Ok();
    io.U8(g.textureSwitch);
    io.U16(g.reserved1);
    io.U8(g.reserved2);
    io.U16(g.reserved3);
    io.U8(g.selfIllumination);
    io.F32(g.reserved4);
    io.U8(g.reserved5);
    io.F32(g.reserved6);
    io.U8(g.normalMap);
    io.U16(g.normalMapTexture);
    io.U8(g.reserved7);
    io.U16(g.reserved8);
    io.F32(g.reserved9);
    io.U8(g.reserved10);
    io.U16(g.reserved11);
    io.U8(g.reserved12);
    io.F32(g.reserved13);
    if constexpr (IO::kReading) {
        if (!io.Ok()) return false;
        if (g.normalMapTexture >= kModel3Textures) return io.Fail();
    }
    return io.Ok();
}

// A bone of 2005000 and later before its key lists.
template <class IO>
bool Bone3_Io(IO& io, BONE3& bone)
{
    io.Str(bone.name, sizeof bone.name);
    io.I32(bone.parent);
    if constexpr (IO::kReading) {
        if (!io.Ok()) return false;
        if (bone.parent < 0 || bone.parent >= kModel3Bones) return io.Fail();
    }
    io.F32s(bone.rest.translation, 3);
    io.F32s(bone.rest.rotation, 4);
    return io.F32s(bone.rest.scale, 3);
}

// ---------------------------------------------------------------------------------------------
// Writer

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the QVP floats are copied as they lie");

void WriteFloats(ByteWriter& w, const float* v, size_t n)
{
    if (n) w.Bytes(v, 4 * n);
}

// Room for n more bytes at the end of the writer's buffer, filled in place: the mesh sections are
// large, and a call per field would cost more than the data.
uint8_t* Extend(ByteWriter& w, size_t n)
{
    std::vector<uint8_t>& d = w.Data();
    size_t at = d.size();
    d.resize(at + n);
    return d.data() + at;
}

uint8_t* Put32(uint8_t* p, const void* v)
{
    std::memcpy(p, v, 4);
    return p + 4;
}

void WriteWeights(ByteWriter& w, const WEIGHT3* x, size_t n)
{
    uint8_t* p = Extend(w, kWeightBytes * n);
    for (size_t i = 0; i < n; ++i) {
        *p++ = x[i].boneA;
        *p++ = x[i].boneB;
        p = Put32(p, &x[i].weightA);
        *p++ = x[i].automatic;
    }
}

void WriteFaces(ByteWriter& w, const FACE3* f, size_t n)
{
    size_t bytes = 0;
    for (size_t i = 0; i < n; ++i) bytes += 5 + 16 * (size_t)std::min<int>(f[i].cornerCount, 4);
    uint8_t* p = Extend(w, bytes);
    for (size_t i = 0; i < n; ++i) {
        int k = std::min<int>(f[i].cornerCount, 4);
        *p++ = (uint8_t)k;
        std::memcpy(p, f[i].corners, 16 * (size_t)k);
        p += 16 * (size_t)k;
        p = Put32(p, &f[i].group);
    }
}

void WriteGroup(ByteWriter& w, GROUP3& g)
{
    RecordWriteIO io(w);
    Group3_Io(io, kModel3Version, g);
    size_t v = g.exportPositions.size();
    w.I32((int32_t)v);
    WriteFloats(w, FloatsOf(g.exportPositions), 3 * v);
    WriteFloats(w, FloatsOf(g.exportNormals), 3 * v);
    WriteFloats(w, FloatsOf(g.exportColors), 4 * v);
    WriteFloats(w, FloatsOf(g.exportUVs), 2 * v);
    WriteWeights(w, g.exportWeights.data(), v);
    w.I32((int32_t)g.exportTriangles.size());
    WriteFaces(w, g.exportTriangles.data(), g.exportTriangles.size());
}

// ---------------------------------------------------------------------------------------------
// Readers

bool CheckCount(ByteReader& r, int32_t n, int32_t max, size_t minBytesEach)
{
    if (!r.Ok()) return false;
    if (n < 0 || n > max) return r.Fail();
    if (minBytesEach && (size_t)n > r.Left() / minBytesEach) return r.Fail();
    return true;
}

// An attribute count: int32 from 2006000 on, uint16 before.
bool ReadAttribCount(ByteReader& r, int32_t layout, int32_t& n)
{
    if (layout >= 2006000) return r.I32(n);
    uint16_t u = 0;
    bool ok = r.U16(u);
    n = u;
    return ok;
}

bool ReadFloats(ByteReader& r, float* dst, size_t n)
{
    if (n == 0) return r.Ok();
    if (n > r.Left() / 4) return r.Fail();
    // The file is little-endian like both of our targets: the floats are taken as they lie.
    return r.Bytes(dst, 4 * n);
}

bool ReadWeight(ByteReader& r, int32_t layout, WEIGHT3& x)
{
    if (layout >= 2008000) {
        r.U8(x.boneA);
        r.U8(x.boneB);
        r.F32(x.weightA);
        return r.U8(x.automatic);
    }
    // 12 bytes: the bones keep their low byte, any non-zero flag counts as set.
    uint16_t a = 0, b = 0;
    int32_t automatic = 0;
    r.U16(a);
    r.U16(b);
    r.F32(x.weightA);
    bool ok = r.I32(automatic);
    x.boneA = (uint8_t)a;
    x.boneB = (uint8_t)b;
    x.automatic = automatic != 0 ? 1 : 0;
    return ok;
}

// A face: from 2006000 on uint8 corner count, int32 indices, int32 group; 2005000 and before lead
// with an unused int32 and store uint16 indices. Indices must lie within the record's limits.
bool ReadFace(ByteReader& r, int32_t layout, int32_t indexLimit, FACE3& f)
{
    if (layout < 2006000) {
        int32_t unused;
        r.I32(unused);
    }
    uint8_t k = 0;
    if (!r.U8(k)) return false;
    if (k > 4) return r.Fail();
    f.cornerCount = k;
    if (layout >= 2006000) {
        // The corners lie as the record holds them: take them whole, then check.
        r.Bytes(f.corners, 16 * (size_t)k);
    } else {
        for (int c = 0; c < k; ++c) {
            for (int a = 0; a < 4; ++a) {
                uint16_t u = 0;
                r.U16(u);
                f.corners[c][a] = u;
            }
        }
    }
    r.I32(f.group);
    if (!r.Ok()) return false;
    for (int c = 0; c < k; ++c)
        for (int a = 0; a < 4; ++a)
            if (f.corners[c][a] < 0 || f.corners[c][a] >= indexLimit) return r.Fail();
    if (f.group < 0 || f.group >= kModel3Groups) return r.Fail();
    return true;
}

bool ReadGroup(ByteReader& r, int32_t layout, GROUP3& g)
{
    RecordReadIO io(r);
    if (!Group3_Io(io, layout, g)) return false;
    if (layout < 2009000) return r.Ok();

    int32_t v = 0;
    r.I32(v);
    if (!CheckCount(r, v, 6 * g_PolyLimit, kExportVertexBytes)) return false;
    g.exportPositions.resize((size_t)v);
    g.exportNormals.resize((size_t)v);
    g.exportColors.resize((size_t)v);
    g.exportUVs.resize((size_t)v);
    g.exportWeights.resize((size_t)v);
    ReadFloats(r, FloatsOf(g.exportPositions), 3 * (size_t)v);
    ReadFloats(r, FloatsOf(g.exportNormals), 3 * (size_t)v);
    ReadFloats(r, FloatsOf(g.exportColors), 4 * (size_t)v);
    ReadFloats(r, FloatsOf(g.exportUVs), 2 * (size_t)v);
    for (int32_t i = 0; i < v; ++i) ReadWeight(r, layout, g.exportWeights[i]);
    int32_t e = 0;
    r.I32(e);
    if (!CheckCount(r, e, 2 * g_PolyLimit, 5)) return false;
    g.exportTriangles.assign((size_t)e, FACE3());
    for (int32_t i = 0; i < e; ++i) {
        FACE3& t = g.exportTriangles[i];
        // Only the position index is used: it must name an export vertex.
        uint8_t k = 0;
        if (!r.U8(k)) return false;
        if (k > 4) return r.Fail();
        t.cornerCount = k;
        r.Bytes(t.corners, 16 * (size_t)k);
        r.I32(t.group);
        if (!r.Ok()) return false;
        for (int c = 0; c < k; ++c)
            if (t.corners[c][CORNER_POS] < 0 || t.corners[c][CORNER_POS] >= v) return r.Fail();
    }
    g.exportVertexCount = v;
    g.exportTriangleCount = e;
    g.exportDeformedPositions.assign((size_t)v, XYZ());
    g.exportDeformedNormals.assign((size_t)v, XYZ());
    return r.Ok();
}

bool ReadKeys(ByteReader& r, std::vector<KEY3>& keys)
{
    int32_t k = 0;
    r.I32(k);
    if (!CheckCount(r, k, INT32_MAX, 44)) return false;
    keys.resize((size_t)k);
    RecordReadIO io(r);
    for (KEY3& key : keys) {
        Key3_Default(&key);
        Key3_Io(io, key);
    }
    return r.Ok();
}

// Every bone gets one key list per motion; lists new to a bone hold one default key.
void FitBoneKeyLists(MODEL3& m)
{
    size_t n = m.motions.size();
    for (BONE3& b : m.bones) {
        size_t old = b.keys.size();
        b.keys.resize(n);
        for (size_t i = old; i < n; ++i) {
            b.keys[i].assign(1, KEY3());
            Key3_Default(&b.keys[i][0]);
        }
    }
}

bool Parse(MODEL3& m, ByteReader& r, int32_t layout, int32_t& exportsRead)
{
    exportsRead = 0;
    // The layout is the caller's: the version read is only kept.
    if (Record_CheckHeader(r, kQvpFormat, m.version) == RECORD_DAMAGED) return false;

    int32_t p = 0, n = 0, q = 0, u = 0;
    ReadAttribCount(r, layout, p);
    ReadAttribCount(r, layout, n);
    ReadAttribCount(r, layout, q);
    ReadAttribCount(r, layout, u);
    size_t weightBytes = layout >= 2008000 ? kWeightBytes : 12;
    if (!CheckCount(r, p, g_VertexLimit, 12 + weightBytes) || !CheckCount(r, n, g_VertexLimit, 12) ||
        !CheckCount(r, q, g_VertexLimit, 16) || !CheckCount(r, u, g_VertexLimit, 8))
        return false;
    m.positionCount = p;
    m.normalCount = n;
    m.colorCount = q;
    m.uvCount = u;
    m.positions.assign((size_t)p, XYZ());
    m.normals.assign((size_t)n, XYZ());
    m.colors.assign((size_t)q, RGBA());
    m.uvs.assign((size_t)u, UV2());
    m.weights.assign((size_t)p, WEIGHT3());
    ReadFloats(r, FloatsOf(m.positions), 3 * (size_t)p);
    ReadFloats(r, FloatsOf(m.normals), 3 * (size_t)n);
    ReadFloats(r, FloatsOf(m.colors), 4 * (size_t)q);
    ReadFloats(r, FloatsOf(m.uvs), 2 * (size_t)u);
    for (WEIGHT3& w : m.weights) ReadWeight(r, layout, w);

    int32_t f = 0;
    if (layout >= 2009000) {
        r.I32(f);
    } else {
        int16_t f16 = 0;
        r.I16(f16);
        f = f16;
    }
    if (!CheckCount(r, f, g_PolyLimit, layout >= 2006000 ? 5 : 9)) return false;
    m.faces.assign((size_t)f, FACE3());
    for (FACE3& face : m.faces)
        if (!ReadFace(r, layout, g_VertexLimit, face)) return false;
    m.faceCount = f;

    int16_t t = 0;
    r.I16(t);
    if (!CheckCount(r, t, kModel3Textures, 4)) return false;
    m.textures.resize(kModel3Textures);
    for (int i = 0; i < t; ++i) {
        TEXTURE3& tex = m.textures[i];
        r.I32(tex.used);
        // The folder is not in the file; the entry keeps its own.
        if (tex.used != 0) r.Str(tex.file, sizeof tex.file);
    }
    m.textureCount = t;
    if (layout >= 2006000) {
        r.I16(m.displacement);
        r.F32(m.displacementHeight);
        // The switch names the texture that displaces the model: such a model draws as kind 8.
        if (m.displacement > 0) Model3_SetRenderKind(&m, 8);
    }

    int32_t g = 0;
    r.I32(g);
    size_t groupBytes = 4 + (layout >= 2008000 ? kGroupFixed2008 : kGroupFixed2006) + (layout >= 2009000 ? 8 : 0);
    if (!CheckCount(r, g, kModel3Groups, groupBytes)) return false;
    m.groups.resize(kModel3Groups);
    for (int i = 0; i < g; ++i)
        if (!ReadGroup(r, layout, m.groups[i])) return false;
    m.groupCount = g;
    if (layout >= 2009000) exportsRead = g;

    r.I32(m.light);
    r.I32(m.vertexColorMode);
    r.I32(m.edge);
    r.F32(m.edgeWidth);
    if (layout >= 2006000) r.I16(m.subdivision);

    if (layout >= 2005000) {
        int32_t mc = 0;
        r.I32(mc);
        size_t motionBytes = 4 + 4 + 4 + (layout >= 2006000 ? 4 * (size_t)g : 0);
        if (!CheckCount(r, mc, kModel3MaxMotions, motionBytes)) return false;
        // A model always has a motion; the writer never stores none.
        if (mc < 1) return r.Fail();
        Motion3_ResizeList(m.motions, mc);
        for (MOTION3& mo : m.motions) {
            int32_t lead = 0;
            r.I32(lead);
            if (layout >= 2006000) {
                for (int i = 0; i < g; ++i) {
                    GROUP_TRACK3& track = mo.tracks[i];
                    int32_t k = 0;
                    r.I32(k);
                    if (!CheckCount(r, k, kModel3GroupKeys, 24)) return false;
                    RecordReadIO io(r);
                    for (int j = 0; j < k; ++j)
                        if (!GroupKey3_Io(io, track.keys[j])) return false;
                    track.keyCount = k;
                }
            }
            r.Str(mo.name, sizeof mo.name);
            r.I32(mo.length);
            if (!r.Ok()) return false;
        }
    }
    if (m.currentMotion < 0 || (size_t)m.currentMotion >= m.motions.size()) m.currentMotion = 0;
    FitBoneKeyLists(m);
    int32_t mcount = (int32_t)m.motions.size();

    int32_t b = 0;
    r.I32(b);
    size_t boneBytes = layout == 2004002 ? 4 : 4 + 4 + 40 + 4 * (size_t)mcount;
    if (!CheckCount(r, b, kModel3Bones, boneBytes)) return false;
    for (int i = 0; i < b; ++i) {
        BONE3& bone = m.bones[i];
        if (layout == 2004002) {
            int32_t k = 0;
            r.I32(k);
            if (!CheckCount(r, k, kMaxCountedKeys, 0)) return false;
            bone.keys[0].assign((size_t)k, KEY3());
            for (KEY3& key : bone.keys[0]) Key3_Default(&key);
            continue;
        }
        RecordReadIO io(r);
        if (!Bone3_Io(io, bone)) return false;
        for (int mi = 0; mi < mcount; ++mi)
            if (!ReadKeys(r, bone.keys[mi])) return false;
    }
    m.boneCount = b;

    if (layout >= 2008000) {
        for (int i = 0; i < g; ++i) {
            r.U8(m.groups[i].alphaTest);
            r.U16(m.groups[i].alphaRef);
        }
        for (MOTION3& mo : m.motions) {
            r.U8(mo.loop);
            r.I16(mo.next);
            if (r.Ok() && (mo.next < -1 || mo.next >= mcount)) return r.Fail();
        }
    }
    if (!r.Ok()) return false;
    // Motions the file did not carry may point past a shorter list.
    for (MOTION3& mo : m.motions)
        if (mo.next < -1 || mo.next >= mcount) mo.next = -1;
    return true;
}

void SwapExports(GROUP3& a, GROUP3& b)
{
    a.exportPositions.swap(b.exportPositions);
    a.exportNormals.swap(b.exportNormals);
    a.exportColors.swap(b.exportColors);
    a.exportUVs.swap(b.exportUVs);
    a.exportWeights.swap(b.exportWeights);
    a.exportTriangles.swap(b.exportTriangles);
    a.exportDeformedPositions.swap(b.exportDeformedPositions);
    a.exportDeformedNormals.swap(b.exportDeformedNormals);
}

// The arrays that grow with the mesh, held aside while a record is copied.
struct MESH_ARRAYS {
    std::vector<XYZ> positions, normals, deformedPositions, deformedNormals, secondSkinned;
    std::vector<RGBA> colors;
    std::vector<UV2> uvs;
    std::vector<WEIGHT3> weights;
    std::vector<FACE3> faces;
    std::vector<SECOND_POS3> secondPositions;
    std::vector<SECOND_TRI3> secondTriangles;
    std::vector<GROUP3> exports;   // only the export arrays are used

    void Swap(MODEL3& m)
    {
        positions.swap(m.positions);
        normals.swap(m.normals);
        colors.swap(m.colors);
        uvs.swap(m.uvs);
        weights.swap(m.weights);
        faces.swap(m.faces);
        deformedPositions.swap(m.deformedPositions);
        deformedNormals.swap(m.deformedNormals);
        secondPositions.swap(m.secondPositions);
        secondTriangles.swap(m.secondTriangles);
        secondSkinned.swap(m.secondSkinned);
        // Only groups that hold export arrays need a place aside.
        size_t n = m.groups.size();
        while (n > 0 && m.groups[n - 1].exportPositions.empty() && m.groups[n - 1].exportTriangles.empty() &&
               (exports.size() < n || (exports[n - 1].exportPositions.empty() && exports[n - 1].exportTriangles.empty())))
            --n;
        if (exports.size() < n) exports.resize(n);
        for (size_t i = 0; i < n; ++i) SwapExports(exports[i], m.groups[i]);
    }
};

// Takes the parsed copy; the lifecycle bytes stay those of the live record, which another thread
// may have changed while the copy was read (a release request, say).
void Commit(MODEL3* m, MODEL3& fresh)
{
    int32_t id = m->id;
    uint8_t inUse = m->inUse;
    uint8_t loaded = __atomic_load_n(&m->loaded, __ATOMIC_ACQUIRE);
    uint8_t visible = m->visible;
    uint8_t release = __atomic_load_n(&m->releaseRequest, __ATOMIC_ACQUIRE);
    *m = std::move(fresh);
    m->id = id;
    m->inUse = inUse;
    m->visible = visible;
    m->loaded = loaded;
    m->releaseRequest = release;
}

bool ReadFile(MODEL3* m, const char* path, int32_t layout)
{
    if (!m) return false;
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(path, bytes)) {
        Record_Report(kQvpFormat, RECORD_CANNOT_OPEN, path);
        return false;
    }
    return Qvp_ReadBytes(m, bytes.data(), bytes.size(), layout, path);
}

} // namespace

bool Qvp_Write(MODEL3* m, ByteWriter& w)
{
    if (!m) return false;
    Model3_BuildExports(m);
    m->version = kModel3Version;
    int32_t p = Clamp(m->positionCount, 0, m->positions.size());
    int32_t n = Clamp(m->normalCount, 0, m->normals.size());
    int32_t q = Clamp(m->colorCount, 0, m->colors.size());
    int32_t u = Clamp(m->uvCount, 0, m->uvs.size());
    int32_t f = Clamp(m->faceCount, 0, m->faces.size());
    int32_t t = Clamp(m->textureCount, 0, std::min<size_t>(kModel3Textures, m->textures.size()));
    int32_t g = Clamp(m->groupCount, 0, std::min<size_t>(kModel3Groups, m->groups.size()));
    int32_t mc = (int32_t)m->motions.size();
    int32_t b = Clamp(m->boneCount, 0, kModel3Bones);
    size_t estimate = 4096 + 19 * (size_t)p + 12 * (size_t)n + 16 * (size_t)q + 8 * (size_t)u + 69 * (size_t)f;
    for (int32_t i = 0; i < g; ++i)
        estimate += 400 + kExportVertexBytes * m->groups[i].exportPositions.size() + 53 * m->groups[i].exportTriangles.size();
    w.Data().reserve(w.Size() + estimate);

    RecordWriteIO io(w);
    // The writer IO only reads the fields it is handed.
    Record_WriteHeader(w, kQvpFormat);
    w.I32(p);
    w.I32(n);
    w.I32(q);
    w.I32(u);
    WriteFloats(w, FloatsOf(m->positions), 3 * (size_t)p);
    WriteFloats(w, FloatsOf(m->normals), 3 * (size_t)n);
    WriteFloats(w, FloatsOf(m->colors), 4 * (size_t)q);
    WriteFloats(w, FloatsOf(m->uvs), 2 * (size_t)u);
    WriteWeights(w, m->weights.data(), (size_t)p);
    w.I32(f);
    WriteFaces(w, m->faces.data(), (size_t)f);
    w.I16((int16_t)t);
    for (int32_t i = 0; i < t; ++i) {
        const TEXTURE3& tex = m->textures[i];
        w.I32(tex.used);
        // The reader takes a name for every entry in use, whatever the flag's value.
        if (tex.used != 0) w.Str(tex.file, sizeof tex.file);
    }
    w.I16(m->displacement);
    w.F32(m->displacementHeight);
    w.I32(g);
    for (int32_t i = 0; i < g; ++i) WriteGroup(w, m->groups[i]);
    w.I32(m->light);
    w.I32(m->vertexColorMode);
    w.I32(m->edge);
    w.F32(m->edgeWidth);
    w.I16(m->subdivision);
    w.I32(mc);
    for (const MOTION3& mo : m->motions) {
        w.I32(1);
        for (int32_t i = 0; i < g; ++i) {
            const GROUP_TRACK3& track = mo.tracks[i];
            int32_t k = Clamp(track.keyCount, 0, kModel3GroupKeys);
            w.I32(k);
            for (int32_t j = 0; j < k; ++j) GroupKey3_Io(io, const_cast<GROUP_KEY3&>(track.keys[j]));
        }
        w.Str(mo.name, sizeof mo.name);
        w.I32(mo.length);
    }
    w.I32(b);
    for (int32_t i = 0; i < b; ++i) {
        BONE3& bone = m->bones[i];
        Bone3_Io(io, bone);
        for (int32_t mi = 0; mi < mc; ++mi) {
            static const std::vector<KEY3> kNone;
            const std::vector<KEY3>& keys = (size_t)mi < bone.keys.size() ? bone.keys[mi] : kNone;
            w.I32((int32_t)keys.size());
            for (const KEY3& key : keys) Key3_Io(io, const_cast<KEY3&>(key));
        }
    }
    for (int32_t i = 0; i < g; ++i) {
        w.U8(m->groups[i].alphaTest);
        w.U16(m->groups[i].alphaRef);
    }
    for (const MOTION3& mo : m->motions) {
        w.U8(mo.loop);
        w.I16(mo.next);
    }
    return true;
}

bool Model3_SaveQvp(MODEL3* m, const char* path)
{
    if (!m) return false;
    ByteWriter w;
    Qvp_Write(m, w);
    return File_WriteAll(path, w);
}

bool Qvp_ReadBytes(MODEL3* m, const void* data, size_t size, int32_t layout, const char* path)
{
    if (!m) return false;
    // The copy to read into leaves out the mesh arrays: the file replaces most of them, and what it
    // does not carry is taken over from the record once the whole file has been read.
    MESH_ARRAYS aside;
    aside.Swap(*m);
    std::unique_ptr<MODEL3> fresh(new MODEL3(*m));
    aside.Swap(*m);

    ByteReader r(data, size);
    int32_t exportsRead = 0;
    if (!Parse(*fresh, r, layout, exportsRead)) {
        Record_Report(kQvpFormat, RECORD_DAMAGED, path);
        return false;
    }
    for (size_t i = (size_t)exportsRead; i < fresh->groups.size() && i < m->groups.size(); ++i)
        SwapExports(fresh->groups[i], m->groups[i]);
    fresh->secondPositions.swap(m->secondPositions);
    fresh->secondTriangles.swap(m->secondTriangles);
    fresh->secondSkinned.swap(m->secondSkinned);
    fresh->deformedPositions.swap(m->deformedPositions);
    fresh->deformedNormals.swap(m->deformedNormals);
    Model3_FitArrays(fresh.get());
    Commit(m, *fresh);
    return true;
}

bool Qvp_Read2004002(MODEL3* m, const char* path) { return ReadFile(m, path, 2004002); }
bool Qvp_Read2005000(MODEL3* m, const char* path) { return ReadFile(m, path, 2005000); }
bool Qvp_Read2006000(MODEL3* m, const char* path) { return ReadFile(m, path, 2006000); }
bool Qvp_Read2008000(MODEL3* m, const char* path) { return ReadFile(m, path, 2008000); }
bool Qvp_Read2009000(MODEL3* m, const char* path) { return ReadFile(m, path, 2009000); }

bool Qvp_Load(int32_t id, int32_t version, const char* path)
{
    MODEL3* m = Model3_GetById(id);
    const char* name = path ? path : "";
    RECORD_STATUS status = Record_CheckVersion(kQvpFormat, version);
    if (status == RECORD_TOO_OLD) {
        char text[800];
        Str_Format(text, sizeof text, "QVP 2004 以上に対応しています。\n\n%s", name);
        Lib_MessageBox(text);
        return false;
    }
    // A version between two supported ones was never written by a program this one reads: it gets
    // the message of an old one.
    if (!Record_Report(kQvpFormat, status, name)) return false;
    bool (*reader)(MODEL3*, const char*) = nullptr;
    switch (version) {
    case 2004002: reader = Qvp_Read2004002; break;
    case 2005000: reader = Qvp_Read2005000; break;
    case 2006000: reader = Qvp_Read2006000; break;
    case 2008000: reader = Qvp_Read2008000; break;
    default: reader = Qvp_Read2009000; break;
    }
    if (!m || !reader(m, path)) return false;

    m->id = id;
    Str_CopyN(m->file, sizeof m->file, name);
    m->fillMode = 2;
    Model3_CalcNormals(m);
    for (int i = 0; i < m->textureCount && i < kModel3Textures; ++i) {
        TEXTURE3& tex = m->textures[i];
        if (tex.used == 1) Str_Format(tex.path, sizeof tex.path, "%s\\%s", tex.folder, tex.file);
    }
    Model3_Notify(id, MODEL3_EVENT_MEDIA);
    m->autoNormals = 1;
    return true;
}
