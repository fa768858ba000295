// The background model loader: the thread "LibDataLoader" loads queued model files one at a time,
// oldest first, so that the main thread keeps pumping window messages while a large model loads.
// The queue and the state are touched only under the loader's lock, which is never held during a
// load; a request stays queued until its load has finished. The model table shares the lock.
#pragma once
#include <cstdint>
#include <vector>

struct SVC_THREAD;
struct SVC_LOCK;

namespace QVL {

struct LOAD_REQUEST {
    int32_t id;
    char folder[256];
    char file[256];
    char path[512];           // "%s\\%s" of folder and file
};

enum { LOADER_NOT_STARTED = 0, LOADER_RUNNING = 1, LOADER_STOPPING = 2, LOADER_STOPPED = 3 };

struct LOADER {
    std::vector<LOAD_REQUEST> queue;
    int32_t state;
    SVC_THREAD* thread;
    int32_t threadId;
    SVC_LOCK* lock;
    int32_t busyId;           // model ID of the load in progress, -1 none
};

// Empty queue, the lock, and Loader_Start.
void Loader_Construct(LOADER& l);
void Loader_Start(LOADER& l);
// Waits for the load in progress, then ends the thread; requests still queued are dropped.
void Loader_Stop(LOADER& l);
void Loader_Destroy(LOADER& l);
bool Thread_EnqueueLoad(LOADER& l, int32_t id, const char* folder, const char* file);
int Loader_QueueLength(LOADER& l);
// Drops every queued request but the one being loaded; returns how many remain (0 or 1).
int Loader_DropPending(LOADER& l);

} // namespace QVL

// The program's loader, defined with the other statics in shell/statics.cpp; the shell constructs it
// after the tables and destroys it before them.
extern QVL::LOADER g_Loader;

// The program's loader.
bool Thread_EnqueueLoad(int32_t id, const char* folder, const char* file);
int Loader_QueueLength();
// Waits until the program's loader has nothing queued or in progress (before the device is released).
void Loader_DrainForDeviceRelease();
// The program loader's lock (does nothing before the loader is constructed or after it is destroyed).
void Loader_Lock();
void Loader_Unlock();

struct LOADER_GUARD {
    LOADER_GUARD() { Loader_Lock(); }
    ~LOADER_GUARD() { Loader_Unlock(); }
    LOADER_GUARD(const LOADER_GUARD&) = delete;
    LOADER_GUARD& operator=(const LOADER_GUARD&) = delete;
};
