// QVE and QVA files on Windows paths: the sample object from the Data folder by its CP932 name, an
// effect saved and opened again with its 2D-object part, and a damaged file's message box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "effect/effect.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/obj2.h"
#include "wine/support/modal_guard.h"

TEST(EffectFiles, SampleObjectLoadsFromTheDataFolder)
{
    ModalGuard::Clear();
    int32_t id = Obj2_Load("Data\\Effect\\爆発", "爆発.QVA");
    ASSERT_GE(id, 0);
    const QVL::OBJ2* rec = Obj2_GetById(id);
    EXPECT_EQ(7, rec->partCount);
    EXPECT_EQ(3, rec->imageCount);
    EXPECT_STREQ("Data\\Effect\\爆発\\fire.bmp", rec->imageNames[0]);   // the joined path
    EXPECT_STREQ("火球", rec->partNames[1]);
    EXPECT_TRUE(ModalGuard::Seen().empty());
}

TEST(EffectFiles, EffectWithAnObjectPartSavesAndOpensAgain)
{
    ModalGuard::Clear();
    Effect_EraseAllData();
    int32_t id = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(id);
    QVL::EFFECT_PART& p = e->parts[(size_t)Effect_PartCreate(e)];
    Str_CopyN(p.name, sizeof p.name, "爆発");
    p.kind = QVL::EFFECT_PART_OBJ2;
    Str_CopyN(p.folder, sizeof p.folder, "Effect\\爆発");
    Str_CopyN(p.file, sizeof p.file, "爆発.QVA");
    p.keys[0].shown = 1;
    p.keys[0].blend = 1;
    p.origin[0] = 30.0f;
    e->frameCount = 75;
    ASSERT_TRUE(Effect_Save(e, "Data", "往復.qve"));
    EXPECT_TRUE(GetFileAttributesA("Data\\往復.qve") != INVALID_FILE_ATTRIBUTES);

    int32_t back = Effect_DataCreate();
    ASSERT_EQ(back, QVE_Load(back, "Data", "往復.qve"));
    const QVL::EFFECT* got = Effect_GetData(back);
    EXPECT_EQ(75, got->frameCount);
    ASSERT_EQ(1u, got->parts.size());
    EXPECT_STREQ("爆発", got->parts[0].name);
    EXPECT_EQ(30.0f, got->parts[0].origin[0]);
    const QVL::OBJ2* obj = Obj2_GetById(got->parts[0].object);
    ASSERT_NE(nullptr, obj);
    EXPECT_STREQ("Data\\Effect\\爆発\\爆発.QVA", obj->path);
    EXPECT_EQ(0, obj->visible);
    EXPECT_TRUE(ModalGuard::Seen().empty());
    DeleteFileA("Data\\往復.qve");
}

TEST(EffectFiles, DamagedFileShowsTheMessageWithTheCaption)
{
    std::vector<uint8_t> bytes;
    QVL::EFFECT e;
    Effect_InitData(e);
    QVE_Write(e, bytes);
    bytes[12] = 0x7F;   // a texture count the file cannot hold
    ASSERT_TRUE(QVL::File_WriteAll("Data\\壊れ.qve", bytes.data(), bytes.size()));
    ModalGuard::Clear();
    ModalGuard::Answer(IDOK);
    int32_t id = Effect_DataCreate();
    EXPECT_EQ(-1, QVE_Load(id, "Data", "壊れ.qve"));
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_EQ(kProductCaption, ModalGuard::Seen()[0].caption);
    EXPECT_NE(std::string::npos, ModalGuard::Seen()[0].text.find("QVE形式のファイルが壊れているので"));
    ModalGuard::Clear();
    DeleteFileA("Data\\壊れ.qve");
}
