// What the shell calls in pieces that do not exist yet (the renderer, the scene-object table, motion
// evaluation, the shell's own file commands, panels and picking). Each goes to its own header, and
// its stand-in out of stand_ins_shell.cpp, when the piece lands.
#pragma once
#include <cstdint>

#include "shell/panels.h"
#include "shell/shell.h"

// Renderer: the camera, light and fade (render/camera.h), the 3D-scene switch (render/immediate.h)
// and the render-target screens (render/screens.h).
#include "render/camera.h"
#include "render/immediate.h"
#include "render/screens.h"

// Scene objects, animation and motion evaluation.
QVL::OBJECT* Object_GetById(int32_t id);
int32_t ObjectCreate();
void Object_SetVisible(QVL::OBJECT* o, int visible);
// Brings the bones' key indices of the model up to its current frame.
void Motion3_UpdateKeyIndex(QVL::MODEL3* m);
void Model2_SkinAll();
void Anim_UpdateModels();
void Obj3_UpdatePoses();
void Curve_ResetTempModel();

// The shell's file commands.
void FileCmd_LoadModelFile(const char* name);
void FileCmd_LoadMAP2();
void FileCmd_SaveMAP2();
void FileCmd_LoadQVP();
void FileCmd_SaveQVP();
void FileCmd_LoadQVO();
void FileCmd_SaveQVO();
void FileCmd_ImportLWO();
void FileCmd_LoadQVV();
void FileCmd_SaveQVV();
void FileCmd_ImportMX();
void FileCmd_ExportMX();
void FileCmd_ImportDXF();
void FileCmd_ImportROK();
void FileCmd_ExportLWO();
void FileCmd_ImportX();
void FileCmd_ExportX();
void FileCmd_NewModel3();
void FileCmd_ImportMQO();
void FileCmd_LoadQVC();
void FileCmd_SaveQVC();
void FileCmd_LoadColiModel();
void FileCmd_LoadBackgroundModel();
void FileCmd_LoadQVM();
void FileCmd_LoadQVE();
void FileCmd_SaveQVE();
void FileCmd_LoadAny();
void FileCmd_LoadQVB();
void FileCmd_SaveQVB();
void FileCmd_SaveQVM();
void FileCmd_New2DObject();
void FileCmd_LoadQVA();
void FileCmd_SaveQVA();

// Panels and picking.
void Sel_AllocBuffers();
void View_PickVertexOrFace3D();
// The polygon editor's selection as the view fit sees it: whether it selects anything in its mode,
// and whether a position is selected.
bool Sel_HasSelection();
bool Sel_IsVertexSelected(int32_t position);
