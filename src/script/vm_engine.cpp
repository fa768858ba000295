// The interpreter's host in the studio: every statement reaches the engine through these.
#include "frame/lib.h"
#include "model/loader.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "model/gpu_services.h"
#include "model/model3.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/text_queue.h"
#include "script/interp.h"

using namespace QVL;

VM_IMAGE_DRAW g_VmImageDraw = nullptr;

namespace {

constexpr int32_t kScriptModels = 256;   // model slots a script may name
constexpr int32_t kRenderKinds = 10;

void ImageLoad(int32_t image, const char* file)
{
    if (image < 0 || image >= 1024) return;
    Tex_LoadFile(&g_TexTable[image], file);
}

// The text is printed as it stands: a '%' in it is no format conversion.
void Text(int32_t x, int32_t y, const char* text) { Draw_Text(x, y, "%s", text); }

// Slot `id` gets a fresh record (the old model is freed, not left behind) and the file is loaded
// into it through the loader, waiting for the end.
void ModelLoad(int32_t id, const char* file)
{
    if (id < 0 || id >= kScriptModels) return;
    // A queued load may be writing a record; let the queue empty before one is replaced.
    while (Loader_QueueLength() > 0) Svc_Sleep(1);
    {
        LOADER_GUARD guard;
        if (g_Model3Table.size() <= (size_t)id) g_Model3Table.resize((size_t)id + 1, nullptr);
        if (MODEL3* old = g_Model3Table[(size_t)id]) {
            Model3_Notify(id, MODEL3_EVENT_FREED);
            Model3_Free(old);
            g_Model3Table[(size_t)id] = nullptr;
        }
        if (g_StudioFlag == 1) g_Lib.allocArrays = 1;
        MODEL3* m = Model3_Alloc();
        m->id = id;
        g_Model3Table[(size_t)id] = m;
    }
    Model3_Notify(id, MODEL3_EVENT_CREATED);
    char folder[256];
    if (!Svc_GetCurrentDirectory(folder, sizeof folder)) folder[0] = 0;
    if (!Thread_EnqueueLoad(id, folder, file)) {
        Model3_Release(id);
        return;
    }
    Model3_WaitLoaded(id);
}

void ObjectSet(int32_t command, int32_t id, float x, float y, float z)
{
    OBJECT* o = Object_GetById(id);
    if (!o) return;
    if (command == PROG_POLYPOS) Object_SetPosition(o, x, y, z);
    else if (command == PROG_POLYANG) Object_SetRotation(o, x, y, z);
    else if (command == PROG_POLYSIZE) Object_SetScale(o, x, y, z);
}

void ModelSet(int32_t command, int32_t id, int32_t value)
{
    MODEL3* m = Model3_GetById(id);
    if (!m) return;
    if (command == PROG_POLYLIGHT) Model3_SetLight(m, value ? 1 : 0);
    else if (command == PROG_POLYMOTION) Motion3_Select(m, value);
    else if (command == PROG_POLYVB && value >= 0 && value < kRenderKinds) Model3_SetRenderKind(m, value);
}

void PointSet(int32_t command, float x, float y, float z)
{
    if (command == PROG_CAMERAS) Render_SetCameraEye(x, y, z);
    else if (command == PROG_CAMERAE) Render_SetCameraTarget(x, y, z);
    else if (command == PROG_LIGHTPOS) Light_SetPos(x, y, z);
}

bool KeyHeld(int32_t code) { return code > 0 && code < 256 && g_Lib.keys[code] != 0; }
void Folder(const char* path) { File_ChDir(path); }
bool DrawAllowed() { return Lib_IsDrawAllowed() != 0; }

const VM_HOST kEngineHost = {ImageLoad, Text, ModelLoad, ObjectSet, ModelSet, PointSet, KeyHeld, Folder, DrawAllowed};

} // namespace

const VM_HOST& Vm_EngineHost() { return kEngineHost; }
