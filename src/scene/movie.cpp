// The movie document, its tracks and the QVV file.
#include "scene/movie.h"

#include <cstring>
#include <new>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/model2.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/scene_object.h"

using namespace QVL;

MOVIE_PLAY g_MovieData;

namespace {
const int32_t kQvvVersions[] = {kMovieVersion2004050, kMovieVersion2006000, kMovieVersion};
} // namespace

const RECORD_FORMAT kQvvFormat = {"QVV", "QVV", 3, 3, kQvvVersions, 3, kMovieVersion};

// --- Tracks and the document ---

MOVIE_TRACK* Movie_CreatePlainTrack(int32_t index)
{
    if (index < 0 || index >= kMovieMaxTracks) return nullptr;
    MOVIE_PLAY& m = g_MovieData;
    if (m.tracks[index]) return m.tracks[index];
    MOVIE_TRACK* t = new (std::nothrow) MOVIE_TRACK();
    m.tracks[index] = t;
    return t;
}

MOVIE_TRACK* Movie_CreateTrack(int32_t index)
{
    if (index < 0 || index >= kMovieMaxTracks) return nullptr;
    if (g_MovieData.tracks[index]) return g_MovieData.tracks[index];
    MOVIE_TRACK* t = Movie_CreatePlainTrack(index);
    if (!t) return nullptr;
    t->objectId = ObjectCreate();
    t->modelId = Model3_Create();
    if (OBJECT* o = Object_GetById(t->objectId)) o->modelId = t->modelId;
    t->ownsObject = 1;
    return t;
}

void Movie_ResetKeys(MOVIE_TRACK* t)
{
    if (!t) return;
    t->keyCount = 1;
    MOVIE_KEY& k = t->keys[0];
    k.frame = 0;
    k.visible = 1;
    for (float& v : k.position) v = 0.0f;
    k.quaternion[0] = k.quaternion[1] = k.quaternion[2] = 0.0f;
    k.quaternion[3] = 1.0f;
    for (float& v : k.scale) v = 1.0f;
    for (float& v : k.colour) v = 255.0f;
}

void Movie_ClearTracks()
{
    MOVIE_PLAY& m = g_MovieData;
    m.loaded = 0;
    g_MoviePlayState = 0;
    for (int32_t i = 0; i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t) continue;
        // Only what the movie made goes: other scene objects and models belong to their editors.
        if (t->ownsObject) {
            if (t->modelId >= 0) Model3_Release(t->modelId);
            Object_Delete(t->objectId);
        }
        delete t;
        m.tracks[i] = nullptr;
    }
    m.trackCount = 0;
}

void Movie_New()
{
    MOVIE_PLAY& m = g_MovieData;
    m.loaded = 0;
    Movie_ClearTracks();
    m.version = kMovieVersion;
    Str_CopyN(m.folder, sizeof m.folder, g_Lib.dataFolder);
    Str_CopyN(m.curFile, sizeof m.curFile, "新規.QVV");
    m.frame = 0;
    m.fraction = 0.0f;
    m.length = 180;
    m.loopStart = 0;
    m.endFrame = 180;
    m.trackCount = 2;
    MOVIE_TRACK* scene = Movie_CreateTrack(0);
    MOVIE_TRACK* camera = Movie_CreateTrack(1);
    if (scene) scene->kind = MOVIE_SCENE;
    if (camera) camera->kind = MOVIE_CAMERA;
    for (MOVIE_TRACK* t : {scene, camera}) {
        if (!t) continue;
        t->moveMode = t->rotateMode = t->scaleMode = 1;
        t->keyCount = 1;
        t->keys[0].frame = 0;
        t->keys[0].visible = 1;
        t->folder[0] = t->file[0] = t->motionFile[0] = 0;
    }
    if (camera) {
        const float eye[3] = {0.0f, 15.0f, -128.0f}, target[3] = {0.0f, 10.0f, -5.0f};
        std::memcpy(camera->keys[0].position, eye, sizeof eye);
        std::memcpy(camera->keys[0].target, target, sizeof target);
    }
    if (scene)
        for (float& v : scene->keys[0].colour) v = 255.0f;
    m.bgmOn = 0;
    m.bgmText[0] = m.bgmFile[0] = 0;
    m.soundCount = 0;
    for (int i = 0; i < kMovieSlots; ++i) m.soundFolders[i][0] = m.soundFiles[i][0] = 0;
    m.messageCount = 0;
    for (int i = 0; i < kMovieSlots; ++i) m.messages[i][0] = 0;
    m.nextOn = 0;
    m.nextFile[0] = 0;
    if (m.followNext == 1) Str_CopyN(m.nextFile, sizeof m.nextFile, m.followNextFile);
    Movie_BuildMotionFrames();
}

