// Finds earlier equal float tuples in linear time, with the results of a first-match linear search
// over float equality: +0 and -0 are equal, a NaN equals nothing (so a tuple holding one is never
// found and never remembered), and the first index remembered for a value is the one returned.
// Used by the weld, the normal table rebuild and the QVP export.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace QVL {

template <int N>
class ExactIndex {
public:
    explicit ExactIndex(size_t expected = 16)
    {
        size_t cap = 16;
        while (cap < expected * 2) cap <<= 1;
        m_slots.assign(cap, Slot{{}, -1});
        m_mask = cap - 1;
    }

    // The index remembered for a value equal to v, or -1 after remembering index for it.
    int32_t FindOrAdd(const float* v, int32_t index)
    {
        uint32_t key[N];
        if (!Canonical(v, key)) return -1;
        size_t at = Hash(key) & m_mask;
        for (;;) {
            Slot& s = m_slots[at];
            if (s.index < 0) break;
            if (std::memcmp(s.key, key, sizeof key) == 0) return s.index;
            at = (at + 1) & m_mask;
        }
        Slot& s = m_slots[at];
        std::memcpy(s.key, key, sizeof key);
        s.index = index;
        if (++m_used * 2 > m_slots.size()) Grow();
        return -1;
    }

private:
    struct Slot {
        uint32_t key[N];
        int32_t index;
    };
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    size_t m_used = 0;

    // Bit patterns under float equality: -0 becomes +0; false for a NaN.
    static bool Canonical(const float* v, uint32_t* key)
    {
        for (int i = 0; i < N; ++i) {
            float f = v[i];
            if (f != f) return false;
            if (f == 0.0f) f = 0.0f;
            std::memcpy(&key[i], &f, 4);
        }
        return true;
    }

    static size_t Hash(const uint32_t* key)
    {
        uint64_t h = 0x9E3779B97F4A7C15ull;
        for (int i = 0; i < N; ++i) {
            h ^= key[i];
            h *= 0xFF51AFD7ED558CCDull;
            h ^= h >> 32;
        }
        return (size_t)(h ^ (h >> 29));
    }

    void Grow()
    {
        std::vector<Slot> old;
        old.swap(m_slots);
        m_slots.assign(old.size() * 2, Slot{{}, -1});
        m_mask = m_slots.size() - 1;
        for (const Slot& s : old) {
            if (s.index < 0) continue;
            size_t at = Hash(s.key) & m_mask;
            while (m_slots[at].index >= 0) at = (at + 1) & m_mask;
            m_slots[at] = s;
        }
    }
};

} // namespace QVL
