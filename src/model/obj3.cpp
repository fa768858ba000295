// 3D object rows: records, part models, the QVO file and the pose of every part.
#include "model/obj3.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/qvp_file.h"

using namespace QVL;

OBJ3* g_Obj3Table[kObj3Rows] = {};
int32_t g_Obj3Flags[kObj3Rows][kObj3Parts] = {};
MODEL3* g_Obj3PartModels[kObj3Rows][kObj3Parts] = {};
OBJ3_POSE* g_Obj3Poses[kObj3Rows] = {};

namespace {

bool ValidRow(int32_t row) { return row >= 0 && row < kObj3Rows; }
bool ValidPart(int32_t p) { return p >= 0 && p < kObj3Parts; }

void DefaultKey(OBJ3_KEY& k)
{
    std::memset(&k, 0, sizeof k);
    k.rotation[3] = 1.0f;
    k.scale[0] = k.scale[1] = k.scale[2] = 1.0f;
}

// The record's share of Obj3_InitPart.
void InitRecordPart(OBJ3& o, int32_t p)
{
    OBJ3_PART& part = o.parts[p];
    OBJ3_KEY key;
    DefaultKey(key);
    part.keys.assign((size_t)kObj3Motions * kObj3Keys, key);
    o.pivots[p][0] = o.pivots[p][1] = o.pivots[p][2] = 0.0f;
    if (p > 0) Str_CopyN(part.file, sizeof part.file, "新規.QVP");
    if (p == 0) {
        o.version = kObj3Version;
        Str_CopyN(part.file, sizeof part.file, "新規.QVO");
        for (int k = 0; k < 3; ++k) {
            o.position[k] = 0.0f;
            o.rotation[k] = 0.0f;
            o.scale[k] = 1.0f;
        }
        for (int32_t m = 0; m < kObj3Motions; ++m) {
            OBJ3_MOTION& mo = o.motions[m];
            mo.used = m == 0 ? 1 : 0;
            Str_CopyN(mo.name, sizeof mo.name, m == 0 ? "モーション名" : "");
            mo.length = 60;
            mo.keyCount = 1;
        }
        o.motionCount = 1;
        o.soundCount = 1;
        Str_CopyN(o.soundNames[0], sizeof o.soundNames[0], "なし");
    }
    o.motionCapacity = kObj3Motions;
}

int32_t KeyCount(const OBJ3& o, int32_t m)
{
    return std::max(0, std::min<int32_t>(o.motions[m].keyCount, kObj3Keys));
}

// A part's QVP read into a new model; an empty model (and false) when its version is not read.
MODEL3* ReadPartModel(const char* path, bool* ok)
{
    std::vector<uint8_t> bytes;
    int32_t version = 0;
    if (path && File_ReadAll(path, bytes) && bytes.size() >= 7) std::memcpy(&version, &bytes[3], 4);
    MODEL3* m = Model3_Alloc();
    *ok = false;
    switch (Record_CheckVersion(kQvpFormat, version)) {
    case RECORD_OK:
        // A damaged part file has its own message and leaves the model empty.
        *ok = Qvp_ReadBytes(m, bytes.data(), bytes.size(), version, path);
        break;
    case RECORD_TOO_NEW:
        Record_Report(kQvpFormat, RECORD_TOO_NEW, path);
        break;
    default:
        if (version <= 2003029) {
            Record_Report(kQvpFormat, RECORD_TOO_OLD, path);
        } else if (version == 2004000 || version == 2004001) {
            char text[1024];
            Str_Format(text, sizeof text, "%s ( Ver %2.3f )\nこのバージョンは、開発中のバージョンのため\n対応していません。",
                       path ? path : "", (double)version * 0.001);
            Lib_MessageBox(text);
        } else {
            // Every other version up to the newest reads as an empty part, as it always did.
            *ok = true;
        }
        break;
    }
    if (*ok) m->gpuRebuild = 1;
    return m;
}

void PutPartModel(int32_t row, int32_t p, MODEL3* m)
{
    // The model replaced is freed, not forgotten.
    if (g_Obj3PartModels[row][p]) Model3_Free(g_Obj3PartModels[row][p]);
    g_Obj3PartModels[row][p] = m;
}

} // namespace