// --- The QVV layout ---

namespace {

bool KindHasResources(int32_t kind) { return kind >= MOVIE_PICTURE && kind <= MOVIE_QVP; }

// One key block. The writer always writes the newest layout.
template <class IO>
bool Key_Io(IO& io, MOVIE_KEY& k, int32_t kind, int32_t version)
{
    io.I32(k.frame);
    if (version == kMovieVersion) io.U8(k.visible);
    else if (IO::kReading) k.visible = 1;
    io.I32(k.resource);
    if (KindHasResources(kind)) {
        io.F32s(k.position, 3);
        io.F32s(k.rotation, 3);
        if (version != kMovieVersion2004050) io.F32s(k.quaternion, 4);
        io.F32s(k.scale, 3);
        io.F32s(k.colour, 4);
    } else if (kind == MOVIE_CAMERA) {
        io.F32s(k.position, 3);
        io.F32s(k.target, 3);
    } else if (kind == MOVIE_SCENE) {
        io.F32s(k.colour, 4);
    }
    return io.Ok();
}

template <class IO>
bool Track_Io(IO& io, MOVIE_TRACK& t, int32_t version)
{
    io.Str(t.name, sizeof t.name);
    io.I32(t.keyCount);
    io.I32(t.kind);
    io.I32(t.moveMode);
    io.I32(t.rotateMode);
    io.I32(t.scaleMode);
    if (!io.Ok()) return false;
    // Every track has key 0; the key array holds 16.
    if (t.keyCount < 1 || t.keyCount > kMovieMaxKeys) return io.Fail();
    if (t.kind < 0 || t.kind >= MOVIE_KIND_COUNT) return io.Fail();
    for (int32_t k = 0; k < t.keyCount; ++k)
        if (!Key_Io(io, t.keys[k], t.kind, version)) return false;
    return io.Ok();
}

template <class IO>
bool Resource_Io(IO& io, MOVIE_TRACK& t)
{
    io.Str(t.folder, sizeof t.folder);
    io.Str(t.file, sizeof t.file);
    io.Str(t.motionFile, sizeof t.motionFile);
    io.I32(t.shadowMode);
    return io.Ok();
}

} // namespace

MOVIE_FILE::~MOVIE_FILE()
{
    for (MOVIE_TRACK* t : tracks) delete t;
}

bool Movie_Parse(ByteReader& r, int32_t version, MOVIE_FILE& out)
{
    RecordReadIO io(r);
    out.version = version;
    int32_t length = 0;
    if (!r.I32(length)) return false;
    if (version == kMovieVersion2004050) {
        length = length < 1 ? 1 : length > 180 ? 180 : length;
    } else {
        if (length < 1) length = 1;
        if (length > kMovieMaxFrames) return r.Fail();
    }
    out.length = length;
    int32_t count = 0;
    // A track takes at least its name count, five int32s and one key of frame and resource.
    if (!r.Count(count, kMovieMaxTracks, 4 + 20 + 8)) return false;
    for (int32_t i = 0; i < count; ++i) {
        MOVIE_TRACK* t = new (std::nothrow) MOVIE_TRACK();
        if (!t) return r.Fail();
        out.tracks.push_back(t);
        if (!Track_Io(io, *t, version)) return false;
        // A QVB track drives the 2D model slot of its own index, and there are 32.
        if (t->kind == MOVIE_QVB && i >= kMovieModel2Tracks) return r.Fail();
        if (version == kMovieVersion2004050)
            for (MOVIE_KEY& k : t->keys) k.quaternion[3] = 1.0f;
    }
    for (MOVIE_TRACK* t : out.tracks)
        if (KindHasResources(t->kind) && !Resource_Io(io, *t)) return false;
    if (!r.I32(out.bgmOn)) return false;
    if (out.bgmOn == 1) {
        r.Str(out.bgmText, sizeof out.bgmText);
        r.Str(out.bgmFile, sizeof out.bgmFile);
    }
    if (!r.Count(out.soundCount, kMovieSlots, 0)) return false;
    for (int32_t i = 1; i < out.soundCount; ++i) {
        r.Str(out.soundFolders[i], 256);
        r.Str(out.soundFiles[i], 256);
    }
    if (!r.Count(out.messageCount, kMovieSlots, 0)) return false;
    for (int32_t i = 1; i < out.messageCount; ++i) r.Str(out.messages[i], 256);
    r.I32(out.nextOn);
    r.Str(out.nextFile, sizeof out.nextFile);
    if (!r.Ok()) return false;
    // An optional closing block of names and shadow modes, read over what came before.
    if (!r.AtEnd()) {
        for (MOVIE_TRACK* t : out.tracks) {
            r.Str(t->name, sizeof t->name);
            r.I32(t->shadowMode);
        }
    }
    return r.Ok();
}

