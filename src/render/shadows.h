// Drop, planar and stencil shadows of the fixed-function 3D scene, in this order.
#pragma once

void Shadow_DrawDropShadows();
void Shadow_DrawPlanar();
void Shadow_DrawStencil();
// Fills the shade quad of the stencil shadows from the window size and the shadow colour.
void Shadow_BuildShadeQuad();
