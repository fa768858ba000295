// The movie's pictures and subtitles in the 2D layer: where they land on the back buffer.
#include "frame/lib.h"
#include "frame/text.h"
#include "frame/mode_ids.h"
#include "model/gpu_services.h"
#include "model/model_expect.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "scene/movie.h"
#include "support/draw_recorder.h"
#include "support/movie_ui_recorder.h"

namespace {

class MovieDraw : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        DrawRec().Clear();
        MovieUiRec().Clear();
        g_MovieData.followNext = 0;
        Movie_New();
        g_ScaleToWindow = 0;
    }
    void TearDown() override
    {
        g_MoviePlayState = 0;
        g_ScaleToWindow = 1;
        Movie_ClearTracks();
        ModelTest::TearDown();
    }
};

TEST_F(MovieDraw, SubtitlesStartLeftOfTheCentreByTheirLength)
{
    struct Case { int32_t studio, scale, n, w, h, x, y; };
    const Case cases[] = {
        {0, 0, 10, 1280, 720, 560, 640},
        {1, 0, 10, 1600, 900, 720, 730},
        {0, 1, 10, 640, 360, 280, 320},
        {0, 0, 0, 1280, 720, 640, 640},
    };
    for (const Case& c : cases) {
        g_StudioFlag = c.studio;
        g_ScaleToWindow = c.scale;
        int32_t x = 0, y = 0;
        Movie_SubtitlePosition(c.n, c.w, c.h, &x, &y);
        EXPECT_EQ(x, c.x) << c.n << " " << c.w;
        EXPECT_EQ(y, c.y) << c.n << " " << c.w;
    }
}

TEST_F(MovieDraw, AMessageTrackShowsTheSlotOfItsKey)
{
    MOVIE_PLAY& m = g_MovieData;
    m.messageCount = 2;
    Str_CopyN(m.messages[1], 256, "0123456789");
    MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
    t->kind = MOVIE_MESSAGE;
    Movie_ResetKeys(t);
    t->keys[0].resource = 1;
    m.trackCount = 3;
    g_StudioFlag = 0;
    m.loaded = 1;
    Movie_FindKeys();
    Movie_DrawSubtitles(1280, 720);
    ASSERT_EQ(MovieUiRec().subtitles.size(), 1u);
    EXPECT_EQ(MovieUiRec().subtitles[0].x, 560);
    EXPECT_EQ(MovieUiRec().subtitles[0].y, 640);
    EXPECT_EQ(MovieUiRec().subtitles[0].text, "0123456789");
    // A slot number outside the table shows nothing.
    t->keys[0].resource = 99;
    MovieUiRec().subtitles.clear();
    Movie_DrawSubtitles(1280, 720);
    EXPECT_TRUE(MovieUiRec().subtitles.empty());
}

TEST_F(MovieDraw, APictureIsAQuadOfItsTextureSizeAroundItsPosition)
{
    MOVIE_PLAY& m = g_MovieData;
    MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
    t->kind = MOVIE_PICTURE;
    Movie_ResetKeys(t);
    t->keys[0].position[0] = 640.0f;
    t->keys[0].position[1] = 360.0f;
    t->keys[0].colour[3] = 300.0f;
    Str_CopyN(t->file, sizeof t->file, "a.png");
    m.trackCount = 3;
    g_TexTable[2] = Tex_Load("a.png");   // 32 x 32 in the recorder
    g_StudioFlag = 0;
    g_MoviePlayState = 1;
    Movie_DrawPictures(1280, 720);
    auto quads = DrawRec().Of("quad");
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].x[0], 624);
    EXPECT_EQ(quads[0].y[0], 344);
    EXPECT_EQ(quads[0].x[2], 656);
    EXPECT_EQ(quads[0].y[2], 376);
    EXPECT_EQ(quads[0].a, 255);
    // Hidden from its key on, or without a loaded picture: nothing.
    DrawRec().Clear();
    t->keys[0].visible = 0;
    Movie_DrawPictures(1280, 720);
    t->keys[0].visible = 1;
    g_TexTable[2] = -1;
    Movie_DrawPictures(1280, 720);
    EXPECT_TRUE(DrawRec().Of("quad").empty());
}

} // namespace
