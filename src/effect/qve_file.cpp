// The QVE file: one effect with its pictures, parts and key frames (version 2009000).
#include <cstring>

#include "effect/effect.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/obj2.h"

using QVL::ByteReader;
using QVL::ByteWriter;
using QVL::EFFECT;
using QVL::EFFECT_KEY;
using QVL::EFFECT_PART;
using QVL::EFFECT_TEX;

namespace {

constexpr size_t kKeyBytes = 189;
// A part entry holds at least three empty strings, kind, key count, one key and the origin.
constexpr size_t kMinPartBytes = 4 + 4 + 4 + 4 + 4 + kKeyBytes + 12;

const int32_t kQveVersions[] = {QVL::kEffectVersion};
const QVL::RECORD_FORMAT kQve = {"QVE", "QVE ", 4, 3, kQveVersions, 1, QVL::kEffectVersion};

// One field list for both directions of a key, 189 bytes.
template <class IO>
bool EffectKey_Io(IO& io, EFFECT_KEY& k)
{
    io.I32(k.frame);
    io.I32(k.reserved);
    io.U8(k.shown);
    io.I32(k.blend);
    io.F32s(k.position, 3);
    io.F32s(k.reservedVec, 3);   // stored before the rotation
    io.F32s(k.rotation, 3);
    io.F32s(k.scale, 3);
    io.F32s(k.color, 4);
    io.I32(k.texture);
    io.I32(k.emitInterval);
    io.F32s(k.speed, 3);
    io.F32s(k.speedRange, 3);
    io.F32s(k.rotSpeed, 3);
    io.F32s(k.rotSpeedRange, 3);
    io.F32s(k.scaleSpeed, 3);
    io.F32s(k.scaleSpeedRange, 3);
    io.F32s(k.colorSpeed, 4);
    return io.F32s(k.colorSpeedRange, 4);
}

template <class IO>
bool EffectTex_Io(IO& io, EFFECT_TEX& t)
{
    io.Str(t.folder, sizeof t.folder);
    return io.Str(t.file, sizeof t.file);
}

// A part: names, kind, at least one key (the writer stores one even for a part that has none, and
// never more than the record holds), the origin.
template <class IO>
bool EffectPart_Io(IO& io, EFFECT_PART& p)
{
    io.Str(p.name, sizeof p.name);
    io.I32(p.kind);
    io.Str(p.folder, sizeof p.folder);
    io.Str(p.file, sizeof p.file);
    int32_t n = p.keyCount < 1 ? 1 : (p.keyCount > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : p.keyCount);
    if (!io.I32(n)) return false;
    if constexpr (IO::kReading) {
        if (n < 1 || n > QVL::kEffectMaxKeys) return io.Fail();
        if ((size_t)n * kKeyBytes + 12 > io.r.Left()) return io.Fail();
        p.keyCount = n;
    }
    for (int32_t k = 0; k < n; ++k) EffectKey_Io(io, p.keys[k]);
    return io.F32s(p.origin, 3);
}

void JoinPath(char* dst, size_t cap, const char* a, const char* b)
{
    Str_Format(dst, cap, "%s\\%s", a, b);
}

// Stores folder, file and their joined path in the record (the arguments may be its own fields);
// false when a name does not fit its field, so that a cut path never names another file.
bool SetNames(EFFECT* e, const char* folder, const char* file)
{
    char f[256], n[256];
    bool fits = Str_CopyN(f, sizeof f, folder ? folder : "");
    fits = Str_CopyN(n, sizeof n, file ? file : "") && fits;
    Str_CopyN(e->folder, sizeof e->folder, f);
    Str_CopyN(e->file, sizeof e->file, n);
    JoinPath(e->path, sizeof e->path, f, n);
    return fits;
}

} // namespace

void QVE_Write(const EFFECT& e, std::vector<uint8_t>& out)
{
    ByteWriter w;
    QVL::RecordWriteIO io(w);
    QVL::Record_WriteHeader(w, kQve);
    w.I32(e.frameCount);
    w.I32((int32_t)e.textures.size());
    // The writer IO only reads the fields it is handed.
    for (const EFFECT_TEX& t : e.textures) EffectTex_Io(io, const_cast<EFFECT_TEX&>(t));
    w.I32((int32_t)e.parts.size());
    for (const EFFECT_PART& p : e.parts) EffectPart_Io(io, const_cast<EFFECT_PART&>(p));
    out.swap(w.Data());
}

