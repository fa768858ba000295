// Small QVP files written field by field, by hand, in each layout the readers take: one triangle
// with a texture, a group, two motions and three bones. The tests check the readers against them,
// and the fuzzer starts from them.
#pragma once
#include <cstdint>
#include <vector>

struct QvpFixtureOptions {
    uint16_t boneA = 1;       // 2005000/2006000 store bone numbers in 16 bits
    int32_t version = 0;      // written into the header; 0: the layout's own
    int16_t displacement = 0; // the displacement switch (2006000 on)
};

// version: 2004002, 2005000, 2006000, 2008000 or 2009000.
std::vector<uint8_t> QvpFixture(int32_t layout, const QvpFixtureOptions& options = QvpFixtureOptions());
