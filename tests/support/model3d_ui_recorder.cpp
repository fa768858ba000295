// Native side of the 3D editor hub's dialogs (edit3d/model3d_dialogs.h).
#include "support/model3d_ui_recorder.h"

#include <cstdint>

#include "edit3d/model3d_dialogs.h"
#include "support/ui_recorder.h"

Model3DUiRecorder& Model3DRec()
{
    static Model3DUiRecorder r;
    return r;
}

// Dialog handles sit far above the shell recorder's; a control's handle is its dialog's plus one.
static uintptr_t s_NextDialog = 0x100000;

void* Model3DDlg_Create(int which)
{
    Model3DUiRecorder& r = Model3DRec();
    if (which >= 0 && which < 5 && r.refuse[which]) {
        UiRec_Note("M3dCreateFailed %d", which);
        return nullptr;
    }
    r.created.push_back(which);
    s_NextDialog += 0x100;
    UiRec_Note("M3dCreate %d", which);
    return (void*)s_NextDialog;
}

void Model3DDlg_Place(void*, int left, int top, int width, int height)
{
    UiRec_Note("M3dPlace %d %d %d %d", left, top, width, height);
}

void* Model3DDlg_Item(void* dialog, int id) { return dialog ? (void*)((uintptr_t)dialog + 1 + (uintptr_t)(id & 0x3F)) : nullptr; }

void Model3DDlg_FillList(void* list, const char* const* rows, int count, int selected)
{
    Model3DUiRecorder& r = Model3DRec();
    r.listRows.assign(rows, rows + count);
    r.listSelected = selected >= 0 && selected < count ? selected : -1;
}

void Model3DDlg_LoadTexture(int32_t id, int32_t index, const char* folder, const char* file)
{
    Model3DRec().texturesLoaded.push_back(std::to_string(id) + " " + std::to_string(index) + " " + folder + " " + file);
}

void Model3DDlg_CopyPixels(int32_t) { ++Model3DRec().pixelCopies; }
void Model3DDlg_LogMemory() {}
