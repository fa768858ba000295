// The batches the polygon screen drew (native stand-in of its device side).
#pragma once
#include <vector>

#include "edit3d/poly_draw.h"

std::vector<POLY_BATCH>& PolyBatchRec();
