// Drop, planar and stencil shadows of the fixed-function 3D scene, in this order.
#pragma once

void Shadow_DrawDropShadows();
void Shadow_DrawPlanar();
void Shadow_DrawStencil();
// Fills the shade quad of the stencil shadows from the window size and the shadow colour.
void Shadow_BuildShadeQuad();
// The stencil pass's parts: the volumes rebuilt on the processor, the two counting passes, the
// shading of the counted pixels.
void Shadow_BuildVolumes();
void Shadow_StencilPasses();
void Shadow_DrawShadeQuad();
