#include "model/qvm_file.h"

#include <algorithm>
#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

const size_t kHeader = 7;

void ShowWithPath(const char* fmt, const char* path)
{
    char text[1024];
    Str_Format(text, sizeof text, fmt, path ? path : "");
    Lib_MessageBox(text);
}

} // namespace

void Qvm_Write(const MODEL3& m, std::vector<uint8_t>& out)
{
    ByteWriter w;
    w.Bytes("QVM", 3);
    w.I32(kQvmVersion);
    w.I32(m.motions.empty() ? 0 : m.motions[0].length);
    w.I32s(m.motionListValues, 3);
    w.I32((int32_t)m.motions.size());
    for (const MOTION3& mo : m.motions) {
        w.I32(1);
        w.Str(mo.name, sizeof mo.name);
        w.I32(mo.length);
    }
    const int32_t sounds = std::max(0, std::min<int32_t>(m.soundCount, kModel3Sounds));
    w.I32(sounds);
    for (int32_t i = 0; i < sounds; ++i) w.Str(m.soundNames[i], sizeof m.soundNames[i]);
    out = w.Data();
}

bool Qvm_ParseBody(const uint8_t* data, size_t size, QVM_BODY& body)
{
    ByteReader r(data, size);
    int32_t motions = 0, sounds = 0;
    if (!r.I32(body.firstLength) || !r.I32s(body.values, 3)) return false;
    // Each motion carries 256 group tracks in memory: the count is held to the list's limit and to
    // what the bytes left can describe (12 bytes at least per motion) before anything grows.
    if (!r.Count(motions, kModel3MaxMotions, 12) || motions == 0) return false;
    char name[256];
    for (int32_t i = 0; i < motions; ++i) {
        int32_t leading = 0, length = 0;
        if (!r.I32(leading) || !r.Str(name, sizeof name) || !r.I32(length)) return false;
        body.names.emplace_back(name);
        body.lengths.push_back(length);
    }
    if (!r.Count(sounds, kModel3Sounds, 4)) return false;
    for (int32_t i = 0; i < sounds; ++i) {
        if (!r.Str(name, sizeof name)) return false;
        body.sounds.emplace_back(name);
    }
    return true;
}

void Qvm_Apply(MODEL3* m, const QVM_BODY& body)
{
    if (!m || body.names.empty()) return;
    if (!m->motions.empty()) m->motions[0].length = body.firstLength;
    std::memcpy(m->motionListValues, body.values, sizeof body.values);
    const size_t n = body.names.size();
    Motion3_ResizeList(m->motions, (int32_t)n);
    for (size_t i = 0; i < n; ++i) {
        Str_Copy(m->motions[i].name, sizeof m->motions[i].name, body.names[i].c_str());
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
        Str_Copy(m->soundNames[i], sizeof m->soundNames[i], body.sounds[i].c_str());
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
    if (!m || !File_ReadAll(path, bytes)) {
        Log_Printf("%s を開くことができませんでした。", path);
        return 0;
    }
    if (bytes.size() < 3 || std::memcmp(bytes.data(), "QVM", 3) != 0) {
        ShowWithPath("%s は、QVM形式ではありません。", path);
        return 0;
    }
    int32_t version = 0;
    if (bytes.size() < kHeader) {
        File_ReportDamaged("QVM", path);
        return 0;
    }
    std::memcpy(&version, &bytes[3], 4);
    if (version < kQvmVersion) {
        ShowWithPath("QVM形式のバージョンが古いので\n読み込むことができません。\n\n%s", path);
        return 0;
    }
    if (version > kQvmVersion) {
        ShowWithPath("QVM形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\n%s", path);
        return 0;
    }
    QVM_BODY body;
    if (!Qvm_ParseBody(bytes.data() + kHeader, bytes.size() - kHeader, body)) {
        File_ReportDamaged("QVM", path);
        return 0;
    }
    Qvm_Apply(m, body);
    for (int32_t i = 1; i < m->soundCount; ++i) Wave_LoadModelSound(id, i, m->soundNames[i]);
    return 1;
}
