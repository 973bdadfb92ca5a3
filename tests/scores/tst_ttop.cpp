// The high-score store: the byte layout of the score files, ranking, the
// default tables, damaged and unusable files, failed saves, and random files.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "ttop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray cp1251(const QString& text)
{
    QStringEncoder encode("windows-1251");
    return encode(text);
}

QByteArray record(const QByteArray& name, const QByteArray& score, int length = -1)
{
    QByteArray bytes(26, '\0');
    bytes[0] = char(length < 0 ? name.size() : length);
    bytes.replace(1, name.size(), name);
    bytes.replace(21, 5, score);
    return bytes;
}

QByteArray field(int score)
{
    return QByteArray::number(score).rightJustified(5, '0');
}

QList<int> defaultScores(int first, int step)
{
    QList<int> scores;
    for (int i = 0; i < 10; ++i)
        scores << first + step * i;
    return scores;
}

QByteArray tableFile(const QStringList& names, const QList<int>& scores)
{
    QByteArray bytes;
    for (int i = 0; i < 10; ++i)
        bytes += record(cp1251(names[i]), field(scores[i]));
    return bytes;
}

const QString kUnknown = QStringLiteral("Неизвестный");
const QStringList kUnknowns(10, kUnknown);

QStringList namesOf(const Ttop& top)
{
    QStringList names;
    for (const TTopEntry& entry : top.Entries)
        names << entry.Name;
    return names;
}

QList<int> scoresOf(const Ttop& top)
{
    QList<int> scores;
    for (const TTopEntry& entry : top.Entries)
        scores << entry.Score;
    return scores;
}

Ttop table(const QStringList& names, const QList<int>& scores)
{
    Ttop top;
    for (int i = 0; i < 10; ++i)
        top.Entries[i] = TTopEntry{names[i], scores[i]};
    return top;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    // A fresh file rather than a truncated one: truncating waits for the
    // disk on some file systems, which adds up over thousands of files.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Every entry of a folder, hidden ones too.
QStringList entriesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// A file size limit for its lifetime, which makes writes fail for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    void (*m_handler)(int);
    rlimit m_saved{};
};

// What a save may leave in the file: ten records of a name length up to 20,
// the name padded with zero bytes and a score field as a save writes it, in
// ascending order. Returns what is wrong, or nothing.
QString tableFault(const QByteArray& bytes)
{
    if (bytes.size() != 260)
        return QStringLiteral("%1 bytes").arg(bytes.size());
    qint64 previous = INT64_MIN;
    for (int i = 0; i < 10; ++i) {
        const QByteArray r = bytes.mid(26 * i, 26);
        const int length = quint8(r[0]);
        if (length > 20 || r.mid(1 + length, 20 - length).count('\0') != 20 - length)
            return QStringLiteral("record %1: name").arg(i + 1);
        const QByteArray field = r.mid(21);
        qsizetype digits = 0;
        while (digits < 5 && field[digits] == '0')
            ++digits;
        bool ok = true;
        const qint64 score = digits == 5 ? 0 : field.mid(digits).toLongLong(&ok);
        if (!ok || score < previous)
            return QStringLiteral("record %1: score field %2").arg(i + 1).arg(QString::fromLatin1(field));
        previous = score;
    }
    return {};
}

const QStringList kPlayers{"Аня", "Борис", "Вера", "Гоша", "Даша", "Егор", "Жанна", "Зоя", "Игорь", "Катя"};

enum class Unusable { Directory, ReadOnlyFile, ReadOnlyFolder, MissingFolder, Pipe };

} // namespace

Q_DECLARE_METATYPE(Unusable)

class TstTtop : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void scoreFilePath_data();
    void scoreFilePath();
    void missingFileGivesDefaults_data();
    void missingFileGivesDefaults();
    void insertRanks_data();
    void insertRanks();
    void scoreFieldLoads_data();
    void scoreFieldLoads();
    void scoreFieldStores_data();
    void scoreFieldStores();
    void namesStored_data();
    void namesStored();
    void damagedFileLoads_data();
    void damagedFileLoads();
    void unusableFileGivesDefaults_data();
    void unusableFileGivesDefaults();
    void noNewFilesSavesInPlace_data();
    void noNewFilesSavesInPlace();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void killedSaveLeavesATable_data();
    void killedSaveLeavesATable();
    void twoCopiesLoseNoRecord_data();
    void twoCopiesLoseNoRecord();
    void lockedTableWaitsForItsHolder_data();
    void lockedTableWaitsForItsHolder();
    void randomFilesLoadSafely();

