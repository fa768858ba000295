// Of the 2D texture and polygon screens, standing in until they land.
#include "edit2d/group2d.h"

int32_t g_CurTexture2D;
void Tex2D_FillTextureList() {}
