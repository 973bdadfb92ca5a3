// The media player on SDL's audio subsystem. Every open file is decoded and
// converted to the device's format once, at Open(); one audio callback mixes
// all players that are sounding. The device is opened on demand and released
// again a little after the last cue stopped, so an idle program with a held cue
// open costs no CPU. A wave header is checked before SDL sees the file, so that
// a file declaring an absurd rate or size is refused before anything is
// allocated or converted. SDL itself is loaded by the first Open().
#include "tmediaplayer.h"

#include "datafiles.h"
#include "eerror.h"
#include "sdlaudio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
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
    const char* text = sdlAudio().GetError();
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
        // Starting audio starts SDL's events too, which would take over SIGINT
        // and SIGTERM and turn them into quit events nobody reads: the program
        // could then no longer be ended by kill, Ctrl+C or a logout.
        const SdlAudio& sdl = sdlAudio();
        sdl.SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
        if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0)
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
        const SDL_AudioDeviceID id = sdl.OpenAudioDevice(nullptr, 0, &want, &have, allowed);
        if (id == 0) {
            const QString text = sdlError();
            sdl.QuitSubSystem(SDL_INIT_AUDIO);
            throw EError(text);
        }
        g_format = {have.freq, have.channels};
        m_channels = have.channels;
        m_device = id;
        sdl.PauseAudioDevice(m_device, 0);
    }

    // Looks again after the longest sounding cue should have ended plus the
    // idle time, and closes the device if nothing sounds by then.
    void scheduleIdleCheck()
    {
        if (!m_device)
            return;
        std::size_t remaining = 0;
        sdlAudio().LockAudioDevice(m_device);
        for (const Voice* v : g_voices) {
            if (v->playing)
                remaining = std::max(remaining, v->frames - v->position);
        }
        sdlAudio().UnlockAudioDevice(m_device);
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
        sdlAudio().LockAudioDevice(m_device);
        for (const Voice* v : g_voices)
            sounding = sounding || v->playing;
        sdlAudio().UnlockAudioDevice(m_device);
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
        sdlAudio().CloseAudioDevice(m_device);
        m_device = 0;
        sdlAudio().QuitSubSystem(SDL_INIT_AUDIO);
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
            sdlAudio().LockAudioDevice(m_id);
    }
    ~DeviceLock()
    {
        if (m_id)
            sdlAudio().UnlockAudioDevice(m_id);
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID m_id;
};

// What a cue may be. Cues last a few seconds; a file that declares more than a
// minute, or a rate far from any sound card's, is damaged or hostile, and
// decoding it would cost memory and time in proportion to what it declares,
// not to its size, and a blocking cue would wait it out.
constexpr qint64 kMaxCueSeconds = 60;
constexpr quint32 kMinRate = 4000;
constexpr quint32 kMaxRate = 192000;
constexpr int kMaxChannels = 8; // the most SDL's converter takes

enum WaveTag : quint16 {
    PcmTag = 0x0001,
    MsAdpcmTag = 0x0002,
    FloatTag = 0x0003,
    ALawTag = 0x0006,
    MuLawTag = 0x0007,
    ImaAdpcmTag = 0x0011,
    ExtensibleTag = 0xFFFE,
};

// The fixed part of an extensible header's format GUID, after its 16-bit tag.
constexpr char kGuidTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";

[[noreturn]] void refuse(const QString& fileName, const QString& what)
{
    throw EError(QStringLiteral("Cannot open file %1: %2").arg(QDir::toNativeSeparators(fileName), what));
}

// A chunk id as text for a message; a damaged file may hold any bytes there.
QString chunkName(const char* id)
{
    QString name;
    for (int i = 0; i < 4; ++i)
        name += id[i] >= 0x20 && id[i] < 0x7f ? QChar(id[i]) : QChar(u'?');
    return name;
}

