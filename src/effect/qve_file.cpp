// The QVE file: one effect with its pictures, parts and key frames (version 2009000).
#include <cstring>

#include "effect/effect.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
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

void WriteKey(ByteWriter& w, const EFFECT_KEY& k)
{
    w.I32(k.frame);
    w.I32(k.reserved);
    w.U8(k.shown);
    w.I32(k.blend);
    w.F32s(k.position, 3);
    w.F32s(k.reservedVec, 3);   // stored before the rotation
    w.F32s(k.rotation, 3);
    w.F32s(k.scale, 3);
    w.F32s(k.color, 4);
    w.I32(k.texture);
    w.I32(k.emitInterval);
    w.F32s(k.speed, 3);
    w.F32s(k.speedRange, 3);
    w.F32s(k.rotSpeed, 3);
    w.F32s(k.rotSpeedRange, 3);
    w.F32s(k.scaleSpeed, 3);
    w.F32s(k.scaleSpeedRange, 3);
    w.F32s(k.colorSpeed, 4);
    w.F32s(k.colorSpeedRange, 4);
}

bool ReadKey(ByteReader& r, EFFECT_KEY& k)
{
    r.I32(k.frame);
    r.I32(k.reserved);
    r.U8(k.shown);
    r.I32(k.blend);
    r.F32s(k.position, 3);
    r.F32s(k.reservedVec, 3);
    r.F32s(k.rotation, 3);
    r.F32s(k.scale, 3);
    r.F32s(k.color, 4);
    r.I32(k.texture);
    r.I32(k.emitInterval);
    r.F32s(k.speed, 3);
    r.F32s(k.speedRange, 3);
    r.F32s(k.rotSpeed, 3);
    r.F32s(k.rotSpeedRange, 3);
    r.F32s(k.scaleSpeed, 3);
    r.F32s(k.scaleSpeedRange, 3);
    r.F32s(k.colorSpeed, 4);
    return r.F32s(k.colorSpeedRange, 4);
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
    bool fits = Str_Copy(f, sizeof f, folder ? folder : "");
    fits = Str_Copy(n, sizeof n, file ? file : "") && fits;
    Str_Copy(e->folder, sizeof e->folder, f);
    Str_Copy(e->file, sizeof e->file, n);
    JoinPath(e->path, sizeof e->path, f, n);
    return fits;
}

} // namespace

void QVE_Write(const EFFECT& e, std::vector<uint8_t>& out)
{
    ByteWriter w;
    w.Bytes("QVE ", 4);
    w.I32(QVL::kEffectVersion);
    w.I32(e.frameCount);
    w.I32((int32_t)e.textures.size());
    for (const EFFECT_TEX& t : e.textures) {
        w.Str(t.folder, sizeof t.folder);
        w.Str(t.file, sizeof t.file);
    }
    w.I32((int32_t)e.parts.size());
    for (const EFFECT_PART& p : e.parts) {
        w.Str(p.name, sizeof p.name);
        w.I32(p.kind);
        w.Str(p.folder, sizeof p.folder);
        w.Str(p.file, sizeof p.file);
        int32_t n = p.keyCount < 1 ? 1 : (p.keyCount > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : p.keyCount);
        w.I32(n);
        for (int32_t k = 0; k < n; ++k) WriteKey(w, p.keys[k]);
        w.F32s(p.origin, 3);
    }
    out.swap(w.Data());
}

