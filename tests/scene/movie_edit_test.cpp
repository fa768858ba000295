// The movie editor's key operations and mouse editing, and the limits of its fields.
#include <cmath>

#include "frame/lib.h"
#include "model/model2.h"
#include "model/model_expect.h"
#include "model/scene_object.h"
#include "scene/movie_edit.h"
#include "scene/scene_edit_hooks.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/panels.h"
#include "shell/views.h"
#include "support/movie_ui_recorder.h"

namespace {

int32_t Point(int x, int y) { return (int32_t)((uint32_t)(uint16_t)x | ((uint32_t)(uint16_t)y << 16)); }

class MovieEdit : public ModelTest {
protected:
    VIEW_REC view{};
    void SetUp() override
    {
        ModelTest::SetUp();
        MovieUiRec().Clear();
        g_StudioFlag = 1;
        g_MovieData.followNext = 0;
        MovieEdit_NewMovie();
        g_Lib.mouse.held[0] = g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
        g_CurView = &view;
        g_DragTool = 0;
    }
    void TearDown() override
    {
        g_CurView = nullptr;
        g_Lib.mouse.held[0] = g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
        Movie_ClearTracks();
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        ModelTest::TearDown();
    }
    // Presses the left button at (100, 100) and drags by (dx, dy) in the view type given.
    void Drag(int type, int dx, int dy, int steps = 1, bool right = false)
    {
        view.type = type;
        g_Lib.mouse.held[0] = 1;
        g_Lib.mouse.held[2] = right ? 1 : 0;
        MovieEdit_LButtonDown(Point(100, 100));
        for (int s = 1; s <= steps; ++s) MovieEdit_MouseMove(Point(100 + dx * s, 100 + dy * s));
        g_Lib.mouse.held[0] = g_Lib.mouse.held[2] = 0;
    }
};

TEST_F(MovieEdit, PressingInAViewInsertsOneKeyWithTheLiveValues)
{
    ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_PICTURE));
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    t->keys[0].position[0] = 100.0f;
    g_MovieData.frame = 40;
    Movie_ApplyFrame();
    Movie_InterpolateTrack(g_CurLayer, t->currentKey, t->fraction);
    MovieEdit_LButtonDown(Point(5, 5));
    ASSERT_EQ(t->keyCount, 2);
    EXPECT_EQ(t->keys[1].frame, 40);
    EXPECT_FLOAT_EQ(t->keys[1].position[0], 100.0f);
    MovieEdit_LButtonDown(Point(5, 5));
    EXPECT_EQ(t->keyCount, 2);
}

TEST_F(MovieEdit, KeysStaySortedAndAFullTrackTakesNoMore)
{
    ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_SOUND));
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    for (int32_t f : {50, 20, 90, 70}) {
        g_MovieData.frame = f;
        EXPECT_TRUE(MovieEdit_InsertKey());
    }
    const int32_t order[] = {0, 20, 50, 70, 90};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(t->keys[k].frame, order[k]);
    for (int32_t f = 100; t->keyCount < kMovieMaxKeys; f += 10) {
        g_MovieData.frame = f;
        ASSERT_TRUE(MovieEdit_InsertKey());
    }
    g_MovieData.frame = 1000;
    EXPECT_FALSE(MovieEdit_InsertKey());
    EXPECT_EQ(t->keyCount, kMovieMaxKeys);
}

TEST_F(MovieEdit, DeletingNeverRemovesKeyZero)
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    g_MovieData.frame = 0;
    EXPECT_FALSE(MovieEdit_DeleteKey());
    EXPECT_EQ(t->keyCount, 1);
    g_MovieData.frame = 30;
    MovieEdit_InsertKey();
    EXPECT_TRUE(MovieEdit_DeleteKey());
    EXPECT_EQ(t->keyCount, 1);
    EXPECT_FALSE(MovieEdit_DeleteKey());
}

