// Native side of the 2D editor hub's dialogs (edit2d/model2d_dialogs.h): dialogs are handed out as
// the 3D recorder's, their controls through Model3DDlg_Item.
#include <cstdint>

#include "edit2d/model2d_dialogs.h"
#include "edit3d/model3d_dialogs.h"
#include "shell/hierarchy.h"
#include "support/ui_recorder.h"

static uintptr_t s_NextDialog = 0x200000;

void* Model2DDlg_Create(int which)
{
    s_NextDialog += 0x100;
    UiRec_Note("M2dCreate %d", which);
    return (void*)s_NextDialog;
}

void Model2DDlg_MakeBoneControls(void* dialog)
{
    g_BoneListCtl2D = Model3DDlg_Item(dialog, 1);
    g_BoneTreeCtl = Model3DDlg_Item(dialog, 2);
}

void* Model2DDlg_MakeGroupList(void* dialog) { return Model3DDlg_Item(dialog, 1); }
