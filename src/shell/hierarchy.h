// The visible rows of a bone or part hierarchy, flattened depth-first for the key panels, each with
// the frames of its keys in the current motion.
#pragma once
#include <cstdint>

constexpr int32_t kHierMaxRows = 256;
constexpr int32_t kHierRowKeys = 256;

struct HIER_ROW {
    char name[256];
    int32_t reserved0;
    int32_t item;          // bone or part number
    int32_t parent;
    int32_t firstChild;
    int32_t nextSibling;
    int32_t depth;         // 0 for the root
    int32_t keyCount;
    int32_t reserved[256];
    int32_t keyFrames[kHierRowKeys];
};

extern HIER_ROW g_HierRows[kHierMaxRows];
extern int32_t g_HierRowCount;   // never above kHierMaxRows
extern int32_t g_HierRowCur;
extern int32_t g_HierDepth;
