// Native stand-in for the model's platform seam (model/gpu_services.h, implemented by
// model_recorder.cpp): texture slots by name, model-slot events and GPU builds are recorded.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ModelRecorder {
    std::vector<std::string> textures;   // names given to Tex_Load, in slot order
    bool textureLoadFails = false;       // makes Tex_Load answer -1 (the slot is still taken)
    std::vector<uint8_t> texels;         // what Tex_ReadTexels gives for every loaded slot (B, G, R, A)
    int texelWidth = 0, texelHeight = 0; // ...and its size; none when texels is empty
    std::vector<std::pair<int, int>> model3Events;   // {model ID, MODEL3_EVENT_...} in call order
    std::vector<std::pair<int, int>> gpuBuilds;      // {model ID, render kind} given to Gpu_BuildBuffers
    bool gpuBuildFails = false;                      // makes Gpu_BuildBuffers answer false
    // {model ID, material, vertex count, normals given} of each Gpu_WriteVertices, and the
    // positions written by the last one.
    std::vector<std::vector<int>> gpuWrites;
    std::vector<float> gpuLastPositions;
    void Clear()
    {
        model3Events.clear();
        gpuBuilds.clear();
        gpuBuildFails = false;
        gpuWrites.clear();
        gpuLastPositions.clear();
        textures.clear();
        textureLoadFails = false;
        texels.clear();
        texelWidth = texelHeight = 0;
    }
};

// The model seam's recorder of the whole test process (the loader thread records too); never
// destroyed, as static destruction still frees model slots.
ModelRecorder& ModelRec();
