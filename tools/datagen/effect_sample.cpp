// The effect editor's sample "爆発": the three pictures of its texture table in the data folder
// ("box.bmp", "爆発.png", "pupu.bmp") and the 2D object "Effect/爆発/爆発.QVA" with its images, an
// explosion of a fireball, a shock ring and sparks. Pictures are drawn here from formulas; the QVA is
// written by the studio's own writer. Black is the colour key: it becomes transparent when loaded.
#include <cmath>
#include <cstring>

#include "datagen.h"
#include "picture_files.h"
#include "frame/bytes.h"
#include "frame/text.h"
#include "model/obj2.h"

namespace {

struct RGBA {
    uint8_t r, g, b, a;
};

typedef RGBA (*PixelFn)(float x, float y);   // x, y in -1..1 across the picture

uint8_t Byte(float v)
{
    v = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
    return (uint8_t)std::lround(v * 255.0f);
}

RGBA Colour(float r, float g, float b, float a) { return RGBA{Byte(r), Byte(g), Byte(b), Byte(a)}; }

// Pixel centres sampled 4 x 4 and averaged, so that edges are soft.
RGBA Sample(PixelFn fn, int w, int h, int px, int py)
{
    float acc[4] = {};
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            float x = ((float)px + (sx + 0.5f) / 4.0f) / (float)w * 2.0f - 1.0f;
            float y = ((float)py + (sy + 0.5f) / 4.0f) / (float)h * 2.0f - 1.0f;
            RGBA c = fn(x, y);
            acc[0] += c.r;
            acc[1] += c.g;
            acc[2] += c.b;
            acc[3] += c.a;
        }
    return RGBA{(uint8_t)std::lround(acc[0] / 16), (uint8_t)std::lround(acc[1] / 16), (uint8_t)std::lround(acc[2] / 16),
                (uint8_t)std::lround(acc[3] / 16)};
}

// 24-bit bottom-up BMP.
std::vector<uint8_t> Bmp(PixelFn fn, int w, int h)
{
    const uint32_t row = (uint32_t)(w * 3 + 3) & ~3u;
    QVL::ByteWriter out;
    out.Bytes("BM", 2);
    out.U32(54 + row * (uint32_t)h);
    out.U32(0);
    out.U32(54);
    out.U32(40);
    out.I32(w);
    out.I32(h);
    out.U16(1);
    out.U16(24);
    out.U32(0);
    out.U32(row * (uint32_t)h);
    out.I32(2835);
    out.I32(2835);
    out.U32(0);
    out.U32(0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            RGBA c = Sample(fn, w, h, x, y);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
        }
        out.Zeros(row - (uint32_t)w * 3);
    }
    return out.Data();
}

// RGBA PNG of the sampled picture, through the generators' one PNG writer.
std::vector<uint8_t> Png(PixelFn fn, int w, int h)
{
    std::vector<datagen::Pixel> px;
    px.reserve((size_t)w * (size_t)h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const RGBA c = Sample(fn, w, h, x, y);
            px.push_back(datagen::Pixel{c.r, c.g, c.b, c.a});
        }
    return datagen::PngFile(px, w, h);
}

