// Stand-ins for the polygon screen's pieces that are not built yet: its modelling dialogs (their
// enter and exit) and polygon creation. Each goes when its piece lands.
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_screen.h"
#include "shell/current.h"

// The dialogs' half of the screen's enter: the current layer becomes 0, without a restore.
void Poly3D_Enter() { g_CurLayer = 0; }
void Poly3D_Exit() {}
void Poly3D_FinishFreePolygon() { g_FreeCreateCount = 0; }