private:
    QString path(int game) const { return m_dir->filePath(QStringLiteral("tivorama.%1").arg(game)); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstTtop::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    datafiles::setProgramPath(m_dir->filePath(QStringLiteral("tivorama.bin")));
}

void TstTtop::cleanup()
{
    scorefiles::failTemporaryFiles(0);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
    datafiles::setProgramPath({});
}

void TstTtop::scoreFilePath_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("expected");
    QTest::newRow("extension replaced") << "/d/prog.exe" << 1 << "/d/prog.1";
    QTest::newRow("only the last extension") << "/d/prog.tar.gz" << 2 << "/d/prog.tar.2";
    QTest::newRow("no extension: appended") << "/d/prog" << 3 << "/d/prog.3";
    QTest::newRow("dot in a folder name") << "/d.x/prog" << 1 << "/d.x/prog.1";
    QTest::newRow("hidden file name") << "/d/.prog" << 2 << "/d/.prog.2";
}

void TstTtop::scoreFilePath()
{
    QFETCH(QString, program);
    QFETCH(int, game);
    QFETCH(QString, expected);
    datafiles::setProgramPath(program);
    QCOMPARE(scorefiles::scoreFilePath(quint8(game)), expected);
}

void TstTtop::missingFileGivesDefaults_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<QList<int>>("scores");
    QTest::newRow("fifteen") << 1 << defaultScores(60, 10);
    QTest::newRow("minesweeper") << 2 << defaultScores(100, 10);
    QTest::newRow("sea battle") << 3 << defaultScores(60, 5);
}

void TstTtop::missingFileGivesDefaults()
{
    QFETCH(int, game);
    QFETCH(QList<int>, scores);

    Ttop top = table(kPlayers, defaultScores(1, 1));
    top.NewName = QStringLiteral("Ждёт");
    top.NewScore = 42;
    LoadTop(top, quint8(game));
    QCOMPARE(namesOf(top), kUnknowns);
    QCOMPARE(scoresOf(top), scores);
    QCOMPARE(top.NewName, QStringLiteral("Ждёт"));
    QCOMPARE(top.NewScore, 42);

    const QByteArray written = readFile(path(game));
    QCOMPARE(written.size(), 260);
    QCOMPARE(written, tableFile(kUnknowns, scores));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("tivorama.%1").arg(game)});
}

void TstTtop::insertRanks_data()
{
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<int>("newScore");
    QTest::addColumn<int>("rank"); // 0: enters nowhere

    const QList<int> plain = defaultScores(60, 10);
    QTest::newRow("better than rank 1") << plain << 10 << 1;
    QTest::newRow("negative score") << plain << -5 << 1;
    QTest::newRow("tie goes below the equal entry") << plain << 90 << 5;
    QTest::newRow("tie goes below every equal entry") << QList<int>{60, 70, 80, 80, 80, 90, 100, 110, 120, 130} << 80 << 6;
    QTest::newRow("just under rank 10") << plain << 149 << 10;
    QTest::newRow("equal to rank 10 enters nowhere") << plain << 150 << 0;
}

void TstTtop::insertRanks()
{
    QFETCH(QList<int>, scores);
    QFETCH(int, newScore);
    QFETCH(int, rank);

    Ttop top = table(kPlayers, scores);
    SaveTop(top, 1);
    top.NewName = QStringLiteral("Новичок");
    top.NewScore = newScore;
    InsertTop(top, 1);

    QStringList names = kPlayers;
    if (rank > 0) {
        names.insert(rank - 1, top.NewName);
        scores.insert(rank - 1, newScore);
    }
    QCOMPARE(namesOf(top), names.mid(0, 10));
    QCOMPARE(scoresOf(top), scores.mid(0, 10));

    Ttop reloaded;
    LoadTop(reloaded, 1);
    QCOMPARE(namesOf(reloaded), names.mid(0, 10));
    QCOMPARE(scoresOf(reloaded), scores.mid(0, 10));
}

