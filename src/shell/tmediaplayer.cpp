// The media player on SDL's audio subsystem. Every open file is decoded and
// converted to the device's format once, at Open(); one audio callback mixes
// all players that are sounding. The device is opened on demand and released
// again a little after the last cue stopped, so an idle program with a held cue
// open costs no CPU.
#include "tmediaplayer.h"

#include "eerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

struct TMediaPlayer::Voice {
    std::vector<float> samples; // interleaved frames in the mix format
    std::size_t frames = 0;
    // Both are shared with the audio callback: touch them only under the
    // device lock while the device is open.
    std::size_t position = 0;
    bool playing = false;
};

using Voice = TMediaPlayer::Voice;

namespace {

// How long the device stays open after the last cue went quiet. A held cue
// replayed within this time starts without reopening the device.
constexpr int kIdleCloseMs = 2000;

// What was asked of the device: 32-bit float. Rate and channel count are the
// device's own on first open and are then kept for good, because the open
// files were converted to them.
struct MixFormat {
    int freq = 0;
    int channels = 0;
};
MixFormat g_format;

// Every open player's voice; the callback walks this list.
std::vector<Voice*> g_voices;

QString sdlError()
{
    const char* text = SDL_GetError();
    if (text && *text)
        return QString::fromUtf8(text);
    return QStringLiteral("Unknown sound system error");
}

qint64 framesToMs(std::size_t frames)
{
    if (g_format.freq <= 0)
        return 0;
    return qint64(frames) * 1000 / g_format.freq;
}

class Mixer : public QObject {
public:
    // Lives as long as the application object, which deletes it (and so
    // closes the device) when the program ends.
    static Mixer& instance()
    {
        if (!s_existing)
            new Mixer(QCoreApplication::instance());
        return *s_existing;
    }
    static Mixer* existing() { return s_existing; }

    ~Mixer() override
    {
        closeDevice();
        s_existing = nullptr;
    }

    SDL_AudioDeviceID device() const { return m_device; }

    // Opens the device (and SDL's audio subsystem) when it is closed.
    void ensureDevice()
    {
        if (m_device)
            return;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            throw EError(sdlError());
        SDL_AudioSpec want{};
        want.freq = g_format.freq ? g_format.freq : 44100;
        want.format = AUDIO_F32SYS;
        want.channels = Uint8(g_format.channels ? g_format.channels : 2);
        want.samples = 1024;
        want.callback = &Mixer::callback;
        want.userdata = this;
        const int allowed = g_format.freq ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE;
        SDL_AudioSpec have{};
        const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, allowed);
        if (id == 0) {
            const QString text = sdlError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            throw EError(text);
        }
        g_format = {have.freq, have.channels};
        m_channels = have.channels;
        m_device = id;
        SDL_PauseAudioDevice(m_device, 0);
    }

    // Looks again after the longest sounding cue should have ended plus the
    // idle time, and closes the device if nothing sounds by then.
    void scheduleIdleCheck()
    {
        if (!m_device)
            return;
        std::size_t remaining = 0;
        SDL_LockAudioDevice(m_device);
        for (const Voice* v : g_voices) {
            if (v->playing)
                remaining = std::max(remaining, v->frames - v->position);
        }
        SDL_UnlockAudioDevice(m_device);
        m_idle.start(int(framesToMs(remaining)) + kIdleCloseMs);
    }

private:
    explicit Mixer(QObject* parent)
        : QObject(parent)
    {
        s_existing = this;
        m_idle.setSingleShot(true);
        connect(&m_idle, &QTimer::timeout, this, [this] { idleCheck(); });
    }

    void idleCheck()
    {
        if (!m_device)
            return;
        bool sounding = false;
        SDL_LockAudioDevice(m_device);
        for (const Voice* v : g_voices)
            sounding = sounding || v->playing;
        SDL_UnlockAudioDevice(m_device);
        if (sounding)
            scheduleIdleCheck();
        else
            closeDevice();
    }

