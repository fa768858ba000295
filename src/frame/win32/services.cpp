// The studio's side of the frame's platform seam (frame/services.h).
#include <windows.h>
#include <process.h>

#include "frame/services.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"

void Lib_MessageBox(const char* text)
{
    MessageBoxA(g_MainWnd, text, kProductCaption, MB_OK);
    // The box stopped time: the frame timer must not count it.
    Lib_ResetFrameTimer();
}

bool Svc_ReplaceFile(const char* src, const char* dst)
{
    return MoveFileExA(src, dst, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Svc_GetCurrentDirectory(char* buf, int size)
{
    DWORD n = GetCurrentDirectoryA((DWORD)size, buf);
    return n > 0 && n < (DWORD)size;
}

bool Svc_SetCurrentDirectory(const char* path)
{
    return SetCurrentDirectoryA(path) != 0;
}

bool Svc_FileExists(const char* path)
{
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

uint32_t Svc_TimeMs()
{
    return timeGetTime();
}

void Svc_Sleep(int ms)
{
    Sleep((DWORD)ms);
}

struct SVC_THREAD {
    HANDLE handle;
    void (*fn)(void*);
    void* arg;
};

static unsigned __stdcall ThreadEntry(void* p)
{
    SVC_THREAD* t = static_cast<SVC_THREAD*>(p);
    t->fn(t->arg);
    _endthreadex(0);
    return 0;
}

SVC_THREAD* Svc_ThreadStart(void (*fn)(void*), void* arg)
{
    SVC_THREAD* t = new SVC_THREAD{nullptr, fn, arg};
    t->handle = (HANDLE)_beginthreadex(nullptr, 0, ThreadEntry, t, 0, nullptr);
    if (!t->handle) {
        delete t;
        return nullptr;
    }
    return t;
}

void Svc_ThreadJoin(SVC_THREAD* t)
{
    if (!t) return;
    WaitForSingleObject(t->handle, INFINITE);
    CloseHandle(t->handle);
    delete t;
}

struct SVC_LOCK {
    CRITICAL_SECTION cs;
};

SVC_LOCK* Svc_LockCreate()
{
    SVC_LOCK* l = new SVC_LOCK;
    InitializeCriticalSection(&l->cs);
    return l;
}

void Svc_LockDestroy(SVC_LOCK* l)
{
    if (!l) return;
    DeleteCriticalSection(&l->cs);
    delete l;
}

void Svc_Lock(SVC_LOCK* l) { EnterCriticalSection(&l->cs); }
void Svc_Unlock(SVC_LOCK* l) { LeaveCriticalSection(&l->cs); }

bool Svc_PumpMessage()
{
    MSG msg;
    // An inactive studio waits for its next message, but never past the next check of the load:
    // a load that ends posts nothing.
    if (!App_IsActive()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}