OBJ3_KEY* Obj3_Key(OBJ3* o, int32_t part, int32_t motion, int32_t key)
{
    if (!o || !ValidPart(part) || motion < 0 || motion >= kObj3Motions || key < 0 || key >= kObj3Keys) return nullptr;
    std::vector<OBJ3_KEY>& keys = o->parts[part].keys;
    const size_t i = (size_t)motion * kObj3Keys + (size_t)key;
    return i < keys.size() ? &keys[i] : nullptr;
}

OBJ3* Obj3_NewRecord()
{
    OBJ3* o = new OBJ3();
    for (int32_t p = kObj3Parts - 1; p >= 0; --p) InitRecordPart(*o, p);
    return o;
}

void Obj3_FreeRecord(OBJ3* o) { delete o; }

void Obj3_InitPart(int32_t row, int32_t p)
{
    if (!ValidRow(row) || !ValidPart(p)) return;
    if (!g_Obj3Table[row]) g_Obj3Table[row] = new OBJ3();
    InitRecordPart(*g_Obj3Table[row], p);
    PutPartModel(row, p, Model3_Alloc());
    delete g_Obj3Poses[row];
    g_Obj3Poses[row] = new OBJ3_POSE();
}

void Obj3_ReleaseAll()
{
    for (int32_t row = 0; row < kObj3Rows; ++row) {
        for (int32_t p = 0; p < kObj3Parts; ++p) PutPartModel(row, p, nullptr);
        delete g_Obj3Table[row];
        g_Obj3Table[row] = nullptr;
        delete g_Obj3Poses[row];
        g_Obj3Poses[row] = nullptr;
        std::memset(g_Obj3Flags[row], 0, sizeof g_Obj3Flags[row]);
    }
}

// ---- the file ----

namespace {

const int32_t kQvoVersions[] = {kObj3Version};
// The magic is not compared: files of this format were always read by their version alone.
const RECORD_FORMAT kQvo = {"QVO", "QVO", 3, 0, kQvoVersions, 1, kObj3Version};

// The field lists of both directions.
template <class IO>
bool Obj3Key_Io(IO& io, OBJ3_KEY& key)
{
    io.F32s(key.position, 3);
    io.F32s(key.rotation, 4);
    return io.F32s(key.scale, 3);
}

// A motion entry: the used flag, and only for a motion in use its name, length and key frames.
template <class IO>
bool Obj3Motion_Io(IO& io, OBJ3_MOTION& mo)
{
    if (!io.I32(mo.used)) return false;
    if (mo.used != 1) return true;
    int32_t k = std::max(0, std::min<int32_t>(mo.keyCount, kObj3Keys));
    io.Str(mo.name, sizeof mo.name);
    io.I32(mo.length);
    if (!io.Count(k, kObj3Keys, 4) || !io.I32s(mo.keyFrames, (size_t)k)) return false;
    if constexpr (IO::kReading) mo.keyCount = k;
    return true;
}

// Part p's entry: its loaded flag, and only for a loaded part pivot, file, parent, reserved and its
// keys for every motion.
template <class IO>
bool Obj3Part_Io(IO& io, OBJ3& o, int32_t p, int32_t& flag, int32_t motions)
{
    if (!io.I32(flag)) return false;
    if (flag != 1) return true;
    OBJ3_PART& part = o.parts[p];
    io.F32s(o.pivots[p], 3);
    io.Str(part.file, sizeof part.file);
    io.I32(part.parent);
    if (!io.I32(part.reserved)) return false;
    if constexpr (IO::kReading)
        if (!ValidPart(part.parent)) return io.Fail();
    for (int32_t m = 0; m < motions; ++m)
        for (int32_t k = 0; k < KeyCount(o, m); ++k)
            if (!Obj3Key_Io(io, *Obj3_Key(&o, p, m, k))) return false;
    return true;
}

} // namespace

void Qvo_Write(OBJ3& o, const int32_t flags[kObj3Parts], std::vector<uint8_t>& out)
{
    o.version = kObj3Version;
    ByteWriter w;
    RecordWriteIO io(w);
    Record_WriteHeader(w, kQvo);
    const int32_t motions = std::max(0, std::min<int32_t>(o.motionCount, kObj3Motions));
    w.I32(motions);
    for (int32_t m = 0; m < motions; ++m) Obj3Motion_Io(io, o.motions[m]);
    const int32_t parts = std::max(0, std::min<int32_t>(o.partCount, kObj3Parts));
    w.I32(parts);
    for (int32_t p = 1; p < parts; ++p) {
        int32_t flag = flags[p];
        Obj3Part_Io(io, o, p, flag, motions);
    }
    out = w.Data();
}

