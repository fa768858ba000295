// GoogleTest helpers of the model tests: a clean model table per test and a field-by-field
// comparison of what a QVP file carries.
#pragma once
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "frame/lib.h"
#include "model/model3.h"
#include "model/model_table.h"
#include "support/model_builders.h"
#include "support/model_recorder.h"
#include "support/recorder.h"

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Model3_ReleaseAll();
        Rec().Clear();
        ModelRec().Clear();
        g_StudioFlag = 0;
        g_Lib.allocArrays = 0;
        g_ToonShading = 0;
        g_Mode = MODE_PREVIEW;
    }
    void TearDown() override
    {
        Model3_ReleaseAll();
        g_StudioFlag = 0;
        g_Lib.allocArrays = 0;
    }
};

using namespace QVL;

inline bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, 4) == 0;
}

inline void ExpectFloats(const float* a, const float* b, size_t n, const char* what)
{
    for (size_t i = 0; i < n; ++i)
        EXPECT_TRUE(SameBits(a[i], b[i])) << what << "[" << i << "]: " << a[i] << " vs " << b[i];
}

template <typename T>
inline void ExpectArray(const std::vector<T>& a, const std::vector<T>& b, int32_t count, const char* what)
{
    ASSERT_GE(a.size(), (size_t)count) << what;
    ASSERT_GE(b.size(), (size_t)count) << what;
    ExpectFloats(reinterpret_cast<const float*>(a.data()), reinterpret_cast<const float*>(b.data()),
                 (size_t)count * sizeof(T) / 4, what);
}

inline void ExpectWeight(const WEIGHT3& a, const WEIGHT3& b)
{
    EXPECT_EQ(a.boneA, b.boneA);
    EXPECT_EQ(a.boneB, b.boneB);
    EXPECT_TRUE(SameBits(a.weightA, b.weightA));
    EXPECT_EQ(a.automatic, b.automatic);
}

inline void ExpectFace(const FACE3& a, const FACE3& b)
{
    ASSERT_EQ(a.cornerCount, b.cornerCount);
    for (int c = 0; c < a.cornerCount; ++c)
        for (int k = 0; k < 4; ++k) EXPECT_EQ(a.corners[c][k], b.corners[c][k]);
    EXPECT_EQ(a.group, b.group);
}

