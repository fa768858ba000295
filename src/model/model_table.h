// The 3D model table: one record per slot, the slot index being the model ID. Releasing is two-phase
// because the loader thread may be filling a model: a release only flags the record, and the main
// loop frees flagged records while the loader's queue is empty, under the loader's lock.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

// Defined in shell/statics.cpp, before the scene. Grows on the main thread, under the loader's lock.
extern std::vector<QVL::MODEL3*> g_Model3Table;

int32_t Model3_Create();
bool Model3_Copy(int32_t src, int32_t dst);
QVL::MODEL3* Model3_GetById(int32_t id);
int Model3_Count();
bool Model3_IsReady(const QVL::MODEL3* m);
bool Model3_IsReadyById(int32_t id);
// Pumps window messages until the model is ready, or until its slot is freed, empty or flagged for
// release (a load that failed releases the slot it made).
void Model3_WaitLoaded(int32_t id);
QVL::MODEL3* Model3_Release(int32_t id);
// Waits for a load in progress (queued requests are dropped), frees every model, empties the table.
void Model3_ReleaseAll();
void Model3_ProcessReleases();
// The scene's destruction: frees every record (the loader has stopped by then).
void Model3_FreeTable();
// Marks the end of a load: the loaded byte, written last, with release ordering for other threads.
void Model3_SetLoaded(QVL::MODEL3* m);
