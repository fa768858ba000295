// Texture slots: pictures loaded as textures into a growable table, addressed by small handles that
// stay valid for the program's life (no slot is ever freed before the scene is destroyed).
// Tex_Load, Tex_LoadFile and Tex_GetSize are on the model's platform seam (model/gpu_services.h).
#pragma once
#include <cstdint>
#include <vector>

#include "frame/image.h"
#include "frame/lib.h"
#include "model/gpu_services.h"

struct IDirect3DTexture9;

namespace QVL {

struct TEX_SLOT {
    uint8_t inUse;                // 1 once allocated
    char name[259];               // the file name given to the load
    IDirect3DTexture9* texture;   // null when the load failed
    IMAGE_INFO info;              // width and height 32 when the load failed
};

} // namespace QVL

// Scene table (defined with the other scene tables in shell/statics.cpp).
extern std::vector<QVL::TEX_SLOT> g_TexSlots;

inline void Tex_InitHandle(QVL::TEX_HANDLE& handle) { handle = -1; }

// Appends a zero-filled slot in use and returns its index.
int32_t Tex_AllocSlot();

// Puts a picture into slot.texture and slot.info; true when a texture resulted.
typedef bool (*TEX_PICTURE_LOADER)(QVL::TEX_SLOT& slot, const char* file);
// The load shared by Tex_Load and Tex_LoadFile: a new slot named after the file, filled by `load`;
// the slot's index, or -1 (the slot stays taken, 32 x 32 without texture).
int32_t Tex_LoadWith(const char* file, TEX_PICTURE_LOADER load);

// The slot of a handle when it is in use, else null.
QVL::TEX_SLOT* Tex_GetSlot(QVL::TEX_HANDLE handle);

// Binds the slot's texture to stage 0 for the next 2D drawing; -1 binds none.
void Tex_Set(int32_t index);

// Releases every slot's texture and empties the table (the scene's destructor).
void Tex_FreeSlots();