void TstTtop::scoreFieldLoads_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("score");
    QTest::newRow("00007") << QByteArray("00007") << 7;
    QTest::newRow("00150") << QByteArray("00150") << 150;
    QTest::newRow("12345") << QByteArray("12345") << 12345;
    QTest::newRow("000-5") << QByteArray("000-5") << -5;
    QTest::newRow("-1234") << QByteArray("-1234") << -1234;
    QTest::newRow("00000 is empty after the zeros") << QByteArray("00000") << 100;
    QTest::newRow("letter") << QByteArray("0012x") << 100;
    QTest::newRow("plus sign") << QByteArray("00+12") << 100;
    QTest::newRow("sign alone") << QByteArray("0000-") << 100;
    QTest::newRow("sign after a digit") << QByteArray("0-0-5") << 100;
    QTest::newRow("two signs") << QByteArray("00--5") << 100;
    QTest::newRow("leading space") << QByteArray(" 0012") << 100;
    QTest::newRow("inner space") << QByteArray("001 2") << 100;
    QTest::newRow("zero bytes") << QByteArray("00\0\0" "7", 5) << 100;
    QTest::newRow("all zero bytes") << QByteArray(5, '\0') << 100;
}

void TstTtop::scoreFieldLoads()
{
    QFETCH(QByteArray, field);
    QFETCH(int, score);

    QByteArray bytes = tableFile(kPlayers, defaultScores(60, 10));
    bytes.replace(26 * 4 + 21, 5, field);
    writeFile(path(1), bytes);
    Ttop top;
    LoadTop(top, 1);
    QList<int> expected = defaultScores(60, 10);
    expected[4] = score;
    QCOMPARE(scoresOf(top), expected);
    QCOMPARE(namesOf(top), kPlayers);
}

void TstTtop::scoreFieldStores_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("reloaded");
    QTest::newRow("7") << 7 << QByteArray("00007") << 7;
    QTest::newRow("150") << 150 << QByteArray("00150") << 150;
    QTest::newRow("-5") << -5 << QByteArray("000-5") << -5;
    QTest::newRow("99999") << 99999 << QByteArray("99999") << 99999;
    QTest::newRow("123456 is cut") << 123456 << QByteArray("12345") << 12345;
    QTest::newRow("most negative is cut") << int(INT32_MIN) << QByteArray("-2147") << -2147;
    QTest::newRow("0 reads back as 100") << 0 << QByteArray("00000") << 100;
}

void TstTtop::scoreFieldStores()
{
    QFETCH(int, score);
    QFETCH(QByteArray, field);
    QFETCH(int, reloaded);

    Ttop top = scorefiles::defaultTop(1);
    top.Entries[9].Score = score;
    SaveTop(top, 1);
    const QByteArray bytes = readFile(path(1));
    QCOMPARE(bytes.size(), 260);
    QCOMPARE(bytes.mid(26 * 9 + 21), field);
    Ttop loaded;
    LoadTop(loaded, 1);
    QCOMPARE(loaded.Entries[9].Score, reloaded);
}

void TstTtop::namesStored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("stored"); // length byte and the 20 name bytes
    QTest::addColumn<QString>("reloaded");

    const QString twenty = QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТ!");
    QTest::newRow("20 characters fill the field") << twenty << QByteArray(1, char(20)) + cp1251(twenty) << twenty;
    QTest::newRow("empty name is 21 zero bytes") << QString() << QByteArray(21, '\0') << QString();
    QTest::newRow("longer name is cut to 20")
        << twenty + QStringLiteral("УФХ") << QByteArray(1, char(20)) + cp1251(twenty) << twenty;
    QTest::newRow("mixed alphabets") << QStringLiteral("Вася Pupkin")
                                     << QByteArray("\x0b\xc2\xe0\xf1\xff Pupkin") + QByteArray(9, '\0')
                                     << QStringLiteral("Вася Pupkin");
    QTest::newRow("characters without a byte become ?")
        << QStringLiteral("A😀中B") << QByteArray("\x04" "A??B") + QByteArray(16, '\0') << QStringLiteral("A??B");
}

void TstTtop::namesStored()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, stored);
    QFETCH(QString, reloaded);

    Ttop top = scorefiles::defaultTop(1);
    top.Entries[2].Name = name;
    SaveTop(top, 1);
    const QByteArray bytes = readFile(path(1));
    QCOMPARE(bytes.size(), 260);
    QCOMPARE(bytes.mid(26 * 2, 21), stored);
    QCOMPARE(bytes.mid(26 * 2 + 21, 5), QByteArray("00080"));

    Ttop loaded;
    LoadTop(loaded, 1);
    QCOMPARE(loaded.Entries[2].Name, reloaded);
    QCOMPARE(loaded.Entries[3].Name, kUnknown);
}