float Radius(float x, float y) { return std::sqrt(x * x + y * y); }
float Smooth(float e0, float e1, float v)
{
    float t = (v - e0) / (e1 - e0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

// A soft white square with a bright core: the particles' sprite.
RGBA BoxPixel(float x, float y)
{
    float d = std::fabs(x) > std::fabs(y) ? std::fabs(x) : std::fabs(y);
    float v = 1.0f - Smooth(0.35f, 0.95f, d);
    float core = 1.0f - Smooth(0.0f, 0.5f, Radius(x, y));
    return Colour(v * 0.85f + core * 0.15f, v * 0.9f + core * 0.1f, v, v);
}

// An orange burst with eight rays.
RGBA BurstPixel(float x, float y)
{
    float r = Radius(x, y);
    float ang = std::atan2(y, x);
    float rays = 0.55f + 0.45f * std::pow(std::fabs(std::cos(ang * 4.0f)), 6.0f);
    float v = 1.0f - Smooth(0.15f, rays, r);
    float hot = 1.0f - Smooth(0.0f, 0.45f, r);
    return Colour(v, v * (0.45f + 0.55f * hot), v * 0.15f * hot, v);
}

// A pale puff of smoke: three overlapping lobes.
RGBA PuffPixel(float x, float y)
{
    const float c[3][2] = {{-0.3f, 0.15f}, {0.3f, 0.15f}, {0.0f, -0.25f}};
    float v = 0.0f;
    for (const auto& p : c) {
        float l = 1.0f - Smooth(0.25f, 0.6f, Radius(x - p[0], y - p[1]));
        v = v > l ? v : l;
    }
    return Colour(v * 0.8f, v * 0.75f, v * 0.7f, v);
}

// The 2D object's images.
RGBA FirePixel(float x, float y)
{
    float r = Radius(x, y);
    float v = 1.0f - Smooth(0.2f, 0.95f, r);
    float hot = 1.0f - Smooth(0.0f, 0.5f, r);
    return Colour(v, v * (0.35f + 0.6f * hot), v * 0.3f * hot * hot, 1.0f);
}

RGBA RingPixel(float x, float y)
{
    float r = Radius(x, y);
    float v = 1.0f - Smooth(0.0f, 0.12f, std::fabs(r - 0.8f));
    return Colour(v, v * 0.8f, v * 0.55f, 1.0f);
}

RGBA SparkPixel(float x, float y)
{
    float v = 1.0f - Smooth(0.0f, 0.9f, std::fabs(x) * 6.0f * std::fabs(y) + Radius(x, y) * 0.6f);
    return Colour(v, v, v * 0.6f, 1.0f);
}

std::vector<uint8_t> BuildBox() { return Bmp(BoxPixel, 16, 16); }
std::vector<uint8_t> BuildBurst() { return Png(BurstPixel, 64, 64); }
std::vector<uint8_t> BuildPuff() { return Bmp(PuffPixel, 32, 32); }
std::vector<uint8_t> BuildFire() { return Bmp(FirePixel, 64, 64); }
std::vector<uint8_t> BuildRing() { return Bmp(RingPixel, 64, 64); }
std::vector<uint8_t> BuildSpark() { return Bmp(SparkPixel, 16, 16); }

QVL::OBJ2_KEY Key(int32_t frame, float x, float y, float rotation, float scale, int32_t image, int32_t r, int32_t g,
                  int32_t b, int32_t a)
{
    QVL::OBJ2_KEY k{};
    k.frame = frame;
    k.shown = 1;
    k.x = x;
    k.y = y;
    k.rotation = rotation;
    k.scaleX = k.scaleY = scale;
    k.image = image;
    k.r = r;
    k.g = g;
    k.b = b;
    k.a = a;
    return k;
}

// One 60-frame motion: the fireball swells and fades, the ring spreads, four sparks fly out turning.
std::vector<uint8_t> BuildQva()
{
    std::unique_ptr<QVL::OBJ2> rec = Obj2_NewRecord();
    const char* images[] = {"fire.bmp", "ring.bmp", "spark.bmp"};
    const int32_t sizes[] = {64, 64, 16};
    rec->imageCount = 3;
    for (int i = 0; i < 3; ++i) {
        Str_CopyN(rec->imageNames[i], 256, images[i]);
        rec->pivotX[i] = sizes[i] / 2;
        rec->pivotY[i] = sizes[i] / 2;
    }
    Str_CopyN(rec->motions[0].name, 256, "爆発");
    rec->motions[0].length = 60;
    rec->partCount = 7;
    const char* names[] = {"", "火球", "衝撃波", "火花1", "火花2", "火花3", "火花4"};
    for (int p = 1; p < 7; ++p) {
        Str_CopyN(rec->partNames[p], 256, names[p]);
        rec->parents[p] = 0;
    }
    // The last two keys of every part are transparent, so that the wrap from the last key back to
    // the first over the motion's end shows nothing.
    std::vector<QVL::OBJ2_KEY>* k = &rec->parts[1].keyLists[0].keys;
    *k = {Key(0, 0, 0, 0, 0.2f, 0, 255, 220, 120, 255), Key(12, 0, 0, 30, 1.4f, 0, 255, 160, 60, 230),
          Key(36, 0, -6, 60, 1.8f, 0, 200, 80, 30, 90), Key(50, 0, -10, 80, 2.0f, 0, 120, 40, 20, 0),
          Key(59, 0, -10, 80, 2.0f, 0, 120, 40, 20, 0)};
    k = &rec->parts[2].keyLists[0].keys;
    *k = {Key(0, 0, 0, 0, 0.1f, 1, 255, 255, 255, 255), Key(20, 0, 0, 0, 1.8f, 1, 255, 220, 160, 160),
          Key(45, 0, 0, 0, 3.0f, 1, 255, 180, 120, 0), Key(59, 0, 0, 0, 3.2f, 1, 255, 180, 120, 0)};
    const float dirs[4][2] = {{1, -1}, {-1, -1}, {1, 0.4f}, {-1, 0.4f}};
    for (int s = 0; s < 4; ++s) {
        float dx = dirs[s][0], dy = dirs[s][1];
        k = &rec->parts[3 + s].keyLists[0].keys;
        *k = {Key(0, 0, 0, 0, 1.0f, 2, 255, 255, 200, 255),
              Key(18, dx * 40, dy * 40, 180, 1.2f, 2, 255, 230, 150, 255),
              Key(40, dx * 70, dy * 70 + 12, 360, 0.8f, 2, 255, 200, 100, 60),
              Key(52, dx * 80, dy * 80 + 20, 420, 0.5f, 2, 255, 200, 100, 0),
              Key(59, dx * 80, dy * 80 + 20, 420, 0.5f, 2, 255, 200, 100, 0)};
    }
    std::vector<uint8_t> out;
    Qva_Write(*rec, out);
    return out;
}

} // namespace

DATAGEN_FILE("data/box.bmp", BuildBox);
DATAGEN_FILE(u8"data/爆発.png", BuildBurst);
DATAGEN_FILE("data/pupu.bmp", BuildPuff);
DATAGEN_FILE(u8"data/Effect/爆発/爆発.QVA", BuildQva);
DATAGEN_FILE(u8"data/Effect/爆発/fire.bmp", BuildFire);
DATAGEN_FILE(u8"data/Effect/爆発/ring.bmp", BuildRing);
DATAGEN_FILE(u8"data/Effect/爆発/spark.bmp", BuildSpark);