RECORD_STATUS Qvo_Parse(const uint8_t* data, size_t size, OBJ3& o, int32_t flags[kObj3Parts])
{
    ByteReader r(data, size);
    RecordReadIO io(r);
    int32_t version = 0;
    RECORD_STATUS head = Record_CheckHeader(r, kQvo, version);
    if (head != RECORD_OK) return head;
    o.version = version;
    int32_t motions = 0;
    if (!r.Count(motions, kObj3Motions, 4)) return RECORD_DAMAGED;
    for (int32_t m = 0; m < motions; ++m)
        if (!Obj3Motion_Io(io, o.motions[m])) return RECORD_DAMAGED;
    o.motionCount = motions;
    int32_t parts = 0;
    // Part 0 is not stored: P - 1 part flags follow.
    if (!r.Count(parts, kObj3Parts, 0) || (parts > 1 && r.Left() < (size_t)(parts - 1) * 4)) return RECORD_DAMAGED;
    o.partCount = parts;
    for (int32_t p = 1; p < parts; ++p)
        if (!Obj3Part_Io(io, o, p, flags[p], motions)) return RECORD_DAMAGED;
    return RECORD_OK;
}

bool Obj3_Save(int32_t row, const char* path)
{
    // The save command can be given where no object exists (the effect editor, for one).
    if (!ValidRow(row) || !g_Obj3Table[row] || !path || !path[0]) return false;
    std::vector<uint8_t> bytes;
    Qvo_Write(*g_Obj3Table[row], g_Obj3Flags[row], bytes);
    if (!File_WriteAll(path, bytes.data(), bytes.size())) {
        File_ReportWriteFailed(path);
        return false;
    }
    return true;
}

bool Obj3_Load(int32_t row, const char* path)
{
    if (!ValidRow(row)) return false;
    if (!path || !path[0]) {
        Lib_MessageBox("ファイル名が指定されていません。");
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(path, bytes)) return Record_Report(kQvo, RECORD_CANNOT_OPEN, path);
    std::unique_ptr<OBJ3> fresh(Obj3_NewRecord());
    int32_t flags[kObj3Parts] = {};
    if (!Record_Report(kQvo, Qvo_Parse(bytes.data(), bytes.size(), *fresh, flags), path)) return false;
    // The file held together: the row is replaced by what it says.
    for (int32_t p = 0; p < kObj3Parts; ++p) PutPartModel(row, p, Model3_Alloc());
    delete g_Obj3Table[row];
    g_Obj3Table[row] = fresh.release();
    delete g_Obj3Poses[row];
    g_Obj3Poses[row] = new OBJ3_POSE();
    std::memcpy(g_Obj3Flags[row], flags, sizeof flags);
    g_Obj3Flags[row][0] = 0;
    OBJ3* o = g_Obj3Table[row];
    const int32_t parts = o->partCount;
    for (int32_t p = 1; p < parts; ++p) {
        if (g_Obj3Flags[row][p] != 1) continue;
        char file[256];
        Str_CopyN(file, sizeof file, o->parts[p].file);
        g_Obj3Flags[row][p] = 0;
        Obj3_LoadPartModel(row, p, file);
    }
    o->partCount = std::max(o->partCount, parts);
    Str_CopyN(o->parts[0].file, sizeof o->parts[0].file, path);
    if (Model3_GetById(row)) {
        const int32_t sounds = std::max(0, std::min<int32_t>(o->soundCount, kObj3Sounds));
        for (int32_t i = 1; i < sounds; ++i) Wave_LoadModelSound(row, i, o->soundNames[i]);
    }
    g_Obj3Flags[row][0] = 1;
    return true;
}

