#include "shell/panel_states.h"

TEX_DLG_STATE g_Tex3DState = {0, 1.0f, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0};
TEX_DLG_STATE g_Tex2DState = {0, 1.0f, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0};
GROUP_LIST_STATE g_Group3DList = {nullptr, 0};
OBJ2D_STATE g_Obj2DState = {nullptr, 0, nullptr};
