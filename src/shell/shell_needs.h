// What the shell calls in the frame, the renderer, the model records and the shell's own file,
// list, panel and picking code, declared here until those pieces bring their own headers.
#pragma once
#include <cstdint>

#include "shell/shell.h"

// Frame switches and timers.
int V_SyncGet();
void V_SyncSet(int flag);
int CPU_PossessionGet();
void CPU_PossessionSet(int flag);
void Lib_SetAntiAlias(int flag);
void Lib_ResetFrameTimer();
void Lib_SetShadowColor(float r, float g, float b, float a);
void Lib_ShellOpen(const char* file);

// Renderer.
void Render_SetFade(float level);
void Render_Set3DScene(int on);
void Render_SetCameraEye(float x, float y, float z);
void Render_SetCameraTarget(float x, float y, float z);
void Render_MarkScreenDirty(int screen);
// Projects a world point with the current camera into main-window pixels.
void Render_ProjectToScreen(float x, float y, float z, float* sx, float* sy);
void Light_SetPos(float x, float y, float z);
void Light_SetColor(float r, float g, float b);
void Light_SetAmbient(float r, float g, float b);

// Records.
QVL::MODEL3* Model3_GetById(int32_t id);
QVL::OBJECT* Object_GetById(int32_t id);
int32_t ObjectCreate();
int32_t Model3_Create();
void Model3_ProcessReleases();
void Obj2_AnimateAll();
void Model2_SkinAll();
void Anim_UpdateModels();
void Obj3_UpdatePoses();
void Curve_ResetTempModel();
QVL::EFFECT* Effect_GetData(int32_t id);
QVL::EFFECT_INST* Effect_GetInstance(int32_t index);
QVL::OBJ2* Obj2_GetById(int32_t id);
// Fields of the records the shell reads (the title, the fit and the ticks).
int Model3_GetFaceCount(const QVL::MODEL3* m);
const char* Model3_GetFileName(const QVL::MODEL3* m);
int32_t Model3_GetVersion(const QVL::MODEL3* m);
void Object_SetVisible(QVL::OBJECT* o, int visible);
// Every face corner of the current model for the view fit: the selected ones when selectionOnly,
// else all; posed: the deformed positions. Returns the number of corners written (at most cap).
int Model3_GatherFitCorners(float* xyz, int cap, int selectionOnly, int posed);
int Model3_HasFitSelection();

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

// Lists, panels, picking.
void Panel_RepaintDirty();
void Panel_FlagAllDirty();
void Sel_AllocBuffers();
void View_PickVertexOrFace3D();

// The clock of the record a screen group plays: its frame, fraction and length (the effect's frame
// count for group 6). False when the record does not exist.
bool Play_ClockOf(int group, int32_t** frame, float** fraction, int32_t* length);
void Play_PerFrame(int group);   // the record's key-index update after each whole frame
const char* Effect_GetPath(const QVL::EFFECT* e);
int32_t Effect_GetVersion(const QVL::EFFECT* e);
