// The mode's bookkeeping and the current indices and records the editors work on (recomputed by
// Mode_UpdateCurrent, shell/mode_hooks.h).
#pragma once
#include <cstdint>

#include <vector>

#include "effect/effect.h"
#include "model/model3.h"
#include "model/obj2.h"

namespace QVL {
struct OBJECT;
struct OBJ3;
struct MODEL2;
} // namespace QVL

extern int32_t g_PrevMode;
extern int32_t g_RedrawPending; // 1: a View_RequestRedraw at the next per-frame update
extern void* g_ModeMenu;        // the menu the current mode set; destroyed on leaving

// The 3D editor's layers: each layer's object and model ID (statics.cpp). The current records of
// mode 11 come from them.
extern std::vector<int32_t> g_LayerObjectIds;
extern std::vector<int32_t> g_LayerModelIds;

extern int32_t g_CurLayer, g_CurBone, g_CurGroup, g_CurPart, g_CurObj2Id;
extern int32_t g_CurEffectId;
extern int32_t g_CurEffectInstIndex;
extern int32_t g_DefaultObjectId, g_DefaultModelId;
extern int32_t g_CurVertex;
extern QVL::MODEL3* g_CurModel3;
extern QVL::OBJECT* g_CurObject;
extern QVL::OBJ2* g_CurObj2;
extern QVL::OBJ2_PART* g_CurObj2Part;          // part g_CurPart of g_CurObj2
extern QVL::OBJ2_KEY_LIST* g_CurObjKeyList;    // its key list for the object's current motion
extern QVL::OBJ2_KEY* g_CurObjKey;             // that list's key at the part's key index
extern QVL::OBJ2_MOTION* g_CurObj2Motion;      // the object's current motion
extern QVL::OBJ3* g_CurObj3;
extern QVL::MODEL2* g_CurModel2;
extern QVL::EFFECT* g_CurEffect;
extern QVL::EFFECT_PART* g_EffectEditPart;     // part g_CurLayer of g_CurEffect
extern QVL::EFFECT_INST* g_CurEffectInst;
// Bone g_CurBone of g_CurModel3 with its rest key, the model's current motion, the bone's key list
// for that motion and the key at the bone's key index; null where a record or index is missing.
extern QVL::BONE3* g_CurBone3;
extern QVL::KEY3* g_CurRestKey3;
extern QVL::MOTION3* g_CurMotion3;
extern std::vector<QVL::KEY3>* g_CurKeys3;
extern QVL::KEY3* g_CurKey3;
