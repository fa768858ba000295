// Stand-ins for what the shell calls in pieces that do not exist yet; each goes when its piece lands.
#include "frame/lib.h"
#include "frame/scene.h"
#include "shell/picking.h"

void View_PickVertexOrFace3D() {}                                   // stand-in: picking
bool Sel_HasSelection() { return false; }                           // stand-in: picking
bool Sel_IsVertexSelected(int32_t) { return false; }                // stand-in: picking
void Sel_ClearAll() {}                                              // stand-in: picking
