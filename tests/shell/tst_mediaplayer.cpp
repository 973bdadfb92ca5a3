// The media player on SDL's real-time dummy driver: lengths of converted
// files, play after the end, where a bare name is found, the errors with
// SDL's own text, files that are not files, wave headers no cue can have, and
// a device that is let go when nothing sounds and fails when it is needed
// again.
#include "namedpipe.h"
#include "testmain.h"
#include "testutil.h"

#include "datafiles.h"
#include "tmediaplayer.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtEndian>

#include <SDL.h>

#include <chrono>
#include <optional>
#include <thread>

namespace {

// `ms` milliseconds of a quiet square wave.
void writeWav(const QString& path, int ms, int rate = 22050, int channels = 1, int bits = 16)
{
    QVERIFY(writeWavFile(path, rate * ms / 1000, rate, channels, bits));
}

// A wave file as its header declares it: `present` bytes of data follow,
// whatever `dataSize` says.
QByteArray waveBytes(quint16 tag, int channels, quint32 rate, int bits, quint32 dataSize, int present)
{
    QByteArray fmt(16, Qt::Uninitialized);
    qToLittleEndian(tag, fmt.data());
    qToLittleEndian(quint16(channels), fmt.data() + 2);
    qToLittleEndian(rate, fmt.data() + 4);
    qToLittleEndian(quint32(rate * channels * bits / 8), fmt.data() + 8);
    qToLittleEndian(quint16(channels * bits / 8), fmt.data() + 12);
    qToLittleEndian(quint16(bits), fmt.data() + 14);
    QByteArray body =
        "WAVEfmt " + QByteArray(4, '\0') + fmt + "data" + QByteArray(4, '\0') + QByteArray(present, '\x10');
    qToLittleEndian(quint32(fmt.size()), body.data() + 8);
    qToLittleEndian(dataSize, body.data() + 32);
    QByteArray riff = "RIFF" + QByteArray(4, '\0');
    qToLittleEndian(quint32(body.size()), riff.data() + 4);
    return riff + body;
}

void waitForEnd(const TMediaPlayer& player)
{
    QElapsedTimer t;
    t.start();
    while (player.Position() < player.Length() && t.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Runs `action` as an event handler, so that its error takes the road of
// every handler's error: through the application to the error report.
class Handler : public QObject {
public:
    explicit Handler(std::function<void()> action)
        : m_action(std::move(action))
    {
    }
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        m_action();
        return true;
    }
    void run()
    {
        QEvent e(QEvent::User);
        QCoreApplication::sendEvent(this, &e);
    }

private:
    std::function<void()> m_action;
};

// Opens `name`; the error's text, or nothing when it opened.
QString openError(TMediaPlayer& player, const QString& name)
{
    player.setFileName(name);
    try {
        player.Open();
    } catch (const EError& e) {
        return e.text();
    }
    return {};
}

} // namespace

class TstMediaPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lengthOfConvertedFile_data();
    void lengthOfConvertedFile();
    void playAfterTheEnd_data();
    void playAfterTheEnd();
    void bareNamesCurrentDirectoryFirstThenBesideTheProgram();
    void openFailures_data();
    void openFailures();
    void notARegularFileRefusedAtOnce_data();
    void notARegularFileRefusedAtOnce();
    void impossibleHeaderRefused_data();
    void impossibleHeaderRefused();
    void nothingOpen_data();
    void nothingOpen();
    void failingDriver_data();
    void failingDriver();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TstMediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    writeWav(path("short.wav"), 150);
    QFile text(path("text.wav"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("This is not a sound at all, just some words in a file.\n");
}

void TstMediaPlayer::lengthOfConvertedFile_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("ms");
    QTest::newRow("22050 Hz mono 16-bit") << 22050 << 1 << 16 << 300;
    QTest::newRow("44100 Hz stereo 16-bit") << 44100 << 2 << 16 << 250;
    QTest::newRow("8000 Hz mono 8-bit") << 8000 << 1 << 8 << 500;
    QTest::newRow("48000 Hz stereo 16-bit") << 48000 << 2 << 16 << 1000;
}

void TstMediaPlayer::lengthOfConvertedFile()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, ms);
    writeWav(path("format.wav"), ms, rate, channels, bits);
    TMediaPlayer player;
    player.setFileName(path("format.wav"));
    player.Open();
    QVERIFY2(qAbs(player.Length() - ms) <= 2, qPrintable(QString::number(player.Length())));
    QCOMPARE(player.Position(), 0);
}

