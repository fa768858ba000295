// Shared by the importer fuzzers: what a read model must hold, and its application to a record.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "convert/import_model.h"
#include "frame/lib.h"
#include "model/model3.h"
#include "model/model_table.h"
#include "model/normals.h"
#include "support/recorder.h"

// Every index a face uses lies in its array, every group in the groups; then the model takes it.
inline void CheckAndApply(IMPORT_MODEL& im, const char* path)
{
    if (Import_CheckLimits(im) != IMPORT_OK) return;
    if (im.groupCount < 1 || im.groupCount > QVL::kModel3Groups) std::abort();
    for (const QVL::FACE3& f : im.faces) {
        if (f.cornerCount > 4 || f.group < 0 || f.group >= QVL::kModel3Groups) std::abort();
        for (int k = 0; k < f.cornerCount; ++k) {
            const int32_t* c = f.corners[k];
            if (c[QVL::CORNER_POS] < 0 || (size_t)c[QVL::CORNER_POS] >= im.positions.size()) std::abort();
            if (c[QVL::CORNER_NORMAL] < 0 || (c[QVL::CORNER_NORMAL] > 0 && (size_t)c[QVL::CORNER_NORMAL] >= im.normals.size()))
                std::abort();
            if (c[QVL::CORNER_COLOR] < 0 || (c[QVL::CORNER_COLOR] > 0 && (size_t)c[QVL::CORNER_COLOR] >= im.colors.size()))
                std::abort();
            if (c[QVL::CORNER_UV] < 0 || (c[QVL::CORNER_UV] > 0 && (size_t)c[QVL::CORNER_UV] >= im.uvs.size()))
                std::abort();
        }
    }
    static int32_t id = Model3_Create();
    Import_Apply(id, Model3_GetById(id), im, path);
    Rec().Clear();
}