QVL::RECORD_STATUS QVE_Parse(const uint8_t* data, size_t size, EFFECT& e)
{
    ByteReader r(data, size);
    QVL::RecordReadIO io(r);
    int32_t version = 0;
    QVL::RECORD_STATUS head = QVL::Record_CheckHeader(r, kQve, version);
    if (head != QVL::RECORD_OK) return head;

    int32_t frameCount = 0, texCount = 0, partCount = 0;
    r.I32(frameCount);
    if (!r.Count(texCount, QVL::kEffectMaxTextures, 8)) return QVL::RECORD_DAMAGED;
    std::vector<EFFECT_TEX> textures((size_t)texCount);
    for (EFFECT_TEX& t : textures) {
        t = EFFECT_TEX{};
        t.texture = -1;
        if (!EffectTex_Io(io, t)) return QVL::RECORD_DAMAGED;
    }
    if (!r.Count(partCount, QVL::kEffectMaxParts, kMinPartBytes)) return QVL::RECORD_DAMAGED;
    std::vector<EFFECT_PART> parts((size_t)partCount);
    for (EFFECT_PART& p : parts) {
        Effect_InitPart(p);
        if (!EffectPart_Io(io, p)) return QVL::RECORD_DAMAGED;
    }
    if (!r.Ok()) return QVL::RECORD_DAMAGED;

    // Only now does the record change: the texture table is replaced, parts are appended.
    e.version = version;
    e.frameCount = Effect_ClampFrameCount(frameCount);
    e.textures.swap(textures);
    for (EFFECT_PART& p : parts) e.parts.push_back(std::move(p));
    return QVL::RECORD_OK;
}

bool Effect_Save(EFFECT* e, const char* folder, const char* file)
{
    if (!e) return false;
    bool fits = SetNames(e, folder, file);
    e->version = QVL::kEffectVersion;
    std::vector<uint8_t> bytes;
    QVE_Write(*e, bytes);
    if (!fits || !QVL::File_WriteAll(e->path, bytes.data(), bytes.size())) {
        QVL::File_ReportWriteFailed(e->path);
        return false;
    }
    return true;
}

int32_t QVE_Load(int32_t id, const char* folder, const char* file)
{
    EFFECT* e = Effect_GetData(id);
    if (!e) return -1;
    bool fits = SetNames(e, folder, file);

    std::vector<uint8_t> bytes;
    if (!fits || !QVL::File_ReadAll(e->path, bytes)) {
        QVL::Record_Report(kQve, QVL::RECORD_CANNOT_OPEN, e->path);
        return -1;
    }
    size_t firstNew = e->parts.size();
    if (!QVL::Record_Report(kQve, QVE_Parse(bytes.data(), bytes.size(), *e), e->path)) return -1;

    // Pictures lie under the data folder; 2D objects beside the effect file.
    for (size_t i = 0; i < e->textures.size(); ++i) {
        EFFECT_TEX& t = e->textures[i];
        char path[1024];
        Str_Format(path, sizeof path, "%s\\%s\\%s", g_Lib.dataFolder, t.folder, t.file);
        t.texture = Tex_Load(path);
    }
    char folderArg[256];
    Str_CopyN(folderArg, sizeof folderArg, folder ? folder : "");
    for (size_t i = firstNew; i < e->parts.size(); ++i) {
        // Obj2_Load may not touch g_EffectData, but take the part afresh after each call anyway.
        EFFECT_PART& p = e->parts[i];
        if (p.kind != QVL::EFFECT_PART_OBJ2) continue;
        char objFolder[512];
        JoinPath(objFolder, sizeof objFolder, folderArg, p.folder);
        char partFile[256];
        Str_CopyN(partFile, sizeof partFile, p.file);
        int32_t obj = Obj2_Load(objFolder, partFile);
        e = Effect_GetData(id);
        e->parts[i].object = obj;
        if (QVL::OBJ2* o = Obj2_GetById(obj)) o->visible = 0;
    }
    Lib_ResetFrameTimer();
    return id;
}
