// Brings the studio's frame up once for the Wine tests that need a window and a device (LibInit),
// and again after a test has closed it. The current directory stays the test program's folder.
#pragma once

// True when the frame runs (window, device, ready flag).
bool WineFrame_Ensure();
