// Moving the rig of another model file onto a model whose mesh may differ: bindings by nearest
// position, motions and bones as they stand.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

// The table slot that holds the source model while a transfer runs.
constexpr int32_t kTransferSlot = 255;

// For each query position, the index of the source position with the smallest distance
// |dy| + |dx| + |dz| (float, summed in that order) below 99999.9, the lowest index on a tie; -1
// when none is that near. A grid keeps it near-linear with the same answers as a plain scan.
void Transfer_NearestPositions(const QVL::XYZ* source, int32_t sourceCount, const QVL::XYZ* queries,
                               int32_t queryCount, std::vector<int32_t>& nearest);
// The plain scan, for one query.
int32_t Transfer_NearestScan(const QVL::XYZ* source, int32_t sourceCount, const QVL::XYZ& query);

// Bindings, motions and bones of src onto dst. A position with no source near enough is bound
// wholly to bone 0.
void Model3_TransferFrom(const QVL::MODEL3* src, QVL::MODEL3* dst);

// Loads the file into the scratch slot and transfers from it onto the model `targetId`. A file
// that cannot be loaded leaves the target as it was.
void Model3_TransferVertexData(int32_t targetId, const char* file);
