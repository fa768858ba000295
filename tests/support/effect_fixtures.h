// Small effects and 2D objects for the tests and the fuzz seeds, with every field set to its own value.
#pragma once
#include <cstring>
#include <string>

#include "effect/effect.h"
#include "effect/particle.h"
#include "frame/bytes.h"
#include "frame/text.h"
#include "model/obj2.h"

// Fills every field of a key from seed (no two fields alike).
inline void Fixture_FillKey(QVL::EFFECT_KEY& k, int32_t frame, float seed)
{
    float v = seed;
    auto next = [&v]() { v += 0.25f; return v; };
    k.frame = frame;
    k.reserved = (int32_t)(seed * 3) + 7;
    k.shown = 1;
    k.blend = ((int32_t)seed) % 4;
    for (float& f : k.position) f = next();
    for (float& f : k.rotation) f = next();
    for (float& f : k.scale) f = next();
    for (float& f : k.color) f = next();
    k.texture = ((int32_t)seed) % 3;
    for (float& f : k.reservedVec) f = next();
    k.emitInterval = (int32_t)seed + 2;
    for (float& f : k.speed) f = next();
    for (float& f : k.speedRange) f = next();
    for (float& f : k.rotSpeed) f = next();
    for (float& f : k.rotSpeedRange) f = next();
    for (float& f : k.scaleSpeed) f = next();
    for (float& f : k.scaleSpeedRange) f = next();
    for (float& f : k.colorSpeed) f = next();
    for (float& f : k.colorSpeedRange) f = next();
}

// An effect with two pictures and one part of each kind, keys on several frames.
inline QVL::EFFECT Fixture_Effect()
{
    QVL::EFFECT e;
    Effect_InitData(e);
    e.frameCount = 90;
    const char* tex[][2] = {{"", "box.bmp"}, {"Effect\\爆発", "fire.bmp"}};
    for (const auto& t : tex) {
        QVL::EFFECT_TEX entry{};
        Str_CopyN(entry.folder, sizeof entry.folder, t[0]);
        Str_CopyN(entry.file, sizeof entry.file, t[1]);
        entry.texture = -1;
        e.textures.push_back(entry);
    }
    const char* names[] = {"イメージ", "パーティクル", "爆発"};
    for (int32_t kind = 0; kind < 3; ++kind) {
        int32_t i = Effect_PartCreate(&e);
        QVL::EFFECT_PART& p = e.parts[(size_t)i];
        Str_CopyN(p.name, sizeof p.name, names[kind]);
        p.kind = kind;
        if (kind == 2) {
            Str_CopyN(p.folder, sizeof p.folder, "obj");
            Str_CopyN(p.file, sizeof p.file, "爆発.QVA");
        }
        p.keyCount = kind + 1;
        for (int32_t k = 0; k < p.keyCount; ++k) Fixture_FillKey(p.keys[k], k * 10 + kind, (float)(kind * 20 + k * 5 + 1));
        p.origin[0] = 30.0f + kind;
        p.origin[1] = 20.0f - kind;
        p.origin[2] = 0.5f * kind;
    }
    return e;
}

inline bool Fixture_SameKey(const QVL::EFFECT_KEY& a, const QVL::EFFECT_KEY& b)
{
    auto same = [](const float* x, const float* y, int n) { return std::memcmp(x, y, sizeof(float) * n) == 0; };
    return a.frame == b.frame && a.reserved == b.reserved && a.shown == b.shown && a.blend == b.blend &&
           same(a.position, b.position, 3) && same(a.rotation, b.rotation, 3) && same(a.scale, b.scale, 3) &&
           same(a.color, b.color, 4) && a.texture == b.texture && same(a.reservedVec, b.reservedVec, 3) &&
           a.emitInterval == b.emitInterval && same(a.speed, b.speed, 3) && same(a.speedRange, b.speedRange, 3) &&
           same(a.rotSpeed, b.rotSpeed, 3) && same(a.rotSpeedRange, b.rotSpeedRange, 3) &&
           same(a.scaleSpeed, b.scaleSpeed, 3) && same(a.scaleSpeedRange, b.scaleSpeedRange, 3) &&
           same(a.colorSpeed, b.colorSpeed, 4) && same(a.colorSpeedRange, b.colorSpeedRange, 4);
}

