// Stand-ins for what the shell calls in pieces that do not exist yet; each goes when its piece lands.
#include "frame/lib.h"
#include "frame/scene.h"
#include "shell/shell_needs.h"

static int32_t s_ObjectIds;
QVL::OBJECT* Object_GetById(int32_t) { return nullptr; }            // stand-in: object table
int32_t ObjectCreate() { return s_ObjectIds++; }                    // stand-in: object table
void Object_SetVisible(QVL::OBJECT*, int) {}                        // stand-in: scene object
void Motion3_UpdateKeyIndex(QVL::MODEL3*) {}                        // stand-in: motion evaluation
void Model2_SkinAll() {}                                            // stand-in: 2D models
void Anim_UpdateModels() {}                                         // stand-in: animation clock
void Obj3_UpdatePoses() {}                                          // stand-in: 3D objects
void Curve_ResetTempModel() {}                                      // stand-in: curved triangles
void FileCmd_LoadModelFile(const char*) {}                          // stand-in: file commands
#define QV_FILE_COMMAND(n) void FileCmd_##n() {}                   // stand-in: file commands
QV_FILE_COMMAND(LoadMAP2) QV_FILE_COMMAND(SaveMAP2) QV_FILE_COMMAND(LoadQVP) QV_FILE_COMMAND(SaveQVP)
QV_FILE_COMMAND(LoadQVO) QV_FILE_COMMAND(SaveQVO) QV_FILE_COMMAND(ImportLWO) QV_FILE_COMMAND(LoadQVV)
QV_FILE_COMMAND(SaveQVV) QV_FILE_COMMAND(ImportMX) QV_FILE_COMMAND(ExportMX) QV_FILE_COMMAND(ImportDXF)
QV_FILE_COMMAND(ImportROK) QV_FILE_COMMAND(ExportLWO) QV_FILE_COMMAND(ImportX) QV_FILE_COMMAND(ExportX)
QV_FILE_COMMAND(NewModel3) QV_FILE_COMMAND(ImportMQO) QV_FILE_COMMAND(LoadQVC) QV_FILE_COMMAND(SaveQVC)
QV_FILE_COMMAND(LoadColiModel) QV_FILE_COMMAND(LoadBackgroundModel) QV_FILE_COMMAND(LoadQVM)
QV_FILE_COMMAND(LoadQVE) QV_FILE_COMMAND(SaveQVE) QV_FILE_COMMAND(LoadAny) QV_FILE_COMMAND(LoadQVB)
QV_FILE_COMMAND(SaveQVB) QV_FILE_COMMAND(SaveQVM) QV_FILE_COMMAND(New2DObject) QV_FILE_COMMAND(LoadQVA)
QV_FILE_COMMAND(SaveQVA)
void Sel_AllocBuffers() {}                                          // stand-in: picking
void View_PickVertexOrFace3D() {}                                   // stand-in: picking
bool Sel_HasSelection() { return false; }                           // stand-in: picking
bool Sel_IsVertexSelected(int32_t) { return false; }                // stand-in: picking
