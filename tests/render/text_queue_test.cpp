// The text queue: formatting bounded to the field, what is stamped on each text, where it lands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/lib.h"
#include "render/text_queue.h"

namespace {

struct TextQueue : testing::Test {
    void SetUp() override
    {
        g_TextQueue.clear();
        Draw_SetTextColor(255, 255, 255, 255);
        Lib_SetFrameSkip(0);
    }
    void TearDown() override
    {
        g_TextQueue.clear();
        Draw_SetTextColor(255, 255, 255, 255);
        g_Lib.textScale = 1.0f;
        Lib_SetFrameSkip(0);
    }
};

TEST_F(TextQueue, QueuesFormattedTextsWithColourAndSize)
{
    Draw_SetTextColor(10, 20, 30, 40);
    g_Lib.textScale = 2.0f;
    EXPECT_EQ(1, Draw_Text(5, 6, "%s %d", "フレーム", 12));
    ASSERT_EQ(1u, g_TextQueue.size());
    const QVL::TEXT_REC& t = g_TextQueue[0];
    EXPECT_STREQ("フレーム 12", t.text);
    EXPECT_EQ(5, t.x);
    EXPECT_EQ(6, t.y);
    EXPECT_EQ(10, t.r);
    EXPECT_EQ(40, t.a);
    EXPECT_EQ(2.0f, t.size);
    EXPECT_EQ(0x280A141Eu, Text_Color(t));
}

TEST_F(TextQueue, NothingIsQueuedWhileDrawingIsNotAllowed)
{
    Lib_SetFrameSkip(1);
    EXPECT_EQ(0, Draw_Text(0, 0, "x"));
    EXPECT_TRUE(g_TextQueue.empty());
}

TEST_F(TextQueue, LongOutputIsCutToTheFieldAtACharacterBoundary)
{
    // 254 ASCII bytes then a double-byte character: it would end at byte 256, so it is left out
    // whole; far longer output stays inside the 256-byte field too.
    std::string head(254, 'a');
    EXPECT_EQ(1, Draw_Text(0, 0, "%s%s", head.c_str(), "明"));
    ASSERT_EQ(1u, g_TextQueue.size());
    EXPECT_EQ(254u, std::strlen(g_TextQueue[0].text));
    EXPECT_EQ(head, g_TextQueue[0].text);

    std::string huge(5000, 'b');
    EXPECT_EQ(1, Draw_Text(1, 2, "%s%d", huge.c_str(), 7));
    ASSERT_EQ(2u, g_TextQueue.size());
    EXPECT_EQ(255u, std::strlen(g_TextQueue[1].text));
    EXPECT_EQ(1, g_TextQueue[1].x) << "the fields after the text are intact";
    EXPECT_EQ(2, g_TextQueue[1].y);
    EXPECT_EQ(255, g_TextQueue[1].r);
}

TEST(TextLayout, WindowScaleAndFontHeight)
{
    float s[2];
    Text_WindowScale(1, 1920, 1080, s);
    EXPECT_FLOAT_EQ(1.5f, s[0]);
    EXPECT_FLOAT_EQ(1.5f, s[1]);
    EXPECT_EQ(31, Text_FontHeight(s[0], 1.0f));
    EXPECT_EQ(63, Text_FontHeight(s[0], 2.0f));
    Text_WindowScale(0, 1920, 1080, s);
    EXPECT_EQ(1.0f, s[0]);
    EXPECT_EQ(21, Text_FontHeight(s[0], 1.0f));
    EXPECT_EQ(0, Text_FontHeight(s[0], 0.0f));
}

TEST(TextLayout, DrawPositions)
{
    struct Row {
        int x, y;
        bool game;
        int monW, monH;
        float panX, panY;
        int scale, bbW, bbH;
        int wantX, wantY;
    };
    const Row rows[] = {
        {100, 100, false, 1920, 1080, 0, 0, 1, 1920, 1080, 150, 150},
        {100, 100, false, 1920, 1080, 0, 0, 0, 1920, 1080, 100, 100},
        // the text offset centres the 1280 x 720 base: (1920 - 1280) / 2 - 160, (1080 - 720) / 2 - 120
        {10, 20, true, 1920, 1080, -160, -120, 0, 1920, 1080, 170, 80},
        {0, 0, true, 1920, 1080, 0.75f, -0.75f, 0, 1920, 1080, 320, 179},
    };
    for (const Row& r : rows) {
        int x, y;
        Text_DrawPosition(r.x, r.y, r.game, r.monW, r.monH, r.panX, r.panY, r.scale, r.bbW, r.bbH, &x, &y);
        EXPECT_EQ(r.wantX, x) << r.x << "," << r.y;
        EXPECT_EQ(r.wantY, y) << r.x << "," << r.y;
    }
}

} // namespace
