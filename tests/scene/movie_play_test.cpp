// Movie playback: the key pair around a frame, the curves per track kind, the motion-frame tables
// and the engine tick.
#include <climits>
#include <cmath>
#include <cstring>

#include "frame/lib.h"
#include "frame/sound.h"
#include "model/model_expect.h"
#include "model/model_table.h"
#include "scene/movie.h"
#include "support/sound_recorder.h"

namespace {

class MoviePlay : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        SoundRec().Clear();
        g_MovieData.followNext = 0;
        Movie_New();
        g_MovieData.trackCount = 0;
    }
    void TearDown() override
    {
        Movie_ClearTracks();
        ModelTest::TearDown();
    }
    // A track in the next slot with keys at the frames given.
    MOVIE_TRACK* Track(int32_t kind, std::initializer_list<int32_t> frames)
    {
        const int32_t i = g_MovieData.trackCount++;
        MOVIE_TRACK* t = kind == MOVIE_QVP ? Movie_CreateTrack(i) : Movie_CreatePlainTrack(i);
        t->kind = kind;
        Movie_ResetKeys(t);   // every key starts as the default key 0
        t->keyCount = (int32_t)frames.size();
        int32_t k = 0;
        for (int32_t f : frames) {
            t->keys[k] = t->keys[0];
            t->keys[k].frame = f;
            ++k;
        }
        return t;
    }
};

TEST_F(MoviePlay, KeySearchFindsThePairAroundTheFrame)
{
    struct Case { std::initializer_list<int32_t> keys; int32_t frame, current, next; float fraction; };
    const Case cases[] = {
        {{0, 60}, 30, 0, 1, 0.5f},
        {{0, 60}, 60, 1, 1, 0.0f},
        {{0, 60}, 200, 1, 1, 0.0f},
        {{0, 60}, 0, 0, 1, 0.0f},
        {{0, 0}, 0, 1, 1, 0.0f},       // two keys on one frame: no division by zero
        {{0, 10, 40}, 25, 1, 2, 0.5f},
        {{0}, 99, 0, 0, 0.0f},
        // Frames a file can hold: the differences do not overflow.
        {{INT32_MIN, 0}, -1, 0, 1, 1.0f},
        {{INT32_MIN, INT32_MAX}, 0, 0, 1, 0.5f},
    };
    for (const Case& c : cases) {
        MOVIE_TRACK* t = Track(MOVIE_PICTURE, c.keys);
        Movie_FindTrackKeys(t, c.frame);
        EXPECT_EQ(t->currentKey, c.current) << c.frame;
        EXPECT_EQ(t->nextKey, c.next) << c.frame;
        EXPECT_FLOAT_EQ(t->fraction, c.fraction) << c.frame;
    }
}

TEST_F(MoviePlay, ATrackWithoutKeysIsNeverReadBeforeItsArray)
{
    MOVIE_TRACK* t = Track(MOVIE_PICTURE, {0});
    t->keyCount = 0;
    Movie_FindTrackKeys(t, 5);
    EXPECT_EQ(t->currentKey, 0);
    EXPECT_EQ(t->nextKey, 0);
    Movie_InterpolateTrack(0, t->currentKey, t->fraction);
    Movie_ApplyFrame();
}