inline QVL::OBJ2_KEY Fixture_Obj2Key(int32_t frame, float seed)
{
    QVL::OBJ2_KEY k{};
    k.frame = frame;
    k.shown = 1;
    k.x = seed;
    k.y = seed * 2;
    k.rotation = seed * 3;
    k.scaleX = 1.0f + seed * 0.01f;
    k.scaleY = 1.0f - seed * 0.01f;
    k.image = (int32_t)seed % 2;
    k.r = 200;
    k.g = (int32_t)seed;
    k.b = 100;
    k.a = 250;
    return k;
}

// A 2D object with two images, two motions and three parts, every key list of parts 1 and 2 filled.
inline std::unique_ptr<QVL::OBJ2> Fixture_Obj2()
{
    std::unique_ptr<QVL::OBJ2> rec = Obj2_NewRecord();
    rec->imageCount = 2;
    Str_CopyN(rec->imageNames[0], 256, "fire.bmp");
    Str_CopyN(rec->imageNames[1], 256, "ring.bmp");
    rec->pivotX[0] = 11;
    rec->pivotY[0] = 12;
    rec->pivotX[1] = 21;
    rec->pivotY[1] = 22;
    rec->motions.resize(2, rec->motions[0]);
    Str_CopyN(rec->motions[1].name, 256, "二番");
    rec->motions[1].length = 30;
    rec->partCount = 3;
    Str_CopyN(rec->partNames[1], 256, "炎");
    Str_CopyN(rec->partNames[2], 256, "輪");
    rec->parents[1] = 0;
    rec->parents[2] = 1;
    for (int32_t part = 1; part < 3; ++part)
        for (size_t m = 0; m < 2; ++m) {
            std::vector<QVL::OBJ2_KEY>& keys = rec->parts[part].keyLists[m].keys;
            keys.clear();
            for (int32_t k = 0; k < part + (int32_t)m; ++k) keys.push_back(Fixture_Obj2Key(k * 15, (float)(part * 10 + m * 3 + k)));
        }
    return rec;
}

inline void Fixture_Obj2Key48(QVL::ByteWriter& w, const QVL::OBJ2_KEY& k)
{
    w.I32(k.frame);
    w.I32(k.shown);
    w.F32(k.x);
    w.F32(k.y);
    w.F32(k.rotation);
    w.F32(k.scaleX);
    w.F32(k.scaleY);
    w.I32(k.image);
    w.I32(k.r);
    w.I32(k.g);
    w.I32(k.b);
    w.I32(k.a);
}

// A version-2004000 file by hand: one image "a.b" with pivot blocks 5.. and 9.., one motion "走る" of
// 45 frames, parts 1 and 2 without names (part 2 under part 1), two keys each at frames 0 and 20.
inline std::vector<uint8_t> Fixture_Qva2004000()
{
    QVL::ByteWriter w;
    w.Bytes("QVA", 3);
    w.I32(2004000);
    w.I32(1);
    w.I32(3);
    w.Bytes("a.b", 3);
    for (int i = 0; i < 3; ++i) w.I32(5 + i);
    for (int i = 0; i < 3; ++i) w.I32(9 + i);
    w.I32(1);
    w.I32(1);
    w.Str("走る");
    w.I32(45);
    w.I32(3);
    for (int p = 1; p < 3; ++p) {
        w.I32(7);          // read and not kept
        w.I32(p - 1);      // parent
        w.I32(2);
        Fixture_Obj2Key48(w, Fixture_Obj2Key(0, 1.0f + p));
        Fixture_Obj2Key48(w, Fixture_Obj2Key(20, 2.0f + p));
    }
    return w.Data();
}

// A version-2003000 file by hand: the placeholder entry and images "p.bmp", "q.bmp"; motion 0 of 40
// frames; part 1's keys (frame, image number from 1) (0, 0), (10, 1), (20, 2).
inline std::vector<uint8_t> Fixture_Qva2003000()
{
    QVL::ByteWriter w;
    w.Bytes("QVA", 3);
    w.I32(2003000);
    w.I32(3);
    w.I32(0);
    w.Str("p.bmp");
    w.Str("q.bmp");
    w.I32(40);
    w.I32(3);
    const int32_t keys[][2] = {{0, 0}, {10, 1}, {20, 2}};
    for (const auto& k : keys) {
        w.I32(k[0]);
        w.I32(k[1]);
    }
    return w.Data();
}
