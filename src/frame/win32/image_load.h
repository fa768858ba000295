// Picture loading into Direct3D textures: our own QVI and PSD readers, D3DX for every other type.
#pragma once
#include <d3d9.h>
#include <d3dx9.h>

#include "frame/image.h"
#include "frame/win32/app_frame.h"

// The toon ramp ("System\\Toon.JPG") and its picture information; g_ToonShading is set when it
// loaded.
extern IDirect3DTexture9* g_ToonTexture;
extern D3DXIMAGE_INFO g_ToonImageInfo;

// Releases the texture in *texture, then loads `file` (relative to the current directory unless it
// holds a folder; `folder` is not used) and sets *texture, null on failure. "qvi" and "psd" (any
// case) are read by the studio, everything else by D3DX as A8R8G8B8 with opaque black transparent.
// Nothing happens for an empty name.
void ImageLoad(IDirect3DTexture9** texture, const char* folder, const char* file, D3DXIMAGE_INFO* info);
void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, D3DXIMAGE_INFO* info);
// The same into the platform-free copy of the information that engine records keep.
void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, QVL::IMAGE_INFO* info);

// A managed A8R8G8B8 texture of one level holding the picture, its sides raised by
// Image_TextureSide and filled by nearest neighbour. Null without a device or on failure.
IDirect3DTexture9* Image_CreateTexture(const QVL::BGRA_IMAGE& picture);

// Rebuilds g_PixelCopies[entry] from a loaded texture in the entry's recorded size (the entry is
// left without a copy when there is no texture).
void Image_CopyTexturePixels(int entry, IDirect3DTexture9* texture, int32_t entryW, int32_t entryH);

// Where the per-model render data keeps texture `index` of model `id` and its picture information;
// false when the model has no render data.
bool Gpu_GetModelTexture(int32_t id, int32_t index, IDirect3DTexture9*** texture, D3DXIMAGE_INFO** info);

// Loads entry `index` (0..255; others do nothing) of model `id` from the current directory into the
// model's render data, and the picture's width and height into the model's texture entry.
void Image_LoadModel3Texture(int32_t id, int32_t index, const char* file);
// Rebuilds g_PixelCopies from the model's textures, each in the size its entry records; nothing
// happens for an ID without a model.
void Image_CopyModel3Pixels(int32_t id);

// The toon ramp from the data folder (with a device only); LibInit calls it when its switch is on.
void Image_LoadToonRamp();