bool Movie_Read2004050(ByteReader& r, MOVIE_FILE& out) { return Movie_Parse(r, kMovieVersion2004050, out); }
bool Movie_Read2006000(ByteReader& r, MOVIE_FILE& out) { return Movie_Parse(r, kMovieVersion2006000, out); }
bool Movie_Read2006060(ByteReader& r, MOVIE_FILE& out) { return Movie_Parse(r, kMovieVersion, out); }

namespace {

RECORD_RESULT MovieResult(RECORD_STATUS status, const char* path, int32_t version)
{
    RECORD_RESULT res;
    res.status = status;
    res.version = version;
    res.show = RECORD_SHOW_BOX;
    char text[1024];
    text[0] = 0;
    switch (status) {
    case RECORD_OK: res.show = RECORD_SHOW_NONE; return res;
    case RECORD_CANNOT_OPEN:
        res.show = RECORD_SHOW_LOG;
        Str_Format(text, sizeof text, "%s を開くことができませんでした。", path);
        break;
    case RECORD_NOT_FORMAT: Str_Format(text, sizeof text, "%s\nこのファイルは、QVV形式ではありません。", path); break;
    case RECORD_TOO_OLD:
    case RECORD_UNKNOWN_VERSION:
        Str_Format(text, sizeof text, "QVV形式のバージョンが古いので\n読み込むことができません。\n\n%s  Ver %4.3f", path,
                   version / 1000.0);
        break;
    case RECORD_TOO_NEW:
        Str_Format(text, sizeof text,
                   "QVV形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\n%s  Ver %4.3f",
                   path, version / 1000.0);
        break;
    case RECORD_DAMAGED: File_FormatDamaged(text, sizeof text, "QVV", path); break;
    }
    res.message = text;
    return res;
}

} // namespace

RECORD_RESULT Movie_ParseFile(const uint8_t* data, size_t size, const char* path, MOVIE_FILE& out)
{
    ByteReader r(data, size);
    int32_t version = 0;
    RECORD_STATUS status = Record_CheckHeader(r, kQvvFormat, version);
    if (status != RECORD_OK) return MovieResult(status, path, version);
    bool ok = false;
    switch (version) {
    case kMovieVersion2004050: ok = Movie_Read2004050(r, out); break;
    case kMovieVersion2006000: ok = Movie_Read2006000(r, out); break;
    default: ok = Movie_Read2006060(r, out); break;
    }
    return MovieResult(ok ? RECORD_OK : RECORD_DAMAGED, path, version);
}

std::vector<uint8_t> Movie_Write()
{
    MOVIE_PLAY& m = g_MovieData;
    ByteWriter w;
    RecordWriteIO io(w);
    m.version = kMovieVersion;
    Record_WriteHeader(w, kQvvFormat);
    w.I32(m.length);
    w.I32(m.trackCount);
    static const MOVIE_TRACK kEmpty{};
    auto track = [&](int32_t i) -> MOVIE_TRACK& {
        // An empty slot below the count is written as an empty picture track of one key.
        static MOVIE_TRACK blank;
        if (m.tracks[i]) return *m.tracks[i];
        std::memcpy(&blank, &kEmpty, sizeof blank);
        blank.keyCount = 1;
        return blank;
    };
    for (int32_t i = 0; i < m.trackCount; ++i) Track_Io(io, track(i), kMovieVersion);
    for (int32_t i = 0; i < m.trackCount; ++i)
        if (KindHasResources(track(i).kind)) Resource_Io(io, track(i));
    w.I32(m.bgmOn);
    if (m.bgmOn == 1) {
        w.Str(m.bgmText);
        w.Str(m.bgmFile);
    }
    w.I32(m.soundCount);
    for (int32_t i = 1; i < m.soundCount; ++i) {
        w.Str(m.soundFolders[i]);
        w.Str(m.soundFiles[i]);
    }
    w.I32(m.messageCount);
    for (int32_t i = 1; i < m.messageCount; ++i) w.Str(m.messages[i]);
    w.I32(m.nextOn);
    w.Str(m.nextFile);
    return std::move(w.Data());
}

bool Movie_Save(const char* path)
{
    if (!path || !path[0]) return false;
    std::vector<uint8_t> bytes = Movie_Write();
    if (File_WriteAll(path, bytes.data(), bytes.size())) return true;
    File_ReportWriteFailed(path);
    return false;
}

// --- Loading ---

