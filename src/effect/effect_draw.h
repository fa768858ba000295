// Effects in the 2D layer: the image and 2D-object parts of every effect instance (their particles
// are drawn by the particle list, after them).
#pragma once

void Render_DrawEffects();
// The 3D scene's step over the instances: it fetches each instance's effect and draws nothing.
void Render_VisitEffects3D();
