// Entry of the Wine test programs: GoogleTest with a modal-window guard and a watchdog, so that no
// test can hang the run.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "wine/support/modal_guard.h"

static DWORD WINAPI Watchdog(LPVOID p)
{
    DWORD seconds = (DWORD)(UINT_PTR)p;
    Sleep(seconds * 1000);
    std::fprintf(stderr, "watchdog: no end after %lu s, stopping the test program\n", (unsigned long)seconds);
    std::fflush(stderr);
    ExitProcess(3);
    return 0;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Tests drop their files beside the program.
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    while (n > 0 && exe[n - 1] != '\\') --n;
    exe[n] = 0;
    if (n) SetCurrentDirectoryA(exe);
    // Each run starts from the studio's default settings: a run before this one may have saved
    // others on its way out (a screen's anti-aliasing, window places).
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Data\\System\\System*.dat", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileA((std::string("Data\\System\\") + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    const char* limit = std::getenv("QV_TEST_WATCHDOG");
    DWORD seconds = limit ? (DWORD)std::atoi(limit) : 600;
    CreateThread(nullptr, 0, Watchdog, (LPVOID)(UINT_PTR)seconds, 0, nullptr);
    ModalGuard::Install();
    int rc = RUN_ALL_TESTS();
    std::fflush(stdout);
    // Skip static destruction of anything a test left half-torn-down.
    ExitProcess((UINT)rc);
}
