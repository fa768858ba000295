// The movie editor: entering and leaving mode 23, its menu commands, keys, mouse editing of keys,
// per-frame work and draw passes.
#include "scene/movie_edit.h"

#include <cstring>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/model2.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/scene_object.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/text_queue.h"
#include "scene/scene_edit_hooks.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

using namespace QVL;

int32_t g_MovieResumeFrame = 0;
int32_t g_TimelineZoom = 8, g_TimelineScrollX = 0, g_TimelineScrollY = 0, g_TimelineLeft = 230;

namespace {
// The rotation drag of 3D-model keys.
float g_RotAngles[3];
bool g_TakeQuat = false;
QUAT g_TakenQuat = {0, 0, 0, 1};
POINT32 g_PrevMouse;
int32_t g_ShownScrollFrame = -1;
} // namespace

MOVIE_TRACK* MovieEdit_CurrentTrack()
{
    const MOVIE_PLAY& m = g_MovieData;
    if (g_CurLayer < 0 || g_CurLayer >= m.trackCount || g_CurLayer >= kMovieMaxTracks) return nullptr;
    return m.tracks[g_CurLayer];
}

int32_t MovieEdit_KeyAt(const MOVIE_TRACK* t, int32_t frame)
{
    if (!t) return -1;
    int32_t found = -1;
    for (int32_t k = 0; k < t->keyCount && k < kMovieMaxKeys; ++k)
        if (t->keys[k].frame == frame) found = k;
    return found;
}

void MovieEdit_ResetKeys(MOVIE_TRACK* t) { Movie_ResetKeys(t); }

bool MovieEdit_AddTrack(int32_t kind)
{
    MOVIE_PLAY& m = g_MovieData;
    const int32_t i = m.trackCount;
    if (i < 0 || i >= kMovieMaxTracks) return false;
    if (kind == MOVIE_QVB && i >= kMovieModel2Tracks) return false;
    MOVIE_TRACK* t = kind == MOVIE_QVP ? Movie_CreateTrack(i) : Movie_CreatePlainTrack(i);
    if (!t) return false;
    t->kind = kind;
    m.trackCount = i + 1;
    g_CurLayer = i;
    MovieEdit_ResetKeys(t);
    if (kind == MOVIE_PICTURE) {
        t->keys[0].position[0] = 640.0f;
        t->keys[0].position[1] = 360.0f;
    }
    if (kind == MOVIE_QVB) Model2_Create(i);
    MovieEdit_RefreshDialogs();
    return true;
}

void MovieEdit_ClearModelTrack()
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    if (t && t->kind == MOVIE_QVP) {
        // The track keeps its scene object; only its model is replaced by a new one.
        const int32_t object = t->objectId;
        const uint8_t owns = t->ownsObject;
        if (owns && t->modelId >= 0) Model3_Release(t->modelId);
        std::memset(t, 0, sizeof *t);
        t->kind = MOVIE_QVP;
        t->keyCount = 1;
        for (float& v : t->keys[0].scale) v = 1.0f;
        t->keys[0].quaternion[3] = 1.0f;
        t->objectId = object;
        t->ownsObject = owns;
        t->modelId = Model3_Create();
        if (OBJECT* o = owns ? Object_GetById(object) : nullptr) o->modelId = t->modelId;
    }
    MovieEdit_RefreshDialogs();
}

void MovieEdit_NewMovie()
{
    Movie_New();
    g_CurLayer = 0;
    g_MovieData.frame = 0;
}

void MovieEdit_FileLoaded()
{
    g_MovieData.frame = 0;
    Movie_BuildMotionFrames();
    g_CurLayer = 0;
    MovieEdit_RefreshDialogs();
}

// --- Keys ---

