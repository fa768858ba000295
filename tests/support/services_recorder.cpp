// Native side of the frame's platform seam (frame/services.h): message boxes and log lines are
// recorded in Rec(); files, time and threads are the host's own.
#include <pthread.h>
#include <unistd.h>
#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "frame/services.h"
#include "support/recorder.h"

Recorder& Rec()
{
    // Never destroyed: the scene's destructor stops the loader thread and logs after other statics.
    static Recorder* r = new Recorder;
    return *r;
}

static std::mutex g_recLock;

void Lib_MessageBox(const char* text)
{
    std::lock_guard<std::mutex> g(g_recLock);
    Rec().messageBoxes.push_back(text ? text : "");
}

void Svc_LogLine(const char* line)
{
    std::lock_guard<std::mutex> g(g_recLock);
    Rec().logLines.push_back(line ? line : "");
}

void Log_CreateWindow() { ++Rec().logWindowsCreated; }

bool Svc_ReplaceFile(const char* src, const char* dst)
{
    return std::rename(src, dst) == 0;
}

bool Svc_GetCurrentDirectory(char* buf, int size)
{
    return getcwd(buf, (size_t)size) != nullptr;
}

bool Svc_SetCurrentDirectory(const char* path)
{
    return chdir(path) == 0;
}

bool Svc_FileExists(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

uint32_t Svc_TimeMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000u + ts.tv_nsec / 1000000);
}

void Svc_Sleep(int ms)
{
    usleep((useconds_t)ms * 1000u);
}

struct SVC_THREAD {
    pthread_t id;
    void (*fn)(void*);
    void* arg;
};

static void* ThreadEntry(void* p)
{
    SVC_THREAD* t = static_cast<SVC_THREAD*>(p);
    t->fn(t->arg);
    return nullptr;
}

SVC_THREAD* Svc_ThreadStart(void (*fn)(void*), void* arg)
{
    SVC_THREAD* t = new SVC_THREAD{pthread_t(), fn, arg};
    if (pthread_create(&t->id, nullptr, ThreadEntry, t) != 0) {
        delete t;
        return nullptr;
    }
    return t;
}

void Svc_ThreadJoin(SVC_THREAD* t)
{
    if (!t) return;
    pthread_join(t->id, nullptr);
    delete t;
}

struct SVC_LOCK {
    std::recursive_mutex m;
};

SVC_LOCK* Svc_LockCreate() { return new SVC_LOCK; }
void Svc_LockDestroy(SVC_LOCK* l) { delete l; }
void Svc_Lock(SVC_LOCK* l) { l->m.lock(); }
void Svc_Unlock(SVC_LOCK* l) { l->m.unlock(); }

bool Svc_PumpMessage()
{
    return false;
}

static std::string g_tempRoot;

static void RemoveTempRoot()
{
    if (g_tempRoot.empty()) return;
    std::string cmd = "rm -rf '" + g_tempRoot + "'";
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", g_tempRoot.c_str());
}

std::string Rec_TempDir()
{
    static int counter = 0;
    if (g_tempRoot.empty()) {
        char tmpl[] = "/tmp/qvtest.XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        g_tempRoot = tmpl;
        std::atexit(RemoveTempRoot);
    }
    std::string dir = g_tempRoot + "/" + std::to_string(++counter);
    mkdir(dir.c_str(), 0700);
    return dir;
}
