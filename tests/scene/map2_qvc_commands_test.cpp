// The MAP2 and QVC file commands in a mode that made neither record: they make it and do the work.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/bytes.h"
#include "scene/coli.h"
#include "scene/map2.h"
#include "shell/file_commands.h"
#include "shell/shell_fixture.h"
#include "support/model_builders.h"
#include "support/recorder.h"
#include "support/ui_recorder.h"

namespace {

class Map2QvcCommands : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        Map2_Free();
        Coli_Free();
    }
    void TearDown() override
    {
        Map2_Free();
        Coli_Free();
        ShellTest::TearDown();
    }
};

TEST_F(Map2QvcCommands, MapOpenAndSaveWithoutTheEditor)
{
    std::unique_ptr<QVL::MAP2> m(new QVL::MAP2());
    m->chipCount = 1;
    std::strcpy(m->chipNames[0], "a.psd");
    m->width = 2;
    m->height = 1;
    m->cells[0][1] = 0;
    std::vector<uint8_t> bytes;
    Map2_Write(*m, bytes);
    const int32_t v = QVL::kMap2Version;
    std::memcpy(&bytes[4], &v, 4);
    const std::string path = WriteTempFile("two.MAP2", bytes);

    UiRec().fileAnswers = {path};
    FileCmd_LoadMAP2();
    ASSERT_NE(nullptr, g_Map2);
    EXPECT_EQ(2, g_Map2->width);
    EXPECT_TRUE(Rec().messageBoxes.empty());

    const std::string out = Rec_TempDir() + "/out.MAP2";
    UiRec().fileAnswers = {out};
    FileCmd_SaveMAP2();
    std::vector<uint8_t> saved;
    ASSERT_TRUE(QVL::File_ReadAll(out.c_str(), saved));
    EXPECT_EQ(bytes, saved);
}

TEST_F(Map2QvcCommands, CollisionSaveWithoutTheEditorWritesANewSet)
{
    ASSERT_EQ(nullptr, g_Coli);
    const std::string out = Rec_TempDir() + "/set.QVC";
    UiRec().fileAnswers = {out};
    FileCmd_SaveQVC();
    ASSERT_NE(nullptr, g_Coli);
    EXPECT_STREQ(out.c_str(), g_Coli->fileName);
    std::vector<uint8_t> saved;
    ASSERT_TRUE(QVL::File_ReadAll(out.c_str(), saved));
    EXPECT_EQ(87u, saved.size());

    Coli_Free();
    UiRec().fileAnswers = {out};
    FileCmd_LoadQVC();
    ASSERT_NE(nullptr, g_Coli);
    EXPECT_EQ(1, g_Coli->active);
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

} // namespace
