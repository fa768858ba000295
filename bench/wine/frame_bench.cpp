// Frame time of the renderer on the real device under Wine: each case sets up a scene, then the
// frame tick's work (Render_Frame and Present) is timed over a number of frames and printed.
// Add a case to kCases to measure another scene in the same run.
#include <windows.h>
#include <d3d9.h>

#include <cstdio>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "render/camera.h"
#include "render/frame_render.h"

#include "grid_scene.h"

namespace {

struct BENCH_CASE {
    const char* name;
    void (*setup)();     // may be null
    void (*teardown)();  // may be null
    int frames;
    void (*perFrame)();  // work of the idle pass timed with each frame; may be null
};

void EmptySetup()
{
    Lib_SetClearColor(0, 0, 0);
    Render_SetFade(1.0f);
}

void ShaderSetup()
{
    GridScene_SetupKind3();
    g_ShaderMode = 1;
}

void ShaderTeardown()
{
    g_ShaderMode = 0;
    GridScene_Teardown();
}

const BENCH_CASE kCases[] = {
    {"empty frame", EmptySetup, nullptr, 60},
    // The polygon screen's wire frame of the 65,000-quad grid below, as its Top view draws it.
    {"65,000 quads, wire frame", GridScene_SetupWire, GridScene_TeardownWire, 3},
    // 65,000 quads from the buffers of render kind 3, and drawn immediately as the 3D editors do.
    {"65,000 quads, kind 3", GridScene_SetupKind3, GridScene_Teardown, 5},
    {"65,000 quads, kind 0", GridScene_SetupKind0, GridScene_Teardown, 3},
    {"65,000 quads, kind 3, shader path", ShaderSetup, ShaderTeardown, 5},
    // Skinned by two bones: on the processor each frame, then through the bone palette.
    {"65,000 quads, CPU-skinned", GridScene_SetupCpuSkinned, GridScene_Teardown, 5, GridScene_SkinOnCpu},
    {"65,000 quads, GPU-skinned", GridScene_SetupGpuSkinned, GridScene_Teardown, 5},
};

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double Now()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return (double)c.QuadPart / (double)f.QuadPart;
}

HANDLE g_Done;

DWORD WINAPI Watchdog(LPVOID)
{
    if (WaitForSingleObject(g_Done, 900 * 1000) == WAIT_OBJECT_0) return 0;
    std::fprintf(stderr, "frame bench: no end after 900 s\n");
    std::fflush(stderr);
    ExitProcess(3);
    return 0;
}

} // namespace

int main()
{
    g_Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    if (!LibInit(GetModuleHandleA(nullptr)) || !g_Device) {
        std::printf("frame bench: LibInit failed\n");
        return 1;
    }
    Pump();
    std::printf("frame bench: back buffer %ux%u\n", g_BackBufferDesc.Width, g_BackBufferDesc.Height);
    for (const BENCH_CASE& c : kCases) {
        if (c.setup) c.setup();
        // Warm-up: first-use resources, fonts, driver caches (a few frames where each takes seconds).
        for (int i = 0; i < (c.frames < 10 ? 2 : 10); ++i) {
            if (c.perFrame) c.perFrame();
            Render_Frame();
            g_Device->Present(nullptr, nullptr, nullptr, nullptr);
        }
        Pump();
        double t0 = Now();
        for (int i = 0; i < c.frames; ++i) {
            if (c.perFrame) c.perFrame();
            Render_Frame();
            g_Device->Present(nullptr, nullptr, nullptr, nullptr);
        }
        double ms = (Now() - t0) * 1000.0 / c.frames;
        if (c.name && g_ShaderMode == 0 && c.setup == ShaderSetup) std::printf("frame bench: the shader path switched itself off\n");
        std::printf("frame bench: %-34s %8.3f ms per frame (%d frames, %d triangles)\n", c.name, ms, c.frames,
                    (int)g_Renderer.triangleCount);
        std::fflush(stdout);
        Pump();
        if (c.teardown) c.teardown();
    }
    std::fflush(stdout);
    // End as the studio does (window destroyed, device released, quit message), with no thread of
    // ours left: a process torn down with live Direct3D threads is killed rather than exited here.
    SetEvent(g_Done);
    WaitForSingleObject(watchdog, INFINITE);
    SendMessageA(g_MainWnd, WM_CLOSE, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
