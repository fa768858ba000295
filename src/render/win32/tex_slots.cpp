// Texture slots (placeholder until the picture loader exists: every load fails).
#include "frame/services.h"

int32_t Tex_Load(const char*) { return -1; }

int32_t Tex_LoadFile(int32_t* handle, const char*)
{
    if (handle) *handle = -1;
    return -1;
}

bool Tex_GetSize(int32_t, float* width, float* height)
{
    *width = 0.0f;
    *height = 0.0f;
    return false;
}
