// The format that joins a folder and a file name: "%s\\%s" in the studio. Native programs (tests,
// tools) run where '/' separates, so they join with that.
#pragma once

#ifdef _WIN32
#define QV_PATH_JOIN "%s\\%s"
#else
#define QV_PATH_JOIN "%s/%s"
#endif