namespace {

// Moves the parsed body into the document (after Movie_New), reusing the default tracks.
void Commit(MOVIE_FILE& f)
{
    MOVIE_PLAY& m = g_MovieData;
    m.length = f.length;
    m.trackCount = (int32_t)f.tracks.size();
    for (int32_t i = 0; i < m.trackCount; ++i) {
        MOVIE_TRACK* dst = Movie_CreateTrack(i);
        const MOVIE_TRACK* src = f.tracks[i];
        if (!dst) continue;
        std::memcpy(dst->name, src->name, sizeof dst->name);
        dst->keyCount = src->keyCount;
        dst->kind = src->kind;
        dst->moveMode = src->moveMode;
        dst->rotateMode = src->rotateMode;
        dst->scaleMode = src->scaleMode;
        std::memcpy(dst->keys, src->keys, sizeof dst->keys);
        std::memcpy(dst->folder, src->folder, sizeof dst->folder);
        std::memcpy(dst->file, src->file, sizeof dst->file);
        std::memcpy(dst->motionFile, src->motionFile, sizeof dst->motionFile);
        dst->shadowMode = src->shadowMode;
    }
    m.bgmOn = f.bgmOn;
    std::memcpy(m.bgmText, f.bgmText, sizeof m.bgmText);
    std::memcpy(m.bgmFile, f.bgmFile, sizeof m.bgmFile);
    m.soundCount = f.soundCount;
    std::memcpy(m.soundFolders, f.soundFolders, sizeof m.soundFolders);
    std::memcpy(m.soundFiles, f.soundFiles, sizeof m.soundFiles);
    m.messageCount = f.messageCount;
    std::memcpy(m.messages, f.messages, sizeof m.messages);
    m.nextOn = f.nextOn;
    std::memcpy(m.nextFile, f.nextFile, sizeof m.nextFile);
    m.version = f.version;
}

void LoadTrackResources(int32_t i)
{
    MOVIE_PLAY& m = g_MovieData;
    File_ChDir(m.folder);
    MOVIE_TRACK* t = Movie_CreateTrack(i);
    if (!t) return;
    // A slot keeps nothing of an earlier movie, so a failed load leaves the track without one.
    if (i < 1024 && t->kind == MOVIE_PICTURE) g_TexTable[i] = -1;
    if (t->kind == MOVIE_QVB && i < kModel2Slots) Model2_FreeSlot(i);
    if (!t->file[0]) return;
    switch (t->kind) {
    case MOVIE_PICTURE:
        if (i < 1024 && Tex_LoadFile(&g_TexTable[i], t->file) < 0) g_TexTable[i] = -1;
        break;
    case MOVIE_QVB:
        if (i < kModel2Slots && !Model2_Load(i, t->file)) Model2_FreeSlot(i);
        break;
    case MOVIE_QVP: {
        const int32_t id = Model3_LoadWait(t->file);
        if (t->ownsObject && t->modelId >= 0 && t->modelId != id) Model3_Release(t->modelId);
        t->modelId = id;
        if (OBJECT* o = Object_GetById(t->objectId)) o->modelId = id;
        if (MODEL3* model = Model3_GetById(id)) model->shadowKind = t->shadowMode;
        break;
    }
    default: break;
    }
}

} // namespace

bool MovieLoad(const char* path)
{
    Log_Printf("MovieLoad %s", path ? path : "");
    if (!path || !path[0]) {
        Lib_MessageBox("ファイル名が指定されていません。");
        return false;
    }
    // The playback tick hands in the document's own next-file field, which Movie_New rewrites.
    char name[256];
    Str_CopyN(name, sizeof name, path);
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(name, bytes)) {
        Record_Report(MovieResult(RECORD_CANNOT_OPEN, name, 0));
        g_MoviePlayState = 2;
        return false;
    }
    MOVIE_FILE parsed;
    RECORD_RESULT res = Movie_ParseFile(bytes.data(), bytes.size(), name, parsed);
    if (!res.Ok()) {
        Record_Report(res);
        return false;
    }
    Movie_New();
    Commit(parsed);
    MOVIE_PLAY& m = g_MovieData;
    m.loaded = 1;
    char dir[256];
    if (Svc_GetCurrentDirectory(dir, sizeof dir)) Str_CopyN(m.folder, sizeof m.folder, dir);
    Str_CopyN(m.curFile, sizeof m.curFile, name);
    for (int32_t i = 0; i < m.trackCount; ++i) LoadTrackResources(i);
    for (int32_t i = 1; i < m.soundCount; ++i) Wave_LoadGlobalSound(i, m.soundFiles[i]);
    m.loopStart = 0;
    m.endFrame = m.length;
    m.loop = 0;
    m.frame = 0;
    if (g_StudioFlag == 0) {
        g_MoviePlayState = 1;
        if (m.bgmOn == 1) MediaPlay(m.bgmFile, 1);
    }
    Movie_BuildMotionFrames();
    Lib_ResetFrameTimer();
    return true;
}
