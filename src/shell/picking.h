// Picking and the polygon editor's selection as the shell's views see them.
#pragma once
#include <cstdint>

void Sel_AllocBuffers();
void View_PickVertexOrFace3D();
// Whether the polygon editor selects anything in its mode, and whether a position is selected.
bool Sel_HasSelection();
bool Sel_IsVertexSelected(int32_t position);
// Clears the vertex and face selection flags (after a load: the indices name other elements).
void Sel_ClearAll();