bool Obj3_LoadPartModel(int32_t row, int32_t p, const char* path)
{
    if (!ValidRow(row) || !ValidPart(p) || !g_Obj3Table[row]) return false;
    char name[256];
    Str_CopyN(name, sizeof name, path ? path : "");
    OBJ3* o = g_Obj3Table[row];
    o->partCount = std::max(o->partCount, p + 1);
    bool ok = false;
    PutPartModel(row, p, ReadPartModel(name, &ok));
    if (!ok) {
        g_Obj3Flags[row][p] = 0;
        return false;
    }
    Str_CopyN(o->parts[p].file, sizeof o->parts[p].file, name);
    g_Obj3Flags[row][p] = 1;
    Lib_ResetFrameTimer();
    return true;
}

bool Obj3_CopyPart(OBJ3* o, int32_t src, int32_t dst)
{
    if (!o || !ValidPart(src) || !ValidPart(dst)) return false;
    // The object editor works on row 0.
    if (o == g_Obj3Table[0]) {
        char file[256];
        Str_CopyN(file, sizeof file, o->parts[src].file);
        Obj3_LoadPartModel(0, dst, file);
    }
    std::memcpy(o->pivots[dst], o->pivots[src], sizeof o->pivots[dst]);
    o->parts[dst].keys = o->parts[src].keys;
    return true;
}

bool Obj3_DeletePart(OBJ3* o, int32_t p)
{
    if (!o) return false;
    const int32_t parts = std::min<int32_t>(o->partCount, kObj3Parts);
    if (p < 0 || p >= parts) return false;
    for (int32_t r = p; r <= parts - 2; ++r) Obj3_CopyPart(o, r + 1, r);
    if (o->partCount > 1) o->partCount -= 1;
    return true;
}

// ---- animation ----

void Obj3_UpdateKeyIndex(int32_t row)
{
    if (!ValidRow(row) || g_Obj3Flags[row][0] != 1) return;
    OBJ3* o = g_Obj3Table[row];
    if (!o || o->partCount <= 0 || o->motion < 0 || o->motion >= kObj3Motions) return;
    const OBJ3_MOTION& mo = o->motions[o->motion];
    Motion3_SearchKeys(mo.keyFrames, 1, KeyCount(*o, o->motion), mo.length, o->frame, &o->keyIndex,
                       &o->keyFraction);
}

void Obj3_GetPartPosition(VEC3* out, int32_t row, int32_t part)
{
    if (ValidRow(row) && ValidPart(part) && g_Obj3Poses[row])
        Math_TransformPoint(out, 0, 0, 0, g_Obj3Poses[row]->pose[part]);
    else *out = VEC3{0, 0, 0};
}

void Obj3_GetPartRestPosition(VEC3* out, int32_t row, int32_t part)
{
    if (ValidRow(row) && ValidPart(part) && g_Obj3Poses[row])
        Math_TransformPoint(out, 0, 0, 0, g_Obj3Poses[row]->rest[part]);
    else *out = VEC3{0, 0, 0};
}

