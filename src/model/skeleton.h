// Skeleton operations the loader runs on every model it finishes.
#pragma once
#include <cstdint>

#include "model/model3.h"

// The rest matrices of the bones in the model's render data.
bool Motion3_BuildRestMatrices(QVL::MODEL3* m, int32_t id);
// Binds every position whose automatic flag is set to its nearest bone centre.
bool Model3_AutoWeights(QVL::MODEL3* m);
