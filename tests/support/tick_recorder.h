// Native stand-in for the frame's tick seam (frame/tick_services.h, implemented by
// tick_recorder.cpp): records what the tick asked for, in order, and answers as scripted.
#pragma once
#include <cstdint>
#include <string>

#include "frame/d3d_values.h"

struct TickRecorder {
    std::string calls;     // T cooperative test, D desktop mode, X reset, R render, C record, P present
    bool video = false;
    int32_t cooperative = QVL::HR_OK;
    float elapsed = 0.016f;
    bool recording = false;
    int32_t presentResult = QVL::HR_OK;
    void Clear() { *this = TickRecorder(); }
};

TickRecorder& TickRec();
