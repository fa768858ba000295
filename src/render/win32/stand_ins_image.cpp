// Stand-ins for what the per-model render data provides, until it lands (removed at merge).
#include <cstring>

#include "frame/win32/image_load.h"

// Gpu_GetModelTexture (per-model render data): a texture and its information per model slot and entry.
bool Gpu_GetModelTexture(int32_t id, int32_t index, IDirect3DTexture9*** texture, D3DXIMAGE_INFO** info)
{
    static IDirect3DTexture9* s_textures[257][256];
    static D3DXIMAGE_INFO s_infos[257][256];
    if (id < 0 || id >= 257 || index < 0 || index >= 256) return false;
    *texture = &s_textures[id][index];
    *info = &s_infos[id][index];
    return true;
}
