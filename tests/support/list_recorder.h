// Native stand-in for the list controls (shell/list_controls.h): each handle is a ListRecCtl the test
// owns, holding its rows, tree items and selection.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ListRecCtl {
    std::vector<std::string> rows;       // list, combo, or tree items in insertion order
    std::vector<int32_t> treeParents;    // per tree item: the parent item's index, -1 at the root
    std::vector<int32_t> expanded;       // tree items expanded, in call order
    int32_t selected = -1;               // single selection, or the tree's caret item
    std::vector<int32_t> multiSelected;  // LB_SETSEL rows
    int32_t resets = 0;
};