void TstMediaPlayer::playAfterTheEnd_data()
{
    QTest::addColumn<bool>("autoRewind");
    QTest::newRow("rewind on: starts again") << true;
    QTest::newRow("rewind off: stays at the end") << false;
}

void TstMediaPlayer::playAfterTheEnd()
{
    QFETCH(bool, autoRewind);
    TMediaPlayer player;
    player.setAutoRewind(autoRewind);
    player.setFileName(path("short.wav"));
    player.Open();
    QElapsedTimer t;
    t.start();
    player.Play();
    QVERIFY2(t.elapsed() < 100, "play waited for the sound");
    waitForEnd(player);
    QVERIFY2(t.elapsed() >= 120 && t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(player.Position(), player.Length());
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    QCOMPARE(player.Position() < player.Length(), autoRewind);
}

void TstMediaPlayer::bareNamesCurrentDirectoryFirstThenBesideTheProgram()
{
    // The program's folder holds its data, as the build folder does; the
    // current directory is another one.
    QTemporaryDir programDir, current;
    writeWav(programDir.filePath(QStringLiteral("1.wav")), 300);
    datafiles::setProgramPath(programDir.filePath(QStringLiteral("tivorama")));
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    const auto restore = qScopeGuard([&] {
        QDir::setCurrent(cwd);
        datafiles::setProgramPath({});
    });
    TMediaPlayer player;
    // The length of what a bare name opens, or the error's text.
    auto open = [&player](const QString& name) {
        const QString error = openError(player, name);
        return error.isEmpty() ? QString::number(player.Length()) : error;
    };
    QCOMPARE(open(QStringLiteral("1.wav")), QStringLiteral("300"));
    writeWav(current.filePath(QStringLiteral("1.wav")), 100);
    QCOMPARE(open(QStringLiteral("1.wav")), QStringLiteral("100"));
    // Found in neither: the error names the file as the game asked for it.
    const QString missing = open(QStringLiteral("2.wav"));
    QVERIFY2(missing.endsWith(QStringLiteral(" 2.wav")), qPrintable(missing));
}

void TstMediaPlayer::openFailures_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QStringLiteral("nosuch.wav") << false;
    QTest::newRow("empty name") << QString() << false;
    QTest::newRow("a text file") << QStringLiteral("text.wav") << true;
}

void TstMediaPlayer::openFailures()
{
    QFETCH(QString, fileName);
    QFETCH(bool, exists);
    TMediaPlayer player;
    player.setFileName(path("short.wav"));
    player.Open();
    // Bare names are looked up in the current directory.
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    const QString text = openError(player, fileName);
    // The message is SDL's own for the same failure.
    SDL_RWops* file = SDL_RWFromFile(QFile::encodeName(fileName).constData(), "rb");
    QCOMPARE(file != nullptr, exists);
    if (file) {
        SDL_AudioSpec spec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        QVERIFY(!SDL_LoadWAV_RW(file, 1, &spec, &buffer, &length));
    }
    const QString expected = QString::fromUtf8(SDL_GetError());
    QDir::setCurrent(cwd);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(text, expected);
    // The open closed the file before it, whatever became of the new one.
    QVERIFY(!player.isOpen());
}

void TstMediaPlayer::notARegularFileRefusedAtOnce_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("a directory") << false;
    // Opened, a pipe with no writer would freeze the program for good.
    QTest::newRow("a named pipe") << true;
}

void TstMediaPlayer::notARegularFileRefusedAtOnce()
{
    QFETCH(bool, pipe);
    const QString name = path(QStringLiteral("1.wav"));
    std::optional<NamedPipe> fifo;
    if (pipe) {
        fifo.emplace(name);
        QVERIFY(fifo->isValid());
    } else {
        QVERIFY(QDir().mkdir(name));
    }
    TMediaPlayer player;
    player.setFileName(path(QStringLiteral("short.wav")));
    player.Open();
    QElapsedTimer t;
    t.start();
    const QString text = openError(player, name);
    const qint64 elapsed = t.elapsed();
    if (!pipe)
        QDir().rmdir(name);
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    QCOMPARE(text, QStringLiteral("Cannot open file %1: not a regular file").arg(QDir::toNativeSeparators(name)));
    QVERIFY(!player.isOpen());
}

