// Processor identification on this machine: affinity mask and the CPUID instruction.
#include <windows.h>
#include <cpuid.h>

#include "frame/cpu_info.h"

static void Cpuid(uint32_t leaf, uint32_t regs[4])
{
    __cpuid_count(leaf, 0, regs[0], regs[1], regs[2], regs[3]);
}

void CPU_Identify(QVL::CPU_INFO* info)
{
    DWORD_PTR process = 0, system = 0;
    QVL::CPU_PROBE probe;
    probe.affinityOk = GetProcessAffinityMask(GetCurrentProcess(), &process, &system) != 0;
    probe.processMask = (uint32_t)process;
    probe.cpuid = Cpuid;
    QVL::CPU_Decode(info, probe);
}
