// The library object: engine state that every subsystem reads, and its start-up.
#pragma once
#include <cstdint>

namespace QVL {

struct LIB {
    LIB();
};

} // namespace QVL

extern QVL::LIB g_Lib;

// The product caption: the main window's title and every message box's.
extern const char* const kProductCaption;
