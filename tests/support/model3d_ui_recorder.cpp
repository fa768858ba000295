// Native side of the 3D editor hub's dialogs (edit3d/model3d_dialogs.h).
#include "support/model3d_ui_recorder.h"

#include <cstdint>
#include <map>
#include <utility>

#include "edit3d/model3d_dialogs.h"
#include "support/list_recorder.h"
#include "support/ui_recorder.h"

Model3DUiRecorder& Model3DRec()
{
    static Model3DUiRecorder r;
    return r;
}

// Dialog handles sit far above the shell recorder's.
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

void Model3DDlg_Raise(void*) { UiRec_Note("M3dRaise"); }

// A control is a recorded list (support/list_recorder.h), one per dialog and id, so the fillers
// that write to it through shell/list_controls.h work on it as on the real control.
void* Model3DDlg_Item(void* dialog, int id)
{
    static std::map<std::pair<uintptr_t, int>, ListRecCtl> s_Controls;
    return dialog ? &s_Controls[{(uintptr_t)dialog, id}] : nullptr;
}

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
