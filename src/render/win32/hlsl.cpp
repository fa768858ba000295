// The HLSL passes are not part of the renderer yet. Their switch (g_ShaderMode) stays off, and a
// shader-mode frame, should one be asked for, shows the 2D layer only.
#include "render/win32/shader_res.h"

void Render_ShaderFrame() {}
