#include <gtest/gtest.h>

#include <cstring>

#include "frame/cpu_info.h"
#include "support/recorder.h"

using namespace QVL;

namespace {
// A made-up processor: vendor, highest leaves and the two core fields.
struct FAKE_CPU {
    const char* vendor;
    uint32_t maxBasic, maxExtended;
    uint32_t leaf4Eax, leaf80000008Ecx;
};
const FAKE_CPU* g_cpu;

void FakeCpuid(uint32_t leaf, uint32_t r[4])
{
    r[0] = r[1] = r[2] = r[3] = 0;
    if (leaf == 0) {
        r[0] = g_cpu->maxBasic;
        std::memcpy(&r[1], g_cpu->vendor + 0, 4);
        std::memcpy(&r[3], g_cpu->vendor + 4, 4);
        std::memcpy(&r[2], g_cpu->vendor + 8, 4);
    } else if (leaf == 0x80000000u) {
        r[0] = g_cpu->maxExtended;
    } else if (leaf == 4) {
        r[0] = g_cpu->leaf4Eax;
    } else if (leaf == 0x80000008u) {
        r[2] = g_cpu->leaf80000008Ecx;
    }
}
} // namespace

TEST(CpuInfo, CoreCountIsHighestAffinityBitPlusOne)
{
    EXPECT_EQ(4, CPU_CoreCountFromMask(true, 0x9));    // processors 0 and 3
    EXPECT_EQ(4, CPU_CoreCountFromMask(true, 0xB));
    EXPECT_EQ(1, CPU_CoreCountFromMask(true, 0));      // the mask OR 1
    EXPECT_EQ(32, CPU_CoreCountFromMask(true, 0x80000000u));
    EXPECT_EQ(1, CPU_CoreCountFromMask(false, 0xFF));  // the mask could not be read
}

TEST(CpuInfo, PhysicalCountByVendor)
{
    const FAKE_CPU cases[] = {
        {"GenuineIntel", 0xB, 0x80000008u, 7u << 26 | 0x121, 0},  // leaf 4: 7 + 1 cores
        {"GenuineIntel", 3, 0x80000008u, 7u << 26, 0},            // leaf 4 not offered
        {"AuthenticAMD", 0xD, 0x80000008u, 0, 0x3005},            // 5 + 1
        {"AuthenticAMD", 0xD, 0x80000007u, 0, 0x3005},            // extended leaf missing
        {"OtherVendor!", 0xD, 0x80000008u, 7u << 26, 0x3005},
    };
    const int16_t expected[] = {8, 1, 6, 1, 1};
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        g_cpu = &cases[i];
        EXPECT_EQ(expected[i], CPU_PhysicalCount(FakeCpuid)) << cases[i].vendor;
    }
}

TEST(CpuInfo, DecodeLogsBothCounts)
{
    const FAKE_CPU intel = {"GenuineIntel", 0xB, 0x80000008u, 3u << 26, 0};
    g_cpu = &intel;
    Rec().Clear();
    CPU_INFO info = {};
    CPU_Decode(&info, CPU_PROBE{true, 0xF, FakeCpuid});
    EXPECT_EQ(4, info.coreCount);
    EXPECT_EQ(4, info.physicalCount);
    ASSERT_EQ(2u, Rec().logLines.size());
    EXPECT_EQ("CPUコア数 4", Rec().logLines[0]);
    EXPECT_EQ("CPU物理数 4", Rec().logLines[1]);
}
