// The editors' dialog states that the painted panels read: the texture dialogs, the group lists,
// and the 2D object editor's picture. The editors' dialogs write
// them; the panels only read (and the texture panels' rectangle selection writes g_UvSel).
#pragma once
#include <cstdint>

// 3D_TEX_DLG and 2D_TEX_DLG.
struct TEX_DLG_STATE {
    int32_t texture;          // current texture index
    float zoom;               // 1.0 at start
    int32_t offsetX, offsetY; // panel pixels
    int32_t drag;             // kTexDragRect: rectangle selection
    int32_t add, remove;
    int32_t dragRect[4];      // x1, y1, x2, y2 in panel pixels
    int32_t groupTop;         // 2D: the first visible group of 2D_GROUP_DLG
};
constexpr int32_t kTexDragRect = 11;
extern TEX_DLG_STATE g_Tex3DState, g_Tex2DState;

// The group list box of 3D_GROUP_DLG.
struct GROUP_LIST_STATE {
    void* list;
    int32_t firstVisible;
};
extern GROUP_LIST_STATE g_Group3DList;

struct OBJ2D_STATE {
    void* frameSlider;
    int32_t picture;          // current picture index
    void* pictureList;
};
extern OBJ2D_STATE g_Obj2DState;
