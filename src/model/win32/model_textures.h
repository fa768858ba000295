// Model textures: the model's texture entries loaded into its render data, and the pixel copies
// made from them. The model owns this because it reads the model table; pictures themselves are
// loaded by frame/win32/image_load.h.
#pragma once
#include <d3d9.h>
#include <d3dx9.h>
#include <cstdint>

// Where the per-model render data keeps texture `index` of model `id` and its picture information;
// false when the model has no render data.
bool Gpu_GetModelTexture(int32_t id, int32_t index, IDirect3DTexture9*** texture, D3DXIMAGE_INFO** info);

// Loads entry `index` (0..255; others do nothing) of model `id` from the current directory into the
// model's render data, and the picture's width and height into the model's texture entry.
void Image_LoadModel3Texture(int32_t id, int32_t index, const char* file);
// Rebuilds g_PixelCopies from the model's textures, each in the size its entry records; nothing
// happens for an ID without a model.
void Image_CopyModel3Pixels(int32_t id);
