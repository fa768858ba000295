#include "model/loader.h"

#include "frame/log.h"
#include "frame/services.h"
#include "frame/path_join.h"
#include "frame/text.h"
#include "model/model_load.h"

namespace QVL {

static void Loader_Body(void* arg)
{
    LOADER& l = *static_cast<LOADER*>(arg);
    for (;;) {
        LOAD_REQUEST req;
        bool have = false;
        Svc_Lock(l.lock);
        bool running = l.state == LOADER_RUNNING;
        if (running && !l.queue.empty()) {
            req = l.queue.front();
            l.busyId = req.id;
            have = true;
        }
        Svc_Unlock(l.lock);
        if (!running) break;
        if (have) {
            Model3_LoadDirFile(req.id, req.folder, req.file);
            Svc_Lock(l.lock);
            if (!l.queue.empty()) l.queue.erase(l.queue.begin());
            l.busyId = -1;
            Svc_Unlock(l.lock);
        }
        Svc_Sleep(1);
    }
}

void Loader_Construct(LOADER& l)
{
    l.queue.clear();
    l.state = LOADER_NOT_STARTED;
    l.thread = nullptr;
    l.threadId = 0;
    l.busyId = -1;
    l.lock = Svc_LockCreate();
    Loader_Start(l);
}

void Loader_Start(LOADER& l)
{
    if (l.thread) {
        Log_Printf("*** エラー *** 既にHANDLE作成済み");
        return;
    }
    // Running before the thread exists, so the thread never sees the state it was not started in.
    Svc_Lock(l.lock);
    l.state = LOADER_RUNNING;
    Svc_Unlock(l.lock);
    l.thread = Svc_ThreadStart(Loader_Body, &l);
    if (!l.thread) {
        Log_Printf("*** エラー *** スレッド作成");
        Svc_Lock(l.lock);
        l.state = LOADER_NOT_STARTED;
        Svc_Unlock(l.lock);
    }
}

void Loader_Stop(LOADER& l)
{
    if (l.state == LOADER_STOPPED || !l.lock) return;
    Log_Printf("LibDataLoader 終了待ち");
    Svc_Lock(l.lock);
    l.state = LOADER_STOPPING;
    Svc_Unlock(l.lock);
    Svc_ThreadJoin(l.thread);
    l.thread = nullptr;
    Log_Printf("LibDataLoader 終了");
    l.state = LOADER_STOPPED;
}

void Loader_Destroy(LOADER& l)
{
    Loader_Stop(l);
    Svc_LockDestroy(l.lock);
    l.lock = nullptr;
    std::vector<LOAD_REQUEST>().swap(l.queue);
}

bool Thread_EnqueueLoad(LOADER& l, int32_t id, const char* folder, const char* file)
{
    if (!file || !*file || !l.lock) return false;
    LOAD_REQUEST req = {};
    req.id = id;
    Str_CopyN(req.folder, sizeof req.folder, folder ? folder : "");
    Str_CopyN(req.file, sizeof req.file, file);
    if (!Str_Format(req.path, sizeof req.path, QV_PATH_JOIN, req.folder, req.file)) return false;
    if (!Svc_FileExists(req.path)) return false;
    Svc_Lock(l.lock);
    // A loader that is not running would never serve the request, and its waiter would wait forever.
    bool ok = l.state == LOADER_RUNNING;
    if (ok) l.queue.push_back(req);
    Svc_Unlock(l.lock);
    return ok;
}

int Loader_QueueLength(LOADER& l)
{
    if (!l.lock) return 0;
    Svc_Lock(l.lock);
    int n = (int)l.queue.size();
    Svc_Unlock(l.lock);
    return n;
}

int Loader_DropPending(LOADER& l)
{
    if (!l.lock) return 0;
    Svc_Lock(l.lock);
    // The thread removes the front request when its load ends, so the busy one stays in front.
    bool busy = l.busyId >= 0 && !l.queue.empty();
    l.queue.resize(busy ? 1 : 0);
    int n = (int)l.queue.size();
    Svc_Unlock(l.lock);
    return n;
}

} // namespace QVL

bool Thread_EnqueueLoad(int32_t id, const char* folder, const char* file)
{
    return QVL::Thread_EnqueueLoad(g_Loader, id, folder, file);
}

int Loader_QueueLength()
{
    return QVL::Loader_QueueLength(g_Loader);
}

void Loader_Lock()
{
    if (g_Loader.lock) Svc_Lock(g_Loader.lock);
}

void Loader_Unlock()
{
    if (g_Loader.lock) Svc_Unlock(g_Loader.lock);
}

void Loader_DrainForDeviceRelease()
{
    // The loader creates Direct3D resources on the shared device: let every queued load finish
    // before the device goes, so none is left half-built on a released device.
    QVL::LOADER& l = g_Loader;
    if (!l.lock) return;
    for (;;) {
        Svc_Lock(l.lock);
        bool idle = l.state != QVL::LOADER_RUNNING || l.queue.empty();
        Svc_Unlock(l.lock);
        if (idle) return;
        Svc_Sleep(1);
    }
}
