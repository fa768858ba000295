#include <gtest/gtest.h>

#include "frame/d3d_values.h"
#include "frame/format_names.h"

using namespace QVL;

TEST(FormatNames, FormatsWithAndWithoutPrefix)
{
    struct Case { int32_t format; const char* name; };
    const Case cases[] = {
        {FMT_X8R8G8B8, "D3DFMT_X8R8G8B8"}, {FMT_D24S8, "D3DFMT_D24S8"}, {FMT_UNKNOWN, "D3DFMT_UNKNOWN"},
        {FMT_D16_LOCKABLE, "D3DFMT_D16_LOCKABLE"}, {FMT_A32B32G32R32F, "D3DFMT_A32B32G32R32F"},
        {FMT_CxV8U8, "D3DFMT_CxV8U8"}, {FMT_MULTI2_ARGB8, "D3DFMT_MULTI2_ARGB8"}, {FMT_DXT3, "D3DFMT_DXT3"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.name, App_FormatName(c.format, true));
        EXPECT_STREQ(c.name + 7, App_FormatName(c.format, false));
    }
    EXPECT_STREQ("Unknown format", App_FormatName(12345, true));
    EXPECT_STREQ("Unknown format", App_FormatName(12345, false));
}

TEST(FormatNames, DialogNameTables)
{
    EXPECT_STREQ("D3DDEVTYPE_REF", Enum_DeviceTypeName(DEVTYPE_REF));
    EXPECT_STREQ("Unknown devType", Enum_DeviceTypeName(0));
    EXPECT_STREQ("D3DMULTISAMPLE_NONMASKABLE", Enum_MultiSampleTypeName(1));
    EXPECT_STREQ("D3DMULTISAMPLE_16_SAMPLES", Enum_MultiSampleTypeName(16));
    EXPECT_STREQ("Unknown Multisample Type", Enum_MultiSampleTypeName(17));
    EXPECT_STREQ("PURE_HARDWARE_VP", Enum_VertexProcessingTypeName(VP_PURE_HARDWARE));
    EXPECT_STREQ("Unknown VertexProcessingType", Enum_VertexProcessingTypeName(4));
    EXPECT_STREQ("D3DPRESENT_INTERVAL_THREE", Enum_PresentIntervalName(PRESENT_INTERVAL_THREE));
    EXPECT_STREQ("D3DPRESENT_INTERVAL_IMMEDIATE", Enum_PresentIntervalName(PRESENT_INTERVAL_IMMEDIATE));
    EXPECT_STREQ("Unknown PresentInterval", Enum_PresentIntervalName(3));
}