void TstTtop::damagedFileLoads_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("scores");

    const QList<int> defaults = defaultScores(60, 10);
    const QList<int> mine = defaultScores(11, 3);
    const QByteArray full = tableFile(kPlayers, mine);

    QTest::newRow("0 bytes") << QByteArray() << kUnknowns << defaults;
    QStringList names = kUnknowns;
    names[0] = QStringLiteral("Аня");
    QList<int> scores = defaults;
    scores[0] = 11;
    QTest::newRow("one and a half records") << full.left(39) << names << scores;
    QTest::newRow("one byte short") << full.left(259) << kPlayers.mid(0, 9) + QStringList{kUnknown}
                                    << mine.mid(0, 9) + QList<int>{150};
    QTest::newRow("longer than 260 bytes") << full + QByteArray(300, '\x7f') << kPlayers << mine;

    QByteArray overlong = full;
    overlong[26 * 3] = char(21);
    names = kPlayers;
    names[3] = kUnknown;
    QTest::newRow("name length 21") << overlong << names << mine;
    overlong[26 * 3] = char(255);
    QTest::newRow("name length 255") << overlong << names << mine;

    QByteArray unassigned = full;
    unassigned.replace(26 * 5, 4, QByteArray("\x03" "a\x98" "b"));
    names = kPlayers;
    names[5] = QStringLiteral("a\u0098b");
    QTest::newRow("byte 0x98 has no letter") << unassigned << names << mine;
}

void TstTtop::damagedFileLoads()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, scores);

    writeFile(path(1), content);
    Ttop top;
    LoadTop(top, 1);
    QCOMPARE(namesOf(top), names);
    QCOMPARE(scoresOf(top), scores);
    QCOMPARE(readFile(path(1)), content);
}

void TstTtop::unusableFileGivesDefaults_data()
{
    QTest::addColumn<Unusable>("kind");
    QTest::newRow("a folder in its place") << Unusable::Directory;
    QTest::newRow("read-only file") << Unusable::ReadOnlyFile;
    QTest::newRow("read-only folder") << Unusable::ReadOnlyFolder;
    QTest::newRow("folder does not exist") << Unusable::MissingFolder;
    QTest::newRow("a pipe in its place") << Unusable::Pipe;
}

// Read-only here means without write permission bits, which the store
// honours for root too, so these rows test the same thing whoever runs them.
void TstTtop::unusableFileGivesDefaults()
{
    QFETCH(Unusable, kind);

    const QByteArray mine = tableFile(kPlayers, defaultScores(11, 3));
    switch (kind) {
    case Unusable::Directory:
        QVERIFY(QDir().mkdir(path(2)));
        break;
    case Unusable::ReadOnlyFile:
        writeFile(path(2), mine);
        QVERIFY(QFile::setPermissions(path(2), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    case Unusable::ReadOnlyFolder:
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        break;
    case Unusable::MissingFolder:
        datafiles::setProgramPath(m_dir->filePath(QStringLiteral("gone/tivorama")));
        break;
    case Unusable::Pipe:
        QCOMPARE(mkfifo(QFile::encodeName(path(2)).constData(), 0600), 0);
        break;
    }
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    const QFileInfo file(scorefiles::scoreFilePath(2));

    const ErrorCatcher catcher;
    for (int attempt = 0; attempt < 2; ++attempt) {
        Ttop top = table(kPlayers, defaultScores(11, 3));
        LoadTop(top, 2);
        QCOMPARE(namesOf(top), kUnknowns);
        QCOMPARE(scoresOf(top), defaultScores(100, 10));
        top.NewName = QStringLiteral("Победитель");
        top.NewScore = 5;
        InsertTop(top, 2);
        QCOMPARE(top.Entries[0].Name, top.NewName);
    }
    QVERIFY(catcher.errors.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), before);
    if (kind == Unusable::ReadOnlyFile) {
        QCOMPARE(readFile(path(2)), mine);
        QVERIFY(!(QFileInfo(path(2)).permissions() & QFile::WriteOwner));
    }
    if (kind == Unusable::Directory)
        QVERIFY(QFileInfo(path(2)).isDir());
    if (kind == Unusable::Pipe)
        QCOMPARE(QFileInfo(path(2)).isFile(), false);
    QCOMPARE(file.exists(), kind != Unusable::ReadOnlyFolder && kind != Unusable::MissingFolder);
}

void TstTtop::noNewFilesSavesInPlace_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("folder without write permission") << true;
    QTest::newRow("no free inodes") << false;
}

