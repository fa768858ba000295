// Every static object of the program with a constructor or destructor is defined here, in the order
// the program relies on: constructed top to bottom before the entry point, destroyed bottom to top
// after it. (Objects in other files would be built in an unspecified order.)
//
//  1. the dialog-slot records of the shell
//  2. the 3D editor's state object
//  3. the scene: its tables first, then the scene object, the loader, and the owner of the tables
//     (which starts the loader thread and, at exit, stops it before it frees the tables' records)
//  4. the renderer's draw lists
//  5. the library object
//  6. the frame's device catalogue

#include "edit3d/model3d_hooks.h"
#include "effect/effect.h"
#include "effect/particle.h"
#include "frame/enumeration.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/sound.h"
#include "model/gpu_data.h"
#include "model/loader.h"
#include "model/model_table.h"
#include "model/obj2.h"
#include "model/scene_object.h"
#include "render/renderer.h"
#include "render/tex_slots.h"
#include "render/text_queue.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"

// 1. dialog slots
DLG_SLOT g_DlgSlots[kScreenCount][kSlotsPerScreen];
DLG_SLOT g_OptionsSlot;
DLG_SLOT g_PreviewSlot;
DLG_SLOT g_SketchSlot;
static struct DLG_SLOT_INIT {
    DLG_SLOT_INIT()
    {
        for (auto& row : g_DlgSlots)
            for (DLG_SLOT& slot : row) Mode_InitDlgSlot(&slot);
        Mode_InitDlgSlot(&g_OptionsSlot);
        Mode_InitDlgSlot(&g_PreviewSlot);
        Mode_InitDlgSlot(&g_SketchSlot);
    }
} s_DlgSlotInit;

// 2. 3D editor state
std::vector<int32_t> g_LayerObjectIds;
std::vector<int32_t> g_LayerModelIds;

// 3. scene tables, then the scene
std::vector<QVL::TEX_SLOT> g_TexSlots;
std::vector<QVL::EFFECT> g_EffectData;
std::vector<QVL::EFFECT_INST> g_EffectInstances;
QVL::PARTICLE_LIST g_Particles;
std::vector<std::unique_ptr<QVL::OBJ2>> g_Obj2Table;
std::vector<std::unique_ptr<QVL::OBJ2_RENDER>> g_Obj2RenderTable;
std::vector<QVL::MODEL3*> g_Model3Table;
std::vector<QVL::MODEL3_RENDER*> g_Model3RenderTable;
std::vector<QVL::OBJECT*> g_ObjectTable;
QVL::OBJECT_XFORM* g_ObjectXforms[kObjectMax];
QVL::SCENE g_Scene;
QVL::LOADER g_Loader;
static struct SCENE_TABLES {
    SCENE_TABLES()
    {
        Particle_ListInit();
        Effect_EraseAllInstances();
        Effect_EraseAllData();
        QVL::Loader_Construct(g_Loader);
    }
    ~SCENE_TABLES()
    {
        // The loader first: a load in progress writes into its model until it ends.
        QVL::Loader_Destroy(g_Loader);
        Effect_EraseAllInstances();
        Effect_EraseAllData();
        Particle_ListFree();
        Obj2_ReleaseAll();
        Gpu_FreeRenderTable();
        Model3_FreeTable();
        Object_FreeTable();
        Tex_FreeSlots();
    }
} s_SceneTables;

// 4. renderer
QVL::RENDERER g_Renderer;
std::vector<QVL::TEXT_REC> g_TextQueue;

// 5. library
QVL::LIB g_Lib;
QVL::GLOBAL_SOUND g_GlobalSounds[kSoundSlots];
std::vector<std::unique_ptr<QVL::SOUND>> g_ModelSounds;

// 6. the frame's device catalogue (built by App_Create, kept for the whole run)
QVL::D3D_ENUMERATION g_Enumeration;
