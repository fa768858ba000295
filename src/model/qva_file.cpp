// The QVA file: a 2D object with its images, pivots, motions, parts and key frames. Written as
// version 2004050; read as 2003000, 2004000 and 2004050.
#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/obj2.h"

using QVL::ByteReader;
using QVL::ByteWriter;
using QVL::OBJ2;
using QVL::OBJ2_KEY;
using QVL::OBJ2_MOTION;

namespace {

constexpr int32_t kVersion2003 = 2003000;
constexpr int32_t kVersion2004 = 2004000;
constexpr size_t kKeyBytes = 48;
// Keys a file may give one key list (the writer's own files hold a handful).
constexpr int32_t kMaxKeysPerList = 4096;

// The pivot blocks of the file are written as if the pivot arrays ran on into the fields that follow
// them in the record: pivot x, pivot y, part count, parents, first children, next siblings, reserved
// and the part names as int32s. This gives each value of such a block, so that written files keep the
// bytes they always had. Index 0 is pivot x entry 0.
int32_t PivotRunValue(const OBJ2& rec, size_t v)
{
    const size_t n = QVL::kObj2MaxParts + 1;
    if (v < 32) return rec.pivotX[v];
    v -= 32;
    if (v < 32) return rec.pivotY[v];
    v -= 32;
    if (v == 0) return rec.partCount;
    v -= 1;
    const int32_t* arrays[4] = {rec.parents, rec.firstChild, rec.nextSibling, rec.reserved};
    for (const int32_t* a : arrays) {
        if (v < n) return a[v];
        v -= n;
    }
    const uint8_t* names = reinterpret_cast<const uint8_t*>(rec.partNames);
    if ((v + 1) * 4 <= sizeof rec.partNames) {
        const uint8_t* b = names + v * 4;
        return (int32_t)((uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24);
    }
    return 0;
}

const int32_t kQvaVersions[] = {kVersion2003, kVersion2004, QVL::kObj2Version};
const QVL::RECORD_FORMAT kQva = {"QVA", "QVA", 3, 3, kQvaVersions, 3, QVL::kObj2Version};

// One field list for both directions of a key, 48 bytes.
template <class IO>
bool Obj2Key_Io(IO& io, OBJ2_KEY& k)
{
    io.I32(k.frame);
    io.I32(k.shown);
    io.F32(k.x);
    io.F32(k.y);
    io.F32(k.rotation);
    io.F32(k.scaleX);
    io.F32(k.scaleY);
    io.I32(k.image);
    io.I32(k.r);
    io.I32(k.g);
    io.I32(k.b);
    return io.I32(k.a);
}

// A motion entry of 2004000 and later: a leading int32 (written as 1, not read), name and length.
template <class IO>
bool Obj2Motion_Io(IO& io, OBJ2_MOTION& m)
{
    int32_t lead = 1;
    io.I32(lead);
    io.Str(m.name, sizeof m.name);
    return io.I32(m.length);
}

// n name bytes of a length already read and checked.
void ReadName(ByteReader& r, char* dst, int32_t n)
{
    r.Bytes(dst, (size_t)n);
    dst[n] = 0;
}

// Gives the record as many motions as the file holds; new ones take the defaults.
void SizeMotions(OBJ2& rec, size_t count)
{
    OBJ2_MOTION m{};
    Str_CopyN(m.name, sizeof m.name, "モーション名");
    m.length = 60;
    m.loop = 1;
    m.next = -1;
    rec.motions.resize(count, m);
}

// The keys of one part for one motion; parts without key lists (8 and up) read and drop theirs.
bool ReadKeyList(ByteReader& r, OBJ2& rec, int32_t part, size_t motion)
{
    int32_t n = 0;
    if (!r.Count(n, kMaxKeysPerList, kKeyBytes)) return false;
    std::vector<OBJ2_KEY>* keys = nullptr;
    if (part < QVL::kObj2KeyedParts && motion < rec.parts[part].keyLists.size())
        keys = &rec.parts[part].keyLists[motion].keys;
    if (!keys) return r.Skip((size_t)n * kKeyBytes);
    keys->assign((size_t)n, OBJ2_KEY{});
    QVL::RecordReadIO io(r);
    for (OBJ2_KEY& k : *keys) Obj2Key_Io(io, k);
    return r.Ok();
}

QVL::RECORD_STATUS Read2004(ByteReader& r, OBJ2& rec, int32_t version)
{
    int32_t images = 0;
    if (!r.Count(images, QVL::kObj2MaxImages, 4)) return QVL::RECORD_DAMAGED;
    rec.imageCount = images;
    for (int32_t k = 0; k < images; ++k) {
        // Each name is followed by as many pivot x and pivot y values as it has bytes; only the values
        // that land in the pivot arrays are kept.
        int32_t n = 0;
        if (!r.I32(n) || n < 0 || n >= 256 || (size_t)n * 9 > r.Left()) return QVL::RECORD_DAMAGED;
        ReadName(r, rec.imageNames[k], n);
        for (int32_t i = 0; i < n; ++i) {
            int32_t v = 0;
            r.I32(v);
            if (k + i < QVL::kObj2MaxImages) rec.pivotX[k + i] = v;
        }
        for (int32_t i = 0; i < n; ++i) {
            int32_t v = 0;
            r.I32(v);
            if (k + i < QVL::kObj2MaxImages) rec.pivotY[k + i] = v;
        }
    }
    int32_t motions = 0;
    if (!r.Count(motions, QVL::kObj2MaxMotions, 12)) return QVL::RECORD_DAMAGED;
    SizeMotions(rec, (size_t)motions);
    QVL::RecordReadIO io(r);
    for (OBJ2_MOTION& m : rec.motions)
        if (!Obj2Motion_Io(io, m)) return QVL::RECORD_DAMAGED;
    int32_t parts = 0;
    if (!r.I32(parts) || parts < 0 || parts > QVL::kObj2MaxParts) return QVL::RECORD_DAMAGED;
    rec.partCount = parts;
    for (int32_t i = 1; i < parts; ++i) {
        int32_t lead = 0;
        if (!r.I32(lead)) return QVL::RECORD_DAMAGED;
        if (version == QVL::kObj2Version) {
            if (lead != 1) continue;   // an entry without a part
            if (!r.Str(rec.partNames[i], sizeof rec.partNames[i])) return QVL::RECORD_DAMAGED;
        }
        int32_t parent = 0;
        if (!r.I32(parent) || parent < 0 || parent >= QVL::kObj2MaxParts) return QVL::RECORD_DAMAGED;
        rec.parents[i] = parent;
        for (size_t m = 0; m < rec.motions.size(); ++m)
            if (!ReadKeyList(r, rec, i, m)) return QVL::RECORD_DAMAGED;
    }
    return r.Ok() ? QVL::RECORD_OK : QVL::RECORD_DAMAGED;
}

QVL::RECORD_STATUS Read2003(ByteReader& r, OBJ2& rec)
{
    // Entry 0 is a placeholder; entry k names image k - 1.
    int32_t entries = 0;
    if (!r.Count(entries, QVL::kObj2MaxImages + 1, 4)) return QVL::RECORD_DAMAGED;
    for (int32_t k = 0; k < entries; ++k) {
        int32_t n = 0;
        if (!r.I32(n) || n < 0 || n >= 256 || (size_t)n > r.Left()) return QVL::RECORD_DAMAGED;
        if (k == 0) r.Skip((size_t)n);
        else ReadName(r, rec.imageNames[k - 1], n);
    }
    rec.imageCount = entries > 0 ? entries - 1 : 0;
    SizeMotions(rec, 1);
    Str_CopyN(rec.motions[0].name, sizeof rec.motions[0].name, "モーション名");
    int32_t keys = 0;
    r.I32(rec.motions[0].length);
    if (!r.Count(keys, kMaxKeysPerList, 8)) return QVL::RECORD_DAMAGED;
    std::vector<OBJ2_KEY>& list = rec.parts[1].keyLists[0].keys;
    list.assign((size_t)keys, OBJ2_KEY{});
    for (OBJ2_KEY& k : list) {
        k.shown = 1;
        k.scaleX = k.scaleY = 1.0f;
        k.r = k.g = k.b = k.a = 255;
        r.I32(k.frame);
        r.I32(k.image);
        if (k.image > 0) k.image -= 1;
    }
    rec.partCount = 2;
    rec.parents[1] = 0;
    return r.Ok() ? QVL::RECORD_OK : QVL::RECORD_DAMAGED;
}

} // namespace

void Qva_Write(const OBJ2& rec, std::vector<uint8_t>& out)
{
    ByteWriter w;
    QVL::Record_WriteHeader(w, kQva);
    int32_t images = rec.imageCount < 0 ? 0 : (rec.imageCount > QVL::kObj2MaxImages ? QVL::kObj2MaxImages : rec.imageCount);
    w.I32(images);
    for (int32_t k = 0; k < images; ++k) {
        size_t n = strnlen(rec.imageNames[k], 255);
        w.I32((int32_t)n);
        w.Bytes(rec.imageNames[k], n);
        for (size_t i = 0; i < n; ++i) w.I32(PivotRunValue(rec, (size_t)k + i));
        for (size_t i = 0; i < n; ++i) w.I32(PivotRunValue(rec, 32 + (size_t)k + i));
    }
    w.I32((int32_t)rec.motions.size());
    QVL::RecordWriteIO io(w);
    // The writer IO only reads the fields it is handed.
    for (const OBJ2_MOTION& m : rec.motions) Obj2Motion_Io(io, const_cast<OBJ2_MOTION&>(m));
    int32_t parts = rec.partCount < 0 ? 0 : (rec.partCount > QVL::kObj2MaxParts ? QVL::kObj2MaxParts : rec.partCount);
    w.I32(parts);
    for (int32_t i = 1; i < parts; ++i) {
        w.I32(1);
        w.Str(rec.partNames[i], sizeof rec.partNames[i]);
        w.I32(rec.parents[i]);
        for (size_t m = 0; m < rec.motions.size(); ++m) {
            const std::vector<QVL::OBJ2_KEY_LIST>& lists = rec.parts[i].keyLists;
            if (m >= lists.size()) {
                w.I32(0);
                continue;
            }
            w.I32((int32_t)lists[m].keys.size());
            for (const OBJ2_KEY& k : lists[m].keys) Obj2Key_Io(io, const_cast<OBJ2_KEY&>(k));
        }
    }
    out.swap(w.Data());
}

QVL::RECORD_STATUS Qva_Parse(const uint8_t* data, size_t size, OBJ2& rec)
{
    ByteReader r(data, size);
    int32_t version = 0;
    QVL::RECORD_STATUS head = QVL::Record_CheckHeader(r, kQva, version);
    if (head != QVL::RECORD_OK) return head;
    rec.version = version;
    return version == kVersion2003 ? Read2003(r, rec) : Read2004(r, rec, version);
}

int32_t Obj2_Load(const char* folder, const char* file)
{
    int32_t id = Obj2_Create();
    OBJ2* rec = Obj2_GetById(id);
    char path[1024];
    Str_Format(path, sizeof path, "%s\\%s", folder ? folder : "", file ? file : "");
    // A folder or name cut to its field would name another file: such a path is not opened.
    bool fits = Str_CopyN(rec->folder, sizeof rec->folder, folder ? folder : "");
    fits = Str_CopyN(rec->file, sizeof rec->file, file ? file : "") && fits;
    fits = Str_CopyN(rec->path, sizeof rec->path, path) && fits;
    Log_DebugPrintf("Obj2_Load id:%d %s", id, path);

    std::vector<uint8_t> bytes;
    if (!fits || !QVL::File_ReadAll(path, bytes)) {
        QVL::Record_Report(kQva, QVL::RECORD_CANNOT_OPEN, path);
        return -1;
    }
    // Parsed into a fresh record: a damaged file leaves the default object of the attempt as it was.
    std::unique_ptr<OBJ2> fresh = Obj2_NewRecord();
    if (!QVL::Record_Report(kQva, Qva_Parse(bytes.data(), bytes.size(), *fresh), path)) return -1;
    fresh->id = id;
    Str_CopyN(fresh->folder, sizeof fresh->folder, rec->folder);
    Str_CopyN(fresh->file, sizeof fresh->file, rec->file);
    Str_CopyN(fresh->path, sizeof fresh->path, rec->path);
    g_Obj2Table[(size_t)id] = std::move(fresh);
    rec = Obj2_GetById(id);

    for (int32_t i = 0; i < rec->imageCount; ++i) {
        // The image name becomes the joined path (Obj2_LoadImage copies it there), which is what a
        // later save writes. A name that already starts with the folder came from such a save: it
        // is taken as it is, or the reopened object would look for its pictures in folder\folder.
        char imagePath[1024];
        size_t folderLen = strlen(rec->folder);
        const char* name = rec->imageNames[i];
        if (folderLen > 0 && strncmp(name, rec->folder, folderLen) == 0 && name[folderLen] == '\\')
            Str_CopyN(imagePath, sizeof imagePath, name);
        else
            Str_Format(imagePath, sizeof imagePath, "%s\\%s", rec->folder, name);
        Obj2_LoadImage(id, i, imagePath);
    }
    if (rec->version <= kVersion2004)
        for (int32_t i = 0; i < rec->imageCount; ++i) Obj2_CenterImagePivot(id, i);
    Lib_ResetFrameTimer();
    return id;
}

bool Obj2_Save(OBJ2* rec, const char* path)
{
    if (!rec) return false;
    rec->version = QVL::kObj2Version;
    std::vector<uint8_t> bytes;
    Qva_Write(*rec, bytes);
    if (!QVL::File_WriteAll(path, bytes.data(), bytes.size())) {
        QVL::File_ReportWriteFailed(path);
        return false;
    }
    return true;
}
