#include "shell/file_commands.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "convert/lwo_file.h"
#include "convert/mx_file.h"
#include "convert/x_file.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "effect/effect.h"
#include "effect/effect_edit_hooks.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/model2.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/obj2.h"
#include "model/obj3.h"
#include "model/qvm_file.h"
#include "model/qvp_file.h"
#include "model/scene_object.h"
#include "scene/coli.h"
#include "scene/map2.h"
#include "scene/scene_edit_hooks.h"
#include "scene/movie_edit.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/picking.h"
#include "shell/views.h"

int32_t g_Group2DListCache = -1;
int32_t g_PixelCopyCacheIndex = -1;

namespace {

const char kNothingToSave[] = "保存するデータがありません。";

// The editors' view of the model: any change of the current records is re-resolved and shown.
void RefreshAfterLoad()
{
    Mode_RefreshAll();
    View_RequestRedraw();
    Lib_ResetFrameTimer();
}

// The load-failure message of a file that does not open.
void ShowCannotOpen(const char* name)
{
    char text[600];
    Str_Format(text, sizeof text, "%s を開くことができませんでした。", name);
    Lib_MessageBox(text);
}

bool FileOpens(const char* name)
{
    FILE* f = std::fopen(name, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool CurrentDirectory(char* folder, size_t cap)
{
    if (Svc_GetCurrentDirectory(folder, (int)cap)) return true;
    folder[0] = 0;
    return false;
}

// An import command: asks only when the importer exists, so a format not built yet says so at once.
void ImportModel(const char* format, const char* sample, const char* title)
{
    if (Model3_ReaderFor(sample) != MODEL3_READER_READY) {
        FileCmd_ShowNotAvailable(format);
        return;
    }
    const char* name = FileCmd_AskOpen(format, title, "");
    if (name[0]) FileCmd_LoadModelFile(name);
    Lib_ResetFrameTimer();
}

// The model the exporters write: layer 0 in the preview names the default model.
void ExportModel(const char* format, int32_t (*exporter)(int32_t id, const char* path))
{
    Mode_UpdateCurrent();
    QVL::MODEL3* m = g_CurModel3;
    if (!m) {
        Lib_MessageBox(kNothingToSave);
        return;
    }
    char initial[256];
    const char* stem = File_StripExtension(m->file);
    if (!stem[0] || !Str_Format(initial, sizeof initial, "%s.%s", stem, format)) initial[0] = 0;
    const char* name = FileCmd_AskSave(format, initial);
    if (name[0]) {
        char file[256];
        Str_CopyN(file, sizeof file, name);
        // The dialog may have run for a while: the model is the one current now.
        Mode_UpdateCurrent();
        if (!g_CurModel3) Lib_MessageBox(kNothingToSave);
        else if (exporter(g_CurModel3->id, file) <= 0) QVL::File_ReportWriteFailed(file);
    }
    Lib_ResetFrameTimer();
}

} // namespace

void FileCmd_ShowNotAvailable(const char* format)
{
    char text[256];
    Str_Format(text, sizeof text, "%s 形式は、このバージョンではまだ使用できません。", format);
    Lib_MessageBox(text);
}

FILECMD_MODEL_KIND FileCmd_ModelKind(const char* name)
{
    switch (Model3_ReaderFor(name)) {
    case MODEL3_READER_READY: return FILECMD_MODEL_READY;
    case MODEL3_READER_MISSING: return FILECMD_MODEL_MISSING;
    default: return FILECMD_MODEL_UNKNOWN;
    }
}

bool FileCmd_SplitPath(const char* path, char* folder, size_t folderCap, char* name, size_t nameCap)
{
    if (folderCap) folder[0] = 0;
    if (nameCap) name[0] = 0;
    if (!path || !folderCap || !nameCap) return false;
    const char* sep = Str_FindLastChar(path, '\\');
    const char* file = sep ? sep + 1 : path;
    size_t folderLen = sep ? (size_t)(sep - path) : 0;
    // "C:\\x" and "\\x": the folder is the root itself, separator included.
    if (sep && (folderLen == 0 || (folderLen == 2 && path[1] == ':'))) ++folderLen;
    size_t fileLen = std::strlen(file);
    if (folderLen >= folderCap || fileLen >= nameCap) return false;
    std::memcpy(folder, path, folderLen);
    folder[folderLen] = 0;
    std::memcpy(name, file, fileLen + 1);
    return true;
}

bool FileCmd_OpenPath(const char* path)
{
    char folder[256], name[256];
    if (!FileCmd_SplitPath(path, folder, sizeof folder, name, sizeof name)) {
        // A cut name would open another file, or none.
        ShowCannotOpen(path ? path : "");
        return false;
    }
    // A folder that cannot be entered must not load a file of the same name from where we are.
    if (folder[0] && !Svc_SetCurrentDirectory(folder)) {
        ShowCannotOpen(path);
        return false;
    }
    FileCmd_LoadModelFile(name);
    return true;
}

void FileCmd_LoadModelFile(const char* given)
{
    if (!given || !given[0]) return;
    char text[600];
    // Our own copy: the wait below pumps messages, and the dialogs' buffers may be written meanwhile.
    char name[256];
    if (!Str_CopyN(name, sizeof name, given)) {
        ShowCannotOpen(given);
        return;
    }
    g_Group2DListCache = -1;
    switch (FileCmd_ModelKind(name)) {
    case FILECMD_MODEL_READY:
        break;
    case FILECMD_MODEL_MISSING: {
        char format[16];
        Str_CopyN(format, sizeof format, File_GetExtension(name));
        for (char* c = format; *c; ++c)
            if (*c >= 'a' && *c <= 'z') *c = (char)(*c - 'a' + 'A');
        FileCmd_ShowNotAvailable(format);
        return;
    }
    default:
        Str_Format(text, sizeof text, "%s は、モデルとして読み込める形式ではありません。", name);
        Lib_MessageBox(text);
        return;
    }

    // The reader only logs a file it cannot open, and the log window rarely exists: say it here,
    // before anything changes.
    if (!FileOpens(name)) {
        ShowCannotOpen(name);
        Lib_ResetFrameTimer();
        return;
    }
    if (g_Screen == SCREEN_START || (g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_MOTION)) g_Lib.allocArrays = 1;
    // Load first: the model on screen stays until its replacement is ready, and stays for good when
    // the file does not load (the reader has said why).
    const int32_t id = Model3_LoadWait(name);
    if (id < 0) {
        Lib_ResetFrameTimer();
        return;
    }
    const int32_t previous = Layer_GetModelId();
    if (previous >= 0 && previous != id) Model3_Release(previous);

    if (g_CurObject) g_CurObject->modelId = id;
    // The new model becomes current before the editor works on "the current model" below.
    if (g_Screen == SCREEN_START) g_DefaultModelId = id;
    if (g_Mode == MODE_3D_EDIT && g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size())
        g_LayerModelIds[(size_t)g_CurLayer] = id;
    Mode_UpdateCurrent();
    if (g_Mode == MODE_3D_EDIT) {
        if (QVL::MODEL3* m = g_CurModel3) {
            g_PixelCopyCacheIndex = -1;
            Sel_ClearAll();
            View_FitAll();
            for (QVL::BONE3& b : m->bones) b.expanded = 1;
        }
        Str_Format(g_UndoCaption, sizeof g_UndoCaption, "%s 読み込み", name);
        if (g_CurLayer >= 0 && g_CurLayer < 10) Undo_Record(&g_UndoHistories[g_CurLayer]);
        FileCmd_CopyModelPixels(Layer_GetModelId());
    }
    RefreshAfterLoad();
}

// ---- 3D models ---------------------------------------------------------------------------------

void FileCmd_LoadQVP()
{
    const char* name = FileCmd_AskOpen("QVP", "読み込む QVP ファイルを選択して下さい", "");
    if (name[0]) FileCmd_LoadModelFile(name);
    Lib_ResetFrameTimer();
}

void FileCmd_ImportDXF() { ImportModel("DXF", "a.dxf", "読み込む DXF ファイルを選択して下さい"); }
void FileCmd_ImportLWO() { ImportModel("LWO", "a.lwo", "読み込む LWO ファイルを選択して下さい"); }
void FileCmd_ImportMQO() { ImportModel("MQO", "a.mqo", "読み込む MQO ファイルを選択して下さい"); }
void FileCmd_ImportMX() { ImportModel("MX", "a.mx", "読み込む MX ファイルを選択して下さい"); }
void FileCmd_ImportROK() { ImportModel("ROK", "a.rok", "読み込む ROK ファイルを選択して下さい"); }
void FileCmd_ImportX() { ImportModel("X", "a.x", "読み込む X ファイルを選択して下さい"); }

void FileCmd_LoadAny()
{
    static const char kFilter[] =
        "すべてのファイル\0*.*\0"
        "\t\tDXF\0*.DXF\0"
        "\t\tLWO ( LightWave 5.6 )\0*.LWO\0"
        "\t\tMQO ( メタセコイア 2.2.3 )\0*.MQO\0"
        "\t\tMX　 ( HSP 2.55 )\0*.MX\0"
        "\t\tROK ( 六角大王 5.25 )\0*.ROK\0"
        "\t\tX　　 ( DirectX )\0*.X\0"
        "\t\tQVP ( RE Rerude 2003.03 ～ 2004 )\0*.QVP\0";
    const char* name = FileCmd_AskOpenFilter(kFilter, "読み込むファイルを選択して下さい");
    if (name[0]) FileCmd_LoadModelFile(name);
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVP()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) {
        Lib_MessageBox(kNothingToSave);
        return;
    }
    // The model's own name with .QVP: a model read from an LWO file is offered as its QVP.
    char initial[256];
    const char* stem = File_StripExtension(m->file);
    if (!stem[0]) stem = m->file;
    if (!stem[0] || !Str_Format(initial, sizeof initial, "%s.QVP", stem)) Str_CopyN(initial, sizeof initial, "新規.QVP");
    const char* name = FileCmd_AskSave("QVP", initial);
    if (name[0]) {
        char file[256];
        Str_CopyN(file, sizeof file, name);
        // The dialog may have run for a while: the model is the one current now.
        m = g_CurModel3;
        if (!m) Lib_MessageBox(kNothingToSave);
        else if (!Model3_SaveQvp(m, file)) QVL::File_ReportWriteFailed(file);
    }
    Lib_ResetFrameTimer();
}

void FileCmd_ExportMX() { ExportModel("MX", Mx_Export); }
void FileCmd_ExportLWO() { ExportModel("LWO", Lwo_Export); }
void FileCmd_ExportX() { ExportModel("X", X_Export); }

void FileCmd_NewModel3()
{
    if (g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_MOTION) g_Lib.allocArrays = 1;
    // The default model made at start-up, whatever the current layer; gone once a load replaced it.
    Model3_Reset(Model3_GetById(0));
    View_RequestRedraw();
    Lib_ResetFrameTimer();
}

// ---- effects -----------------------------------------------------------------------------------

void FileCmd_LoadQVE()
{
    const char* answer = FileCmd_AskOpen("QVE", "読み込む QVE ファイルを選択して下さい", "");
    char name[256];
    Str_CopyN(name, sizeof name, answer);
    if (name[0]) {
        char folder[256];
        CurrentDirectory(folder, sizeof folder);
        // Read into a record of its own first: a file that does not load leaves the effect being
        // edited as it was, instead of an emptied one.
        const int32_t probe = Effect_DataCreate();
        const bool loaded = QVE_Load(probe, folder, name) == probe;
        QVL::EFFECT effect = std::move(g_EffectData[(size_t)probe]);
        g_EffectData.pop_back();
        Mode_UpdateCurrent();
        if (loaded) {
            EffectEdit_NewEffect();
            if (QVL::EFFECT* e = Effect_GetData(g_CurEffectId)) {
                *e = std::move(effect);
                Effect_BuildPartTimeTables(e);
                // The new effect's instance is the preview instance: one instance, not a second one
                // beside a stateless instance 0.
                QVL::EFFECT_INST* inst = Effect_GetInstance(g_CurEffectInstIndex);
                if (!inst) {
                    g_CurEffectInstIndex = Effect_CreateInstance(0);
                    inst = Effect_GetInstance(g_CurEffectInstIndex);
                }
                Effect_InitInstance(inst, g_CurEffectId, 320.0f, 240.0f);
            }
            Mode_UpdateCurrent();
            // The slider spans the loaded effect and the image list shows its pictures.
            EffectEdit_EffectOpened();
        }
    }
    Mode_RefreshAll();
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVE()
{
    QVL::EFFECT* e = Effect_GetData(g_CurEffectId);
    if (!e) {
        Lib_MessageBox(kNothingToSave);
        return;
    }
    char initial[256];
    Str_CopyN(initial, sizeof initial, e->file);
    const char* answer = FileCmd_AskSave("QVE", initial);
    if (answer[0]) {
        char name[256], folder[256];
        Str_CopyN(name, sizeof name, answer);
        CurrentDirectory(folder, sizeof folder);
        if ((e = Effect_GetData(g_CurEffectId)) != nullptr) Effect_Save(e, folder, name);
    }
    Lib_ResetFrameTimer();
}

// ---- 2D objects --------------------------------------------------------------------------------

void FileCmd_LoadQVA()
{
    const char* answer = FileCmd_AskOpen("QVA", "読み込む QVA ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256], folder[256];
        Str_CopyN(name, sizeof name, answer);
        CurrentDirectory(folder, sizeof folder);
        // The object being edited stays current when the file does not load.
        int32_t id = Obj2_Load(folder, name);
        if (id >= 0) g_CurObj2Id = id;
        Mode_UpdateCurrent();
    }
    Obj2D_RefreshLists();
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVA()
{
    if (!g_CurObj2) {
        Lib_MessageBox(kNothingToSave);
        return;
    }
    char initial[256];
    Str_CopyN(initial, sizeof initial, g_CurObj2->file);
    const char* answer = FileCmd_AskSave("QVA", initial);
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        if (QVL::OBJ2* o = Obj2_GetById(g_CurObj2Id)) Obj2_Save(o, name);
    }
    Lib_ResetFrameTimer();
}

void FileCmd_New2DObject()
{
    Obj2D_RefreshLists();
    Lib_ResetFrameTimer();
}

// ---- 2D one-skin models --------------------------------------------------------------------------

void FileCmd_LoadQVB()
{
    const char* answer = FileCmd_AskOpen("QVB", "読み込む QVB ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        g_Lib.allocArrays = 1;
        const bool loaded = Model2_Load(g_CurModel2Id, name);
        // A load refused before any record was made must not hand the flag to the next allocation.
        g_Lib.allocArrays = 0;
        if (loaded) {
            Mode_RefreshAll();
            g_CurBone = 0;
        }
        Mode_RefreshAll();
    }
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVB()
{
    // The effect editor can post this command while no 2D model exists.
    if (!Model2_Get(g_CurModel2Id) || !g_Model2Table[0]) {
        Lib_MessageBox(kNothingToSave);
        return;
    }
    char initial[256];
    Str_CopyN(initial, sizeof initial, g_Model2Table[0]->path);
    const char* answer = FileCmd_AskSave("QVB", initial);
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        if (!Model2_Save(g_CurModel2Id, name)) QVL::File_ReportWriteFailed(name);
    }
    Lib_ResetFrameTimer();
}

// ---- 3D objects and motion lists ----------------------------------------------------------------

void FileCmd_OpenQVOByName(const char* name)
{
    if (name && name[0]) {
        g_CurLayer = 0;
        Obj3_Load(0, name);
    }
    g_CurPart = 1;
    Obj3D_RefreshLists();
    Obj3_UpdatePoses();
    View_RequestRedraw();
}

void FileCmd_LoadQVO()
{
    const char* answer = FileCmd_AskOpen("QVO", "読み込む QVO ファイルを選択して下さい", "");
    char name[256];
    Str_CopyN(name, sizeof name, answer);
    FileCmd_OpenQVOByName(name);
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVO()
{
    char initial[256];
    Str_CopyN(initial, sizeof initial, "新規.QVO");
    if (g_CurModel3 && g_CurObj3) Str_CopyN(initial, sizeof initial, g_CurObj3->parts[0].file);
    const char* answer = FileCmd_AskSave("QVO", initial);
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        // The command can come where no object exists (the effect editor): nothing is written then.
        if (!Obj3_Save(g_CurLayer, name) && (g_CurLayer < 0 || g_CurLayer >= QVL::kObj3Rows || !g_Obj3Table[g_CurLayer]))
            Lib_MessageBox(kNothingToSave);
    }
    Lib_ResetFrameTimer();
}

void FileCmd_LoadQVM()
{
    const char* answer = FileCmd_AskOpen("QVM", "読み込む QVM ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        Motion3_LoadQvm(g_CurLayer, name);
        View_RequestRedraw();
    }
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVM()
{
    const char* answer = FileCmd_AskSave("QVM", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        Motion3_SaveQvm(g_CurLayer, name);
    }
    Lib_ResetFrameTimer();
}

// ---- QVV movies ----------------------------------------------------------------------------------

void FileCmd_LoadQVV()
{
    const char* answer = FileCmd_AskOpen("QVV", "読み込むムービーファイル( QVV )を選択して下さい", "");
    char name[256];
    Str_CopyN(name, sizeof name, answer);
    // A file that does not load leaves the open movie as it was.
    if (name[0] && MovieLoad(name)) MovieEdit_FileLoaded();
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVV()
{
    char initial[256];
    Str_CopyN(initial, sizeof initial, g_MovieData.curFile);
    const char* answer = FileCmd_AskSave("QVV", initial);
    char name[256];
    Str_CopyN(name, sizeof name, answer);
    if (name[0]) Movie_Save(name);
    Lib_ResetFrameTimer();
}

// ---- MAP2 maps and QVC collision sets ------------------------------------------------------------
// The commands run in any mode: the records are made on demand when no editor made them.

void FileCmd_LoadMAP2()
{
    const char* answer = FileCmd_AskOpen("MAP2", "読み込む MAP2 ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        Map2_Load(name);
    }
    Lib_ResetFrameTimer();
}

void FileCmd_SaveMAP2()
{
    const char* answer = FileCmd_AskSave("MAP2", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        if (!Map2_Save(name)) QVL::File_ReportWriteFailed(name);
    }
    Lib_ResetFrameTimer();
}

void FileCmd_LoadQVC()
{
    const char* answer = FileCmd_AskOpen("QVC", "読み込む QVC ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        Coli_Load(name);
    }
    ColiEdit_RefreshDialogs();
    Lib_ResetFrameTimer();
}

void FileCmd_SaveQVC()
{
    char initial[256];
    Str_CopyN(initial, sizeof initial, Coli_Get()->fileName);
    const char* answer = FileCmd_AskSave("QVC", initial);
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        Str_CopyN(Coli_Get()->fileName, sizeof Coli_Get()->fileName, name);
        if (!Coli_Save(name)) QVL::File_ReportWriteFailed(name);
    }
    Lib_ResetFrameTimer();
}

// The collision and background models belong to the collision record.
void FileCmd_LoadColiModel()
{
    const char* answer = FileCmd_AskOpen("QVP", "読み込む QVP ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        QVL::COLI* c = Coli_Get();
        c->modelId = Model3_LoadWait(name);
        if (Model3_GetById(c->modelId)) Str_CopyN(c->modelFile, sizeof c->modelFile, name);
    }
    Lib_ResetFrameTimer();
}

void FileCmd_LoadBackgroundModel()
{
    const char* answer = FileCmd_AskOpen("QVP", "読み込む QVP ファイルを選択して下さい", "");
    if (answer[0]) {
        char name[256];
        Str_CopyN(name, sizeof name, answer);
        QVL::COLI* c = Coli_Get();
        c->backgroundModelId = Model3_LoadWait(name);
        if (Model3_GetById(c->backgroundModelId)) {
            c->backgroundObjectId = ObjectCreate();
            if (QVL::OBJECT* o = Object_GetById(c->backgroundObjectId)) o->modelId = c->backgroundModelId;
            c->slotFlags[0] = 1;
            Str_CopyN(c->slotFiles[0], sizeof c->slotFiles[0], name);
        }
    }
    Lib_ResetFrameTimer();
}
