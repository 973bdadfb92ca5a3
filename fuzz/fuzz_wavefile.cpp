// WAV opening: any file is either refused with EError, leaving nothing open,
// or opened as a sound no longer than a cue may last, nor than the file can
// hold. A sound shorter than a millisecond opens with length 0, which a
// blocking cue takes as already over.
#include "fuzzsupport.h"

#include "eerror.h"
#include "tmediaplayer.h"

#include <algorithm>

namespace {
// The player's cap on a cue, in its length unit (milliseconds).
constexpr int kMaxCueMs = 60 * 1000;
// No coding the player takes packs more than two samples into a byte, and
// no rate below 4 kHz is taken: each byte is at most half a millisecond.
int mostMsIn(std::size_t bytes)
{
    return int(std::min<std::size_t>(bytes / 2 + 1, kMaxCueMs));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The player's device lives with the application object.
    fuzz::ensureApplication();
    static TMediaPlayer player;
    player.setFileName(fuzz::writeInput(QStringLiteral("1.wav"), data, size));
    try {
        player.Open();
    } catch (const EError&) {
        FUZZ_CHECK(!player.isOpen());
        return 0;
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    try {
        FUZZ_CHECK(player.isOpen());
        const int length = player.Length();
        FUZZ_CHECK(length >= 0 && length <= mostMsIn(size));
        FUZZ_CHECK(player.Position() >= 0 && player.Position() <= length);
        player.Close();
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    return 0;
}
