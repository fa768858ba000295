// Texture slots on the device: pictures come from the picture loader, relative to the current
// directory.
#include "render/tex_slots.h"

#include <d3d9.h>
#include <cstring>

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

bool Tex_ReadTexels(int32_t handle, std::vector<uint8_t>& texels, int32_t* texW, int32_t* texH)
{
    texels.clear();
    *texW = *texH = 0;
    const QVL::TEX_SLOT* slot = Tex_GetSlot(handle);
    IDirect3DTexture9* tex = slot ? slot->texture : nullptr;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT lr;
    // Every picture is loaded as A8R8G8B8 (the picture loader asks for it).
    if (!tex || FAILED(tex->GetLevelDesc(0, &desc)) || desc.Format != D3DFMT_A8R8G8B8 ||
        FAILED(tex->LockRect(0, &lr, nullptr, D3DLOCK_READONLY)))
        return false;
    const size_t row = (size_t)desc.Width * 4;
    texels.resize(row * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(texels.data() + row * y, static_cast<const uint8_t*>(lr.pBits) + (size_t)lr.Pitch * y, row);
    tex->UnlockRect(0);
    *texW = (int32_t)desc.Width;
    *texH = (int32_t)desc.Height;
    return true;
}

void Tex_Set(int32_t index)
{
    if (!g_Device) return;
    // An index beyond the table binds nothing rather than reading past it.
    IDirect3DTexture9* tex = index >= 0 && (size_t)index < g_TexSlots.size() ? g_TexSlots[index].texture : nullptr;
    g_Device->SetTexture(0, tex);
}

void Tex_Release(IDirect3DTexture9* texture)
{
    if (texture) texture->Release();
}
