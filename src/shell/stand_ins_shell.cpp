// Stand-ins for what the shell calls in pieces that are being built beside it; removed when they land.
#include <cmath>
#include <cstring>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/scene.h"
#include "shell/shell_needs.h"

int V_SyncGet() { return g_Scene.vSync; }                          // stand-in: frame switch
void V_SyncSet(int flag) { g_Scene.vSync = flag ? 1 : 0; }         // stand-in: frame switch
int CPU_PossessionGet() { return g_Scene.cpuPossession; }          // stand-in: frame switch
void CPU_PossessionSet(int flag) { g_Scene.cpuPossession = flag ? 1 : 0; }  // stand-in: frame switch
void Lib_SetAntiAlias(int flag) { g_Lib.antiAlias = (uint8_t)(flag && g_Lib.antiAlias4Supported); }  // stand-in: frame
void Lib_SetShadowColor(float r, float g, float b, float a)        // stand-in: frame
{
    g_Scene.shadowColor[0] = r; g_Scene.shadowColor[1] = g; g_Scene.shadowColor[2] = b; g_Scene.shadowColor[3] = a;
}
void Render_SetFade(float) {}                                      // stand-in: renderer
void Render_Set3DScene(int on) { g_Draw3DScene = (uint8_t)on; }    // stand-in: renderer
void Render_SetCameraEye(float x, float y, float z) { g_Scene.eye[0] = x; g_Scene.eye[1] = y; g_Scene.eye[2] = z; }  // stand-in: renderer
void Render_SetCameraTarget(float x, float y, float z) { g_Scene.lookAt[0] = x; g_Scene.lookAt[1] = y; g_Scene.lookAt[2] = z; }  // stand-in: renderer
void Render_MarkScreenDirty(int) {}                                // stand-in: renderer
void Render_ProjectToScreen(float, float, float, float* sx, float* sy) { *sx = *sy = 0.0f; }  // stand-in: renderer
void Light_SetPos(float, float, float) {}                          // stand-in: renderer
void Light_SetColor(float, float, float) {}                        // stand-in: renderer
void Light_SetAmbient(float, float, float) {}                      // stand-in: renderer
static int32_t s_Ids[2];
QVL::MODEL3* Model3_GetById(int32_t) { return nullptr; }            // stand-in: model table
QVL::OBJECT* Object_GetById(int32_t) { return nullptr; }            // stand-in: object table
int32_t ObjectCreate() { return s_Ids[0]++; }                       // stand-in: object table
int32_t Model3_Create() { return s_Ids[1]++; }                      // stand-in: model table
void Model3_ProcessReleases() {}                                    // stand-in: model table
void Obj2_AnimateAll() {}                                           // stand-in: 2D objects
void Model2_SkinAll() {}                                            // stand-in: 2D models
void Anim_UpdateModels() {}                                         // stand-in: animation clock
void Obj3_UpdatePoses() {}                                          // stand-in: 3D objects
void Curve_ResetTempModel() {}                                      // stand-in: curved triangles
QVL::EFFECT* Effect_GetData(int32_t) { return nullptr; }            // stand-in: effect table
QVL::EFFECT_INST* Effect_GetInstance(int32_t) { return nullptr; }   // stand-in: effect table
QVL::OBJ2* Obj2_GetById(int32_t) { return nullptr; }                // stand-in: 2D objects
int Model3_GetFaceCount(const QVL::MODEL3*) { return 0; }           // stand-in: model record
const char* Model3_GetFileName(const QVL::MODEL3*) { return ""; }   // stand-in: model record
int32_t Model3_GetVersion(const QVL::MODEL3*) { return 0; }         // stand-in: model record
void Object_SetVisible(QVL::OBJECT*, int) {}                        // stand-in: scene object
int Model3_GatherFitCorners(float*, int, int, int) { return 0; }    // stand-in: model record
int Model3_HasFitSelection() { return 0; }                          // stand-in: selection flags
bool Play_ClockOf(int, int32_t**, float**, int32_t*) { return false; }  // stand-in: played records
void Play_PerFrame(int) {}                                          // stand-in: played records
const char* Effect_GetPath(const QVL::EFFECT*) { return ""; }       // stand-in: effect record
int32_t Effect_GetVersion(const QVL::EFFECT*) { return 0; }         // stand-in: effect record
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
void Panel_RepaintDirty() {}                                        // stand-in: panels
void Panel_FlagAllDirty() {}                                        // stand-in: panels
void Sel_AllocBuffers() {}                                          // stand-in: picking
void View_PickVertexOrFace3D() {}                                   // stand-in: picking
void Math_MatrixWorld(QVL::MATRIX* out, float tx, float ty, float tz, float r1, float r2, float r3,
                      float sx, float sy, float sz)                 // stand-in: maths
{
    // S × Rx(r2) × Ry(r1) × Rz(-r3) × T, row vectors.
    const double k = 3.14159265358979323846 * 2.0 / 360.0;
    float cx = (float)std::cos(r2 * k), snx = (float)std::sin(r2 * k);
    float cy = (float)std::cos(r1 * k), sny = (float)std::sin(r1 * k);
    float cz = (float)std::cos(-r3 * k), snz = (float)std::sin(-r3 * k);
    float rx[3][3] = {{1, 0, 0}, {0, cx, snx}, {0, -snx, cx}};
    float ry[3][3] = {{cy, 0, -sny}, {0, 1, 0}, {sny, 0, cy}};
    float rz[3][3] = {{cz, snz, 0}, {-snz, cz, 0}, {0, 0, 1}};
    float a[3][3], b[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            a[i][j] = 0;
            for (int m = 0; m < 3; ++m) a[i][j] += rx[i][m] * ry[m][j];
        }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            b[i][j] = 0;
            for (int m = 0; m < 3; ++m) b[i][j] += a[i][m] * rz[m][j];
        }
    float s[3] = {sx, sy, sz};
    std::memset(out, 0, sizeof *out);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out->m[i][j] = s[i] * b[i][j];
    out->m[3][0] = tx; out->m[3][1] = ty; out->m[3][2] = tz; out->m[3][3] = 1;
}
void Math_TransformPoint(QVL::VEC3* out, float x, float y, float z, const QVL::MATRIX& m)  // stand-in: maths
{
    out->x = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    out->y = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    out->z = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
}
void Lib_ResetFrameTimer() {}                                       // stand-in: frame timer
void Lib_ShellOpen(const char*) {}                                  // stand-in: frame
