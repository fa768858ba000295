#include "scene/map2.h"

#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "render/immediate.h"
#include "render/tex_slots.h"

using namespace QVL;

namespace QVL {
namespace {
const int32_t kMap2Versions[] = {kMap2OldVersion, kMap2Version};
} // namespace
// The magic is not compared: files were always told apart by their version alone.
const RECORD_FORMAT kMap2Format = {"ＭＡＰ２", "MAP2", 4, 0, kMap2Versions, 2, kMap2Version};
} // namespace QVL

MAP2* g_Map2 = nullptr;
MAP2_CHIP_TEXTURE g_Map2ChipTextures[kMap2Chips] = {
    {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32},
    {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}, {-1, 32, 32}};

void Map2_Free()
{
    delete g_Map2;
    g_Map2 = nullptr;
}

void Map2_New()
{
    Map2_Free();
    g_Map2 = new MAP2();
}

MAP2* Map2_Get()
{
    if (!g_Map2) g_Map2 = new MAP2();
    return g_Map2;
}

bool Map2_LoadChip(int32_t chip, const char* file)
{
    if (chip < 0 || chip >= kMap2Chips) return false;
    MAP2_CHIP_TEXTURE& t = g_Map2ChipTextures[chip];
    t.texture = -1;
    t.width = t.height = 32;
    if (!file || !file[0]) return false;
    int32_t handle = -1;
    Tex_LoadFile(&handle, file);
    float w = 0, h = 0;
    if (handle < 0 || !Tex_GetSize(handle, &w, &h)) return false;
    t.texture = handle;
    t.width = (int32_t)w;
    t.height = (int32_t)h;
    return true;
}

void Map2_SetDefaults()
{
    MAP2* m = Map2_Get();
    Str_CopyN(m->chipNames[0], sizeof m->chipNames[0], "草.psd");
    m->attributes[0] = 1;
    Str_CopyN(m->chipNames[1], sizeof m->chipNames[1], "川.psd");
    m->attributes[1] = 0;
    Map2_LoadChip(0, m->chipNames[0]);
    Map2_LoadChip(1, m->chipNames[1]);
    m->chipCount = 2;
    for (int32_t r = 0; r < kMap2Side; ++r)
        for (int32_t c = 0; c < kMap2Side; ++c) m->cells[r][c] = (r == 0 || c == 0) ? 1 : 0;
    m->width = kMap2Side;
    m->height = kMap2Side;
}

void Map2_Draw(int x0, int y0)
{
    const MAP2* m = g_Map2;
    if (!m) return;
    const int32_t w = m->width < 0 ? 0 : (m->width > kMap2Side ? kMap2Side : m->width);
    const int32_t h = m->height < 0 ? 0 : (m->height > kMap2Side ? kMap2Side : m->height);
    const int s = kMap2CellPixels;
    for (int32_t r = 0; r < h; ++r) {
        for (int32_t c = 0; c < w; ++c) {
            const int32_t chip = m->cells[r][c];
            if (chip < 0 || chip >= kMap2Chips || g_Map2ChipTextures[chip].texture < 0) continue;
            Tex_Set(g_Map2ChipTextures[chip].texture);
            const int x = x0 + s * c, y = y0 + s * r;
            Draw_Quad2D(x, y, 255, 255, 255, 255, 0.0f, 0.0f, x + s, y, 255, 255, 255, 255, 1.0f, 0.0f, x + s, y + s,
                        255, 255, 255, 255, 1.0f, 1.0f, x, y + s, 255, 255, 255, 255, 0.0f, 1.0f);
        }
    }
}

void Map2_Write(const MAP2& map, std::vector<uint8_t>& out)
{
    ByteWriter w;
    w.Bytes("MAP2", 4);
    w.I32(map.version);
    const int32_t chips = map.chipCount < 0 ? 0 : (map.chipCount > kMap2Chips ? kMap2Chips : map.chipCount);
    w.I32(chips);
    for (int32_t i = 0; i < chips; ++i) {
        w.U8(map.attributes[i]);
        w.Str(map.chipNames[i], sizeof map.chipNames[i]);
    }
    const int32_t width = map.width < 0 ? 0 : (map.width > kMap2Side ? kMap2Side : map.width);
    const int32_t height = map.height < 0 ? 0 : (map.height > kMap2Side ? kMap2Side : map.height);
    w.I32(width);
    w.I32(height);
    for (int32_t r = 0; r < height; ++r) w.I32s(map.cells[r], (size_t)width);
    out.swap(w.Data());
}

RECORD_STATUS Map2_ReadBody(const uint8_t* data, size_t size, MAP2& map)
{
    ByteReader r(data, size);
    r.Skip(4);
    r.I32(map.version);
    int32_t chips = 0;
    // A chip is at least its attribute and its name length.
    if (!r.Count(chips, kMap2Chips, 5)) return RECORD_DAMAGED;
    for (int32_t i = 0; i < chips; ++i) {
        r.U8(map.attributes[i]);
        if (!r.Str(map.chipNames[i], sizeof map.chipNames[i])) return RECORD_DAMAGED;
    }
    int32_t width = 0, height = 0;
    if (!r.I32(width) || !r.I32(height)) return RECORD_DAMAGED;
    if (width < 1 || width > kMap2Side || height < 1 || height > kMap2Side) return RECORD_DAMAGED;
    if (r.Left() != (size_t)width * (size_t)height * 4) return RECORD_DAMAGED;
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t col = 0; col < width; ++col) {
            int32_t v = 0;
            r.I32(v);
            if (v < 0 || v >= kMap2Chips) return RECORD_DAMAGED;
            map.cells[row][col] = v;
        }
    }
    if (!r.Ok()) return RECORD_DAMAGED;
    map.chipCount = chips;
    map.width = width;
    map.height = height;
    return RECORD_OK;
}

RECORD_STATUS Map2_Parse(const uint8_t* data, size_t size, MAP2& map)
{
    ByteReader r(data, size);
    int32_t version = 0;
    RECORD_STATUS head = Record_CheckHeader(r, kMap2Format, version);
    if (head != RECORD_OK) return head;
    return Map2_ReadBody(data, size, map);
}

bool Map2_Save(const char* path)
{
    MAP2* m = Map2_Get();
    if (!path || !path[0]) return false;
    m->version = kMap2Version;
    std::vector<uint8_t> bytes;
    Map2_Write(*m, bytes);
    return File_WriteAll(path, bytes.data(), bytes.size());
}

bool Map2_Load(const char* path)
{
    if (!path || !path[0]) {
        Lib_MessageBox("ファイル名が指定されていません。");
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(path, bytes)) {
        Log_Printf("%s を開くことができませんでした。", path);
        return false;
    }
    // Parsed into a copy: a refused file leaves the open map untouched.
    std::unique_ptr<MAP2> fresh(new MAP2(*Map2_Get()));
    if (!Record_Report(kMap2Format, Map2_Parse(bytes.data(), bytes.size(), *fresh), path)) return false;
    *g_Map2 = *fresh;
    for (int32_t i = 0; i < g_Map2->chipCount; ++i) Map2_LoadChip(i, g_Map2->chipNames[i]);
    Lib_ResetFrameTimer();
    return true;
}
