// The polygon screen's creation commands on the current layer's model: split, extrusion, face
// creation, the free polygon, primitives, added model files and the curved-surface bake. Each ends
// with an undo step of the current layer and a refresh of the modelling dialog.
#pragma once
#include <cstdint>

void Poly3D_SplitFaces();
void Poly3D_Extrude();
// Button 1173: a face of the 3 or 4 selected vertices.
void Poly3D_CreateFace();
// The primitive of that name from the data folder's System\プリミティブ.
void Poly3D_AddPrimitive(const char* name);
// A model file of the current directory added with its groups and textures.
void Poly3D_AddModelFile(const char* file);
// Tessellates the current layer's model into its curved surfaces, in place, as one undo step.
void Poly3D_BakeCurves();
// True while a primitive or model file is being read: the dialog takes no command meanwhile.
bool Poly3D_Loading();
// How long an added file may take to load before the addition is given up (ms).
extern uint32_t g_Poly3DLoadTimeoutMs;