TEST_F(MovieEdit, CutAndPasteMovesAKey)
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();   // the scene track
    g_MovieData.frame = 30;
    MovieEdit_InsertKey();
    t->keys[1].colour[0] = 12.0f;
    MovieEdit_CutKey();
    EXPECT_EQ(t->keyCount, 1);
    g_MovieData.frame = 60;
    MovieEdit_PasteKey();
    ASSERT_EQ(t->keyCount, 2);
    EXPECT_EQ(t->keys[1].frame, 60);
    EXPECT_FLOAT_EQ(t->keys[1].colour[0], 12.0f);
}

TEST_F(MovieEdit, PreviousAndNextKeyFrames)
{
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    t->keyCount = 3;
    t->keys[1].frame = 30;
    t->keys[2].frame = 60;
    struct Case { int32_t f, prev, next; };
    for (Case c : {Case{45, 30, 60}, Case{30, 0, 60}, Case{0, 0, 30}, Case{60, 30, 60}, Case{99, 60, 99}}) {
        EXPECT_EQ(MovieEdit_PrevKeyFrame(c.f), c.prev) << c.f;
        EXPECT_EQ(MovieEdit_NextKeyFrame(c.f), c.next) << c.f;
    }
}

TEST_F(MovieEdit, DraggingAModelKeyInTheTopViewMovesItsX)
{
    ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_QVP));
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    Drag(VIEW_TOP, 10, 0);
    EXPECT_FLOAT_EQ(t->keys[0].position[0], 0.5f);
    EXPECT_FLOAT_EQ(t->keys[0].position[1], 0.0f);
    EXPECT_FLOAT_EQ(t->keys[0].position[2], 0.0f);
}

TEST_F(MovieEdit, RotatingAModelKeyStopsAtNinetyDegrees)
{
    ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_QVP));
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    g_DragTool = 1;
    Drag(VIEW_FRONT, 50, 0, 20);   // 0.3 * 50 * 20 = 300 degrees asked
    // 90 degrees about Z from the unit quaternion: (0, 0, ±sin 45°, cos 45°).
    EXPECT_NEAR(std::fabs(t->keys[0].quaternion[2]), std::sqrt(0.5f), 1e-4f);
    EXPECT_NEAR(t->keys[0].quaternion[3], std::sqrt(0.5f), 1e-4f);
    EXPECT_FLOAT_EQ(t->keys[0].rotation[2], 0.0f);
}

TEST_F(MovieEdit, ADragWithTwoButtonsChangesNothing)
{
    ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_PICTURE));
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    Drag(VIEW_MAIN, 10, 10, 1, true);
    EXPECT_FLOAT_EQ(t->keys[0].position[0], 640.0f);
    EXPECT_FLOAT_EQ(t->keys[0].position[1], 360.0f);
    Drag(VIEW_MAIN, 10, -4);
    EXPECT_FLOAT_EQ(t->keys[0].position[0], 650.0f);
    EXPECT_FLOAT_EQ(t->keys[0].position[1], 356.0f);
}

TEST_F(MovieEdit, TheCameraEyeAndTargetFollowTheirButtons)
{
    g_CurLayer = 1;
    MOVIE_TRACK* cam = MovieEdit_CurrentTrack();
    ASSERT_EQ(cam->kind, MOVIE_CAMERA);
    Drag(VIEW_FRONT, 10, 20);
    EXPECT_FLOAT_EQ(cam->keys[0].position[0], 1.0f);
    EXPECT_FLOAT_EQ(cam->keys[0].position[1], 13.0f);
    view.type = VIEW_SIDE;
    g_Lib.mouse.held[2] = 1;
    MovieEdit_RButtonDown(Point(0, 0));
    MovieEdit_MouseMove(Point(10, 0));
    g_Lib.mouse.held[2] = 0;
    EXPECT_FLOAT_EQ(cam->keys[0].target[2], -4.0f);
    EXPECT_GT(MovieUiRec().cameraRefreshes, 0);
}

TEST_F(MovieEdit, TrackSlotsAndQvbSlotsHaveTheirLimits)
{
    for (int i = 2; i < kMovieModel2Tracks; ++i) ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_SOUND));
    EXPECT_FALSE(MovieEdit_AddTrack(MOVIE_QVB));   // slot 32 has no 2D model
    while (g_MovieData.trackCount < kMovieMaxTracks) ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_MESSAGE));
    EXPECT_FALSE(MovieEdit_AddTrack(MOVIE_PICTURE));
    EXPECT_EQ(g_MovieData.trackCount, kMovieMaxTracks);
}

