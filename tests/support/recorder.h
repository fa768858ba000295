// Native stand-in for the platform seam: records what the engine would have shown or logged.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct Recorder {
    std::vector<std::string> messageBoxes;
    std::vector<std::string> logLines;
    std::vector<std::string> textures;   // names given to Tex_Load, in slot order
    bool textureLoadFails = false;       // makes Tex_Load answer -1 (the slot is still taken)
    std::vector<uint8_t> texels;         // what Tex_ReadTexels gives for every loaded slot (B, G, R, A)
    int texelWidth = 0, texelHeight = 0; // ...and its size; none when texels is empty
    std::vector<std::pair<int, int>> model3Events;   // {model ID, SVC_MODEL3_...} in call order
    std::vector<std::pair<int, int>> gpuBuilds;      // {model ID, render kind} given to Svc_GpuBuildBuffers
    bool gpuBuildFails = false;                      // makes Svc_GpuBuildBuffers answer false
    // {model ID, material, vertex count, normals given} of each Svc_GpuWriteVertices, and the
    // positions written by the last one.
    std::vector<std::vector<int>> gpuWrites;
    std::vector<float> gpuLastPositions;
    std::vector<int> soundsPlayed;       // global sound numbers that played
    std::vector<std::string> media;      // "play <path>" and "stop", in order
    std::vector<std::string> shellOpened; // what Lib_ShellOpen was asked to open
    int logWindowsCreated = 0;
    void Clear()
    {
        shellOpened.clear();
        logWindowsCreated = 0;
        model3Events.clear();
        gpuBuilds.clear();
        gpuBuildFails = false;
        gpuWrites.clear();
        gpuLastPositions.clear();
        messageBoxes.clear();
        logLines.clear();
        textures.clear();
        textureLoadFails = false;
        texels.clear();
        texelWidth = texelHeight = 0;
        soundsPlayed.clear();
        media.clear();
    }
};

// The recorder of the whole test process (tests run on one thread; the loader thread records too).
// It outlives static destruction, which still logs.
Recorder& Rec();

// A fresh empty folder under the system's temporary folder, removed at process end.
std::string Rec_TempDir();
