// The interpreter's engine host: a script's statements on the real tables.
#include <gtest/gtest.h>

#include <string>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "model/gpu_services.h"
#include "model/model_table.h"
#include "render/text_queue.h"
#include "script/compiler.h"
#include "script/interp.h"
#include "support/qvp_fixtures.h"
#include "support/model_recorder.h"
#include "support/recorder.h"

namespace {

struct VmEngine : testing::Test {
    char oldDir[512] = {};
    void SetUp() override
    {
        Model3_ReleaseAll();
        Rec().Clear();
        ModelRec().Clear();
        g_TextQueue.clear();
        Lib_SetFrameSkip(0);
        ASSERT_TRUE(Svc_GetCurrentDirectory(oldDir, sizeof oldDir));
        Vm_AllocBlock(Vm_Create(), 0);
    }
    void TearDown() override
    {
        Vm_Free();
        Svc_SetCurrentDirectory(oldDir);
        Model3_ReleaseAll();
        g_TextQueue.clear();
        g_Lib.keys[32] = 0;
        for (QVL::TEX_HANDLE& h : g_TexTable) h = -1;
    }
    void Run(const std::string& src)
    {
        ASSERT_TRUE(Prog_CompileText(g_ProgCompiler, *g_Vm, src.data(), src.size()));
        Vm_Reset(g_Vm);
        g_Vm->programRunning = 1;
        Vm_Run(g_Vm, Vm_EngineHost());
    }
};

TEST_F(VmEngine, PolyLoadReplacesTheSlotAndFreesTheOldModel)
{
    const std::string dir = Rec_TempDir();
    const std::vector<uint8_t> qvp = QvpFixture(2009000);
    ASSERT_TRUE(QVL::File_WriteAll((dir + "/a.qvp").c_str(), qvp.data(), qvp.size()));
    ASSERT_TRUE(Svc_SetCurrentDirectory(dir.c_str()));
    Run("PolyLoad 2 a.qvp\nPolyLoad 2 a.qvp\nPolyVB 2 42\nPolyLight 2 1\nPolyLoad 300 a.qvp\nPolyLoad -1 a.qvp\n");
    ASSERT_EQ(3, Model3_Count());
    EXPECT_EQ(nullptr, Model3_GetById(0));
    EXPECT_TRUE(Model3_IsReadyById(2));
    EXPECT_NE(42, Model3_GetById(2)->renderKind);   // kinds outside 0..9 are not taken
    EXPECT_EQ(1, Model3_GetById(2)->light & 0xFF);
    int freed = 0;
    for (const auto& e : ModelRec().model3Events) freed += e.first == 2 && e.second == MODEL3_EVENT_FREED;
    EXPECT_EQ(1, freed);
}

TEST_F(VmEngine, TextImagesAndKeys)
{
    g_Lib.keys[32] = 1;
    Run("Font 1 2 50%d%s\nImgLoad 5 p.bmp\nImgLoad 1024 q.bmp\nKey Space\nFont 3 4 held\nEnd\nKey A\nFont 5 6 no\nEnd\n");
    ASSERT_EQ(2u, g_TextQueue.size());
    EXPECT_STREQ("50%d%s", g_TextQueue[0].text);
    EXPECT_STREQ("held", g_TextQueue[1].text);
    EXPECT_EQ((std::vector<std::string>{"p.bmp"}), ModelRec().textures);
    EXPECT_GE(g_TexTable[5], 0);
}

} // namespace
