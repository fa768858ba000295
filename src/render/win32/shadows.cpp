// The shadow passes are not part of the renderer yet: each draws nothing, so the frame's 3D scene
// already calls them in their places.
#include "render/shadows.h"

void Shadow_DrawDropShadows() {}
void Shadow_DrawPlanar() {}
void Shadow_DrawStencil() {}
void Shadow_BuildShadeQuad() {}