bool MovieEdit_InsertKey()
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    const int32_t f = g_MovieData.frame;
    if (!t || t->keyCount < 0 || t->keyCount >= kMovieMaxKeys || MovieEdit_KeyAt(t, f) >= 0) return false;
    int32_t j = 0;
    while (j < t->keyCount && t->keys[j].frame < f) ++j;
    for (int32_t k = t->keyCount; k > j; --k) t->keys[k] = t->keys[k - 1];
    MOVIE_KEY& key = t->keys[j];
    key.frame = f;
    key.visible = 1;
    std::memcpy(key.position, t->livePosition, sizeof key.position);
    std::memcpy(key.target, t->liveTarget, sizeof key.target);
    std::memcpy(key.rotation, t->liveRotation, sizeof key.rotation);
    std::memcpy(key.quaternion, t->liveQuaternion, sizeof key.quaternion);
    std::memcpy(key.scale, t->liveScale, sizeof key.scale);
    std::memcpy(key.colour, t->liveColour, sizeof key.colour);
    t->keyCount += 1;
    return true;
}

bool MovieEdit_DeleteKey()
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    const int32_t f = g_MovieData.frame;
    if (!t || f == 0) return false;
    const int32_t k = MovieEdit_KeyAt(t, f);
    // Key 0 stays whatever its frame: a track never runs out of keys.
    if (k <= 0) return false;
    for (int32_t i = k; i + 1 < t->keyCount; ++i) t->keys[i] = t->keys[i + 1];
    t->keyCount -= 1;
    return true;
}

void MovieEdit_CopyKey()
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    if (!t || t->keyCount <= 0) return;
    Movie_FindTrackKeys(t, g_MovieData.frame);
    g_MovieData.keyClipboard = t->keys[t->currentKey];
}

void MovieEdit_CutKey()
{
    MovieEdit_CopyKey();
    MovieEdit_DeleteKey();
}

void MovieEdit_PasteKey()
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    if (!t) return;
    MovieEdit_InsertKey();
    const int32_t k = MovieEdit_KeyAt(t, g_MovieData.frame);
    if (k < 0) return;
    t->keys[k] = g_MovieData.keyClipboard;
    t->keys[k].frame = g_MovieData.frame;
    Movie_FindTrackKeys(t, g_MovieData.frame);
}

int32_t MovieEdit_PrevKeyFrame(int32_t frame)
{
    const MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    if (!t) return 0;
    for (int32_t k = (t->keyCount > kMovieMaxKeys ? kMovieMaxKeys : t->keyCount) - 1; k >= 0; --k)
        if (t->keys[k].frame < frame) return t->keys[k].frame;
    return 0;
}

int32_t MovieEdit_NextKeyFrame(int32_t frame)
{
    const MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    if (!t) return frame;
    for (int32_t k = 0; k < t->keyCount && k < kMovieMaxKeys; ++k)
        if (t->keys[k].frame > frame) return t->keys[k].frame;
    return frame;
}

bool MovieEdit_SetLength(int32_t length)
{
    MOVIE_PLAY& m = g_MovieData;
    if (length < 1 || length > kMovieMaxFrames) return false;
    if (length != m.length) {
        m.length = length;
        m.endFrame = length;
        if (m.loopStart > m.endFrame - 1) m.loopStart = m.endFrame - 1;
        if (m.frame > length) m.frame = length;
    }
    return true;
}

bool MovieEdit_IntervalValid(int32_t interval) { return interval >= 1 && interval <= 60; }

// --- Playback ---

void MovieEdit_StartPlayback()
{
    MOVIE_PLAY& m = g_MovieData;
    int32_t start = 0, end = 0;
    if (!MovieEditUi_ReadPlayRange(&start, &end)) return;
    const int32_t last = m.length < 1 ? 1 : m.length;
    m.loopStart = start < 0 ? 0 : start > last - 1 ? last - 1 : start;
    m.endFrame = end < 1 ? 1 : end > last ? last : end;
    MovieEditUi_SetPlaying(true);
    m.loop = MovieEditUi_LoopChecked() ? 1 : 0;
    if (g_MoviePlayState == 0) g_MovieResumeFrame = m.frame;
    if (m.bgmOn == 1) MediaPlay(m.bgmFile, 1);
    m.frame = m.loopStart;
    m.fraction = 0.0f;
    g_MoviePlayState = 1;
    MovieEditUi_FlagRefresh(false);
    Lib_ResetFrameTimer();
}

