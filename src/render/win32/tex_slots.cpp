// Texture slots on the device: pictures come from the picture loader, relative to the current
// directory.
#include "render/tex_slots.h"

#include "frame/win32/image_load.h"

static bool LoadPicture(QVL::TEX_SLOT& slot, const char* file)
{
    Image_LoadInCurrentDir(&slot.texture, file, &slot.info);
    return slot.texture != nullptr;
}

int32_t Tex_Load(const char* file)
{
    int32_t index = Tex_LoadWith(file, LoadPicture);
    if (index >= 0 && index < 1024) g_TexTable[index] = index;
    return index;
}

int32_t Tex_LoadFile(int32_t* handle, const char* file)
{
    int32_t index = Tex_LoadWith(file, LoadPicture);
    if (handle) *handle = index;
    return index;
}

bool Tex_GetSize(int32_t handle, float* width, float* height)
{
    const QVL::TEX_SLOT* slot = Tex_GetSlot(handle);
    *width = slot ? (float)slot->info.width : 0.0f;
    *height = slot ? (float)slot->info.height : 0.0f;
    return slot != nullptr;
}

void Tex_Set(int32_t index)
{
    if (!g_Device) return;
    // An index beyond the table binds nothing rather than reading past it.
    IDirect3DTexture9* tex = index >= 0 && (size_t)index < g_TexSlots.size() ? g_TexSlots[index].texture : nullptr;
    g_Device->SetTexture(0, tex);
}
