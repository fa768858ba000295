// Native stand-ins of the shell's view drawing (shell/win32/grid_draw.cpp): native programs draw nothing.
#include "shell/grid.h"

void Grid_Draw2D() {}
void Grid_DrawGround3D() {}
void View_DrawAxisGizmo() {}