// Refuses a format chunk that no cue can have: a coding SDL does not decode,
// a sample size that coding does not use, a channel count or rate out of
// range, or data that would decode to more than kMaxCueSeconds.
void checkFormat(const QByteArray& fmt, quint32 dataSize, const QString& fileName)
{
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(fmt.constData() + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(fmt.constData() + at); };
    if (fmt.size() < 16)
        refuse(fileName, QStringLiteral("the format chunk is too short"));
    quint16 tag = u16(0);
    const int channels = u16(2);
    const quint32 rate = u32(4);
    const qint64 blockAlign = u16(12);
    const int bits = u16(14);
    if (tag == ExtensibleTag) {
        if (fmt.size() < 40 || u16(16) < 22)
            refuse(fileName, QStringLiteral("the extensible format chunk is too short"));
        if (std::memcmp(fmt.constData() + 26, kGuidTail, 14) != 0)
            refuse(fileName, QStringLiteral("the extensible sound format is not supported"));
        tag = u16(24);
    }
    if (channels < 1 || channels > kMaxChannels)
        refuse(fileName, QStringLiteral("%1 channels; 1 to %2 can be played").arg(channels).arg(kMaxChannels));
    if (rate < kMinRate || rate > kMaxRate)
        refuse(fileName,
               QStringLiteral("sample rate %1 Hz; %2 to %3 Hz can be played").arg(rate).arg(kMinRate).arg(kMaxRate));

    bool bitsFit = false;
    switch (tag) {
    case PcmTag:
        bitsFit = bits == 8 || bits == 16 || bits == 24 || bits == 32;
        break;
    case FloatTag:
        bitsFit = bits == 32;
        break;
    case ALawTag:
    case MuLawTag:
        bitsFit = bits == 8;
        break;
    case MsAdpcmTag:
    case ImaAdpcmTag:
        bitsFit = bits == 4;
        break;
    default:
        refuse(fileName, QStringLiteral("sound format 0x%1 is not supported").arg(tag, 4, 16, QChar(u'0')));
    }
    if (!bitsFit)
        refuse(fileName, QStringLiteral("%1 bits per sample are not supported in sound format 0x%2")
                             .arg(bits)
                             .arg(tag, 4, 16, QChar(u'0')));

    // The most frames SDL's decoder can make of the data.
    qint64 frames = dataSize / (std::max(bits / 8, 1) * channels);
    if (bits == 4) {
        // Each block starts with a header per channel holding one or two
        // whole samples; every other byte holds two 4-bit samples.
        const qint64 header = (tag == MsAdpcmTag ? 7 : 4) * channels;
        if (blockAlign <= header)
            refuse(fileName,
                   QStringLiteral("block size %1 is too small for %2 channels").arg(blockAlign).arg(channels));
        const qint64 perBlock = (tag == MsAdpcmTag ? 2 : 1) + (blockAlign - header) * 2 / channels;
        frames = (dataSize + blockAlign - 1) / blockAlign * perBlock;
    }
    if (frames > kMaxCueSeconds * rate)
        refuse(fileName, QStringLiteral("the sound lasts %1 s; a cue may last at most %2 s")
                             .arg((frames + rate - 1) / rate)
                             .arg(kMaxCueSeconds));
}