// The table is rewritten where it lies: same inode, nothing else in the folder.
void TstTtop::noNewFilesSavesInPlace()
{
    QFETCH(bool, readOnlyFolder);
    writeFile(path(1), tableFile(kPlayers, defaultScores(11, 3)));
    const ino_t inode = inodeOf(path(1));
    if (readOnlyFolder)
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    else
        scorefiles::failTemporaryFiles(ENOSPC);
    Ttop top;
    LoadTop(top, 1);
    top.NewName = QStringLiteral("Первый");
    top.NewScore = 1;
    InsertTop(top, 1);
    scorefiles::failTemporaryFiles(0);

    Ttop reloaded;
    LoadTop(reloaded, 1);
    QCOMPARE(namesOf(reloaded), QStringList{top.NewName} + kPlayers.mid(0, 9));
    QCOMPARE(inodeOf(path(1)), inode);
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("tivorama.1")});
}

void TstTtop::failedSaveChangesNothing_data()
{
    QTest::addColumn<bool>("tableExists");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<int>("error");
    QTest::newRow("file size limit") << true << false << EFBIG;
    QTest::newRow("file size limit, folder without write permission") << true << true << EFBIG;
    QTest::newRow("no free inodes for a new table") << false << false << ENOSPC;
}

// A failed save throws with the file and the reason, leaves file and table as
// they were, and once the cause is gone the same result enters once.
void TstTtop::failedSaveChangesNothing()
{
    QFETCH(bool, tableExists);
    QFETCH(bool, readOnlyFolder);
    QFETCH(int, error);

    const QByteArray mine = tableFile(kPlayers, defaultScores(11, 3));
    if (tableExists)
        writeFile(path(1), mine);
    if (readOnlyFolder)
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    Ttop top;
    Ttop before;
    QString text;
    {
        std::optional<FileSizeLimit> limit;
        if (error == EFBIG)
            limit.emplace(100);
        else
            scorefiles::failTemporaryFiles(error);
        LoadTop(top, 1);
        before = top;
        top.NewName = QStringLiteral("Победитель");
        top.NewScore = 5;
        try {
            InsertTop(top, 1);
        } catch (const EError& e) {
            text = e.text();
        }
        scorefiles::failTemporaryFiles(0);
    }
    QVERIFY2(text.contains(QDir::toNativeSeparators(path(1))), qPrintable(text));
    QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(text));
    QCOMPARE(namesOf(top), namesOf(before));
    QCOMPARE(scoresOf(top), scoresOf(before));
    QCOMPARE(readFile(path(1)), tableExists ? mine : QByteArray());
    QCOMPARE(entriesOf(m_dir->path()), tableExists ? QStringList{QStringLiteral("tivorama.1")} : QStringList{});

    InsertTop(top, 1);
    Ttop reloaded;
    LoadTop(reloaded, 1);
    for (const Ttop& t : {top, reloaded}) {
        QCOMPARE(namesOf(t).count(top.NewName), 1);
        QCOMPARE(t.Entries[0].Name, top.NewName);
        QCOMPARE(namesOf(t).mid(1), namesOf(before).mid(0, 9));
    }
}

void TstTtop::killedSaveLeavesATable_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("temporary file and rename") << false;
    QTest::newRow("in place, folder without write permission") << true;
}

