#include "frame/record_io.h"

#include <cstring>

#include "frame/log.h"
#include "frame/services.h"
#include "frame/text.h"

namespace QVL {

RECORD_STATUS Record_CheckVersion(const RECORD_FORMAT& f, int32_t version)
{
    if (f.versionCount == 0 || version < f.versions[0]) return RECORD_TOO_OLD;
    if (version > f.versions[f.versionCount - 1]) return RECORD_TOO_NEW;
    for (size_t i = 0; i < f.versionCount; ++i)
        if (f.versions[i] == version) return RECORD_OK;
    return RECORD_UNKNOWN_VERSION;
}

RECORD_STATUS Record_CheckHeader(ByteReader& r, const RECORD_FORMAT& f, int32_t& version)
{
    version = 0;
    char magic[16] = {};
    if (f.magicBytes > sizeof magic || !r.Bytes(magic, f.magicBytes))
        return f.compareBytes ? RECORD_NOT_FORMAT : RECORD_DAMAGED;
    if (f.compareBytes && std::memcmp(magic, f.magic, f.compareBytes) != 0) return RECORD_NOT_FORMAT;
    if (!r.I32(version)) return RECORD_DAMAGED;
    return Record_CheckVersion(f, version);
}

void Record_WriteHeader(ByteWriter& w, const RECORD_FORMAT& f)
{
    w.Bytes(f.magic, f.magicBytes);
    w.I32(f.written);
}

RECORD_RESULT Record_Result(const RECORD_FORMAT& f, RECORD_STATUS status, const char* path, int32_t version)
{
    RECORD_RESULT res;
    res.status = status;
    res.version = version;
    const char* p = path ? path : "";
    char text[1024] = {};
    switch (status) {
    case RECORD_OK:
        return res;
    case RECORD_CANNOT_OPEN:
        Str_Format(text, sizeof text, "%s を開くことができませんでした。", p);
        res.show = RECORD_SHOW_LOG;
        break;
    case RECORD_NOT_FORMAT:
        Str_Format(text, sizeof text, "%s は、%s形式ではありません。", p, f.name);
        res.show = RECORD_SHOW_BOX;
        break;
    case RECORD_TOO_OLD:
    case RECORD_UNKNOWN_VERSION:
        Str_Format(text, sizeof text, "%s形式のバージョンが古いので\n読み込むことができません。\n\n%s", f.name, p);
        res.show = RECORD_SHOW_BOX;
        break;
    case RECORD_TOO_NEW:
        Str_Format(text, sizeof text,
                   "%s形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\n%s",
                   f.name, p);
        res.show = RECORD_SHOW_BOX;
        break;
    case RECORD_DAMAGED:
        File_FormatDamaged(text, sizeof text, f.name, p);
        res.show = RECORD_SHOW_BOX;
        break;
    }
    res.message = text;
    return res;
}

void Record_Report(const RECORD_RESULT& res)
{
    if (res.show == RECORD_SHOW_BOX) Lib_MessageBox(res.message.c_str());
    else if (res.show == RECORD_SHOW_LOG) Log_Printf("%s", res.message.c_str());
}

bool Record_Report(const RECORD_FORMAT& f, RECORD_STATUS status, const char* path)
{
    Record_Report(Record_Result(f, status, path));
    return status == RECORD_OK;
}

} // namespace QVL
