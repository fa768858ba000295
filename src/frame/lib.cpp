#include "frame/lib.h"

const char* const kProductCaption = "QV Viduza Rozar 2009.09";

namespace QVL {

LIB::LIB() {}

} // namespace QVL
