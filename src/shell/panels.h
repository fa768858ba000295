// Software-painted panels: the shared 1600 x 1024 panel bitmap, its pixel, line and text primitives,
// the panels' dirty flags, the time axis shared by the key timelines, and the painters: the effect
// timeline (here), the key panels (panel_keys.cpp), the swatches, texture and picture panels
// (panel_pictures.cpp), the movie timeline (panel_movie.cpp) and the repaint pass's choice
// (panel_repaint.cpp). Pixels are written here; texts go through the platform's text hook (GDI in the studio),
// and the copy of the bitmap into a host dialog is the platform's (shell/win32/panels.cpp).
#pragma once
#include <cstdint>

#include "shell/dlg_slot.h"

constexpr int32_t kPanelWidth = 1600;
constexpr int32_t kPanelHeight = 1024;

// The bitmap: 0x00RRGGBB at x + y * width, top-down. Null bits until it is created.
struct PANEL_BITMAP {
    uint32_t* bits;
    int32_t width, height;
};
extern PANEL_BITMAP g_PanelDib;

// Draws one text with a transparent background in the panel text colour; set by whoever paints
// (the studio's GDI painter, or a test that records).
typedef void (*PANEL_TEXT_FN)(int32_t x, int32_t y, const char* text, int32_t r, int32_t g, int32_t b);
extern PANEL_TEXT_FN g_PanelTextHook;

// Dirty flags, 1 = repaint at the next panel pass.
extern int32_t g_PanelDirtyGroups, g_PanelDirtyObj2Image, g_PanelDirtyObj2Keys, g_PanelDirtyTexture;
extern int32_t g_PanelDirtyMotion2Keys, g_PanelDirtyObj3Keys, g_PanelDirtyMotion3Keys, g_PanelDirtyEffect;

// Time axis of the key timelines: frames at 10 / g_KeyTimeScale pixels each, scrolled by
// g_KeyScrollX; the effect and movie timelines keep their labels left of g_TimelineLabelWidth and
// their rows from g_TimelineTop down.
extern int32_t g_KeyTimeScale;      // 4 at start; 1..64 in the effect editor
extern int32_t g_KeyScrollX, g_KeyScrollY;
extern int32_t g_KeyHoverRow;
extern int32_t g_TimelineLabelWidth, g_TimelineTop;
constexpr int32_t kTimelineRowHeight = 25;

// The five flags a redraw request sets.
void Panel_FlagAllDirty();
// Platform side (shell/win32/panels.cpp): the bitmap, made once at start-up, and the repaint pass
// that paints every dirty panel whose host window exists.
void Panel_CreateDib();
void Panel_RepaintDirty();

void Panel_SetTextColor(int32_t r, int32_t g, int32_t b);
void Panel_TextOut(int32_t x, int32_t y, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
// Every write is clipped to the bitmap.
void Panel_PutPixel(int32_t x, int32_t y, int32_t r, int32_t g, int32_t b);
// A one-pixel line from (x1, y1) to (x2, y2), the end pixel left out as GDI draws it.
void Panel_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t r, int32_t g, int32_t b);
// Rows y1 .. y2 - 1, each from x1 to x2 - 1.
void Panel_FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t r, int32_t g, int32_t b);
void Panel_Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t r, int32_t g, int32_t b);

// The time scale the painters divide by: g_KeyTimeScale, taken as 1 below 1 and as kMaxTimeScale
// above it (a scale past that puts hundreds of frames on one pixel).
constexpr int32_t kMaxTimeScale = 1024;
int32_t Panel_TimeScale();
// trunc(frame * 10 / scale), in 64 bits so that no frame read from a file overflows.
int64_t Panel_FrameOffset(int64_t frame);
// A 64-bit x clamped far outside the bitmap on either side, so that x + a few stays an int32.
int32_t Panel_ClampX(int64_t x);
// A host's client size clamped to the bitmap: the clears and loops stop where the bitmap ends.
void Panel_ClipSize(int32_t* width, int32_t* height);
// A ruler: for f = 60, 120, ... up to last, at u = base + trunc(f * 10 / scale), the label "%d" (f)
// at (u + textDx, textY) and a white tick from (u + tickDx, tickY0) to (u + tickDx, tickY1), for
// the marks with lo <= u < hi only. It starts at the first visible mark and stops past the last,
// so a length read from a file or a far scroll costs no more than the visible marks.
struct PANEL_RULER {
    int32_t textDx, textY, tickDx, tickY0, tickY1;
};
// Returns the number of marks drawn.
int32_t Panel_Ruler(const PANEL_RULER& r, int64_t last, int64_t base, int32_t lo, int32_t hi);

// x of a frame on the effect and movie timelines: trunc(frame * 10 / scale) + scroll + label width.
int32_t Timeline_FrameX(int64_t frame);
// The effect editor's timeline into the bitmap, for a panel of width x height client pixels.
void Panel_PaintEffectTimeline(int32_t width, int32_t height);
// The dialog slot the effect timeline is painted into: the effect editor's key-frame dialog, whose
// extra[0] and extra[1] hold its client size. Defined by the effect editor.
extern DLG_SLOT* const g_EffectTimelineHost;

// --- The key panels of the 2D and 3D editors ---

// The key dialogs' area: left 0, top = window height - 246, right 1024, bottom = top + 300 (set by
// the program entry). Row lines run from left to right; the label divider ends at bottom.
struct PANEL_RECT {
    int32_t left, top, right, bottom;
};
extern PANEL_RECT g_KeyPanelRect;
extern int32_t g_KeyLabelWidth, g_KeyRowHeight;   // 188 and 21, set by every key panel painter
constexpr int32_t kKeyLabelWidth = 188;
constexpr int32_t kKeyRowHeight = 21;
constexpr int32_t kKeyRowsTop = 28;              // the header strip is rows 0 .. 27