// Per kind, the channel that kind uses, half-way between two keys of values a and b with one key
// before and one after: the curve passes through the keys and is symmetric for evenly spaced values.
TEST_F(MoviePlay, InterpolationPerKind)
{
    struct Case {
        int32_t kind;
        size_t offset;     // of the channel in the key
        int channels;
        float values[4];   // the channel's first component at keys 0..3
        float t;
        float expect;
    };
    const Case cases[] = {
        {MOVIE_PICTURE, offsetof(MOVIE_KEY, position), 3, {0, 100, 200, 300}, 0.5f, 150.0f},
        {MOVIE_PICTURE, offsetof(MOVIE_KEY, rotation), 3, {0, 90, 180, 270}, 0.25f, 112.5f},
        {MOVIE_QVA, offsetof(MOVIE_KEY, position), 3, {10, 10, 10, 10}, 0.7f, 10.0f},
        {MOVIE_QVB, offsetof(MOVIE_KEY, scale), 3, {1, 2, 3, 4}, 0.5f, 2.5f},
        {MOVIE_QVP, offsetof(MOVIE_KEY, scale), 3, {1, 1, 2, 2}, 0.5f, 1.5f},
        {MOVIE_CAMERA, offsetof(MOVIE_KEY, target), 3, {0, 0, 10, 10}, 0.0f, 0.0f},
        {MOVIE_CAMERA, offsetof(MOVIE_KEY, position), 3, {0, 0, 10, 10}, 1.0f, 10.0f},
        {MOVIE_SCENE, offsetof(MOVIE_KEY, colour), 4, {255, 255, 0, 0}, 0.5f, 127.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Movie_ClearTracks();
        MOVIE_TRACK* t = Track(c.kind, {0, 10, 20, 30});
        for (int k = 0; k < 4; ++k)
            for (int ch = 0; ch < c.channels; ++ch)
                std::memcpy(reinterpret_cast<char*>(&t->keys[k]) + c.offset + 4 * ch, &c.values[k], 4);
        Movie_InterpolateTrack(0, 1, c.t);
        const float* live = c.offset == offsetof(MOVIE_KEY, position) ? t->livePosition
                          : c.offset == offsetof(MOVIE_KEY, rotation) ? t->liveRotation
                          : c.offset == offsetof(MOVIE_KEY, scale)    ? t->liveScale
                          : c.offset == offsetof(MOVIE_KEY, target)   ? t->liveTarget
                                                                      : t->liveColour;
        for (int ch = 0; ch < c.channels; ++ch) EXPECT_NEAR(live[ch], c.expect, 1e-3f) << ch;
    }
}

TEST_F(MoviePlay, TheLiveQuaternionIsNormalisedAndOneKeyGivesItsValues)
{
    MOVIE_TRACK* t = Track(MOVIE_QVP, {0});
    MOVIE_KEY& k = t->keys[0];
    k.quaternion[0] = 0, k.quaternion[1] = 0, k.quaternion[2] = 2, k.quaternion[3] = 2;
    k.position[0] = 3, k.position[1] = 4, k.position[2] = 5;
    Movie_InterpolateTrack(0, 0, 0.6f);
    EXPECT_NEAR(t->liveQuaternion[2], std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(t->liveQuaternion[3], std::sqrt(0.5f), 1e-5f);
    EXPECT_FLOAT_EQ(t->livePosition[1], 4.0f);
    EXPECT_FLOAT_EQ(t->liveScale[0], 1.0f);
    EXPECT_FLOAT_EQ(t->liveColour[3], 255.0f);
}

TEST_F(MoviePlay, MotionFramesRestartAndWrapAsAuthored)
{
    g_MovieData.loaded = 1;
    g_MovieData.length = 60;
    MOVIE_TRACK* t = Track(MOVIE_QVP, {0, 50});
    t->keys[0].resource = 0;
    t->keys[1].resource = 1;
    MODEL3* model = Model3_GetById(t->modelId);
    ASSERT_NE(model, nullptr);
    model->motions.resize(2);
    model->motions[0].length = 20;
    model->motions[1].length = 30;
    Movie_BuildMotionFrames();
    for (int32_t j = 0; j < 20; ++j) EXPECT_EQ(t->motionFrames[j], j);
    for (int32_t j = 20; j < 40; ++j) EXPECT_EQ(t->motionFrames[j], j - 20);
    for (int32_t j = 40; j < 50; ++j) EXPECT_EQ(t->motionFrames[j], j - 40);
    EXPECT_EQ(t->motionFrames[50], 0);
    EXPECT_EQ(t->motionFrames[59], 9);
}

TEST_F(MoviePlay, TheLastFrameOfTheLongestMovieReadsInsideTheTable)
{
    g_MovieData.loaded = 1;
    g_MovieData.length = kMovieMaxFrames;
    MOVIE_TRACK* t = Track(MOVIE_QVP, {0});
    Movie_BuildMotionFrames();
    g_MovieData.frame = kMovieMaxFrames;   // playback ends on the length itself
    Movie_ApplyFrame();
    EXPECT_EQ(Model3_GetById(t->modelId)->currentFrame, 0);
}

TEST_F(MoviePlay, SoundKeysPlayWhenTheyBecomeCurrent)
{
    MOVIE_TRACK* t = Track(MOVIE_SOUND, {0, 5});
    t->keys[0].resource = 3;
    t->keys[1].resource = 4;
    g_GlobalSounds[3].loaded = g_GlobalSounds[4].loaded = 1;
    g_StudioFlag = 0;
    g_MoviePlayState = 1;
    g_MovieData.frame = 0;
    g_MovieData.endFrame = 10;
    Movie_FindKeys();
    for (int step = 0; step < 9; ++step) Movie_Tick();
    EXPECT_EQ(SoundRec().soundsPlayed, (std::vector<int>{3, 4}));
    g_GlobalSounds[3].loaded = g_GlobalSounds[4].loaded = 0;
    g_MoviePlayState = 0;
}

TEST_F(MoviePlay, TheEngineTickStandsStillInTheStudioAndFinishesAtTheEnd)
{
    Track(MOVIE_PICTURE, {0});
    g_MoviePlayState = 1;
    g_MovieData.frame = 0;
    g_MovieData.endFrame = 3;
    g_StudioFlag = 1;
    Movie_Tick();
    EXPECT_EQ(g_MovieData.frame, 0);
    g_StudioFlag = 0;
    for (int i = 0; i < 5; ++i) Movie_Tick();
    EXPECT_EQ(g_MovieData.frame, 3);
    EXPECT_EQ(g_MoviePlayState, 2);
    g_MoviePlayState = 0;
}

TEST_F(MoviePlay, TheCameraTrackGivesTheEyeAndTarget)
{
    MOVIE_TRACK* t = Track(MOVIE_CAMERA, {0});
    t->keys[0].position[2] = -128.0f;
    t->keys[0].target[1] = 10.0f;
    Movie_ApplyFrame();
    float eye[3], target[3];
    Movie_GetCamera(eye, target);
    EXPECT_FLOAT_EQ(eye[2], -128.0f);
    EXPECT_FLOAT_EQ(target[1], 10.0f);
}

} // namespace