// Children saving two tables in turn are killed at random moments: the file is
// always one of them whole, and no temporary files pile up beside it.
void TstTtop::killedSaveLeavesATable()
{
    QFETCH(bool, readOnlyFolder);
    const Ttop tables[2] = {table(kPlayers, defaultScores(11, 3)), table(kUnknowns, defaultScores(500, 7))};
    const QByteArray files[2] = {tableFile(kPlayers, defaultScores(11, 3)),
                                 tableFile(kUnknowns, defaultScores(500, 7))};
    writeFile(path(1), files[0]);
    writeFile(path(2), files[1]); // another table, which the saves must leave alone
    if (readOnlyFolder)
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    const QStringList ours{QStringLiteral("tivorama.1"), QStringLiteral("tivorama.2")};

    std::mt19937 rng(99);
    // A save takes some milliseconds, most of them waiting for the disk.
    std::uniform_int_distribution<int> delayUs(0, 20000);
    for (int trial = 0; trial < 100; ++trial) {
        int ready[2];
        QCOMPARE(pipe(ready), 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            close(ready[0]);
            if (write(ready[1], "r", 1) != 1)
                _exit(1);
            try {
                for (int i = 1;; ++i)
                    SaveTop(tables[i % 2], 1);
            } catch (...) {
                _exit(1);
            }
        }
        close(ready[1]);
        char byte;
        QCOMPARE(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status), "a save failed");

        const QByteArray now = readFile(path(1));
        QVERIFY2(now == files[0] || now == files[1],
                 qPrintable(QStringLiteral("trial %1: %2 bytes").arg(trial).arg(now.size())));
        const QStringList entries = entriesOf(m_dir->path());
        QVERIFY2(entries.size() <= ours.size() + 1, qPrintable(entries.join(u' ')));
    }
    SaveTop(tables[0], 1);
    QCOMPARE(entriesOf(m_dir->path()), ours);
    QCOMPARE(readFile(path(1)), files[0]);
}

void TstTtop::twoCopiesLoseNoRecord_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("lock file beside the table") << false;
    QTest::newRow("folder without write permission: the table itself locked") << true;
}

// Two copies of the program enter results into one table at once, each
// having loaded the table before the other's inserts, as a game window does
// on activation. Every result an insert acknowledged is in the file, ranked,
// and the file is a whole table whenever it is read. TIVORAMA_WRITER_ROUNDS
// sets the number of rounds.
void TstTtop::twoCopiesLoseNoRecord()
{
    QFETCH(bool, readOnlyFolder);
    const int rounds = qEnvironmentVariableIsSet("TIVORAMA_WRITER_ROUNDS")
                           ? qEnvironmentVariableIntValue("TIVORAMA_WRITER_ROUNDS")
                           : 20;
    constexpr int kCopies = 2;
    constexpr int kInserts = 5; // each copy's; all of them beat every default score
    SaveTop(scorefiles::defaultTop(1), 1);
    if (readOnlyFolder)
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    auto nameOf = [](int copy, int insert) { return QStringLiteral("Копия %1, игра %2").arg(copy).arg(insert); };

    for (int round = 0; round < rounds; ++round) {
        SaveTop(scorefiles::defaultTop(1), 1);
        int go[2], acks[2];
        QCOMPARE(pipe(go), 0);
        QCOMPARE(pipe(acks), 0);
        pid_t children[kCopies];
        for (int copy = 0; copy < kCopies; ++copy) {
            children[copy] = fork();
            QVERIFY(children[copy] >= 0);
            if (children[copy] == 0) {
                close(go[1]);
                close(acks[0]);
                char byte;
                if (read(go[0], &byte, 1) != 0) // the parent closes it: all start at once
                    _exit(3);
                try {
                    for (int insert = 0; insert < kInserts; ++insert) {
                        Ttop top;
                        LoadTop(top, 1);
                        top.NewName = nameOf(copy, insert);
                        top.NewScore = 1 + (round + insert * kCopies + copy) % 50;
                        InsertTop(top, 1);
                        const char ack = char(copy * kInserts + insert);
                        if (write(acks[1], &ack, 1) != 1)
                            _exit(4);
                    }
                } catch (...) {
                    _exit(2);
                }
                _exit(0);
            }
        }
        close(go[0]);
        close(acks[1]);
        close(go[1]);
        int running = kCopies;
        while (running > 0) {
            const QByteArray now = readFile(path(1));
            const QString fault = tableFault(now);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(fault)));
            int status = 0;
            const pid_t ended = waitpid(-1, &status, WNOHANG);
            if (ended > 0) {
                --running;
                QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
                         qPrintable(QStringLiteral("round %1: a copy ended with %2").arg(round).arg(status)));
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
        QStringList acknowledged;
        char ack;
        while (read(acks[0], &ack, 1) == 1)
            acknowledged << nameOf(ack / kInserts, ack % kInserts);
        close(acks[0]);
        QCOMPARE(acknowledged.size(), kCopies * kInserts);

        const QByteArray bytes = readFile(path(1));
        QVERIFY2(tableFault(bytes).isEmpty(), qPrintable(tableFault(bytes)));
        Ttop saved;
        LoadTop(saved, 1);
        QStringList names = namesOf(saved);
        names.sort();
        acknowledged.sort();
        QVERIFY2(names == acknowledged, qPrintable(QStringLiteral("round %1: %2").arg(round).arg(namesOf(saved).join(u','))));
    }
    // No lock or temporary file stays behind.
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("tivorama.1")});
}

