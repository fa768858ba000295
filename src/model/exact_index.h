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
    // `expected`: about how many distinct tuples there will be (the table grows past it).
    explicit ExactIndex(size_t expected = 16)
    {
        size_t cap = 64;
        while (cap < expected + expected / 2) cap <<= 1;
        m_slots.assign(cap, Slot{kEmpty, 0});
        m_mask = cap - 1;
        m_keys.reserve(expected * N);
        m_values.reserve(expected);
    }

    // The index remembered for a value equal to v, or -1 after remembering index for it.
    int32_t FindOrAdd(const float* v, int32_t index)
    {
        uint32_t key[N];
        if (!Canonical(v, key)) return -1;
        uint64_t h = Hash(key);
        uint32_t tag = (uint32_t)(h >> 32);
        size_t at = (size_t)h & m_mask;
        for (;;) {
            const Slot& s = m_slots[at];
            if (s.entry == kEmpty) break;
            if (s.tag == tag && std::memcmp(&m_keys[(size_t)s.entry * N], key, sizeof key) == 0)
                return m_values[s.entry];
            at = (at + 1) & m_mask;
        }
        uint32_t entry = (uint32_t)m_values.size();
        m_slots[at] = Slot{entry, tag};
        m_keys.insert(m_keys.end(), key, key + N);
        m_values.push_back(index);
        if ((size_t)entry * 3 >= m_slots.size() * 2) Grow();
        return -1;
    }

    // False for a tuple holding a NaN, which FindOrAdd never finds nor remembers.
    static bool Comparable(const float* v)
    {
        for (int i = 0; i < N; ++i)
            if (v[i] != v[i]) return false;
        return true;
    }

private:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    struct Slot {
        uint32_t entry;   // kEmpty for a free slot
        uint32_t tag;     // high half of the hash: most mismatches end without reading the key
    };
    std::vector<Slot> m_slots;       // open addressing
    std::vector<uint32_t> m_keys;    // N canonical words per entry, in the order remembered
    std::vector<int32_t> m_values;
    size_t m_mask = 0;

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

    // Independent products per word (no chain of multiplies), then a final mix.
    static uint64_t Hash(const uint32_t* key)
    {
        static constexpr uint64_t kMul[12] = {
            0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull, 0xD6E8FEB86659FD93ull,
            0xFF51AFD7ED558CCDull, 0xC4CEB9FE1A85EC53ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull,
            0x2545F4914F6CDD1Dull, 0x9FB21C651E98DF25ull, 0xA0761D6478BD642Full, 0xE7037ED1A0B428DBull,
        };
        static_assert(N <= 12, "one multiplier per word");
        uint64_t h = 0;
        for (int i = 0; i < N; ++i) h += (uint64_t)(key[i] + 1) * kMul[i];
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        return h;
    }

    void Grow()
    {
        m_slots.assign(m_slots.size() * 2, Slot{kEmpty, 0});
        m_mask = m_slots.size() - 1;
        for (uint32_t e = 0; e < (uint32_t)m_values.size(); ++e) {
            uint64_t h = Hash(&m_keys[(size_t)e * N]);
            size_t at = (size_t)h & m_mask;
            while (m_slots[at].entry != kEmpty) at = (at + 1) & m_mask;
            m_slots[at] = Slot{e, (uint32_t)(h >> 32)};
        }
    }
};

} // namespace QVL
