// The 3D editor in mode 11 on the polygon screen with layer 0 made and every history empty.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/views.h"
#include "support/model3d_ui_recorder.h"
#include "support/ui_recorder.h"

class Edit3DTest : public ::testing::Test {
protected:
    std::vector<int32_t> savedObjects, savedModels;
    int32_t savedMode = 0, savedScreen = 0;
    void SetUp() override
    {
        savedObjects = g_LayerObjectIds;
        savedModels = g_LayerModelIds;
        savedMode = g_Mode;
        savedScreen = g_Screen;
        for (VIEW_REC* row : g_Views)
            for (int i = 0; i < kViewsPerScreen; ++i) row[i].window = nullptr;
        for (auto& row : g_DlgSlots)
            for (DLG_SLOT& s : row) s.window = nullptr;
        g_Model3DEditor = MODEL3D_EDITOR{};
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_POLYGON;
        g_ModeMenu = nullptr;
        g_LayerObjectIds.clear();
        g_LayerModelIds.clear();
        g_LayerCount = 0;
        g_CurLayer = 0;
        for (UNDO_HISTORY& h : g_UndoHistories) h = UNDO_HISTORY();
        Layer_Create();
        // The undo list as if its dialog were open.
        g_Model3DEditor.undoList = (void*)0x7000;
        UiRec().Clear();
        Model3DRec().Clear();
    }
    void TearDown() override
    {
        g_LayerObjectIds = savedObjects;
        g_LayerModelIds = savedModels;
        g_Mode = savedMode;
        g_Screen = savedScreen;
        g_CurLayer = 0;
        g_Model3DEditor = MODEL3D_EDITOR{};
        g_ModeMenu = nullptr;
        for (auto& row : g_DlgSlots)
            for (DLG_SLOT& s : row) s.window = nullptr;
        Mode_UpdateCurrent();
    }
    QVL::MODEL3* Live() { return Model3_GetById(g_LayerModelIds[(size_t)g_CurLayer]); }
    UNDO_HISTORY& History() { return g_UndoHistories[g_CurLayer]; }
    void Record(const char* caption)
    {
        Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption);
        Undo_Record(&History());
    }
};
