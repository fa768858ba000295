// Stand-ins for the group dialog's list that the polygon screen refreshes before the group dialog
// lands; this file goes when it does.
#include "edit3d/model3d_hooks.h"

void Group3D_FillList() {}   // stand-in: group dialog
int32_t g_UndoPending = 0;   // stand-in: undo history

#include "edit3d/poly_screen.h"
void Poly3D_FinishFreePolygon() { g_FreeCreateCount = 0; }   // stand-in: polygon creation
