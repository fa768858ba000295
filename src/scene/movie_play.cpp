// Movie playback: the key pair around the current frame, the Catmull-Rom curves through the keys,
// the motion frame of every model track, and the values pushed into the engine.
#include <cstddef>
#include <cstring>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/sound.h"
#include "model/model2.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/obj2.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "scene/movie.h"

using namespace QVL;

void Movie_FindTrackKeys(MOVIE_TRACK* t, int32_t frame)
{
    if (!t) return;
    const int32_t n = t->keyCount > kMovieMaxKeys ? kMovieMaxKeys : t->keyCount;
    t->fraction = 0.0f;
    if (n <= 0) {
        // No key at all: both indices stay at 0 so no reader looks before the array.
        t->currentKey = t->nextKey = 0;
        return;
    }
    t->currentKey = t->nextKey = n - 1;
    for (int32_t j = 0; j + 1 < n; ++j) {
        if (t->keys[j].frame <= frame && frame < t->keys[j + 1].frame) {
            t->currentKey = j;
            t->nextKey = j + 1;
            break;
        }
    }
    // Key frames come from files: the differences are taken wide so extreme frames cannot overflow.
    const int64_t f0 = t->keys[t->currentKey].frame, f1 = t->keys[t->nextKey].frame;
    if (f1 != f0) t->fraction = (float)((double)((int64_t)frame - f0) / (double)(f1 - f0));
}

void Movie_FindKeys()
{
    MOVIE_PLAY& m = g_MovieData;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) Movie_FindTrackKeys(m.tracks[i], m.frame);
}

void Movie_InterpolateTrack(int32_t index, int32_t key, float fraction)
{
    if (index < 0 || index >= kMovieMaxTracks) return;
    MOVIE_TRACK* t = g_MovieData.tracks[index];
    if (!t) return;
    const int32_t n = t->keyCount > kMovieMaxKeys ? kMovieMaxKeys : t->keyCount;
    if (n <= 0) return;
    auto clampKey = [n](int32_t k) { return k < 0 ? 0 : k > n - 1 ? n - 1 : k; };
    const MOVIE_KEY& k0 = t->keys[clampKey(key - 1)];
    const MOVIE_KEY& k1 = t->keys[clampKey(key)];
    const MOVIE_KEY& k2 = t->keys[clampKey(key + 1)];
    const MOVIE_KEY& k3 = t->keys[clampKey(key + 2)];
    auto at = [](const MOVIE_KEY& k, size_t offset) {
        float v;
        std::memcpy(&v, reinterpret_cast<const char*>(&k) + offset, 4);
        return v;
    };
    auto channel = [&](float* out, size_t offset, int count) {
        for (int c = 0; c < count; ++c) {
            const size_t o = offset + 4 * (size_t)c;
            out[c] = Anim_CatmullRom(at(k0, o), at(k1, o), at(k2, o), at(k3, o), fraction);
        }
    };
    channel(t->livePosition, offsetof(MOVIE_KEY, position), 3);
    channel(t->liveTarget, offsetof(MOVIE_KEY, target), 3);
    channel(t->liveRotation, offsetof(MOVIE_KEY, rotation), 3);
    channel(t->liveQuaternion, offsetof(MOVIE_KEY, quaternion), 4);
    QUAT q = {t->liveQuaternion[0], t->liveQuaternion[1], t->liveQuaternion[2], t->liveQuaternion[3]};
    Math_QuatNormalize(&q);
    t->liveQuaternion[0] = q.x, t->liveQuaternion[1] = q.y, t->liveQuaternion[2] = q.z, t->liveQuaternion[3] = q.w;
    channel(t->liveScale, offsetof(MOVIE_KEY, scale), 3);
    channel(t->liveColour, offsetof(MOVIE_KEY, colour), 4);
}

namespace {

// Frames of motion m of the track's model, or 0 when there is no such motion.
int32_t MotionLength(int32_t index, const MOVIE_TRACK& t, int32_t motion)
{
    if (t.kind == MOVIE_QVB) {
        if (index >= kModel2Slots || !g_Model2InUse[index] || !g_Model2Table[index]) return 0;
        const MODEL2* m = g_Model2Table[index];
        if (motion < 0 || motion >= kModel2Motions || motion >= m->motionCount) return 0;
        return m->motions[motion].length;
    }
    const MODEL3* m = Model3_GetById(t.modelId);
    if (!m || motion < 0 || (size_t)motion >= m->motions.size()) return 0;
    return m->motions[(size_t)motion].length;
}

// The motion-frame entry of a movie frame, or 0 outside the table.
int32_t MotionFrame(const MOVIE_TRACK& t, int32_t frame)
{
    return frame >= 0 && frame < kMovieMaxFrames ? t.motionFrames[frame] : 0;
}

} // namespace

