// Native stand-in for the particle dialog's fields: each write is recorded in UiRec() as
// "ParticleField <id> <text>".
#include <string>

#include "effect/effect_edit_hooks.h"
#include "support/ui_recorder.h"

void Svc_EffectParticleSetField(int id, const char* text)
{
    UiRec().calls.push_back("ParticleField " + std::to_string(id) + " " + text);
}
