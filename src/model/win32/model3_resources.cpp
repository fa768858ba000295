// The studio's side of the model's platform seam (model/gpu_services.h) for model slots: render data,
// textures and sounds.
#include <windows.h>

#include "frame/lib.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "frame/win32/image_load.h"
#include "model/win32/model_textures.h"
#include "model/gpu_services.h"
#include "model/gpu_update.h"
#include "model/model_table.h"

namespace {

// The model's folder, the entry's folder and its file, joined by '\\' without empty parts: a model
// loaded by path has no folder of its own, and entries read from a file have none either.
void TexturePath(const QVL::MODEL3* m, const QVL::TEXTURE3& t, char* out, int size)
{
    out[0] = 0;
    const char* parts[3] = {m->folder, t.folder, t.file};
    for (const char* p : parts) {
        if (!p[0]) continue;
        char joined[1024];
        Str_Format(joined, sizeof joined, out[0] ? "%s\\%s" : "%s%s", out, p);
        Str_CopyN(out, size, joined);
    }
}

void LoadMedia(int32_t id)
{
    QVL::MODEL3* m = Model3_GetById(id);
    if (!m) return;
    for (int i = 0; i < m->textureCount && i < QVL::kModel3Textures && (size_t)i < m->textures.size(); ++i) {
        if (m->textures[(size_t)i].used != 1) continue;
        char path[1024];
        TexturePath(m, m->textures[(size_t)i], path, sizeof path);
        Image_LoadModel3Texture(id, i, path);
    }
    for (int i = 1; i < m->soundCount && i < QVL::kModel3Sounds; ++i) Wave_LoadModelSound(id, i, m->soundNames[i]);
}

} // namespace

void Model3_Notify(int32_t id, int event)
{
    switch (event) {
    case MODEL3_EVENT_CREATED: {
        QVL::MODEL3_RENDER* r = Gpu_EnsureModelRes(id);
        // A reused slot may still hold what its last model made.
        Gpu_ReleaseModelRes(r);
        Gpu_InitModelRes(r, id);
        Gpu_ResizeModelRes(r);
        break;
    }
    case MODEL3_EVENT_READ:
        Gpu_ResizeModelRes(Gpu_EnsureModelRes(id));
        break;
    case MODEL3_EVENT_MEDIA:
        LoadMedia(id);
        break;
    case MODEL3_EVENT_FREED:
        Gpu_ReleaseModelRes(Gpu_GetModelRes(id));
        Gpu_FreeKind1(id);
        Gpu_FreeKind3(id);
        Gpu_FreeDisplacement(id);
        Gpu_FreeKind9(id);
        break;
    default:
        break;
    }
}