inline void ExpectSameFileContent(const MODEL3& a, const MODEL3& b)
{
    EXPECT_EQ(a.version, b.version);
    ASSERT_EQ(a.positionCount, b.positionCount);
    ASSERT_EQ(a.normalCount, b.normalCount);
    ASSERT_EQ(a.colorCount, b.colorCount);
    ASSERT_EQ(a.uvCount, b.uvCount);
    ExpectArray(a.positions, b.positions, a.positionCount, "positions");
    ExpectArray(a.normals, b.normals, a.normalCount, "normals");
    ExpectArray(a.colors, b.colors, a.colorCount, "colours");
    ExpectArray(a.uvs, b.uvs, a.uvCount, "uvs");
    for (int32_t i = 0; i < a.positionCount; ++i) ExpectWeight(a.weights[i], b.weights[i]);
    ASSERT_EQ(a.faceCount, b.faceCount);
    for (int32_t i = 0; i < a.faceCount; ++i) ExpectFace(a.faces[i], b.faces[i]);
    ASSERT_EQ(a.textureCount, b.textureCount);
    for (int i = 0; i < a.textureCount; ++i) {
        EXPECT_EQ(a.textures[i].used, b.textures[i].used);
        if (a.textures[i].used) { EXPECT_STREQ(a.textures[i].file, b.textures[i].file); }
    }
    EXPECT_EQ(a.displacement, b.displacement);
    EXPECT_TRUE(SameBits(a.displacementHeight, b.displacementHeight));
    ASSERT_EQ(a.groupCount, b.groupCount);
    for (int i = 0; i < a.groupCount; ++i) {
        const GROUP3& x = a.groups[i];
        const GROUP3& y = b.groups[i];
        EXPECT_STREQ(x.name, y.name);
        EXPECT_EQ(x.texture, y.texture);
        ExpectFloats(x.color, y.color, 3, "colour");
        ExpectFloats(&x.alpha, &y.alpha, 1, "alpha");
        EXPECT_EQ(x.shading, y.shading);
        EXPECT_EQ(x.uvMapping, y.uvMapping);
        ExpectFloats(x.uvOffset, y.uvOffset, 2, "uv offset");
        ExpectFloats(x.uvScale, y.uvScale, 2, "uv scale");
        EXPECT_EQ(x.doubleSided, y.doubleSided);
        EXPECT_EQ(x.reserved0, y.reserved0);
        EXPECT_EQ(x.mirror, y.mirror);
        EXPECT_EQ(x.specular, y.specular);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(x.specularColor[k], y.specularColor[k]);
        EXPECT_EQ(x.textureSwitch, y.textureSwitch);
        EXPECT_EQ(x.reserved1, y.reserved1);
        EXPECT_EQ(x.reserved2, y.reserved2);
        EXPECT_EQ(x.reserved3, y.reserved3);
        EXPECT_EQ(x.selfIllumination, y.selfIllumination);
        ExpectFloats(&x.reserved4, &y.reserved4, 1, "reserved4");
        EXPECT_EQ(x.reserved5, y.reserved5);
        ExpectFloats(&x.reserved6, &y.reserved6, 1, "reserved6");
        EXPECT_EQ(x.normalMap, y.normalMap);
        EXPECT_EQ(x.normalMapTexture, y.normalMapTexture);
        EXPECT_EQ(x.reserved7, y.reserved7);
        EXPECT_EQ(x.reserved8, y.reserved8);
        ExpectFloats(&x.reserved9, &y.reserved9, 1, "reserved9");
        EXPECT_EQ(x.reserved10, y.reserved10);
        EXPECT_EQ(x.reserved11, y.reserved11);
        EXPECT_EQ(x.reserved12, y.reserved12);
        ExpectFloats(&x.reserved13, &y.reserved13, 1, "reserved13");
        EXPECT_EQ(x.alphaTest, y.alphaTest);
        EXPECT_EQ(x.alphaRef, y.alphaRef);
        ASSERT_EQ(x.exportVertexCount, y.exportVertexCount);
        ExpectArray(x.exportPositions, y.exportPositions, x.exportVertexCount, "export positions");
        ExpectArray(x.exportNormals, y.exportNormals, x.exportVertexCount, "export normals");
        ExpectArray(x.exportColors, y.exportColors, x.exportVertexCount, "export colours");
        ExpectArray(x.exportUVs, y.exportUVs, x.exportVertexCount, "export uvs");
        for (int32_t v = 0; v < x.exportVertexCount; ++v) ExpectWeight(x.exportWeights[v], y.exportWeights[v]);
        ASSERT_EQ(x.exportTriangleCount, y.exportTriangleCount);
        for (int32_t t = 0; t < x.exportTriangleCount; ++t) ExpectFace(x.exportTriangles[t], y.exportTriangles[t]);
    }
    EXPECT_EQ(a.light, b.light);
    EXPECT_EQ(a.vertexColorMode, b.vertexColorMode);
    EXPECT_EQ(a.edge, b.edge);
    EXPECT_TRUE(SameBits(a.edgeWidth, b.edgeWidth));
    EXPECT_EQ(a.subdivision, b.subdivision);
    ASSERT_EQ(a.motions.size(), b.motions.size());
    for (size_t i = 0; i < a.motions.size(); ++i) {
        const MOTION3& x = a.motions[i];
        const MOTION3& y = b.motions[i];
        EXPECT_STREQ(x.name, y.name);
        EXPECT_EQ(x.length, y.length);
        EXPECT_EQ(x.loop, y.loop);
        EXPECT_EQ(x.next, y.next);
        for (int g = 0; g < a.groupCount; ++g) {
            ASSERT_EQ(x.tracks[g].keyCount, y.tracks[g].keyCount);
            for (int k = 0; k < x.tracks[g].keyCount; ++k) {
                EXPECT_EQ(x.tracks[g].keys[k].frame, y.tracks[g].keys[k].frame);
                EXPECT_EQ(x.tracks[g].keys[k].reserved, y.tracks[g].keys[k].reserved);
                EXPECT_EQ(x.tracks[g].keys[k].texture, y.tracks[g].keys[k].texture);
                ExpectFloats(x.tracks[g].keys[k].reservedF, y.tracks[g].keys[k].reservedF, 4, "group key");
            }
        }
    }
    ASSERT_EQ(a.boneCount, b.boneCount);
    for (int i = 0; i < a.boneCount; ++i) {
        const BONE3& x = a.bones[i];
        const BONE3& y = b.bones[i];
        EXPECT_STREQ(x.name, y.name);
        EXPECT_EQ(x.parent, y.parent);
        ExpectFloats(x.rest.translation, y.rest.translation, 3, "rest");
        ExpectFloats(x.rest.rotation, y.rest.rotation, 4, "rest");
        ExpectFloats(x.rest.scale, y.rest.scale, 3, "rest");
        for (size_t mo = 0; mo < a.motions.size(); ++mo) {
            ASSERT_EQ(x.keys[mo].size(), y.keys[mo].size());
            for (size_t k = 0; k < x.keys[mo].size(); ++k) {
                EXPECT_EQ(x.keys[mo][k].frame, y.keys[mo][k].frame);
                ExpectFloats(x.keys[mo][k].translation, y.keys[mo][k].translation, 10, "key");
            }
        }
    }
}

