// Native stand-in for the polygon screen's batch drawing: every batch is recorded.
#include "support/poly_batch_recorder.h"

std::vector<POLY_BATCH>& PolyBatchRec()
{
    static std::vector<POLY_BATCH> s;
    return s;
}

void Draw_Batch2D(const POLY_BATCH& batch) { PolyBatchRec().push_back(batch); }
