// Native side of the model's platform seam (model/gpu_services.h): every call is recorded in
// ModelRec(); texture slots are 32 x 32 and answer the scripted texels.
#include "support/model_recorder.h"

#include <mutex>

#include "model/gpu_services.h"

ModelRecorder& ModelRec()
{
    static ModelRecorder* r = new ModelRecorder;
    return *r;
}

static std::mutex g_modelRecLock;

int32_t Tex_Load(const char* file)
{
    std::lock_guard<std::mutex> g(g_modelRecLock);
    ModelRec().textures.push_back(file ? file : "");
    return ModelRec().textureLoadFails ? -1 : (int32_t)ModelRec().textures.size() - 1;
}

int32_t Tex_LoadFile(int32_t* handle, const char* file)
{
    int32_t h = Tex_Load(file);
    if (handle) *handle = h;
    return h;
}

bool Tex_GetSize(int32_t handle, float* width, float* height)
{
    std::lock_guard<std::mutex> g(g_modelRecLock);
    bool ok = handle >= 0 && (size_t)handle < ModelRec().textures.size();
    *width = ok ? 32.0f : 0.0f;
    *height = ok ? 32.0f : 0.0f;
    return ok;
}

bool Tex_ReadTexels(int32_t handle, std::vector<uint8_t>& texels, int32_t* texW, int32_t* texH)
{
    std::lock_guard<std::mutex> g(g_modelRecLock);
    ModelRecorder& r = ModelRec();
    bool ok = handle >= 0 && (size_t)handle < r.textures.size() && !r.texels.empty();
    texels = ok ? r.texels : std::vector<uint8_t>();
    *texW = ok ? r.texelWidth : 0;
    *texH = ok ? r.texelHeight : 0;
    return ok;
}

void Tex_Release(IDirect3DTexture9*) {}

void Model3_Notify(int32_t id, int event)
{
    std::lock_guard<std::mutex> g(g_modelRecLock);
    ModelRec().model3Events.emplace_back((int)id, event);
}

bool Gpu_BuildBuffers(int32_t id, int32_t kind)
{
    std::lock_guard<std::mutex> g(g_modelRecLock);
    ModelRec().gpuBuilds.emplace_back((int)id, (int)kind);
    return !ModelRec().gpuBuildFails;
}

bool Gpu_WriteVertices(int32_t id, int32_t group, const float* positions, const float* normals, int32_t count)
{
    std::lock_guard<std::mutex> g(g_modelRecLock);
    ModelRec().gpuWrites.push_back({(int)id, (int)group, (int)count, normals ? 1 : 0});
    ModelRec().gpuLastPositions.assign(positions, positions + (count > 0 ? (size_t)count * 3 : 0));
    return true;
}
