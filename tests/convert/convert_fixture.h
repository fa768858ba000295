// Helpers of the importer and exporter tests: files written from text, loads through the model
// loader, and the message every refused file shows.
#pragma once
#include <string>
#include <vector>

#include "model/model_expect.h"
#include "model/model_load.h"

class ConvertTest : public ModelTest {};

inline std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Loads the bytes as a file of that name into a new slot; the model, or null when it did not load.
inline QVL::MODEL3* LoadAs(const char* name, const std::vector<uint8_t>& bytes)
{
    std::string path = WriteTempFile(name, bytes);
    int32_t id = Model3_Load(-1, path.c_str());
    return id < 0 ? nullptr : Model3_GetById(id);
}

inline bool ShowedDamaged(const char* format)
{
    return Rec().messageBoxes.size() == 1 &&
           Rec().messageBoxes[0].find(std::string(format) + "形式のファイルが壊れているので") == 0;
}

// A model that holds a cube is left as it was by a file that does not read.
inline void ExpectRefusedKeepsModel(const char* name, const std::vector<uint8_t>& bytes, const char* format)
{
    Rec().Clear();
    std::string path = WriteTempFile(name, bytes);
    int32_t id = Model3_Create();
    QVL::MODEL3* m = Model3_GetById(id);
    MakeCube(m);
    EXPECT_EQ(-1, Model3_Load(id, path.c_str()));
    EXPECT_TRUE(ShowedDamaged(format)) << (Rec().messageBoxes.empty() ? "no message" : Rec().messageBoxes[0]);
    EXPECT_EQ(24, m->positionCount);
    EXPECT_EQ(6, m->faceCount);
    EXPECT_EQ(0, m->releaseRequest);
}