    void closeDevice()
    {
        if (!m_device)
            return;
        m_idle.stop();
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    static void SDLCALL callback(void* userdata, Uint8* stream, int len)
    {
        auto* self = static_cast<Mixer*>(userdata);
        const int channels = self->m_channels;
        auto* out = reinterpret_cast<float*>(stream);
        const std::size_t frames = std::size_t(len) / (sizeof(float) * channels);
        std::fill(out, out + frames * channels, 0.0f);
        int mixed = 0;
        for (Voice* v : g_voices) {
            if (!v->playing)
                continue;
            const std::size_t n = std::min(frames, v->frames - v->position);
            const float* src = v->samples.data() + v->position * channels;
            for (std::size_t i = 0; i < n * channels; ++i)
                out[i] += src[i];
            v->position += n;
            if (v->position >= v->frames)
                v->playing = false;
            ++mixed;
        }
        if (mixed > 1) {
            for (std::size_t i = 0; i < frames * channels; ++i)
                out[i] = std::clamp(out[i], -1.0f, 1.0f);
        }
    }

    static inline Mixer* s_existing = nullptr;
    SDL_AudioDeviceID m_device = 0;
    int m_channels = 2;
    QTimer m_idle;
};

// Holds the device lock, if the device is open; with it closed the callback
// cannot run and the voices may be touched freely.
class DeviceLock {
public:
    DeviceLock()
        : m_id(Mixer::existing() ? Mixer::existing()->device() : 0)
    {
        if (m_id)
            SDL_LockAudioDevice(m_id);
    }
    ~DeviceLock()
    {
        if (m_id)
            SDL_UnlockAudioDevice(m_id);
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID m_id;
};

// Converts decoded wave data to interleaved float frames in the mix format.
std::vector<float> convert(const SDL_AudioSpec& spec, const Uint8* data, Uint32 length)
{
    SDL_AudioStream* stream = SDL_NewAudioStream(spec.format, spec.channels, spec.freq, AUDIO_F32SYS,
                                                 Uint8(g_format.channels), g_format.freq);
    if (!stream)
        throw EError(sdlError());
    const Uint32 frameSize = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    const Uint32 sourceFrames = frameSize ? length / frameSize : 0;
    // While resampling, the stream keeps back the last block of its input even
    // after a flush; silence behind the sound pushes all of it through, and the
    // result is cut to the sound's own length.
    const std::vector<Uint8> padding(std::size_t(frameSize) * (spec.freq / 4 + 1),
                                     spec.format == AUDIO_U8 ? 0x80 : 0);
    const bool ok = sourceFrames == 0
                    || (SDL_AudioStreamPut(stream, data, int(sourceFrames * frameSize)) == 0
                        && SDL_AudioStreamPut(stream, padding.data(), int(padding.size())) == 0
                        && SDL_AudioStreamFlush(stream) == 0);
    if (!ok) {
        const QString text = sdlError();
        SDL_FreeAudioStream(stream);
        throw EError(text);
    }
    const std::size_t channels = std::size_t(g_format.channels);
    const std::size_t wanted = std::size_t(std::llround(double(sourceFrames) * g_format.freq / spec.freq));
    std::vector<float> out(std::size_t(SDL_AudioStreamAvailable(stream)) / sizeof(float) / channels * channels);
    const int got = out.empty() ? 0 : SDL_AudioStreamGet(stream, out.data(), int(out.size() * sizeof(float)));
    SDL_FreeAudioStream(stream);
    if (got < 0)
        throw EError(sdlError());
    out.resize(std::min(std::size_t(got) / sizeof(float) / channels, wanted) * channels);
    return out;
}

} // namespace

TMediaPlayer::TMediaPlayer(QObject* parent)
    : QObject(parent)
{
}

TMediaPlayer::~TMediaPlayer()
{
    Close();
}

void TMediaPlayer::Open()
{
    Close();
    SDL_RWops* file = SDL_RWFromFile(QFile::encodeName(m_fileName).constData(), "rb");
    if (!file)
        throw EError(sdlError());
    SDL_AudioSpec spec{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(file, 1, &spec, &data, &length))
        throw EError(sdlError());
    auto voice = std::make_unique<Voice>();
    try {
        Mixer& mixer = Mixer::instance();
        mixer.ensureDevice();
        voice->samples = convert(spec, data, length);
    } catch (...) {
        SDL_FreeWAV(data);
        throw;
    }
    SDL_FreeWAV(data);
    voice->frames = voice->samples.size() / std::size_t(g_format.channels);
    {
        DeviceLock lock;
        g_voices.push_back(voice.get());
    }
    m_voice = std::move(voice);
    Mixer::instance().scheduleIdleCheck();
}

void TMediaPlayer::Play()
{
    if (!m_voice)
        throw EError(QStringLiteral("No sound file is open"));
    Mixer& mixer = Mixer::instance();
    mixer.ensureDevice();
    {
        DeviceLock lock;
        Voice& v = *m_voice;
        if (!v.playing) {
            if (v.position >= v.frames && m_autoRewind)
                v.position = 0;
            v.playing = v.position < v.frames;
        }
    }
    mixer.scheduleIdleCheck();
}

int TMediaPlayer::Position() const
{
    if (!m_voice)
        return 0;
    std::size_t position;
    {
        DeviceLock lock;
        position = m_voice->position;
    }
    if (position >= m_voice->frames)
        return int(framesToMs(m_voice->frames));
    // Milliseconds are coarser than frames: keep the position below the length
    // until the last frame has gone out, so that a wait for the end does not
    // cut the sound short.
    return int(std::max<qint64>(0, std::min(framesToMs(position), framesToMs(m_voice->frames) - 1)));
}

int TMediaPlayer::Length() const
{
    if (!m_voice)
        throw EError(QStringLiteral("No sound file is open"));
    return int(framesToMs(m_voice->frames));
}

void TMediaPlayer::Close()
{
    if (!m_voice)
        return;
    {
        DeviceLock lock;
        g_voices.erase(std::remove(g_voices.begin(), g_voices.end(), m_voice.get()), g_voices.end());
    }
    m_voice.reset();
}