// x of a frame on the key panels: trunc(frame * 10 / scale) + scroll + 189.
int32_t Panel_KeyFrameX(int32_t frame);

// What differs between the hierarchy key panels; the rows are g_HierRows.
struct KEY_PANEL {
    const char* labelFormat;           // prefix, item number, name
    bool prefixes;                     // two or more parts or bones: rows with children get "＋"/"－"
    int32_t (*expanded)(int32_t item); // the item's expanded flag; null: none expanded
    int32_t frame, keyIndex, length;   // the current frame, the "Key %d" number, the motion length
    bool playing;
    int32_t hoverGrey;                 // level of the hover line's red and green
    bool labelsFirst;                  // the 3D bone panel: labels, then the key area, separators from 188
};
void Panel_PaintHierKeys(const KEY_PANEL& p, int32_t width, int32_t height);

// The painters (client size of the host's panel). Each paints nothing it has no record for.
void Panel_PaintObj2Keys(int32_t width, int32_t height);
void Panel_PaintMotion2Keys(int32_t width, int32_t height);
void Panel_PaintMotion3Keys(int32_t width, int32_t height);
void Panel_PaintObj3Keys(int32_t width, int32_t height);
void Panel_PaintGroupTrackKeys(int32_t width, int32_t height);

// --- The swatch, texture and picture panels ---
constexpr int32_t kSwatchWidth = 54, kSwatchHeight = 270, kSwatchRows = 15;
constexpr int32_t kTexPanelSide = 512;
constexpr int32_t kObj2ImageLeft = 116;   // the picture panel is copied to this x of its host

// A pixel copy's 0xAABBGGRR as the bitmap's 0x00RRGGBB.
inline uint32_t Panel_FromCopyPixel(uint32_t c)
{
    return (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

void Panel_PaintGroups2D(int32_t width, int32_t height);
void Panel_PaintGroups3D(int32_t width, int32_t height);
void Panel_PaintTexture2D(int32_t width, int32_t height);
void Panel_PaintTexture3D(int32_t width, int32_t height);
void Panel_PaintObj2Image(int32_t width, int32_t height);

// --- The repaint pass ---
enum {
    PANEL_HOST_GROUPS2D,      // 2D_GROUP_DLG
    PANEL_HOST_OBJ2_IMAGE,    // 2D_OBJ_IMG_DLG
    PANEL_HOST_OBJ2_KEYS,     // 2D_OBJ_KEY_DLG
    PANEL_HOST_TEX2D,         // 2D_TEX_DLG
    PANEL_HOST_MOTION2_KEYS,  // MOTION_KEY_DLG (2D)
    PANEL_HOST_GROUPS3D,      // slot 1 of the current screen (3D_GROUP_DLG)
    PANEL_HOST_OBJ3_KEYS,     // OBJ_KEY_DLG
    PANEL_HOST_TEX3D,         // 3D_TEX_DLG, painted into 3D_TEX_IMAGE_DLG
    PANEL_HOST_MOTION3_KEYS,  // MOTION_KEY_DLG (3D)
    PANEL_HOST_EFFECT,        // the effect editor's key-frame dialog
    PANEL_HOST_MOVIE_KEYS,    // MOVIE_KEY_DLG: painted every pass in the movie editor, no flag
    PANEL_HOST_COUNT
};
// The host dialogs' slots, set by the editors that own them (null: not hosted). Their extra[0] and
// extra[1] hold the panel's client size. The 3D swatches and the effect timeline find theirs
// themselves (Panel_HostSlot).
extern DLG_SLOT* g_PanelHosts[PANEL_HOST_COUNT];
extern DLG_SLOT* g_Tex3DImageHost;   // the picture dialog the 3D texture panel is copied into
DLG_SLOT* Panel_HostSlot(int32_t host);

typedef void (*PANEL_PAINTER)(int32_t width, int32_t height);
// The 3D motion editor's motion type (0 bone motion, 1 group motion) picks its key panel's
// painter; the editor lies above the panels, so the shell application's wiring fills this.
enum { MOTION3D_BONES = 0, MOTION3D_GROUPS = 1 };
extern int32_t (*const g_PanelMotion3Type)();
struct PANEL_JOB {
    int32_t host;
    PANEL_PAINTER paint;   // null: the flag is spent, nothing to paint (a 3D motion type without a panel)
};
// The panels this pass paints, in order: each dirty one whose host is open has its flag cleared
// and its painter listed. A flag shared by two panels goes to the first whose host is open.
// Returns the count, at most PANEL_HOST_COUNT.
int32_t Panel_CollectDirty(bool (*hostOpen)(int32_t host), PANEL_JOB* jobs);

// --- The movie timeline ---
// One track as the movie editor hands it over: the key frames are read every `keyStride` int32s.
struct MOVIE_TIMELINE_TRACK {
    const char* name;
    int32_t kind;              // 0 .. 9, named by Panel_MovieKindName
    const int32_t* keyFrames;
    int32_t keyStride;
    int32_t keyCount;
};
struct MOVIE_TIMELINE {
    const MOVIE_TIMELINE_TRACK* tracks;
    int32_t trackCount;
    int32_t frame, length;
    int32_t playState;         // 0 stopped
};
// Set by the movie editor while it is open; null paints nothing.
extern const MOVIE_TIMELINE* g_MovieTimeline;
const char* Panel_MovieKindName(int32_t kind);   // "" outside the table
void Panel_PaintMovieTimeline(int32_t width, int32_t height);
