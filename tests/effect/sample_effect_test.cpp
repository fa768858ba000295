// The sample effect's files in the data folder: the 2D object plays a whole explosion that ends
// transparent, so that its loop starts again unseen.
#include <gtest/gtest.h>

#include <string>

#include "frame/bytes.h"
#include "model/obj2.h"
#include "support/recorder.h"

namespace {

std::vector<uint8_t> ReadData(const char* name)
{
    std::vector<uint8_t> bytes;
    std::string path = std::string(QV_SOURCE_DIR) + "/data/" + name;
    EXPECT_TRUE(QVL::File_ReadAll(path.c_str(), bytes)) << path;
    return bytes;
}

} // namespace

TEST(SampleEffect, ExplosionObjectPlaysAndEndsTransparent)
{
    Obj2_ReleaseAll();
    Rec().Clear();
    std::vector<uint8_t> bytes = ReadData(u8"Effect/爆発/爆発.QVA");
    int32_t id = Obj2_Create();
    QVL::OBJ2* rec = Obj2_GetById(id);
    ASSERT_EQ(QVL::RECORD_OK, Qva_Parse(bytes.data(), bytes.size(), *rec));
    ASSERT_EQ(3, rec->imageCount);
    EXPECT_EQ(7, rec->partCount);
    ASSERT_EQ(1u, rec->motions.size());
    EXPECT_EQ(60, rec->motions[0].length);
    for (int32_t i = 0; i < rec->imageCount; ++i) {
        Obj2_LoadImage(id, i, rec->imageNames[i]);
        EXPECT_FALSE(ReadData((std::string(u8"Effect/爆発/") + rec->imageNames[i]).c_str()).empty());
    }
    std::vector<QVL::OBJ2_QUAD> quads;
    for (int32_t f = 0; f < 60; ++f) {
        rec->frame = f;
        Obj2_Animate(rec);
        Obj2_BuildQuads(rec, quads);
        EXPECT_EQ(6u, quads.size()) << f;
        int32_t alpha = 0;
        for (const QVL::OBJ2_QUAD& q : quads) alpha = q.a > alpha ? q.a : alpha;
        if (f < 12) {
            EXPECT_GT(alpha, 200) << f;
        }
        if (f >= 52) {
            EXPECT_EQ(0, alpha) << f;
        }
    }
    // The three pictures of the effect's texture table lie in the data folder itself.
    for (const char* name : {"box.bmp", u8"爆発.png", "pupu.bmp"}) EXPECT_GT(ReadData(name).size(), 100u) << name;
}
