// Names of Direct3D values as the frame statistics and the device-settings dialog show them.
#pragma once
#include <cstdint>

// "D3DFMT_X8R8G8B8", or "X8R8G8B8" without the prefix; "Unknown format" for other values.
const char* App_FormatName(int32_t format, bool withPrefix);

const char* Enum_DeviceTypeName(int32_t devType);
const char* Enum_MultiSampleTypeName(int32_t type);
const char* Enum_VertexProcessingTypeName(int32_t type);
const char* Enum_PresentIntervalName(uint32_t interval);
