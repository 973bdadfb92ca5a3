// SDL comes with the first cue, not with the program: none of it is in the
// process before; a library that cannot be loaded fails the cue as any sound
// failure does; and once it loads, the same player plays. This program does
// not link SDL itself, so what it finds mapped is what the player loaded.
#include "testmain.h"
#include "testutil.h"

#include "cues.h"
#include "sdlaudio.h"
#include "tmediaplayer.h"

#include <QFile>

namespace {

bool sdlMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libSDL2");
}

} // namespace

class TstSoundLibrary : public QObject {
    Q_OBJECT
private slots:
    void loadedByTheFirstCue();
};

void TstSoundLibrary::loadedByTheFirstCue()
{
    const QString cue = QStringLiteral(TIVORAMA_BUILD_DIR "/1.wav");
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    QVERIFY(!sdlMapped());

    ErrorCatcher catcher;
    bool stepAfterRan = false;
    setSdlLibrary(QStringLiteral("libtivorama-no-such-sound.so.0"));
    errorreport::run([&] {
        cues.soundplay(cue);
        stepAfterRan = true;
    });
    QVERIFY(!stepAfterRan);
    QCOMPARE(catcher.errors.size(), 1);
    QVERIFY2(catcher.errors.at(0).startsWith(QStringLiteral("Cannot load the sound library: "))
                 && catcher.errors.at(0).contains(QStringLiteral("libtivorama-no-such-sound.so.0")),
             qPrintable(catcher.errors.at(0)));
    QVERIFY(!sdlMapped());

    setSdlLibrary(QStringLiteral("libSDL2-2.0.so.0"));
    errorreport::run([&] {
        cues.soundplay(cue);
        stepAfterRan = true;
    });
    QVERIFY(stepAfterRan);
    QCOMPARE(catcher.errors.size(), 1);
    QVERIFY(sdlMapped());
}

TIVORAMA_TEST_MAIN(TstSoundLibrary)
#include "tst_soundlibrary.moc"
