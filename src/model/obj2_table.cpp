// The 2D object table: default records, creation, lookup and the object's images.
#include <cstring>

#include "frame/log.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/obj2.h"

using QVL::OBJ2;
using QVL::OBJ2_KEY;
using QVL::OBJ2_MOTION;
using QVL::OBJ2_RENDER;

QVL::PIXEL_COPY g_Obj2Pixels;

namespace {

OBJ2_KEY DefaultKey()
{
    OBJ2_KEY k{};
    k.shown = 1;
    k.scaleX = k.scaleY = 1.0f;
    k.r = k.g = k.b = k.a = 255;
    return k;
}

} // namespace

void Obj2_InitRecord(OBJ2* rec)
{
    if (!rec) return;
    for (int32_t i = 0; i < QVL::kObj2MaxParts; ++i) {
        rec->parts[i].keyLists.clear();
        if (i >= QVL::kObj2KeyedParts) continue;
        rec->parts[i].keyLists.resize(QVL::kObj2MaxMotions);
        for (QVL::OBJ2_KEY_LIST& list : rec->parts[i].keyLists) list.keys.assign(1, DefaultKey());
    }
    rec->version = QVL::kObj2Version;
    Str_CopyN(rec->file, sizeof rec->file, "新規.QVA");
    rec->motions.clear();
    OBJ2_MOTION m{};
    Str_CopyN(m.name, sizeof m.name, "モーション名");
    m.length = 60;
    m.loop = 1;
    m.next = -1;
    rec->motions.push_back(m);
    rec->imageCount = 0;
    rec->partCount = 2;
    rec->soundCount = 1;
    rec->soundNames.assign(1, QVL::OBJ2_NAME{});
    Str_CopyN(rec->soundNames[0].text, sizeof rec->soundNames[0].text, "なし");
    rec->visible = 1;
}

std::unique_ptr<OBJ2> Obj2_NewRecord()
{
    std::unique_ptr<OBJ2> rec(new OBJ2());   // value-initialised: every plain field zero
    rec->active = 1;
    Obj2_InitRecord(rec.get());
    return rec;
}

void Obj2_RenderInit(OBJ2_RENDER* r)
{
    Obj2_RenderReset(r);
}

void Obj2_RenderReset(OBJ2_RENDER* r)
{
    if (!r) return;
    r->flag = 0;
    r->renderFlag = 0;
    for (int32_t i = 0; i < QVL::kObj2MaxImages; ++i) {
        r->images[i].reset();
        r->textures[i] = -1;
    }
}

int32_t Obj2_Create()
{
    int32_t id = (int32_t)g_Obj2Table.size();
    std::unique_ptr<OBJ2> rec = Obj2_NewRecord();
    rec->id = id;
    g_Obj2Table.push_back(std::move(rec));
    std::unique_ptr<OBJ2_RENDER> render(new OBJ2_RENDER());
    Obj2_RenderInit(render.get());
    g_Obj2RenderTable.push_back(std::move(render));
    Log_DebugPrintf("QV.Obj2_Create() ID:%d", id);
    return id;
}

int32_t Obj2_Count()
{
    return (int32_t)g_Obj2Table.size();
}

OBJ2* Obj2_GetById(int32_t id)
{
    if (id < 0 || id >= Obj2_Count()) return nullptr;
    return g_Obj2Table[(size_t)id].get();
}

OBJ2_RENDER* Obj2_GetRender(int32_t id)
{
    if (id < 0 || (size_t)id >= g_Obj2RenderTable.size()) return nullptr;
    return g_Obj2RenderTable[(size_t)id].get();
}

void Obj2_ReleaseAll()
{
    g_Obj2Table.clear();
    g_Obj2RenderTable.clear();
}

bool Obj2_SetPosition(OBJ2* rec, float x, float y)
{
    if (!rec) return false;
    rec->x = x;
    rec->y = y;
    return true;
}

bool Obj2_SetPositionInt(OBJ2* rec, int32_t x, int32_t y)
{
    return Obj2_SetPosition(rec, (float)x, (float)y);
}

void Obj2_SetRenderFlag(int32_t id)
{
    if (OBJ2_RENDER* r = Obj2_GetRender(id)) r->renderFlag = 1;
}

void Obj2_SetRenderFlagFirst8()
{
    for (int32_t id = 0; id < 8; ++id) Obj2_SetRenderFlag(id);
}

void Obj2_LoadImage(int32_t id, int32_t image, const char* path)
{
    OBJ2* rec = Obj2_GetById(id);
    OBJ2_RENDER* r = Obj2_GetRender(id);
    if (!rec || !r || image < 0 || image >= QVL::kObj2MaxImages || !path) return;
    if (!r->images[image]) r->images[image].reset(new QVL::OBJ2_IMAGE());
    QVL::OBJ2_IMAGE* img = r->images[image].get();
    char copy[256];
    Str_CopyN(copy, sizeof copy, path);
    Str_CopyN(rec->imageNames[image], sizeof rec->imageNames[image], copy);
    Str_CopyN(img->file, sizeof img->file, copy);
    r->textures[image] = Tex_Load(path);
    float w = 0.0f, h = 0.0f;
    if (r->textures[image] >= 0 && Tex_GetSize(r->textures[image], &w, &h)) {
        img->width = (int32_t)w;
        img->height = (int32_t)h;
    } else {
        img->width = 32;
        img->height = 32;
    }
}

int32_t Obj2_GetImageWidth(int32_t id, int32_t image)
{
    OBJ2_RENDER* r = Obj2_GetRender(id);
    if (!r || image < 0 || image >= QVL::kObj2MaxImages || !r->images[image]) return 0;
    return r->images[image]->width;
}

int32_t Obj2_GetImageHeight(int32_t id, int32_t image)
{
    OBJ2_RENDER* r = Obj2_GetRender(id);
    if (!r || image < 0 || image >= QVL::kObj2MaxImages || !r->images[image]) return 0;
    return r->images[image]->height;
}

void Obj2_CenterImagePivot(int32_t id, int32_t image)
{
    OBJ2* rec = Obj2_GetById(id);
    if (!rec || image < 0 || image >= QVL::kObj2MaxImages) return;
    rec->pivotX[image] = (int32_t)((float)Obj2_GetImageWidth(id, image) * 0.5f);
    rec->pivotY[image] = (int32_t)((float)Obj2_GetImageHeight(id, image) * 0.5f);
}

void Obj2_CopyImagePixels(int32_t id, int32_t image)
{
    if (image > 31) return;
    Image_FreeCopy(g_Obj2Pixels);
    const OBJ2_RENDER* r = Obj2_GetRender(id);
    if (!r || image < 0 || !r->images[image] || r->textures[image] < 0) return;
    std::vector<uint8_t> texels;
    int32_t texW = 0, texH = 0;
    if (!Tex_ReadTexels(r->textures[image], texels, &texW, &texH)) return;
    const QVL::OBJ2_IMAGE& img = *r->images[image];
    Image_MakeCopy(g_Obj2Pixels, texels.data(), texW * 4, texW, texH, img.width, img.height);
}

uint32_t Obj2_GetLockedPixel(int32_t index)
{
    const QVL::PIXEL_COPY& c = g_Obj2Pixels;
    if (!c.pixels || index < 0 || (int64_t)index >= (int64_t)c.width * c.height) return 0;
    return c.pixels[index];
}
