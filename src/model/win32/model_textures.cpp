#include "model/win32/model_textures.h"

#include "frame/image.h"
#include "frame/win32/image_load.h"
#include "model/model_table.h"

void Image_LoadModel3Texture(int32_t id, int32_t index, const char* file)
{
    if (index < 0 || index >= QVL::kModel3Textures) return;
    QVL::MODEL3* m = Model3_GetById(id);
    IDirect3DTexture9** texture = nullptr;
    D3DXIMAGE_INFO* info = nullptr;
    if (!m || (size_t)index >= m->textures.size() || !Gpu_GetModelTexture(id, index, &texture, &info)) return;
    Image_LoadInCurrentDir(texture, file, info);
    m->textures[index].width = (int32_t)info->Width;
    m->textures[index].height = (int32_t)info->Height;
}

void Image_CopyModel3Pixels(int32_t id)
{
    const QVL::MODEL3* m = Model3_GetById(id);
    if (!m) return;
    for (int i = 0; i < 256; ++i) {
        Image_FreePixelCopy(i);
        IDirect3DTexture9** texture = nullptr;
        D3DXIMAGE_INFO* info = nullptr;
        if ((size_t)i >= m->textures.size() || !m->textures[i].used || !Gpu_GetModelTexture(id, i, &texture, &info))
            continue;
        Image_CopyTexturePixels(i, *texture, m->textures[i].width, m->textures[i].height);
    }
}