void Movie_BuildMotionFrames()
{
    MOVIE_PLAY& m = g_MovieData;
    if (m.loaded != 1) return;
    const int32_t length = m.length < 0 ? 0 : m.length > kMovieMaxFrames ? kMovieMaxFrames : m.length;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || (t->kind != MOVIE_QVB && t->kind != MOVIE_QVP)) continue;
        const int32_t n = t->keyCount > kMovieMaxKeys ? kMovieMaxKeys : t->keyCount;
        if (n <= 0) continue;
        int32_t previous = t->keys[0].resource;
        t->reserved = 0;
        int32_t counter = 0;
        for (int32_t j = 0; j < length; ++j) {
            int32_t holder = 0;
            for (int32_t k = 0; k < n; ++k) {
                const int32_t end = k + 1 < n && t->keys[k + 1].frame > t->keys[k].frame ? t->keys[k + 1].frame : kMovieMaxFrames;
                if (t->keys[k].frame <= j && j < end) {
                    holder = k;
                    break;
                }
            }
            const int32_t motion = t->keys[holder].resource;
            if (motion != previous) counter = 0;
            t->motionFrames[j] = counter;
            counter = counter == INT32_MAX ? 0 : counter + 1;
            const int32_t len = MotionLength(i, *t, motion);
            if (len > 0 && counter >= len) counter = 0;
            previous = motion;
        }
    }
}

void Movie_ApplyFrame()
{
    MOVIE_PLAY& m = g_MovieData;
    Movie_FindKeys();
    const int32_t f = m.frame;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || t->keyCount <= 0) continue;
        const int32_t c = t->currentKey;
        const float frac = t->fraction;
        switch (t->kind) {
        case MOVIE_SOUND:
            if (g_MoviePlayState != 1) break;
            if (f == 1 && t->keys[0].frame == 0) Wave_PlayGlobalSound(t->keys[0].resource);
            if (c != m.savedKeys[i]) Wave_PlayGlobalSound(t->keys[c].resource);
            break;
        case MOVIE_QVA: {
            OBJ2* o = Obj2_GetById(i);
            if (!o || !o->active) break;
            o->frame = MotionFrame(*t, f);
            Movie_InterpolateTrack(i, c, frac);
            Obj2_SetPosition(o, t->livePosition[0], t->livePosition[1]);
            break;
        }
        case MOVIE_QVB: {
            if (i >= kModel2Slots || !g_Model2InUse[i] || !g_Model2Table[i]) break;
            MODEL2* model = g_Model2Table[i];
            model->currentFrame = MotionFrame(*t, f);
            Movie_InterpolateTrack(i, c, frac);
            Model2_SetPosition(model, t->livePosition[0], t->livePosition[1]);
            Model2_SetRotation(model, t->liveRotation[2]);
            Model2_SetScale(model, t->liveScale[0], t->liveScale[1]);
            break;
        }
        case MOVIE_QVP: {
            MODEL3* model = Model3_GetById(t->modelId);
            if (!model) break;
            model->currentFrame = MotionFrame(*t, f);
            const int32_t motion = t->keys[c].resource;
            if (motion != model->currentMotion && motion >= 0 && (size_t)motion < model->motions.size())
                Motion3_Select(model, motion);
            Movie_InterpolateTrack(i, c, frac);
            model->visible = t->keys[c].visible;
            if (OBJECT* o = Object_GetById(t->objectId)) {
                Object_SetPosition(o, t->livePosition[0], t->livePosition[1], t->livePosition[2]);
                Object_SetQuaternion(o, t->liveQuaternion[0], t->liveQuaternion[1], t->liveQuaternion[2], t->liveQuaternion[3]);
                Object_SetScale(o, t->liveScale[0], t->liveScale[1], t->liveScale[2]);
            }
            break;
        }
        case MOVIE_CAMERA:
            m.cameraTrack = i;
            Movie_InterpolateTrack(i, c, frac);
            // The studio's views set their own cameras each pass; the movie's main view takes these.
            Render_SetCameraEye(t->livePosition[0], t->livePosition[1], t->livePosition[2]);
            Render_SetCameraTarget(t->liveTarget[0], t->liveTarget[1], t->liveTarget[2]);
            break;
        default: break;
        }
    }
}

void Movie_Tick()
{
    MOVIE_PLAY& m = g_MovieData;
    if (g_MoviePlayState != 1 || g_StudioFlag == 1) return;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i)
        if (m.tracks[i]) m.savedKeys[i] = m.tracks[i]->currentKey;
    if (m.frame >= m.endFrame) return;
    m.frame += 1;
    Movie_ApplyFrame();
    if (m.frame < m.endFrame) return;
    if (m.nextOn == 1 && m.nextFile[0]) {
        MovieLoad(m.nextFile);
        m.frame = 0;
    } else if (m.loop == 1 && g_ScreenGroup == 7) {
        m.frame = 0;
        if (m.bgmOn == 1) MediaPlay(m.bgmFile, 1);
    } else {
        g_MoviePlayState = 2;
    }
    Lib_ResetFrameTimer();
}

void Movie_GetCamera(float eye[3], float target[3])
{
    const MOVIE_PLAY& m = g_MovieData;
    const int32_t i = m.cameraTrack;
    const MOVIE_TRACK* t = i >= 0 && i < m.trackCount && i < kMovieMaxTracks ? m.tracks[i] : nullptr;
    if (!t || t->kind != MOVIE_CAMERA) {
        for (int c = 0; c < 3; ++c) eye[c] = target[c] = 0.0f;
        return;
    }
    for (int c = 0; c < 3; ++c) {
        eye[c] = t->livePosition[c];
        target[c] = t->liveTarget[c];
    }
}
