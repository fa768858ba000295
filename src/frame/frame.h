// The Direct3D frame's state and its platform-free rules: window size, OS class, mouse coordinates,
// error texts, statistics texts, pausing, the per-frame tick and where a frame is presented. The
// Direct3D side lives in frame/win32/app_frame.cpp.
#pragma once
#include <cstdint>

namespace QVL {

struct FRAME_STATE {
    bool windowed;                 // true
    bool active;
    bool deviceLost;
    bool ignoreSizeChange;
    bool objectsInitialised;
    bool objectsRestored;
    bool frameMoving;              // true
    bool singleStep;
    bool clipCursorWhenFullscreen; // true
    bool fatalShown;               // a fatal message was shown: later errors stay silent
    int32_t pauseCount;
    const char* title;             // "D3D9 Application" until LibInit sets the product caption
    float appTime;
    float elapsedTime;
    float fps;
    int32_t fpsInt;
    char deviceStats[90];
    char frameStats[90];
    uint32_t windowStyle;
    uint32_t createFlags;
    int32_t createWidth, createHeight;
    int32_t deviceType;            // of the created device: 1 HAL, 2 REF, 3 SW; 0 none
    // App_RenderFrame's frames-per-second count (seconds of timeGetTime).
    double fpsLastTime;
    int32_t fpsFrames;
    // App_UpdateStats's count (seconds of the timer's absolute time).
    float statsLastTime;
    int32_t statsFrames;
};

// LibInit's reset of the frame state.
void Frame_ResetState(FRAME_STATE& f);

// Height of the main window for a width: 4:3 with the layout flag, else 16:9, plus the frame's
// borders as the OS class draws them.
int32_t Frame_AspectHeight(int32_t width, int32_t layoutFlag, int32_t osClass);

// From GetVersionExA: 1 Win32s, 2 Windows 9x, 3 old NT, 4 2000, 5 XP, 6 Vista and later, 0 other.
int32_t Frame_OsClass(uint32_t platformId, uint32_t major, uint32_t minor);

// One 16-bit half of a mouse lParam: unsigned, and above 10000 taken as negative.
int32_t Frame_MouseCoord(uint32_t half);

// Text of the frame's error table.
const char* Frame_ErrorText(int32_t code);
// The text appended when the frame falls back to the reference rasterizer.
extern const char* const kRefSwitchText;

// "HAL (hw vp): adapter", within 89 characters.
void Frame_FormatDeviceStats(char out[90], int32_t devType, uint32_t behaviour, const char* adapterDescription);
// "%.02f fps (%dx%d), %s%s%s", within 89 characters.
void Frame_FormatFrameStats(char out[90], float fps, uint32_t width, uint32_t height, int32_t backFormat,
                            int32_t displayFormat, bool usesDepth, int32_t depthFormat, int32_t multiSampleType);

// Video-chip class from the device: 0 without vertex-blend matrices, else by vertex-shader version
// (1, 3 from 1.0 with the anti-aliasing request, 5 from 2.0, 6 from 3.0, 8 from 4.0). A reference
// device is class 0 without anti-aliasing whatever it reports.
int16_t Lib_ChipClass(uint32_t maxVertexBlendMatrices, uint32_t vertexShaderVersion, bool referenceDevice, bool* antiAliasRequest);
// Major shader version 0..4 (0 below 1.0).
int16_t Lib_ShaderMajor(uint32_t version);

// App_Pause's counting; returns the timer command to run (TIMER_START, TIMER_STOP) or -1.
int Frame_Pause(FRAME_STATE& f, bool pause);

// One frame: skipped while a video plays, while the device is lost, in the frame that resets it,
// and when no time passed; otherwise render, record, present. What it asks of Direct3D and the rest
// of the studio goes through the tick seam (frame/tick_services.h).
void Frame_Tick(FRAME_STATE& f);

// Where a frame is presented.
struct FRAME_RECT {
    int32_t left, top, right, bottom;
};
struct PRESENT_VIEW {
    void* window;      // the view's window; null when it has none
    int32_t type;      // 0 main, 1 Front, 2 Top, 3 Side, 4 Pers
    int32_t width, height;
    int32_t clientWidth, clientHeight;
};
struct PRESENT_PLAN {
    int32_t target;    // 0 nothing, 1 the whole back buffer into the main window, 2 rectangles into window
    void* window;
    FRAME_RECT source;
    FRAME_RECT dest;
};
// view: the current screen's active view, or null when it does not exist. W x H: the configured size.
PRESENT_PLAN Frame_PlanPresent(int32_t layoutFlag, int32_t mode, const PRESENT_VIEW* view, int32_t W, int32_t H);

} // namespace QVL

extern QVL::FRAME_STATE g_Frame;
