// Stand-ins for the picking buffers and drag classification that the polygon screen uses before the
// picking code lands; this file goes when it does.
#include <cstddef>

#include "frame/lib.h"
#include "shell/picking.h"

int32_t* g_FaceSel = nullptr;
int32_t* g_VertexSel = nullptr;
float* g_ProjVerts = nullptr;
float* g_FaceCentres = nullptr;
float* g_FaceNormals2D = nullptr;
uint8_t g_SelectDrag = 0, g_DeselectDrag = 0;
int32_t g_PickedFace = -1;

void Sel_AllocBuffers()   // stand-in: picking
{
    if (g_FaceSel) return;
    const size_t f = (size_t)(g_Lib.maxPolygons > 0 ? g_Lib.maxPolygons : 0), v = 4 * f;
    g_FaceSel = new int32_t[f]();
    g_VertexSel = new int32_t[v]();
    g_ProjVerts = new float[3 * v]();
    g_FaceCentres = new float[2 * f]();
    g_FaceNormals2D = new float[2 * f]();
}
void View_ClassifyDrag() { g_SelectDrag = g_DeselectDrag = 0; }      // stand-in: picking
void View_ProjectVertices3D() {}                                     // stand-in: picking
void View_RectSelect3D(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}  // stand-in