void MovieEdit_StopPlayback()
{
    MOVIE_PLAY& m = g_MovieData;
    MovieEditUi_SetPlaying(false);
    g_ScreenGroup = 7;
    g_MoviePlayState = 0;
    if (m.bgmOn == 1) Media_Stop();
    m.frame = g_MovieResumeFrame;
    MovieEditUi_FlagRefresh(false);
    View_RequestRedraw();
    Lib_ResetFrameTimer();
}

void MovieEdit_TogglePlayback()
{
    if (g_MoviePlayState == 1) MovieEdit_StopPlayback();
    else MovieEdit_StartPlayback();
}

// --- Dialog refresh ---

void MovieEdit_ShowToolDialog()
{
    const MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    if (!t) return;
    MovieEditUi_ShowToolDialog(t->kind);
}

void MovieEdit_RefreshDialogs()
{
    MovieEditUi_FlagRefresh(false);
    MovieEdit_ShowToolDialog();
    Panel_FlagAllDirty();
}

void MovieEdit_FillMessageList() { MovieEditUi_FlagRefresh(false); }

// --- Mode hooks ---

namespace {

// The timeline panel reads the tracks through this table, rebuilt each pass.
MOVIE_TIMELINE_TRACK g_TimelineTracks[kMovieMaxTracks];
MOVIE_TIMELINE g_Timeline;

void PublishTimeline()
{
    const MOVIE_PLAY& m = g_MovieData;
    int32_t n = 0;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        const MOVIE_TRACK* t = m.tracks[i];
        MOVIE_TIMELINE_TRACK& row = g_TimelineTracks[n++];
        row.name = t ? t->name : "";
        row.kind = t ? t->kind : -1;
        row.keyFrames = t ? &t->keys[0].frame : nullptr;
        row.keyStride = (int32_t)(sizeof(MOVIE_KEY) / sizeof(int32_t));
        row.keyCount = t ? t->keyCount : 0;
    }
    g_Timeline.tracks = g_TimelineTracks;
    g_Timeline.trackCount = n;
    g_Timeline.frame = m.frame;
    g_Timeline.length = m.length;
    g_Timeline.playState = g_MoviePlayState;
    g_MovieTimeline = &g_Timeline;
}

} // namespace

void MovieEdit_Enter()
{
    g_ModeMenu = Menu_Set("MENU_MOVIE");
    g_ScreenGroup = 7;
    g_CurLayer = 0;
    g_TimelineZoom = 8;
    g_ScaleToWindow = 0;
    g_ModeScreenSize[0] = 1280;
    g_ModeScreenSize[1] = 720;
    MovieEdit_NewMovie();
    g_MovieData.frame = 0;
    VIEW_REC* row = View_Row();
    if (row) {
        for (int v = 0; v < kViewsPerScreen; ++v) row[v].pan[0] = row[v].pan[1] = row[v].pan[2] = 0.0f;
        row[0].pan[0] = -160.0f;
        row[0].pan[1] = -180.0f;
    }
    g_TimelineLabelWidth = 230;
    g_TimelineTop = 84;
    g_TimelineLeft = 230;
    View_CreateAll();
    MovieEditUi_Create();
    PublishTimeline();
    MovieEdit_RefreshDialogs();
}

void MovieEdit_Exit()
{
    if (g_MoviePlayState == 1) MovieEdit_StopPlayback();
    const MOVIE_PLAY& m = g_MovieData;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i)
        if (m.tracks[i] && m.tracks[i]->ownsObject)
            if (OBJECT* o = Object_GetById(m.tracks[i]->objectId)) o->visible = 0;
    MovieEditUi_Destroy();
    g_MovieTimeline = nullptr;
    View_CloseAll();
    g_Lib.allocArrays = 1;
}

