// The 23 generated cue files beside the program: plain mono PCM that the
// player opens, short enough for the events that wait on them, neither
// clipped nor silent, and small together.
#include "testmain.h"

#include "tmediaplayer.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cmath>

namespace {

QString cuePath(int n)
{
    return QStringLiteral(TIVORAMA_BUILD_DIR "/%1.wav").arg(n);
}

} // namespace

class TstCueFiles : public QObject {
    Q_OBJECT
private slots:
    void cueFile_data();
    void cueFile();
    void allTogetherUnderOneMegabyte();
};

void TstCueFiles::cueFile_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("maxMs");
    for (int n = 1; n <= 23; ++n) // the slide and the cell click replay on every move
        QTest::addRow("%d.wav", n) << n << ((n == 2 || n == 15) ? 150 : 2000);
}

void TstCueFiles::cueFile()
{
    QFETCH(int, number);
    QFETCH(int, maxMs);
    QFile f(cuePath(number));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    // The canonical 44-byte header: PCM, mono, 16-bit, one data chunk.
    QVERIFY(b.size() > 44 && b.startsWith("RIFF") && b.mid(8, 8) == "WAVEfmt " && b.mid(36, 4) == "data");
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
    QCOMPARE(u32(4), quint32(b.size() - 8));
    QCOMPARE(u16(20), quint16(1));
    QCOMPARE(u16(22), quint16(1));
    QCOMPARE(u16(34), quint16(16));
    QCOMPARE(u32(40), quint32(b.size() - 44));
    const int rate = int(u32(24));
    const int frames = int(u32(40) / 2);
    const int ms = frames * 1000 / rate;
    QVERIFY2(ms >= 40 && ms <= maxMs, qPrintable(QString::number(ms)));

    int peak = 0;
    double sumSquares = 0;
    for (int i = 0; i < frames; ++i) {
        const int v = qFromLittleEndian<qint16>(b.constData() + 44 + 2 * i);
        peak = std::max(peak, std::abs(v));
        sumSquares += double(v) * v;
    }
    QVERIFY2(peak <= 32767 * 95 / 100, qPrintable(QString::number(peak))); // headroom
    QVERIFY2(std::sqrt(sumSquares / frames) >= 0.03 * 32768, "too quiet");
    // Faded at both ends, so it neither starts nor stops with a click.
    QVERIFY(std::abs(qFromLittleEndian<qint16>(b.constData() + 44)) < 300);
    QVERIFY(std::abs(qFromLittleEndian<qint16>(b.constData() + b.size() - 2)) < 300);

    TMediaPlayer player;
    player.setFileName(cuePath(number));
    player.Open();
    QVERIFY(qAbs(player.Length() - ms) <= 1);
}

void TstCueFiles::allTogetherUnderOneMegabyte()
{
    qint64 total = 0;
    for (int n = 1; n <= 23; ++n)
        total += QFileInfo(cuePath(n)).size();
    QVERIFY2(total < 1024 * 1024, qPrintable(QString::number(total)));
}

TIVORAMA_TEST_MAIN(TstCueFiles)
#include "tst_cuefiles.moc"
