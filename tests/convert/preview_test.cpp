// The preview mode: its menu, the default object shown only while it is active, the 3D scene and
// the main view redrawn on every pass.
#include "convert/preview_hooks.h"
#include "model/scene_object.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/shell_fixture.h"

namespace {

class Preview : public ShellTest {};

TEST_F(Preview, EnterShowsTheObjectAndExitHidesIt)
{
    g_DefaultObjectId = ObjectCreate();
    QVL::OBJECT* o = Object_GetById(g_DefaultObjectId);
    ASSERT_NE(nullptr, o);
    Object_SetVisible(o, 0);
    g_CurLayer = 3;
    Preview_Enter();
    EXPECT_TRUE(UiRec().Has("MenuSet MENU_PREVIEW"));
    EXPECT_EQ(1, o->visible);
    EXPECT_EQ(0, g_CurLayer);
    Render_Set3DScene(0);
    View_Row()[0].redraw = 0;
    Preview_Frame();
    EXPECT_EQ(1, g_Draw3DScene);
    EXPECT_EQ(1, View_Row()[0].redraw);
    Preview_Exit();
    EXPECT_EQ(0, o->visible);
    // Entering again shows it again.
    Preview_Enter();
    EXPECT_EQ(1, o->visible);
}

} // namespace

namespace {

int g_renderOpens;
void CountRenderOpen() { ++g_renderOpens; }

TEST_F(Preview, OnlyTheRenderingCommandOpensTheDialog)
{
    void (*saved)() = g_PreviewRenderDlgOpen;
    g_PreviewRenderDlgOpen = CountRenderOpen;
    g_renderOpens = 0;
    for (int id : {40060, 40062, 40092, 0, -40061}) Preview_OnCommand(id);
    EXPECT_EQ(0, g_renderOpens);
    Preview_OnCommand(40061);
    EXPECT_EQ(1, g_renderOpens);
    // Without a registered dialog the command does nothing.
    g_PreviewRenderDlgOpen = nullptr;
    Preview_OnCommand(40061);
    EXPECT_EQ(1, g_renderOpens);
    g_PreviewRenderDlgOpen = saved;
}

} // namespace