void MovieEdit_Command(int id)
{
    switch (id) {
    case 40043: MovieEdit_NewMovie(); MovieEdit_RefreshDialogs(); break;
    case 40105: MovieEdit_AddTrack(MOVIE_PICTURE); break;
    case 40103: MovieEdit_AddTrack(MOVIE_QVA); break;
    case 40096: MovieEdit_AddTrack(MOVIE_QVB); break;
    case 40098: MovieEdit_AddTrack(MOVIE_QVP); break;
    case 40073: MovieEdit_AddTrack(MOVIE_MESSAGE); break;
    case 40074: MovieEdit_AddTrack(MOVIE_SOUND); break;
    case 40042: MovieEdit_ClearModelTrack(); break;
    case 40056: MovieEditUi_OpenRenderDialog(); break;
    default: break;
    }
}

void MovieEdit_KeyUp(int key)
{
    MOVIE_PLAY& m = g_MovieData;
    const int32_t* held = g_Lib.mouse.held;
    switch (key) {
    case 0x25: // left arrow
    case 0x27: // right arrow
        if (held[0] || held[2]) break;
        if (!MovieEditUi_KeyDialogActive() && g_CurViewIndex <= 0) break;
        m.frame = key == 0x25 ? MovieEdit_PrevKeyFrame(m.frame) : MovieEdit_NextKeyFrame(m.frame);
        MovieEdit_RefreshDialogs();
        break;
    case 'A':
        if (Wnd_Active() == Wnd_Main() || MovieEditUi_KeyDialogActive() || g_CurViewIndex != 0) MovieEdit_TogglePlayback();
        break;
    case 'T': g_DragTool = 0; MovieEditUi_FlagRefresh(false); break;
    case 'R': g_DragTool = 1; MovieEditUi_FlagRefresh(false); break;
    case 'G': g_DragTool = 2; MovieEditUi_FlagRefresh(false); break;
    default: break;
    }
}

namespace {

void PressPoint(int32_t lParam)
{
    const int32_t x = (int16_t)(lParam & 0xFFFF), y = (int16_t)((lParam >> 16) & 0xFFFF);
    g_DragStart = g_DragCurrent = g_DragAnchor = {x, y};
    g_PrevMouse = {x, y};
    MovieEdit_InsertKey();
}

// The camera's eye or target moved in the plane of the view type.
void MoveCameraPoint(float* p, int type, float dx, float dy)
{
    switch (type) {
    case VIEW_MAIN: case VIEW_TOP: p[0] += 0.1f * dx; p[2] -= 0.1f * dy; break;
    case VIEW_FRONT: p[0] += 0.1f * dx; p[1] -= 0.1f * dy; break;
    case VIEW_SIDE: p[1] -= 0.1f * dy; p[2] += 0.1f * dx; break;
    default: break;
    }
}

void RotateModelKey(MOVIE_KEY& key, int type, float dx, float dy)
{
    int axis = -1;
    float a = 0.0f;
    if (type == VIEW_FRONT) axis = 2, a = 0.3f * (dx + dy);
    else if (type == VIEW_SIDE) axis = 1, a = 0.3f * (dx + dy);
    else if (type == VIEW_TOP) axis = 0, a = -0.3f * (dx + dy);
    if (axis < 0) return;
    if (g_TakeQuat) {
        g_TakenQuat = {key.quaternion[0], key.quaternion[1], key.quaternion[2], key.quaternion[3]};
        g_TakeQuat = false;
    }
    float& angle = g_RotAngles[axis];
    angle += a;
    angle = angle < -90.0f ? -90.0f : angle > 90.0f ? 90.0f : angle;
    MATRIX r;
    Math_MatrixWorld(&r, 0, 0, 0, axis == 1 ? angle : 0.0f, axis == 0 ? angle : 0.0f, axis == 2 ? angle : 0.0f, 1, 1, 1);
    QUAT step;
    Math_MatrixToQuat(&step, r);
    QUAT q = g_TakenQuat;
    Math_QuatMultiply(&q, step);
    key.quaternion[0] = q.x, key.quaternion[1] = q.y, key.quaternion[2] = q.z, key.quaternion[3] = q.w;
}

} // namespace

