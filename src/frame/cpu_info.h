// Processor identification: the core and physical counts LibInit records and logs.
#pragma once
#include <cstdint>

namespace QVL {

struct CPU_INFO {
    int16_t coreCount;      // 1 until measured
    int16_t physicalCount;  // 1 until measured
};

// One CPUID query: regs receives EAX, EBX, ECX, EDX of the leaf (sub-leaf 0).
typedef void (*CPUID_FN)(uint32_t leaf, uint32_t regs[4]);

// What the machine told: the process affinity mask (when it could be read) and the CPUID instruction.
struct CPU_PROBE {
    bool affinityOk;
    uint32_t processMask;
    CPUID_FN cpuid;
};

// Index of the highest set bit of (mask | 1), plus 1; 1 when the mask could not be read.
int16_t CPU_CoreCountFromMask(bool ok, uint32_t mask);
// 1 + the cores field of the vendor's CPUID leaf (Intel leaf 4, AMD leaf 0x80000008), else 1.
int16_t CPU_PhysicalCount(CPUID_FN cpuid);
// Measures both counts and logs them.
void CPU_Decode(CPU_INFO* info, const CPU_PROBE& probe);

} // namespace QVL

// Measures this machine into the library's CPU information (frame/win32).
void CPU_Identify(QVL::CPU_INFO* info);