QVE_RESULT QVE_Parse(const uint8_t* data, size_t size, EFFECT& e)
{
    ByteReader r(data, size);
    char magic[4] = {};
    int32_t version = 0;
    if (!r.Bytes(magic, 4) || std::memcmp(magic, "QVE", 3) != 0) return QVE_BAD_MAGIC;
    if (!r.I32(version)) return QVE_DAMAGED;
    if (version < QVL::kEffectVersion) return QVE_TOO_OLD;
    if (version > QVL::kEffectVersion) return QVE_TOO_NEW;

    int32_t frameCount = 0, texCount = 0, partCount = 0;
    r.I32(frameCount);
    if (!r.Count(texCount, QVL::kEffectMaxTextures, 8)) return QVE_DAMAGED;
    std::vector<EFFECT_TEX> textures((size_t)texCount);
    for (EFFECT_TEX& t : textures) {
        t = EFFECT_TEX{};
        t.texture = -1;
        r.Str(t.folder, sizeof t.folder);
        if (!r.Str(t.file, sizeof t.file)) return QVE_DAMAGED;
    }
    if (!r.Count(partCount, QVL::kEffectMaxParts, kMinPartBytes)) return QVE_DAMAGED;
    std::vector<EFFECT_PART> parts((size_t)partCount);
    for (EFFECT_PART& p : parts) {
        Effect_InitPart(p);
        r.Str(p.name, sizeof p.name);
        r.I32(p.kind);
        r.Str(p.folder, sizeof p.folder);
        r.Str(p.file, sizeof p.file);
        int32_t keys = 0;
        if (!r.I32(keys) || keys < 1 || keys > QVL::kEffectMaxKeys) return QVE_DAMAGED;
        if ((size_t)keys * kKeyBytes + 12 > r.Left()) return QVE_DAMAGED;
        p.keyCount = keys;
        for (int32_t k = 0; k < keys; ++k) ReadKey(r, p.keys[k]);
        if (!r.F32s(p.origin, 3)) return QVE_DAMAGED;
    }
    if (!r.Ok()) return QVE_DAMAGED;

    // Only now does the record change: the texture table is replaced, parts are appended.
    e.version = version;
    e.frameCount = Effect_ClampFrameCount(frameCount);
    e.textures.swap(textures);
    for (EFFECT_PART& p : parts) e.parts.push_back(std::move(p));
    return QVE_OK;
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
        Log_Printf("%s を開くことができませんでした。", e->path);
        return -1;
    }
    size_t firstNew = e->parts.size();
    char text[1024];
    switch (QVE_Parse(bytes.data(), bytes.size(), *e)) {
    case QVE_OK:
        break;
    case QVE_BAD_MAGIC:
        Str_Format(text, sizeof text, "%s は、QVE形式ではありません。", e->path);
        Lib_MessageBox(text);
        return -1;
    case QVE_TOO_OLD:
        Str_Format(text, sizeof text, "QVE形式のバージョンが古いので\n読み込むことができません。\n\n%s", e->path);
        Lib_MessageBox(text);
        return -1;
    case QVE_TOO_NEW:
        Str_Format(text, sizeof text,
                   "QVE形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\n%s",
                   e->path);
        Lib_MessageBox(text);
        return -1;
    case QVE_DAMAGED:
        QVL::File_ReportDamaged("QVE", e->path);
        return -1;
    }

    // Pictures lie under the data folder; 2D objects beside the effect file.
    for (size_t i = 0; i < e->textures.size(); ++i) {
        EFFECT_TEX& t = e->textures[i];
        char path[1024];
        Str_Format(path, sizeof path, "%s\\%s\\%s", g_Lib.dataFolder, t.folder, t.file);
        t.texture = Tex_Load(path);
    }
    char folderArg[256];
    Str_Copy(folderArg, sizeof folderArg, folder ? folder : "");
    for (size_t i = firstNew; i < e->parts.size(); ++i) {
        // Obj2_Load may not touch g_EffectData, but take the part afresh after each call anyway.
        EFFECT_PART& p = e->parts[i];
        if (p.kind != QVL::EFFECT_PART_OBJ2) continue;
        char objFolder[512];
        JoinPath(objFolder, sizeof objFolder, folderArg, p.folder);
        char partFile[256];
        Str_Copy(partFile, sizeof partFile, p.file);
        int32_t obj = Obj2_Load(objFolder, partFile);
        e = Effect_GetData(id);
        e->parts[i].object = obj;
        if (QVL::OBJ2* o = Obj2_GetById(obj)) o->visible = 0;
    }
    Lib_ResetFrameTimer();
    return id;
}