void MovieEdit_LButtonDown(int32_t lParam)
{
    g_RotAngles[0] = g_RotAngles[1] = g_RotAngles[2] = 0.0f;
    g_TakeQuat = true;
    PressPoint(lParam);
}

void MovieEdit_RButtonDown(int32_t lParam) { PressPoint(lParam); }

void MovieEdit_MouseMove(int32_t lParam)
{
    const int32_t x = (int16_t)(lParam & 0xFFFF), y = (int16_t)((lParam >> 16) & 0xFFFF);
    const float dx = (float)(x - g_PrevMouse.x), dy = (float)(y - g_PrevMouse.y);
    const int32_t* held = g_Lib.mouse.held;
    const int type = g_CurView ? g_CurView->type : VIEW_MAIN;
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    const int32_t k = MovieEdit_KeyAt(t, g_MovieData.frame);
    if (held[0] && !held[1] && !held[2]) {
        if (k >= 0) {
            MOVIE_KEY& key = t->keys[k];
            switch (t->kind) {
            case MOVIE_PICTURE:
                if (g_DragTool == 0) key.position[0] += dx, key.position[1] += dy;
                else if (g_DragTool == 1) key.rotation[2] += 0.2f * dx;
                else key.scale[0] += 0.0075f * dx, key.scale[1] -= 0.0075f * dy;
                break;
            case MOVIE_QVA: case MOVIE_QVB:
                if (g_DragTool == 0) key.position[0] += dx, key.position[1] += dy;
                break;
            case MOVIE_QVP:
                if (g_DragTool == 0) {
                    if (type == VIEW_FRONT) key.position[0] += 0.05f * dx, key.position[1] -= 0.05f * dy;
                    else if (type == VIEW_TOP) key.position[0] += 0.05f * dx, key.position[2] -= 0.05f * dy;
                    else if (type == VIEW_SIDE) key.position[1] -= 0.05f * dy, key.position[2] += 0.05f * dx;
                } else if (g_DragTool == 1) {
                    RotateModelKey(key, type, dx, dy);
                } else if (type == VIEW_MAIN) {
                    for (float& s : key.scale) s += s * 0.0025f * (dx - dy);
                } else if (type == VIEW_FRONT) {
                    key.scale[0] += 0.005f * dx, key.scale[1] -= 0.005f * dy;
                } else if (type == VIEW_TOP) {
                    key.scale[0] += 0.005f * dx, key.scale[2] -= 0.005f * dy;
                } else if (type == VIEW_SIDE) {
                    key.scale[1] -= 0.005f * dy, key.scale[2] += 0.005f * dx;
                }
                break;
            case MOVIE_CAMERA: MoveCameraPoint(key.position, type, dx, dy); break;
            default: break;
            }
        }
        g_PrevMouse = {x, y};
        MovieEdit_RefreshDialogs();
        View_RequestRedraw();
    } else if (held[2] && !held[0] && !held[1]) {
        if (k >= 0 && t->kind == MOVIE_CAMERA) {
            MoveCameraPoint(t->keys[k].target, type, dx, dy);
            MovieEditUi_FlagRefresh(true);
        }
        g_PrevMouse = {x, y};
    }
}

void MovieEdit_Frame()
{
    MOVIE_PLAY& m = g_MovieData;
    Lib_SetClearColor(128, 128, 128);
    if (m.frame != g_ShownScrollFrame) {
        g_ShownScrollFrame = m.frame;
        MovieEditUi_FlagRefresh(false);
    }
    Render_Set3DScene(1);
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || t->kind != MOVIE_QVP) continue;
        MODEL3* model = Model3_GetById(t->modelId);
        if (!model) continue;
        if (m.frame >= 0 && m.frame < kMovieMaxFrames) model->currentFrame = t->motionFrames[m.frame];
        const int32_t c = t->currentKey >= 0 && t->currentKey < kMovieMaxKeys ? t->currentKey : 0;
        const int32_t motion = t->keys[c].resource;
        if (motion != model->currentMotion && motion >= 0 && (size_t)motion < model->motions.size())
            Motion3_Select(model, motion);
    }
    if (g_MoviePlayState == 0) Movie_ApplyFrame();
    PublishTimeline();
    View_RequestRedraw();
    if (g_MoviePlayState == 1) {
        VIEW_REC* row = View_Row();
        if (row) {
            for (int v = 0; v < kViewsPerScreen; ++v) row[v].redraw = 0;
            row[0].redraw = 1;
        }
    }
}