TEST_F(MovieEdit, TheLengthAndTheRenderIntervalTakeOnlyWhatTheTablesAllow)
{
    struct Case { int32_t length; bool ok; };
    for (Case c : {Case{0, false}, Case{-5, false}, Case{1, true}, Case{18000, true}, Case{18001, false}}) {
        g_MovieData.length = 180;
        EXPECT_EQ(MovieEdit_SetLength(c.length), c.ok) << c.length;
        EXPECT_EQ(g_MovieData.length, c.ok ? c.length : 180);
    }
    for (int32_t i : {0, -1, 61}) EXPECT_FALSE(MovieEdit_IntervalValid(i)) << i;
    for (int32_t i : {1, 20, 60}) EXPECT_TRUE(MovieEdit_IntervalValid(i)) << i;
}

TEST_F(MovieEdit, PlaybackStartsFromTheFieldsAndStopsBackAtTheResumeFrame)
{
    g_MovieData.frame = 25;
    MovieUiRec().start = -4;
    MovieUiRec().end = 500;
    MovieEdit_TogglePlayback();
    EXPECT_EQ(g_MoviePlayState, 1);
    EXPECT_EQ(g_MovieData.loopStart, 0);
    EXPECT_EQ(g_MovieData.endFrame, 180);
    EXPECT_TRUE(MovieUiRec().playing);
    MovieEdit_TogglePlayback();
    EXPECT_EQ(g_MoviePlayState, 0);
    EXPECT_EQ(g_MovieData.frame, 25);
    MovieUiRec().rangeIsNumber = false;
    MovieEdit_TogglePlayback();
    EXPECT_EQ(g_MoviePlayState, 0);
}

TEST_F(MovieEdit, ClearingAModelTrackKeepsItsObjectAndGivesItANewModel)
{
    ASSERT_TRUE(MovieEdit_AddTrack(MOVIE_QVP));
    MOVIE_TRACK* t = MovieEdit_CurrentTrack();
    const int32_t object = t->objectId, model = t->modelId;
    t->keyCount = 3;
    MovieEdit_ClearModelTrack();
    EXPECT_EQ(t->keyCount, 1);
    EXPECT_EQ(t->kind, MOVIE_QVP);
    EXPECT_EQ(t->objectId, object);
    EXPECT_NE(t->modelId, model);
    EXPECT_EQ(Object_GetById(object)->modelId, t->modelId);
}

} // namespace

namespace {

TEST_F(MovieEdit, EnteringAndLeavingTheMode)
{
    const int32_t screen = g_Screen;
    g_Screen = SCREEN_MOVIE;
    g_CurLayer = 5;
    kMovieEditMode.enter();
    EXPECT_EQ(g_ScreenGroup, 7);
    EXPECT_EQ(g_CurLayer, 0);
    EXPECT_EQ(g_MovieData.trackCount, 2);
    EXPECT_EQ(MovieUiRec().created, 1);
    ASSERT_NE(g_MovieTimeline, nullptr);
    EXPECT_EQ(g_MovieTimeline->trackCount, 2);
    EXPECT_FLOAT_EQ(g_Views[SCREEN_MOVIE][0].pan[0], -160.0f);
    EXPECT_FLOAT_EQ(g_Views[SCREEN_MOVIE][0].pan[1], -180.0f);
    // The scene track is current: its tool dialog is the one shown.
    EXPECT_EQ(MovieUiRec().toolKind, MOVIE_SCENE);
    const int32_t object = g_MovieData.tracks[1]->objectId;
    kMovieEditMode.exit();
    EXPECT_EQ(MovieUiRec().destroyed, 1);
    EXPECT_EQ(g_MovieTimeline, nullptr);
    EXPECT_EQ(g_Lib.allocArrays, 1);
    EXPECT_EQ(Object_GetById(object)->visible, 0);
    g_Lib.allocArrays = 0;
    g_Screen = screen;
}

} // namespace
