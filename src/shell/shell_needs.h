// What the shell calls in pieces that do not exist yet (the renderer, the scene-object table, motion
// evaluation, panels and picking), and the shell's file commands. Each goes to its own header, and
// its stand-in out of stand_ins_shell.cpp, when the piece lands.
#pragma once
#include <cstdint>

#include "model/scene_object.h"
#include "shell/panels.h"
#include "shell/shell.h"

// Renderer: the camera, light and fade (render/camera.h), the 3D-scene switch (render/immediate.h)
// and the render-target screens (render/screens.h).
#include "render/camera.h"
#include "render/immediate.h"
#include "render/screens.h"

// Animation and motion evaluation.
// Brings the bones' key indices of the model up to its current frame.
void Motion3_UpdateKeyIndex(QVL::MODEL3* m);
void Model2_SkinAll();
void Anim_UpdateModels();
void Obj3_UpdatePoses();
void Curve_ResetTempModel();

// The shell's file commands.
#include "shell/file_commands.h"

// Panels and picking.
void Sel_AllocBuffers();
void View_PickVertexOrFace3D();
// The polygon editor's selection as the view fit sees it: whether it selects anything in its mode,
// and whether a position is selected.
bool Sel_HasSelection();
bool Sel_IsVertexSelected(int32_t position);
// Clears the vertex and face selection flags (after a load: the indices name other elements).
void Sel_ClearAll();
