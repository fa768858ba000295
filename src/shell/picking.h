// Picking and the polygon editor's selection as the shell's views see them.
#pragma once
#include <cstdint>
#include <vector>

void Sel_AllocBuffers();
void View_PickVertexOrFace3D();
// Whether the polygon editor selects anything in its mode, and whether a position is selected.
bool Sel_HasSelection();
bool Sel_IsVertexSelected(int32_t position);
// Clears the vertex and face selection flags (after a load: the indices name other elements).
void Sel_ClearAll();
// Selection flags, one int32 per face, position and texture coordinate (1 = selected).
extern std::vector<int32_t> g_FaceSel, g_VertexSel, g_UvSel;