// Walks the RIFF chunks up to the data and checks every size against the
// file's real size before SDL allocates what they declare. SDL also takes a
// wave whose RIFF header is missing, its chunks following a bare "WAVE" at
// the start, and allocates what those declare just the same, so they are
// checked the same way. A file that begins like neither is left to SDL,
// which says what it is not. Leaves the file at its start.
void checkWaveHeader(SDL_RWops* file, const QString& fileName)
{
    const SdlAudio& sdl = sdlAudio();
    char riff[12];
    const std::size_t got = sdl.RWread(file, riff, 1, sizeof riff);
    const Sint64 fileSize = sdl.RWsize(file);
    const bool riffFile = got >= 4 && std::memcmp(riff, "RIFF", 4) == 0;
    const bool bareWave = got >= 4 && std::memcmp(riff, "WAVE", 4) == 0;
    if (riffFile && got < sizeof riff)
        refuse(fileName, QStringLiteral("the wave header is cut short"));
    if (!(bareWave || (riffFile && std::memcmp(riff + 8, "WAVE", 4) == 0)) || fileSize < 0) {
        sdl.RWseek(file, 0, RW_SEEK_SET);
        return;
    }
    if (riffFile) {
        const qint64 declared = 8 + qint64(qFromLittleEndian<quint32>(riff + 4));
        if (declared > fileSize)
            refuse(fileName, QStringLiteral("the file is cut short: it has %1 of the %2 bytes its header declares")
                                 .arg(fileSize)
                                 .arg(declared));
    }

    QByteArray fmt;
    bool haveFmt = false;
    for (qint64 at = riffFile ? qint64(sizeof riff) : 4;;) {
        char head[8];
        if (at + 8 > fileSize || sdl.RWseek(file, at, RW_SEEK_SET) != at || sdl.RWread(file, head, 1, 8) != 8)
            refuse(fileName, haveFmt ? QStringLiteral("there is no data chunk")
                                     : QStringLiteral("the wave header is cut short"));
        const quint32 size = qFromLittleEndian<quint32>(head + 4);
        const qint64 room = fileSize - at - 8;
        if (size > room)
            refuse(fileName, QStringLiteral("the \"%1\" chunk declares %2 bytes, the file holds %3 more")
                                 .arg(chunkName(head))
                                 .arg(size)
                                 .arg(room));
        if (std::memcmp(head, "fmt ", 4) == 0 && !haveFmt) {
            haveFmt = true;
            fmt.resize(std::min<quint32>(size, 40));
            if (sdl.RWread(file, fmt.data(), 1, fmt.size()) != std::size_t(fmt.size()))
                refuse(fileName, QStringLiteral("the format chunk cannot be read"));
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFmt)
                refuse(fileName, QStringLiteral("the data comes before the format chunk"));
            checkFormat(fmt, size, fileName);
            break;
        }
        // Chunks are padded to an even size.
        at += 8 + qint64(size) + (size & 1);
    }
    sdl.RWseek(file, 0, RW_SEEK_SET);
}

// Converts decoded wave data to interleaved float frames in the mix format.
std::vector<float> convert(const SDL_AudioSpec& spec, const Uint8* data, Uint32 length)
{
    const SdlAudio& sdl = sdlAudio();
    SDL_AudioStream* stream = sdl.NewAudioStream(spec.format, spec.channels, spec.freq, AUDIO_F32SYS,
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
                    || (sdl.AudioStreamPut(stream, data, int(sourceFrames * frameSize)) == 0
                        && sdl.AudioStreamPut(stream, padding.data(), int(padding.size())) == 0
                        && sdl.AudioStreamFlush(stream) == 0);
    if (!ok) {
        const QString text = sdlError();
        sdl.FreeAudioStream(stream);
        throw EError(text);
    }
    const std::size_t channels = std::size_t(g_format.channels);
    const std::size_t wanted = std::size_t(std::llround(double(sourceFrames) * g_format.freq / spec.freq));
    std::vector<float> out(std::size_t(sdl.AudioStreamAvailable(stream)) / sizeof(float) / channels * channels);
    const int got = out.empty() ? 0 : sdl.AudioStreamGet(stream, out.data(), int(out.size() * sizeof(float)));
    sdl.FreeAudioStream(stream);
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
    const QString path = datafiles::locate(m_fileName);
    // A named pipe with no writer would block the open below for good, and
    // a device could be read without end.
    if (QFileInfo::exists(path) && !datafiles::isRegularFile(path))
        refuse(m_fileName, QStringLiteral("not a regular file"));
    const SdlAudio& sdl = sdlAudio();
    SDL_RWops* file = sdl.RWFromFile(QFile::encodeName(path).constData(), "rb");
    if (!file)
        throw EError(sdlError());
    try {
        checkWaveHeader(file, m_fileName);
    } catch (...) {
        sdl.RWclose(file);
        throw;
    }
    SDL_AudioSpec spec{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!sdl.LoadWAV_RW(file, 1, &spec, &data, &length))
        throw EError(sdlError());
    auto voice = std::make_unique<Voice>();
    try {
        Mixer& mixer = Mixer::instance();
        mixer.ensureDevice();
        voice->samples = convert(spec, data, length);
    } catch (...) {
        sdl.FreeWAV(data);
        throw;
    }
    sdl.FreeWAV(data);
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
