#include "scene/coli.h"

#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/model3.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/scene_object.h"

using namespace QVL;

namespace QVL {
namespace {
const int32_t kColiVersions[] = {kColiOldVersion, kColiVersion};
} // namespace
const RECORD_FORMAT kColiFormat = {"QVC", "QVC", 3, 0, kColiVersions, 2, kColiVersion};
} // namespace QVL

COLI* g_Coli = nullptr;

void Coli_Defaults(COLI& c)
{
    std::memset(&c, 0, sizeof c);
    c.version = kColiVersion;
    Str_CopyN(c.fileName, sizeof c.fileName, "新規.QVC");
    for (COLI_BOX& b : c.boxes) b.size = 5.0f;
    for (COLI_CIRCLE& k : c.circles) k.size = 5.0f;
    c.backgroundModelId = -1;
    c.modelId = -1;
    c.backgroundObjectId = -1;
    for (int32_t& f : c.lastFace) f = -1;
    const float area[6] = {-32.0f, 0.0f, -32.0f, 32.0f, 32.0f, 32.0f};
    std::memcpy(c.area, area, sizeof area);
}

void Coli_Free()
{
    delete g_Coli;
    g_Coli = nullptr;
}

void Coli_Reset()
{
    std::unique_ptr<COLI> fresh(new COLI);
    Coli_Defaults(*fresh);
    Coli_Free();
    g_Coli = fresh.release();
}

COLI* Coli_Get()
{
    if (!g_Coli) Coli_Reset();
    return g_Coli;
}

namespace {

int32_t ClampCount(int32_t n, int32_t max) { return n < 0 ? 0 : (n > max ? max : n); }

void WriteBoxes(ByteWriter& w, const COLI& c)
{
    const int32_t n = ClampCount(c.boxCount, kColiWalls);
    w.I32(n);
    for (int32_t i = 0; i < n; ++i) {
        const COLI_BOX& b = c.boxes[i];
        w.I32(b.used);
        w.F32(b.x);
        w.F32(b.y);
        w.F32(b.z);
        w.F32(b.angle);
        w.F32(b.size);
    }
}

void WriteModels(ByteWriter& w, const COLI& c)
{
    w.Str(c.modelFile, sizeof c.modelFile);
    w.I32(kColiSlots);
    for (int32_t i = 0; i < kColiSlots; ++i) {
        w.I32(c.slotFlags[i]);
        if (c.slotFlags[i] == 1) w.Str(c.slotFiles[i], sizeof c.slotFiles[i]);
    }
}

bool ReadBoxes(ByteReader& r, COLI& c)
{
    int32_t n = 0;
    if (!r.Count(n, kColiWalls, 24)) return false;
    for (int32_t i = 0; i < n; ++i) {
        COLI_BOX& b = c.boxes[i];
        r.I32(b.used);
        r.F32(b.x);
        r.F32(b.y);
        r.F32(b.z);
        r.F32(b.angle);
        r.F32(b.size);
    }
    c.boxCount = n;
    return r.Ok();
}

bool ReadCircles(ByteReader& r, COLI& c)
{
    int32_t n = 0;
    if (!r.Count(n, kColiWalls, 20)) return false;
    for (int32_t i = 0; i < n; ++i) {
        COLI_CIRCLE& k = c.circles[i];
        r.I32(k.used);
        r.F32(k.x);
        r.F32(k.y);
        r.F32(k.z);
        r.F32(k.size);
    }
    c.circleCount = n;
    return r.Ok();
}

bool ReadModels(ByteReader& r, COLI& c)
{
    if (!r.Str(c.modelFile, sizeof c.modelFile)) return false;
    int32_t n = 0;
    if (!r.Count(n, kColiSlots, 4)) return false;
    for (int32_t i = 0; i < n; ++i) {
        if (!r.I32(c.slotFlags[i])) return false;
        if (c.slotFlags[i] == 1 && !r.Str(c.slotFiles[i], sizeof c.slotFiles[i])) return false;
    }
    return r.Ok();
}

} // namespace

void Coli_Write(const COLI& c, std::vector<uint8_t>& out)
{
    ByteWriter w;
    w.Bytes("QVC", 3);
    w.I32(c.version);
    w.F32s(c.area, 6);
    WriteBoxes(w, c);
    const int32_t n = ClampCount(c.circleCount, kColiWalls);
    w.I32(n);
    for (int32_t i = 0; i < n; ++i) {
        const COLI_CIRCLE& k = c.circles[i];
        w.I32(k.used);
        w.F32(k.x);
        w.F32(k.y);
        w.F32(k.z);
        w.F32(k.size);
    }
    WriteModels(w, c);
    out.swap(w.Data());
}

RECORD_STATUS Coli_Read2002000(const uint8_t* data, size_t size, COLI& c)
{
    ByteReader r(data, size);
    r.Skip(3);
    r.I32(c.version);
    if (!ReadBoxes(r, c) || !ReadModels(r, c)) return RECORD_DAMAGED;
    return RECORD_OK;
}

RECORD_STATUS Coli_Read2002010(const uint8_t* data, size_t size, COLI& c)
{
    ByteReader r(data, size);
    r.Skip(3);
    r.I32(c.version);
    r.F32s(c.area, 6);
    if (!ReadBoxes(r, c) || !ReadCircles(r, c) || !ReadModels(r, c)) return RECORD_DAMAGED;
    return RECORD_OK;
}

RECORD_STATUS Coli_Parse(const uint8_t* data, size_t size, COLI& c)
{
    ByteReader r(data, size);
    int32_t version = 0;
    RECORD_STATUS head = Record_CheckHeader(r, kColiFormat, version);
    if (head != RECORD_OK) return head;
    return version == kColiOldVersion ? Coli_Read2002000(data, size, c) : Coli_Read2002010(data, size, c);
}

bool Coli_Save(const char* path)
{
    COLI* c = Coli_Get();
    if (!path || !path[0]) return false;
    c->version = kColiVersion;
    std::vector<uint8_t> bytes;
    Coli_Write(*c, bytes);
    return File_WriteAll(path, bytes.data(), bytes.size());
}

bool Coli_Load(const char* path)
{
    std::vector<uint8_t> bytes;
    if (!path || !File_ReadAll(path, bytes)) {
        Log_Printf("%s を開くことができませんでした。", path ? path : "");
        return false;
    }
    // Parsed into a fresh record: a refused file leaves the open collision set untouched.
    std::unique_ptr<COLI> fresh(new COLI);
    Coli_Defaults(*fresh);
    if (!Record_Report(kColiFormat, Coli_Parse(bytes.data(), bytes.size(), *fresh), path)) return false;
    Coli_Free();
    g_Coli = fresh.release();
    COLI& c = *g_Coli;
    Str_CopyN(c.fileName, sizeof c.fileName, path);
    if (c.modelFile[0]) c.modelId = Model3_LoadWait(c.modelFile);
    if (c.slotFlags[0] == 1) {
        c.backgroundModelId = Model3_LoadWait(c.slotFiles[0]);
        if (MODEL3* m = Model3_GetById(c.backgroundModelId)) {
            Model3_SetRenderKind(m, 3);
            c.backgroundObjectId = ObjectCreate();
            if (OBJECT* o = Object_GetById(c.backgroundObjectId)) {
                o->modelId = c.backgroundModelId;
                o->collisionEnabled = 0;
            }
        }
    }
    c.active = 1;
    Lib_ResetFrameTimer();
    return true;
}