void Obj3_InterpolatePart(int32_t row, int32_t part, int32_t i, float t)
{
    if (!ValidRow(row) || !ValidPart(part) || !g_Obj3Table[row]) return;
    OBJ3* o = g_Obj3Table[row];
    OBJ3_PART& pt = o->parts[part];
    const int32_t k = o->motion >= 0 && o->motion < kObj3Motions ? KeyCount(*o, o->motion) : 0;
    if (k == 0) {
        pt.joint[0] = pt.joint[1] = pt.joint[2] = 0.0f;
        pt.rotation[0] = pt.rotation[1] = pt.rotation[2] = 0.0f;
        pt.rotation[3] = 1.0f;
        pt.scale[0] = pt.scale[1] = pt.scale[2] = 1.0f;
        return;
    }
    i = std::max(0, std::min(i, k - 1));
    int32_t prev = i - 1 < 0 ? k - 1 : i - 1;
    int32_t next = i + 1 >= k ? 0 : i + 1;
    int32_t next2 = next + 1 >= k ? 0 : next + 1;
    const OBJ3_KEY* k0 = Obj3_Key(o, part, o->motion, prev);
    const OBJ3_KEY* k1 = Obj3_Key(o, part, o->motion, i);
    const OBJ3_KEY* k2 = Obj3_Key(o, part, o->motion, next);
    const OBJ3_KEY* k3 = Obj3_Key(o, part, o->motion, next2);
    if (!k0 || !k1 || !k2 || !k3) return;
    for (int c = 0; c < 3; ++c)
        pt.position[c] = Anim_CatmullRom(k0->position[c], k1->position[c], k2->position[c], k3->position[c], t);
    QUAT q;
    float* qc[4] = {&q.x, &q.y, &q.z, &q.w};
    for (int c = 0; c < 4; ++c)
        *qc[c] = Anim_CatmullRom(k0->rotation[c], k1->rotation[c], k2->rotation[c], k3->rotation[c], t);
    Math_QuatNormalize(&q);
    pt.rotation[0] = q.x;
    pt.rotation[1] = q.y;
    pt.rotation[2] = q.z;
    pt.rotation[3] = q.w;
    for (int c = 0; c < 3; ++c)
        pt.scale[c] = Anim_CatmullRom(k0->scale[c], k1->scale[c], k2->scale[c], k3->scale[c], t);
    const int32_t p = pt.parent;
    if (part == 0 || !ValidPart(p) || p == part) {
        // No parent to hang on: the joint is the part's own position, never a running sum.
        for (int c = 0; c < 3; ++c) pt.joint[c] = pt.position[c];
        return;
    }
    const OBJ3_PART& up = o->parts[p];
    VEC3 own, from, d;
    Obj3_GetPartRestPosition(&own, row, part);
    Obj3_GetPartRestPosition(&from, row, p);
    MATRIX rot;
    Math_QuatToMatrix(&rot, QUAT{up.rotation[0], up.rotation[1], up.rotation[2], up.rotation[3]});
    Math_TransformPoint(&d, own.x - from.x, own.y - from.y, own.z - from.z, rot);
    pt.joint[0] = up.joint[0] + d.x + pt.position[0];
    pt.joint[1] = up.joint[1] + d.y + pt.position[1];
    pt.joint[2] = up.joint[2] + d.z + pt.position[2];
}

namespace {

// Each loaded part's matrix times its parent's, parents in ascending order.
void ChainParts(int32_t row, MATRIX (&mats)[kObj3Parts])
{
    const OBJ3* o = g_Obj3Table[row];
    for (int32_t i = 0; i < kObj3Parts - 1; ++i)
        for (int32_t j = 1; j < kObj3Parts; ++j)
            if (j != i && g_Obj3Flags[row][j] == 1 && o->parts[j].parent == i)
                Math_MatrixMultiply(&mats[j], mats[j], mats[i]);
}

} // namespace

void Obj3_UpdatePoses()
{
    for (int32_t row = 0; row < kObj3Rows; ++row) {
        OBJ3* o = g_Obj3Table[row];
        OBJ3_POSE* pose = g_Obj3Poses[row];
        if (g_Obj3Flags[row][0] != 1 || !o || !pose || o->partCount <= 0) continue;
        for (int32_t p = 0; p < kObj3Parts; ++p) {
            Obj3_InterpolatePart(row, p, o->keyIndex, o->keyFraction);
            const float* v = o->pivots[p];
            if (p == 0) Math_MatrixIdentity(&pose->rest[p]);
            else Math_MatrixCompose(&pose->rest[p], v[0], v[1], v[2], 0, 0, 0, 1, 1, 1, 1);
        }
        ChainParts(row, pose->rest);
        Obj3_UpdateKeyIndex(row);
        for (int32_t p = 0; p < kObj3Parts; ++p) {
            Obj3_InterpolatePart(row, p, o->keyIndex, o->keyFraction);
            const OBJ3_PART& pt = o->parts[p];
            if (p == 0) {
                Math_MatrixIdentity(&pose->pose[p]);
                Math_MatrixIdentity(&pose->rotation[p]);
                continue;
            }
            Math_MatrixCompose(&pose->pose[p], pt.joint[0], pt.joint[1], pt.joint[2], pt.rotation[0], pt.rotation[1],
                               pt.rotation[2], pt.rotation[3], pt.scale[0], pt.scale[1], pt.scale[2]);
            Math_MatrixCompose(&pose->rotation[p], 0, 0, 0, pt.rotation[0], pt.rotation[1], pt.rotation[2],
                               pt.rotation[3], 1, 1, 1);
        }
        ChainParts(row, pose->rotation);
    }
}
