// The converter's readers join the model loader when the program starts.
#include "convert/dxf_import.h"
#include "convert/lwo_file.h"
#include "convert/mqo_import.h"
#include "convert/mx_file.h"
#include "convert/rok_import.h"
#include "model/model_load.h"

namespace {

bool RegisterImporters()
{
    Model3_SetImporter("dxf", Dxf_Import);
    Model3_SetImporter("lwo", Lwo_Import);
    Model3_SetImporter("mqo", Mqo_Import);
    Model3_SetImporter("mx", Mx_Import);
    Model3_SetImporter("rok", Rok_Import);
    return true;
}

// Before main: the loader's table is constant-initialised, so it is ready for this.
[[maybe_unused]] const bool s_registered = RegisterImporters();

} // namespace