void TstTtop::lockedTableWaitsForItsHolder_data()
{
    QTest::addColumn<bool>("holderRuns");
    QTest::newRow("held by a copy that runs") << true;
    QTest::newRow("left by a copy that died saving") << false;
}

// While another copy holds the table's lock, a missing table is not replaced
// by the defaults and an insert gives up after a few seconds with the file's
// name, changing nothing; once the lock is free, the same result enters
// once, into that copy's table. A lock whose copy is gone is taken over.
void TstTtop::lockedTableWaitsForItsHolder()
{
    QFETCH(bool, holderRuns);
    const QString lockPath = path(1) + QStringLiteral(".lock");
    QLockFile holder(lockPath);
    if (holderRuns) {
        QVERIFY(holder.tryLock(0));
    } else {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            auto* lock = new QLockFile(lockPath); // never unlocked: the copy dies
            _exit(lock->tryLock(0) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFileInfo::exists(lockPath));
    }

    Ttop top;
    LoadTop(top, 1);
    QCOMPARE(scoresOf(top), defaultScores(60, 10));
    QCOMPARE(QFileInfo::exists(path(1)), !holderRuns);
    // The other copy saves its table, as the lock's holder may.
    const Ttop theirs = table(kPlayers, defaultScores(11, 3));
    SaveTop(theirs, 1);
    top.NewName = QStringLiteral("Терпеливый");
    top.NewScore = 12;

    if (holderRuns) {
        QString text;
        try {
            InsertTop(top, 1);
        } catch (const EError& e) {
            text = e.text();
        }
        QVERIFY2(text.startsWith(QStringLiteral("Cannot write file ") + QDir::toNativeSeparators(path(1)) + u':'),
                 qPrintable(text));
        QCOMPARE(scoresOf(top), defaultScores(60, 10));
        QCOMPARE(readFile(path(1)), tableFile(kPlayers, defaultScores(11, 3)));
        holder.unlock();
    }
    InsertTop(top, 1);
    QStringList names = kPlayers.mid(0, 9);
    names.insert(1, top.NewName);
    for (const Ttop& t : {top, [] { Ttop r; LoadTop(r, 1); return r; }()})
        QCOMPARE(namesOf(t), names);
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("tivorama.1")});
}

// Random and damaged files: the load keeps every name within 20 characters
// and every score within what five characters can say, never writes over the
// file it read, and what it read saves and reads back unchanged.
void TstTtop::randomFilesLoadSafely()
{
    std::mt19937 rng(1234);
    const QByteArray valid = tableFile(kPlayers, defaultScores(11, 3));
    auto below = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };

    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        if (round % 2) {
            bytes.resize(below(601));
            for (char& c : bytes)
                c = char(below(256));
        } else {
            bytes = valid;
            for (int flips = below(12); flips > 0; --flips)
                bytes[below(bytes.size())] = char(below(256));
            if (below(3) == 0)
                bytes.resize(below(601), char(below(256)));
        }
        writeFile(path(3), bytes);

        Ttop top;
        LoadTop(top, 3);
        for (const TTopEntry& entry : top.Entries) {
            QVERIFY(entry.Name.size() <= 20);
            QVERIFY(entry.Score >= -9999 && entry.Score <= 99999);
        }
        QCOMPARE(readFile(path(3)), bytes);

        if (round % 25 == 0) {
            SaveTop(top, 3);
            Ttop again;
            LoadTop(again, 3);
            QList<int> expected = scoresOf(top);
            std::replace(expected.begin(), expected.end(), 0, 100); // "00000"
            QCOMPARE(namesOf(again), namesOf(top));
            QCOMPARE(scoresOf(again), expected);
        }
    }
}

TIVORAMA_TEST_MAIN(TstTtop)
#include "tst_ttop.moc"
