// The few SDL functions the media player calls, taken from the SDL library
// when the first cue needs them rather than when the program starts. SDL
// brings some thirty libraries with it (sound servers, codecs, Wayland) that
// a program showing its launcher has no use for yet, and loading them made
// the launcher slower to appear and 2 MB larger. SDL's own header still gives
// every type and signature.
#pragma once

#include <QString>

#include <SDL.h>

// Every function the player calls, named without SDL's prefix: each is
// looked up in the library by its SDL name.
#define TIVORAMA_SDL_FUNCTIONS(X)                                                                      \
    X(GetError) X(SetHintWithPriority) X(InitSubSystem) X(QuitSubSystem) X(OpenAudioDevice)            \
    X(CloseAudioDevice) X(PauseAudioDevice) X(LockAudioDevice) X(UnlockAudioDevice) X(RWFromFile)      \
    X(RWread) X(RWseek) X(RWsize) X(RWclose) X(LoadWAV_RW) X(FreeWAV) X(NewAudioStream)                \
    X(AudioStreamPut) X(AudioStreamFlush) X(AudioStreamAvailable) X(AudioStreamGet) X(FreeAudioStream)

struct SdlAudio {
#define TIVORAMA_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    TIVORAMA_SDL_FUNCTIONS(TIVORAMA_SDL_MEMBER)
#undef TIVORAMA_SDL_MEMBER
};

// The functions, loaded on the first call. Throws EError saying why when the
// library or one of its functions cannot be loaded; the next call tries
// again. Once loaded, the library stays for the rest of the program.
const SdlAudio& sdlAudio();

// The library file sdlAudio() loads while it has not loaded one, by default
// SDL 2's run-time library. Only a test names another, to see the failure
// reach the player.
void setSdlLibrary(const QString& fileName);
