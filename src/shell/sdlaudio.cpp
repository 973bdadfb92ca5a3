// Loading SDL at run time. The handle is never closed: SDL's audio thread
// and the functions taken from it live until the program ends.
#include "sdlaudio.h"

#include "eerror.h"

#include <QFile>

#include <dlfcn.h>

namespace {

QString g_library = QStringLiteral("libSDL2-2.0.so.0");
SdlAudio g_audio;
bool g_loaded = false;

[[noreturn]] void cannotLoad()
{
    const char* why = dlerror();
    throw EError(QStringLiteral("Cannot load the sound library: %1")
                     .arg(why ? QString::fromLocal8Bit(why) : g_library));
}

} // namespace

const SdlAudio& sdlAudio()
{
    if (g_loaded)
        return g_audio;
    void* library = dlopen(QFile::encodeName(g_library).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        cannotLoad();
    SdlAudio audio;
    try {
#define TIVORAMA_SDL_RESOLVE(name)                                                                     \
    if (!(audio.name = reinterpret_cast<decltype(audio.name)>(dlsym(library, "SDL_" #name))))           \
        cannotLoad();
        TIVORAMA_SDL_FUNCTIONS(TIVORAMA_SDL_RESOLVE)
#undef TIVORAMA_SDL_RESOLVE
    } catch (...) {
        dlclose(library);
        throw;
    }
    g_audio = audio;
    g_loaded = true;
    return g_audio;
}

void setSdlLibrary(const QString& fileName)
{
    g_library = fileName;
}
