#include "model/qvm_file.h"

#include <algorithm>
#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/record_io.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

const size_t kHeader = 7;
const int32_t kQvmVersions[] = {kQvmVersion};
const RECORD_FORMAT kQvm = {"QVM", "QVM", 3, 3, kQvmVersions, 1, kQvmVersion};

// One field list for both directions of the body after the header.
template <class IO>
bool QvmBody_Io(IO& io, QVM_BODY& body)
{
    char name[256];
    io.I32(body.firstLength);
    if (!io.I32s(body.values, 3)) return false;
    // Each motion carries 256 group tracks in memory: the count is held to the list's limit and to
    // what the bytes left can describe (12 bytes at least per motion) before anything grows.
    int32_t motions = (int32_t)body.names.size();
    if (!io.Count(motions, kModel3MaxMotions, 12)) return false;
    if constexpr (IO::kReading)
        if (motions == 0) return io.Fail();
    for (int32_t i = 0; i < motions; ++i) {
        int32_t leading = 1, length = 0;
        if constexpr (!IO::kReading) {
            Str_CopyN(name, sizeof name, body.names[i].c_str());
            length = body.lengths[i];
        }
        if (!io.I32(leading) || !io.Str(name, sizeof name) || !io.I32(length)) return false;
        if constexpr (IO::kReading) {
            body.names.emplace_back(name);
            body.lengths.push_back(length);
        }
    }
    int32_t sounds = (int32_t)body.sounds.size();
    if (!io.Count(sounds, kModel3Sounds, 4)) return false;
    for (int32_t i = 0; i < sounds; ++i) {
        if constexpr (!IO::kReading) Str_CopyN(name, sizeof name, body.sounds[i].c_str());
        if (!io.Str(name, sizeof name)) return false;
        if constexpr (IO::kReading) body.sounds.emplace_back(name);
    }
    return true;
}

// What a save stores of the model, as the reader gives it back.
QVM_BODY BodyOf(const MODEL3& m)
{
    QVM_BODY body;
    body.firstLength = m.motions.empty() ? 0 : m.motions[0].length;
    std::memcpy(body.values, m.motionListValues, sizeof body.values);
    for (const MOTION3& mo : m.motions) {
        body.names.emplace_back(mo.name, strnlen(mo.name, sizeof mo.name - 1));
        body.lengths.push_back(mo.length);
    }
    const int32_t sounds = std::max(0, std::min<int32_t>(m.soundCount, kModel3Sounds));
    for (int32_t i = 0; i < sounds; ++i)
        body.sounds.emplace_back(m.soundNames[i], strnlen(m.soundNames[i], sizeof m.soundNames[i] - 1));
    return body;
}

} // namespace

void Qvm_Write(const MODEL3& m, std::vector<uint8_t>& out)
{
    ByteWriter w;
    RecordWriteIO io(w);
    Record_WriteHeader(w, kQvm);
    QVM_BODY body = BodyOf(m);
    QvmBody_Io(io, body);
    out = w.Data();
}

bool Qvm_ParseBody(const uint8_t* data, size_t size, QVM_BODY& body)
{
    ByteReader r(data, size);
    RecordReadIO io(r);
    return QvmBody_Io(io, body);
}

void Qvm_Apply(MODEL3* m, const QVM_BODY& body)
{
    if (!m || body.names.empty()) return;
    if (!m->motions.empty()) m->motions[0].length = body.firstLength;
    std::memcpy(m->motionListValues, body.values, sizeof body.values);
    const size_t n = body.names.size();
    Motion3_ResizeList(m->motions, (int32_t)n);
    for (size_t i = 0; i < n; ++i) {
        Str_CopyN(m->motions[i].name, sizeof m->motions[i].name, body.names[i].c_str());
        m->motions[i].length = body.lengths[i];
    }
    // Every bone keeps one key list per motion (new lists hold one default key), and a cut list
    // does not leave the current motion past its end.
    for (BONE3& b : m->bones) {
        const size_t old = b.keys.size();
        b.keys.resize(n);
        for (size_t i = old; i < n; ++i) {
            b.keys[i].assign(1, KEY3());
            Key3_Default(&b.keys[i][0]);
        }
    }
    if (m->currentMotion < 0 || (size_t)m->currentMotion >= n) {
        m->currentMotion = 0;
        m->currentFrame = 0;
    }
    m->soundCount = (int32_t)body.sounds.size();
    for (size_t i = 0; i < body.sounds.size(); ++i)
        Str_CopyN(m->soundNames[i], sizeof m->soundNames[i], body.sounds[i].c_str());
}

int32_t Motion3_SaveQvm(int32_t id, const char* path)
{
    MODEL3* m = Model3_GetById(id);
    if (!m || !path || !path[0]) return 0;
    std::vector<uint8_t> bytes;
    Qvm_Write(*m, bytes);
    if (!File_WriteAll(path, bytes.data(), bytes.size())) {
        File_ReportWriteFailed(path);
        return 0;
    }
    return 1;
}

void Motion3_ReadQvmBody(int32_t id, const char* path)
{
    MODEL3* m = Model3_GetById(id);
    std::vector<uint8_t> bytes;
    if (!m || !path || !File_ReadAll(path, bytes) || bytes.size() < kHeader) return;
    QVM_BODY body;
    if (Qvm_ParseBody(bytes.data() + kHeader, bytes.size() - kHeader, body)) Qvm_Apply(m, body);
}

int32_t Motion3_LoadQvm(int32_t id, const char* path)
{
    if (!path || !path[0]) {
        Lib_MessageBox("ファイル名が指定されていません。");
        return 0;
    }
    MODEL3* m = Model3_GetById(id);
    std::vector<uint8_t> bytes;
    if (!m || !File_ReadAll(path, bytes)) return Record_Report(kQvm, RECORD_CANNOT_OPEN, path);
    ByteReader head(bytes.data(), bytes.size());
    int32_t version = 0;
    if (!Record_Report(kQvm, Record_CheckHeader(head, kQvm, version), path)) return 0;
    QVM_BODY body;
    if (!Qvm_ParseBody(bytes.data() + kHeader, bytes.size() - kHeader, body))
        return Record_Report(kQvm, RECORD_DAMAGED, path);
    Qvm_Apply(m, body);
    for (int32_t i = 1; i < m->soundCount; ++i) Wave_LoadModelSound(id, i, m->soundNames[i]);
    return 1;
}
