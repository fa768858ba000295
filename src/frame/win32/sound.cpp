#include "frame/win32/sound.h"

#include <dmusici.h>
#include <cstring>

#include "frame/lib.h"
#include "frame/sound.h"
#include "frame/win32/app_frame.h"

SOUND_MANAGER g_SoundManager;
MUSIC_MANAGER g_MusicManager;

static_assert(sizeof(DSBUFFERDESC) == 36, "the buffer description of DirectX 7 and later");

namespace {

template <class T>
void ReleaseOf(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

} // namespace

void Sound_Init()
{
    Sound_Release();
    g_SoundManager.owner = g_MainWnd;
    if (FAILED(DirectSoundCreate(nullptr, &g_SoundManager.dsound, nullptr))) {
        g_SoundManager.dsound = nullptr;
        return;
    }
    g_SoundManager.dsound->SetCooperativeLevel(g_SoundManager.owner, DSSCL_NORMAL);
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_STATIC | DSBCAPS_GLOBALFOCUS;
    if (FAILED(g_SoundManager.dsound->CreateSoundBuffer(&desc, &g_SoundManager.primary, nullptr))) {
        g_SoundManager.primary = nullptr;
        ReleaseOf(g_SoundManager.dsound);
        return;
    }
    g_SoundOk = true;
}

void Sound_Release()
{
    for (IDirectSoundBuffer*& b : g_SoundManager.slots) {
        if (b) b->Stop();
        ReleaseOf(b);
    }
    ReleaseOf(g_SoundManager.primary);
    ReleaseOf(g_SoundManager.dsound);
    g_SoundManager = SOUND_MANAGER{};
    g_SoundOk = false;
}

HRESULT Sound_Play(const QVL::SOUND* sound, LONG pan, LONG volume, bool loop)
{
    if (!g_SoundOk || !g_SoundManager.dsound) return DSERR_UNINITIALIZED;
    if (!sound) return DSERR_INVALIDPARAM;
    int32_t slot = Sound_NextSlot(&g_SoundManager.ring, loop);
    IDirectSoundBuffer*& buffer = g_SoundManager.slots[slot];
    if (buffer) buffer->Stop();
    ReleaseOf(buffer);

    WAVEFORMATEX wf = {};
    wf.wFormatTag = sound->format.formatTag;
    wf.nChannels = sound->format.channels;
    wf.nSamplesPerSec = sound->format.samplesPerSec;
    wf.nAvgBytesPerSec = sound->format.avgBytesPerSec;
    wf.nBlockAlign = sound->format.blockAlign;
    wf.wBitsPerSample = sound->format.bitsPerSample;
    wf.cbSize = 0;
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                   DSBCAPS_GLOBALFOCUS;
    desc.dwBufferBytes = sound->dataSize;
    desc.lpwfxFormat = &wf;
    IDirectSoundBuffer* created = nullptr;
    HRESULT hr = g_SoundManager.dsound->CreateSoundBuffer(&desc, &created, nullptr);
    if (FAILED(hr)) return hr;

    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    hr = created->Lock(0, sound->dataSize, &p1, &n1, &p2, &n2, 0);
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    // The lock covers the whole buffer, which is exactly the data's size.
    const uint8_t* src = sound->data.data();
    if (p1 && n1) std::memcpy(p1, src, n1);
    if (p2 && n2) std::memcpy(p2, src + n1, n2);
    created->Unlock(p1, n1, p2, n2);

    created->SetPan(pan);
    created->SetVolume(volume);
    created->Stop();
    created->SetCurrentPosition(0);
    buffer = created;
    return created->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
}

bool Wave_PlayGlobalSound(int32_t index)
{
    if (index < 0 || index >= kSoundSlots) return false;
    const QVL::GLOBAL_SOUND& s = g_GlobalSounds[index];
    if (!s.loaded || !s.sound) return false;
    return SUCCEEDED(Sound_Play(s.sound.get(), g_SoundManager.pan, g_SoundManager.volume, g_SoundManager.loop));
}

void Music_Init()
{
    Music_Release();
    MUSIC_MANAGER& m = g_MusicManager;
    m.notifyEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m.comInitialized = SUCCEEDED(CoInitialize(nullptr));
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                                (void**)&m.loader)) ||
        FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                                (void**)&m.performance))) {
        Music_Release();
        return;
    }
    if (FAILED(m.performance->InitAudio(nullptr, nullptr, g_MainWnd, DMUS_APATH_DYNAMIC_STEREO, 128, DMUS_AUDIOF_ALL,
                                        nullptr))) {
        ReleaseOf(m.performance);  // never initialised: no CloseDown
        Music_Release();
        return;
    }
    IDirectMusicAudioPath8* path = nullptr;
    if (SUCCEEDED(m.performance->GetDefaultAudioPath(&path)) && path) {
        if (SUCCEEDED(path->GetObjectInPath(DMUS_PCHANNEL_ALL, DMUS_PATH_PRIMARY_BUFFER, 0, GUID_All_Objects, 0,
                                            IID_IDirectSound3DListener, (void**)&m.listener)) &&
            m.listener) {
            m.listenerParams.dwSize = sizeof m.listenerParams;
            m.listener->GetAllParameters(&m.listenerParams);
        } else {
            m.listener = nullptr;
        }
        path->Release();
    }
    m.performance->AddNotificationType(GUID_NOTIFICATION_SEGMENT);
    m.performance->SetNotificationHandle(m.notifyEvent, 0);
    g_Lib.music = m.performance;
}

void Music_Release()
{
    MUSIC_MANAGER& m = g_MusicManager;
    ReleaseOf(m.listener);
    if (m.performance) m.performance->CloseDown();
    ReleaseOf(m.performance);
    ReleaseOf(m.loader);
    if (m.notifyEvent) CloseHandle(m.notifyEvent);
    if (m.comInitialized) CoUninitialize();
    m = MUSIC_MANAGER{};
    g_Lib.music = nullptr;
}
