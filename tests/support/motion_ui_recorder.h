// What the motion screen asked of its platform seam in a native test.
#pragma once
#include <string>
#include <map>
#include <vector>

#include "support/list_recorder.h"

struct MotionUiRecorder {
    bool answerYes = true;
    std::vector<std::string> questions;
    std::map<int, ListRecCtl> controls;  // the list and combo boxes by control id
};
MotionUiRecorder& MotionRec();
