#include "frame/cpu_info.h"

#include <cstring>

#include "frame/log.h"

namespace QVL {

int16_t CPU_CoreCountFromMask(bool ok, uint32_t mask)
{
    if (!ok) return 1;
    mask |= 1;
    int16_t highest = 0;
    for (int16_t bit = 0; bit < 32; ++bit) {
        if (mask & (1u << bit)) highest = bit;
    }
    return (int16_t)(highest + 1);
}

int16_t CPU_PhysicalCount(CPUID_FN cpuid)
{
    if (!cpuid) return 1;
    uint32_t r[4];
    cpuid(0, r);
    uint32_t maxBasic = r[0];
    char vendor[13];
    std::memcpy(vendor + 0, &r[1], 4);  // EBX, EDX, ECX
    std::memcpy(vendor + 4, &r[3], 4);
    std::memcpy(vendor + 8, &r[2], 4);
    vendor[12] = 0;
    cpuid(0x80000000u, r);
    uint32_t maxExtended = r[0];

    if (std::strcmp(vendor, "GenuineIntel") == 0 && maxBasic > 3) {
        cpuid(4, r);
        return (int16_t)(1 + ((r[0] >> 26) & 0x3F));
    }
    if (std::strcmp(vendor, "AuthenticAMD") == 0 && maxExtended > 0x80000007u) {
        cpuid(0x80000008u, r);
        return (int16_t)(1 + (r[2] & 0xFF));
    }
    return 1;
}

void CPU_Decode(CPU_INFO* info, const CPU_PROBE& probe)
{
    info->coreCount = 1;
    info->physicalCount = 1;
    info->coreCount = CPU_CoreCountFromMask(probe.affinityOk, probe.processMask);
    info->physicalCount = CPU_PhysicalCount(probe.cpuid);
    Log_Printf("CPUコア数 %d", info->coreCount);
    Log_Printf("CPU物理数 %d", info->physicalCount);
}

} // namespace QVL
