#include "model/model_load.h"

#include <cstdio>
#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "model/loader.h"
#include "frame/log.h"
#include "frame/services.h"
#include "frame/path_join.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/model_table.h"
#include "model/qvp_file.h"
#include "model/skeleton.h"

using namespace QVL;

namespace {

// Readers by extension, in the order they are compared. The importers of other formats register
// themselves from above (Model3_SetImporter); until then such files finish as models with nothing read.
struct READER_ENTRY {
    const char* ext;
    MODEL3_IMPORTER import;
};
READER_ENTRY kReaders[] = {
    {"dxf", nullptr}, {"lwo", nullptr}, {"mqo", nullptr}, {"mx", nullptr},
    {"rok", nullptr}, {"x", nullptr},   {"qvp", nullptr},
};

bool SameNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = (char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = (char)(y - 'A' + 'a');
        if (x != y) return false;
        if (!x) return true;
    }
}

// The text after the last '.', or "" when the name has no '.' after its first character.
const char* ExtensionOf(const char* path)
{
    const char* dot = Str_FindLastChar(path, '.');
    return dot && dot != path ? dot + 1 : "";
}

// Magic (not compared) and version. False when the file does not open; `whole` is false for a file
// shorter than the header.
bool ReadHeader(const char* path, int32_t& version, bool& whole)
{
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    uint8_t head[7] = {};
    size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    ByteReader r(head, got);
    r.Skip(3);
    version = 0;
    whole = r.I32(version);
    return true;
}

void Widen(float* lo, float* hi, const XYZ& p)
{
    const float v[3] = {p.x, p.y, p.z};
    for (int k = 0; k < 3; ++k) {
        if (v[k] < lo[k]) lo[k] = v[k];
        if (v[k] > hi[k]) hi[k] = v[k];
    }
}

void StartBox(float* lo, float* hi)
{
    for (int k = 0; k < 3; ++k) {
        lo[k] = 99999.0f;
        hi[k] = -99999.0f;
    }
}

void FinishModel(MODEL3* m, int32_t id)
{
    Model3_Notify(id, MODEL3_EVENT_READ);

    StartBox(m->boundsMin, m->boundsMax);
    for (int32_t i = 0; i < m->positionCount && (size_t)i < m->positions.size(); ++i)
        Widen(m->boundsMin, m->boundsMax, m->positions[i]);
    const int32_t groups = m->groupCount < 0 ? 0 : (m->groupCount > kModel3Groups ? kModel3Groups : m->groupCount);
    for (int32_t g = 0; g < groups; ++g) StartBox(m->groups[g].minimum, m->groups[g].maximum);
    for (int32_t f = 0; f < m->faceCount && (size_t)f < m->faces.size(); ++f) {
        const FACE3& face = m->faces[f];
        if (face.group < 0 || face.group >= groups) continue;
        GROUP3& g = m->groups[face.group];
        for (int c = 0; c < face.cornerCount && c < 4; ++c)
            Widen(g.minimum, g.maximum, Model3_PositionAt(m, face.corners[c][CORNER_POS]));
    }
    for (int32_t g = 0; g < groups; ++g) {
        GROUP3& gr = m->groups[g];
        for (int k = 0; k < 3; ++k) gr.centre[k] = (gr.minimum[k] + gr.maximum[k]) * 0.5f;
    }

    if (g_StudioFlag) m->animated = 1;
    for (const GROUP3& g : m->groups) {
        if (g.normalMap && g.normalMapTexture > 0) {
            Model3_SetRenderKind(m, 6);
            break;
        }
    }
    Motion3_BuildRestMatrices(m, id);
    Model3_AutoWeights(m);
    // Last: drawing, posing and the waits take the model from here on.
    Model3_SetLoaded(m);
    // The time spent loading is not one long frame.
    Lib_ResetFrameTimer();
}

int32_t LoadInto(int32_t id, const char* path, bool ownsSlot)
{
    Log_DebugPrintf("Model3_Load id:%d %s", id, path);
    MODEL3* m = Model3_GetById(id);
    int32_t version = 0;
    bool whole = false;
    bool ok = m != nullptr;
    if (ok && !ReadHeader(path, version, whole)) {
        Log_Printf("%s を開くことができませんでした。", path);
        ok = false;
    }
    if (ok) {
        const char* ext = ExtensionOf(path);
        for (const READER_ENTRY& e : kReaders) {
            if (!SameNoCase(ext, e.ext)) continue;
            if (SameNoCase(e.ext, "qvp")) {
                if (!whole) {
                    File_ReportDamaged("QVP", path);
                    ok = false;
                } else {
                    ok = Qvp_Load(id, version, path);
                }
            } else if (e.import) {
                // The importer has said why a file did not read; the model stays as it was.
                ok = e.import(id, path) > 0;
            }
            break;
        }
    }
    if (!ok) {
        if (ownsSlot) Model3_Release(id);
        return -1;
    }
    FinishModel(m, id);
    return id;
}

} // namespace

bool Model3_SetImporter(const char* ext, MODEL3_IMPORTER import)
{
    for (READER_ENTRY& e : kReaders) {
        if (!SameNoCase(ext, e.ext) || SameNoCase(ext, "qvp")) continue;
        e.import = import;
        return true;
    }
    return false;
}

MODEL3_READER_KIND Model3_ReaderFor(const char* path)
{
    const char* ext = ExtensionOf(path ? path : "");
    for (const READER_ENTRY& e : kReaders) {
        if (!SameNoCase(ext, e.ext)) continue;
        return SameNoCase(e.ext, "qvp") || e.import ? MODEL3_READER_READY : MODEL3_READER_MISSING;
    }
    return MODEL3_READER_NONE;
}

int32_t Model3_Load(int32_t id, const char* path)
{
    // Before a slot is made, so a refused call leaves nothing behind.
    if (!path || !*path) {
        Lib_MessageBox("ファイル名が指定されていません。");
        return -1;
    }
    bool owns = id == -1;
    if (owns) id = Model3_Create();
    return LoadInto(id, path, owns);
}

int32_t Model3_LoadDirFile(int32_t id, const char* folder, const char* file)
{
    MODEL3* m = Model3_GetById(id);
    if (!m) return -1;
    Str_CopyN(m->folder, sizeof m->folder, folder ? folder : "");
    Str_CopyN(m->file, sizeof m->file, file ? file : "");
    Str_Format(m->path, sizeof m->path, QV_PATH_JOIN, m->folder, m->file);
    if (!file || !*file) {
        Lib_MessageBox("ファイル名が指定されていません。");
        Model3_Release(id);
        return -1;
    }
    char path[512];
    Str_CopyN(path, sizeof path, m->path);
    return LoadInto(id, path, true);
}

int32_t Model3_LoadQueued(const char* folder, const char* file)
{
    int32_t id = Model3_Create();
    if (!Thread_EnqueueLoad(id, folder, file)) {
        Model3_Release(id);
        return -1;
    }
    return id;
}

int32_t Model3_LoadWait(const char* file)
{
    char folder[256];
    if (!Svc_GetCurrentDirectory(folder, sizeof folder)) folder[0] = 0;
    int32_t id = Model3_LoadQueued(folder, file);
    Model3_WaitLoaded(id);
    return Model3_IsReadyById(id) ? id : -1;
}
