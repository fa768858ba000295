// Stand-ins for the hierarchy rows and the selection buffers the painted panels read; each goes
// when the hierarchy lists and the picking land.
#include <vector>

#include "shell/hierarchy.h"
#include "shell/picking.h"

HIER_ROW g_HierRows[kHierMaxRows];           // stand-in: hierarchy lists
int32_t g_HierRowCount = 0;                  // stand-in: hierarchy lists
int32_t g_HierRowCur = 0;                    // stand-in: hierarchy lists
int32_t g_HierDepth = 0;                     // stand-in: hierarchy lists
std::vector<int32_t> g_FaceSel, g_VertexSel, g_UvSel;   // stand-in: picking
