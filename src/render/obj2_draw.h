// Drawing of 2D objects: every shown part with a texture as one textured 2D quad.
#pragma once
#include "model/obj2.h"

// Draws the object's quads (render/immediate.h), each with the blend stored when the call began.
void Obj2_Draw(QVL::OBJ2* rec);
// Every object of g_Obj2Table in ID order.
void Obj2_DrawAll();