void TstMediaPlayer::impossibleHeaderRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("1 Hz") << waveBytes(1, 1, 1, 16, 4000, 4000) << "sample rate 1 Hz";
    QTest::newRow("2 MHz") << waveBytes(1, 1, 2000000, 16, 4000, 4000) << "sample rate 2000000 Hz";
    QTest::newRow("data chunk of 3 GB") << waveBytes(1, 1, 22050, 16, 3000000000u, 100) << "3000000000 bytes";
    QTest::newRow("no RIFF header, data chunk of 3 GB")
        << waveBytes(1, 1, 22050, 16, 3000000000u, 100).mid(8) << "3000000000 bytes";
    QTest::newRow("no channels") << waveBytes(1, 0, 22050, 16, 100, 100) << "0 channels";
    QTest::newRow("header cut short") << waveBytes(1, 1, 22050, 16, 100, 100).left(30) << "cut short";
    QTest::newRow("MPEG layer 3") << waveBytes(0x55, 1, 22050, 16, 100, 100) << "format 0x0055";
    QTest::newRow("61 s at 4 kHz") << waveBytes(1, 1, 4000, 8, 244000, 244000) << "61 s";
}

// Refused from the header alone, at once, naming the file; SDL would have
// spent seconds and gigabytes on some of these.
void TstMediaPlayer::impossibleHeaderRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QFile file(path("impossible.wav"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
    file.close();

    TMediaPlayer player;
    QElapsedTimer t;
    t.start();
    const QString text = openError(player, file.fileName());
    QVERIFY2(t.elapsed() < 200, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(text.startsWith(QStringLiteral("Cannot open file %1: ").arg(QDir::toNativeSeparators(file.fileName()))),
             qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(!player.isOpen());
}

// Random damage to the header of a small file: every open either loads a
// sound no longer than the file can hold or refuses with a text, quickly.
void TstMediaPlayer::nothingOpen_data()
{
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("play");
    QTest::newRow("play, never opened") << false << true;
    QTest::newRow("length, never opened") << false << false;
    QTest::newRow("play after close") << true << true;
    QTest::newRow("length after close") << true << false;
}

void TstMediaPlayer::nothingOpen()
{
    QFETCH(bool, closed);
    QFETCH(bool, play);
    TMediaPlayer player;
    if (closed) {
        player.setFileName(path("short.wav"));
        player.Open();
        player.Play();
        player.Close();
    }
    player.Close(); // closing with nothing open does nothing
    QCOMPARE(player.Position(), 0);
    if (play)
        QVERIFY_THROWS_EXCEPTION(EError, player.Play());
    else
        QVERIFY_THROWS_EXCEPTION(EError, player.Length());
}

void TstMediaPlayer::failingDriver_data()
{
    QTest::addColumn<bool>("held");
    QTest::newRow("open") << false;
    QTest::newRow("play on a held cue after the device was let go") << true;
}

void TstMediaPlayer::failingDriver()
{
    QFETCH(bool, held);
    TMediaPlayer player;
    player.setFileName(path("short.wav"));
    if (held) {
        player.Open();
        player.Play();
    }
    // A held cue stays open, but the device (and SDL's audio with it) goes
    // once nothing has sounded for a while; the next play brings it back.
    QTRY_VERIFY_WITH_TIMEOUT(!SDL_WasInit(SDL_INIT_AUDIO), 5000);
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "nonexistent");
    QVERIFY(SDL_InitSubSystem(SDL_INIT_AUDIO) != 0);
    const QString expected = QString::fromUtf8(SDL_GetError());

    ErrorCatcher catcher;
    bool stepAfterRan = false;
    Handler handler([&] {
        held ? player.Play() : player.Open();
        stepAfterRan = true;
    });
    handler.run();
    qputenv("SDL_AUDIODRIVER", driver);
    QVERIFY(!stepAfterRan);
    QCOMPARE(catcher.errors, QStringList{expected});

    // With a working driver again the same player plays.
    if (!held)
        player.Open();
    player.Play();
    waitForEnd(player);
    QCOMPARE(player.Position(), player.Length());
}

TIVORAMA_TEST_MAIN(TstMediaPlayer)
#include "tst_mediaplayer.moc"
