#include "render/tex_slots.h"

#include <cstring>

#include "frame/text.h"

int32_t Tex_AllocSlot()
{
    QVL::TEX_SLOT slot;
    std::memset(&slot, 0, sizeof slot);
    slot.inUse = 1;
    g_TexSlots.push_back(slot);
    return (int32_t)g_TexSlots.size() - 1;
}

int32_t Tex_LoadWith(const char* file, TEX_PICTURE_LOADER load)
{
    int32_t index = Tex_AllocSlot();
    QVL::TEX_SLOT& slot = g_TexSlots[index];
    Str_CopyN(slot.name, sizeof slot.name, file ? file : "");
    // The full name is loaded even when the slot's copy had to be cut.
    if (file && load && load(slot, file) && slot.texture) return index;
    slot.info.width = 32;
    slot.info.height = 32;
    return -1;
}

QVL::TEX_SLOT* Tex_GetSlot(QVL::TEX_HANDLE handle)
{
    if (handle < 0 || (size_t)handle >= g_TexSlots.size() || !g_TexSlots[handle].inUse) return nullptr;
    return &g_TexSlots[handle];
}

void Tex_FreeSlots()
{
    for (QVL::TEX_SLOT& slot : g_TexSlots) {
        Tex_Release(slot.texture);
        slot.texture = nullptr;
    }
    g_TexSlots.clear();
}
