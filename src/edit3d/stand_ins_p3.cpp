// Stand-ins for the polygon screen's handlers until the polygon screen itself is built: they take
// the events the hub passes on and do nothing.
#include "edit3d/model3d_hooks.h"

void Poly3D_Enter() {}
void Poly3D_Exit() {}
void Poly3D_Frame() {}
void Poly3D_Draw() {}
void Poly3D_DrawSelection() {}
void Poly3D_LButtonUp(int32_t) {}
void Poly3D_MButtonDown(int32_t) {}
void Poly3D_RButtonUp(int32_t) {}
void Poly3D_MouseMove(int32_t) {}
void Poly3D_KeyUp(int) {}
