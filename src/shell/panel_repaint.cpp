// Which dirty panels a repaint pass paints, and in which order; the platform side paints them.
#include "frame/lib.h"
#include "shell/panels.h"

DLG_SLOT* g_PanelHosts[PANEL_HOST_COUNT] = {};
DLG_SLOT* g_Tex3DImageHost = nullptr;

DLG_SLOT* Panel_HostSlot(int32_t host)
{
    if (host == PANEL_HOST_GROUPS3D) return g_Screen >= 0 && g_Screen < kScreenCount ? &g_DlgSlots[g_Screen][1] : nullptr;
    if (host == PANEL_HOST_EFFECT) return g_EffectTimelineHost;
    return host >= 0 && host < PANEL_HOST_COUNT ? g_PanelHosts[host] : nullptr;
}

int32_t Panel_CollectDirty(bool (*hostOpen)(int32_t host), PANEL_JOB* jobs)
{
    PANEL_PAINTER motion3 = nullptr;
    const int32_t type = g_PanelMotion3Type();
    if (type == MOTION3D_BONES) motion3 = Panel_PaintMotion3Keys;
    else if (type == MOTION3D_GROUPS) motion3 = Panel_PaintGroupTrackKeys;
    const struct {
        int32_t* flag;
        int32_t host;
        PANEL_PAINTER paint;
    } rows[] = {
        {&g_PanelDirtyGroups, PANEL_HOST_GROUPS2D, Panel_PaintGroups2D},
        {&g_PanelDirtyObj2Image, PANEL_HOST_OBJ2_IMAGE, Panel_PaintObj2Image},
        {&g_PanelDirtyObj2Keys, PANEL_HOST_OBJ2_KEYS, Panel_PaintObj2Keys},
        {&g_PanelDirtyTexture, PANEL_HOST_TEX2D, Panel_PaintTexture2D},
        {&g_PanelDirtyMotion2Keys, PANEL_HOST_MOTION2_KEYS, Panel_PaintMotion2Keys},
        {&g_PanelDirtyGroups, PANEL_HOST_GROUPS3D, Panel_PaintGroups3D},
        {&g_PanelDirtyObj3Keys, PANEL_HOST_OBJ3_KEYS, Panel_PaintObj3Keys},
        {&g_PanelDirtyTexture, PANEL_HOST_TEX3D, Panel_PaintTexture3D},
        {&g_PanelDirtyMotion3Keys, PANEL_HOST_MOTION3_KEYS, motion3},
        {&g_PanelDirtyEffect, PANEL_HOST_EFFECT, Panel_PaintEffectTimeline},
    };
    int32_t n = 0;
    for (const auto& r : rows) {
        if (*r.flag != 1 || !hostOpen(r.host)) continue;
        *r.flag = 0;
        jobs[n++] = {r.host, r.paint};
    }
    if (g_Mode == MODE_MOVIE && hostOpen(PANEL_HOST_MOVIE_KEYS)) jobs[n++] = {PANEL_HOST_MOVIE_KEYS, Panel_PaintMovieTimeline};
    return n;
}
