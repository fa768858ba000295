// The model's platform seam: texture slots, GPU objects and the other platform resources of model
// slots. The studio implements it in render/win32/tex_slots.cpp (the texture slots and their
// release), model/win32/model3_resources.cpp (the model slots' events) and
// model/win32/gpu_buffers.cpp (the graphics buffers); native programs link
// tests/support/model_recorder.cpp, which records the calls.
#pragma once
#include <cstdint>
#include <vector>

// Texture slots: the studio loads pictures into Direct3D textures; native programs record the names.
// Tex_Load returns the slot's handle, or -1 when the picture did not load.
int32_t Tex_Load(const char* file);
int32_t Tex_LoadFile(int32_t* handle, const char* file);
// The slot's picture size in pixels; (0, 0) and false when the handle is -1 or not in use.
bool Tex_GetSize(int32_t handle, float* width, float* height);
// The slot's texture, top level, as B, G, R, A bytes row by row without padding (texW x texH
// texels); false and an empty vector when the handle has no texture.
bool Tex_ReadTexels(int32_t handle, std::vector<uint8_t>& texels, int32_t* texW, int32_t* texH);
// Releases a texture the studio loaded; null does nothing (native programs never hold one).
struct IDirect3DTexture9;
void Tex_Release(IDirect3DTexture9* texture);

// Platform resources of 3D model slots, by model ID: render data, GPU objects, textures, sounds.
enum {
    MODEL3_EVENT_CREATED = 0,  // a slot was made or reused: its render data is cleared and sized
    MODEL3_EVENT_READ = 1,     // a load filled the record: its render data is sized to it
    MODEL3_EVENT_MEDIA = 2,    // a QVP load: the pictures of the used texture entries (the model's
                               // folder joined with the entry's path; sizes go into the entries) and
                               // the sound names from 1 up are loaded
    MODEL3_EVENT_FREED = 3,    // the record is about to be freed: its GPU objects are released
};
// Runs on the loader thread for queued loads (READ, MEDIA), and under the loader's lock for FREED.
void Model3_Notify(int32_t id, int event);
// The graphics buffers of a model's render kind 2, 3, 4, 5 or 8 (displacement), built from its
// faces into its render data; false when the kind's data could not be made.
bool Gpu_BuildBuffers(int32_t id, int32_t kind);
// Rewrites the first vertices of the vertex buffer of material `group` of the model: `count`
// positions (3 floats each) and, when `normals` is not null, as many normals, into vertices of the
// buffers' 36-byte layout; never more vertices than the buffer holds. False without such a buffer.
bool Gpu_WriteVertices(int32_t id, int32_t group, const float* positions, const float* normals, int32_t count);
