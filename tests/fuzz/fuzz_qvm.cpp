// QVM reader: any bytes after the header give a motion list that, put onto a model, writes back to
// bytes that read to the same list; the model keeps its invariants (a key list per motion for every
// bone, the current motion inside the list); or a refusal.
#include <cstdlib>

#include "model/motion3.h"
#include "model/qvm_file.h"
#include "support/model_builders.h"
#include "support/recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Rec().Clear();
    QVM_BODY body;
    if (!Qvm_ParseBody(data, size, body)) return 0;
    QVL::MODEL3* m = NewRecord();
    Motion3_ResizeList(m->motions, 3);
    m->currentMotion = 2;
    Qvm_Apply(m, body);
    if (m->motions.size() != body.names.size() || m->currentMotion < 0 ||
        (size_t)m->currentMotion >= m->motions.size())
        std::abort();
    for (const QVL::BONE3& b : m->bones)
        if (b.keys.size() != m->motions.size()) std::abort();

    std::vector<uint8_t> once, twice;
    Qvm_Write(*m, once);
    QVM_BODY again;
    if (once.size() < 7 || !Qvm_ParseBody(once.data() + 7, once.size() - 7, again)) std::abort();
    QVL::MODEL3* n = NewRecord();
    Qvm_Apply(n, again);
    Qvm_Write(*n, twice);
    if (once != twice) std::abort();

    // The list animates: every motion selected and evaluated at its ends.
    m->animated = 1;
    for (size_t i = 0; i < m->motions.size() && i < 4; ++i) {
        Motion3_Select(m, (int32_t)i);
        m->currentFrame = m->motions[i].length;
        Motion3_UpdateKeyIndex(m);
    }
    Model3_Free(m);
    Model3_Free(n);
    return 0;
}