void MovieEdit_Draw()
{
    if (!V_SyncGet()) Draw_Text(10, -32, "オプション -> 垂直同期 -> ONにされないと、時の流れ(タイミング)が合いません。");
}

void MovieEdit_DrawOverlay()
{
    MOVIE_PLAY& m = g_MovieData;
    const bool sideView = g_PickedView != 0 && g_PickedView != 4;
    if (sideView) {
        // The camera of a new movie is track 1; a movie without one draws no line.
        const MOVIE_TRACK* cam = m.trackCount > 1 ? m.tracks[1] : nullptr;
        if (cam)
            Draw_Line3D(cam->livePosition[0], cam->livePosition[1], cam->livePosition[2], 255, 255, 0, 255, 0, 0,
                        cam->liveTarget[0], cam->liveTarget[1], cam->liveTarget[2], 255, 255, 0, 255, 0, 0);
        MOVIE_TRACK* t = MovieEdit_CurrentTrack();
        if (t) {
            for (int32_t k = 0; k + 1 < t->keyCount && k + 1 < kMovieMaxKeys; ++k)
                for (int s = 0; s < 10; ++s) {
                    Movie_InterpolateTrack(g_CurLayer, k, 0.1f * (float)s);
                    const float* p = t->livePosition;
                    Draw_Line3D(p[0], p[1], p[2], 255, 255, 255, 255, 0, 0, p[0] + 0.1f, p[1] + 0.1f, p[2], 255, 255, 255, 255, 0, 0);
                }
        }
    }
    Movie_FindKeys();
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || t->keyCount <= 0) continue;
        if (t->kind == MOVIE_QVB && i < kModel2Slots && g_Model2InUse[i] && g_Model2Table[i]) {
            Movie_InterpolateTrack(i, t->currentKey, t->fraction);
            Model2_SetPosition(g_Model2Table[i], t->livePosition[0], t->livePosition[1]);
            Model2_SetRotation(g_Model2Table[i], t->liveRotation[2]);
            Model2_SetScale(g_Model2Table[i], t->liveScale[0], t->liveScale[1]);
        } else if (t->kind == MOVIE_QVP) {
            Movie_InterpolateTrack(i, t->currentKey, t->fraction);
            if (OBJECT* o = Object_GetById(t->objectId)) {
                Object_SetPosition(o, t->livePosition[0], t->livePosition[1], t->livePosition[2]);
                Object_SetQuaternion(o, t->liveQuaternion[0], t->liveQuaternion[1], t->liveQuaternion[2], t->liveQuaternion[3]);
                Object_SetScale(o, t->liveScale[0], t->liveScale[1], t->liveScale[2]);
            }
        } else if (t->kind == MOVIE_CAMERA && sideView) {
            const float x = t->livePosition[0], y = t->livePosition[1], z = t->livePosition[2], h = 1.5f;
            const float a[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
            for (int e = 0; e < 4; ++e) {
                const float* p = a[e];
                const float* q = a[(e + 1) % 4];
                Draw_Line3D(x + p[0], y + p[1], z, 255, 0, 0, 255, 0, 0, x + q[0], y + q[1], z, 255, 0, 0, 255, 0, 0);
                Draw_Line3D(x + p[0], y, z + p[1], 255, 0, 0, 255, 0, 0, x + q[0], y, z + q[1], 255, 0, 0, 255, 0, 0);
            }
        }
    }
}
