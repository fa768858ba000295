// The interpreter: block 0 runs a slice per frame, until "ScreenDraw", the program's end or 1000
// statements. What a statement does outside the state goes through VM_HOST, so the interpreter
// needs no engine to be tested or fuzzed; image draws are queued for the program mode's draw pass.
#pragma once
#include <cstdint>

#include "script/prog.h"

struct VM_HOST {
    void (*imageLoad)(int32_t image, const char* file);             // image 0..1023
    void (*text)(int32_t x, int32_t y, const char* text);           // drawn as it stands
    void (*modelLoad)(int32_t model, const char* file);
    // PROG_POLYPOS, PROG_POLYANG or PROG_POLYSIZE on a scene object.
    void (*object)(int32_t command, int32_t object, float x, float y, float z);
    // PROG_POLYLIGHT (value 0 or 1), PROG_POLYMOTION or PROG_POLYVB on a model.
    void (*model)(int32_t command, int32_t model, int32_t value);
    // PROG_CAMERAS, PROG_CAMERAE or PROG_LIGHTPOS.
    void (*point)(int32_t command, float x, float y, float z);
    bool (*keyHeld)(int32_t code);
    void (*folder)(const char* path);
    bool (*drawAllowed)();
};

// The engine's side: textures, text queue, model and object tables, camera, light, key state,
// current directory.
const VM_HOST& Vm_EngineHost();

// One frame's slice; nothing without a state or while the program is not running.
void Vm_Run(QVL::VM* vm, const VM_HOST& host);
// Queues an image draw when the image number names an entry of the texture table, fewer than 1023
// are queued and drawing is allowed; otherwise the draw is dropped.
void Vm_QueueImageDraw(QVL::VM* vm, const VM_HOST& host, int32_t image, int32_t x, int32_t y);
// Hands every queued draw to draw, in order, and empties the queue.
void Vm_DrawQueue(QVL::VM* vm, void (*draw)(int32_t image, int32_t x, int32_t y));

// The draw of one queued image in the draw pass; the studio registers its own at start-up
// (script/win32). Null: queued draws are dropped when the queue is drawn.
typedef void (*VM_IMAGE_DRAW)(int32_t image, int32_t x, int32_t y);
extern VM_IMAGE_DRAW g_VmImageDraw;
