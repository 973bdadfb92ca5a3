// The score files: ten 26-byte records, each a length byte, a 20-byte
// Windows-1251 name and a five-character score; and the load, save and
// insert of a table. A save never leaves a file that is neither the old nor
// the new table, whenever the program is killed, and an insert made by one
// copy of the program never undoes one made by another.
#include "ttop.h"

#include "datafiles.h"
#include "eerror.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kRanks = 10;
constexpr int kNameMax = 20;
constexpr int kRecordSize = 26;
constexpr int kScoreOffset = 1 + kNameMax;
constexpr int kScoreWidth = 5;
constexpr qint64 kFileSize = kRanks * kRecordSize;
constexpr qint32 kUnreadableScore = 100;
// How long an insert waits for another copy of the program to finish its
// save before it reports the table as locked; and the age at which a lock
// counts as left behind, since a save holds it for milliseconds.
constexpr std::chrono::milliseconds kLockWait(3000);
constexpr std::chrono::milliseconds kStaleLock(10000);

int g_temporaryFileFailure = 0;

// The temporary file a save writes before renaming it over the table:
// ".<table name>.saving-<pid>" beside it. The process id keeps two running
// copies of the program apart and tells a leftover from a save in progress.
const QString kTemporaryInfix = QStringLiteral(".saving-");

QString defaultName()
{
    return QStringLiteral("Неизвестный");
}

qint32 defaultScore(quint8 game, int rank)
{
    switch (game) {
    case 2:
        return 10 * rank + 90;
    case 3:
        return 5 * rank + 55;
    default:
        return 10 * rank + 50;
    }
}

TTopEntry defaultEntry(quint8 game, int rank)
{
    return TTopEntry{defaultName(), defaultScore(game, rank)};
}

// Write access as the permission bits have it, also for root, whom the system
// would let write anyway: a table or folder made read-only is left untouched.
bool mayWrite(const QFileInfo& info)
{
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
}

QString limitName(const QString& name)
{
    if (name.size() <= kNameMax)
        return name;
    qsizetype n = kNameMax;
    // Never keep half of a character that needs two UTF-16 units.
    if (name.at(n - 1).isHighSurrogate())
        --n;
    return name.left(n);
}

// One byte per character. The converter writes an invisible substitute for
// a character the code page lacks, and does not always say so; a byte is
// kept only when it reads back as the same character, otherwise '?' it is.
QByteArray encodeName(const QString& name)
{
    QStringEncoder encode("windows-1251");
    QStringDecoder decode("windows-1251");
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size() && bytes.size() < kNameMax;) {
        const qsizetype units =
            name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate() ? 2 : 1;
        const QStringView character = QStringView(name).sliced(i, units);
        QByteArray one = encode(character);
        if (one.size() != 1 || QString(decode(one)) != character)
            one = QByteArrayLiteral("?");
        bytes += one;
        i += units;
    }
    return bytes;
}

QString decodeName(QByteArrayView bytes)
{
    QStringDecoder decode("windows-1251");
    return limitName(decode(bytes));
}

// The decimal text cut to five characters and padded with '0' on the left:
// 7 is "00007", -5 is "000-5", 123456 is "12345".
QByteArray scoreField(qint32 score)
{
    const QByteArray text = QByteArray::number(score).left(kScoreWidth);
    return QByteArray(kScoreWidth - text.size(), '0') + text;
}

// Leading '0's go first, so "00000" leaves nothing and reads as 100, like
// any field that is not an optional '-' followed by digits.
qint32 parseScoreField(QByteArrayView field)
{
    qsizetype i = 0;
    while (i < field.size() && field[i] == '0')
        ++i;
    const bool negative = i < field.size() && field[i] == '-';
    if (negative)
        ++i;
    if (i == field.size())
        return kUnreadableScore;
    qint32 value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9')
            return kUnreadableScore;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

QByteArray record(const TTopEntry& entry)
{
    const QByteArray name = encodeName(limitName(entry.Name));
    QByteArray bytes(kRecordSize, '\0');
    bytes[0] = static_cast<char>(name.size());
    std::copy(name.begin(), name.end(), bytes.begin() + 1);
    const QByteArray score = scoreField(entry.Score);
    std::copy(score.begin(), score.end(), bytes.begin() + kScoreOffset);
    return bytes;
}

// A record cut off by the end of the file is the default entry of its rank;
// a name length above 20 leaves the name unreadable, so that rank's default
// name stands in while the score field is still read.
TTopEntry readRecord(QByteArrayView data, int index, quint8 game)
{
    const qsizetype at = qsizetype(index) * kRecordSize;
    if (data.size() < at + kRecordSize)
        return defaultEntry(game, index + 1);
    const QByteArrayView bytes = data.sliced(at, kRecordSize);
    const int length = static_cast<quint8>(bytes[0]);
    TTopEntry entry;
    entry.Name = length <= kNameMax ? decodeName(bytes.sliced(1, length)) : defaultName();
    entry.Score = parseScoreField(bytes.sliced(kScoreOffset, kScoreWidth));
    return entry;
}

} // namespace

namespace scorefiles {

QString scoreFilePath(quint8 game)
{
    const QString program = QFileInfo(datafiles::programPath()).fileName();
    const qsizetype dot = program.lastIndexOf(u'.');
    // A dot that begins the file name marks a hidden file, not an extension.
    const QString base = dot > 0 ? program.left(dot) : program;
    return datafiles::tableDirectory() + u'/' + base + u'.' + QString::number(game);
}

void failTemporaryFiles(int error)
{
    g_temporaryFileFailure = error;
}

Ttop defaultTop(quint8 game)
{
    Ttop top;
    for (int i = 0; i < kRanks; ++i)
        top.Entries[i] = defaultEntry(game, i + 1);
    return top;
}

} // namespace scorefiles

namespace {

[[noreturn]] void throwWriteError(const QString& path, const QString& reason)
{
    throw EError(QStringLiteral("Cannot write file %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

[[noreturn]] void throwWriteError(const QString& path, int error)
{
    throwWriteError(path, QString::fromLocal8Bit(std::strerror(error)));
}

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, for a close whose error counts; returns errno or 0.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Writes data at offset 0, in one call whenever the system takes it whole: the
// table lies within one page, so a kill finds the file before or after that
// write, never half-way through it. A file size limit below a table is
// refused before anything is written, rather than the write stopping part-way
// (or the signal for it ending the program). Returns errno or 0.
int writeWhole(int fd, const QByteArray& data)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && limit.rlim_cur < rlim_t(data.size()))
        return EFBIG;
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::pwrite(fd, data.constData() + done, size_t(data.size() - done), done);
        if (written < 0 && errno != EINTR)
            return errno;
        if (written == 0)
            return EIO;
        done += std::max<ssize_t>(written, 0);
    }
    return 0;
}

int syncData(int fd)
{
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

// Removes temporary files of this table left by a save that was killed
// between writing and renaming: our own, or those of a process that is gone.
void removeLeftovers(const QString& dir, const QString& tableName)
{
    const QString prefix = u'.' + tableName + kTemporaryInfix;
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!name.startsWith(prefix))
            continue;
        const QString digits = name.mid(prefix.size());
        bool isNumber = false;
        const qint64 pid = digits.toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || digits != QString::number(pid))
            continue;
        if (pid == ::getpid() || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
            ::unlink(QFile::encodeName(dir + u'/' + name).constData());
    }
}

// Installed, the tables live in the player's own data folder, made when a
// table is first saved.
void makeTableFolder(const QFileInfo& table)
{
    if (!table.exists() && datafiles::runsInstalled())
        QDir().mkpath(table.absolutePath());
}

enum class Uncreatable { Report, Ignore };

// The table rewritten where it lies, for a folder that takes no new files.
// Nothing truncates it first, so the file holds the old table or the new one;
// one that was longer than a table is cut to it only after the new table is in.
void writeInPlace(const QString& path, const QByteArray& data, Uncreatable unopenable)
{
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (unopenable == Uncreatable::Ignore)
            return;
        throwWriteError(path, errno);
    }
    if (const int error = writeWhole(fd.get(), data))
        throwWriteError(path, error);
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && info.st_size > data.size() && ::ftruncate(fd.get(), data.size()) != 0)
        throwWriteError(path, errno);
    if (const int error = syncData(fd.get()))
        throwWriteError(path, error);
    if (const int error = fd.close())
        throwWriteError(path, error);
}

// Opens a new temporary file beside the table with the table's permissions,
// or returns -1 with errno set.
int createTemporary(const QByteArray& temporary, const QString& target)
{
    if (g_temporaryFileFailure) {
        errno = g_temporaryFileFailure;
        return -1;
    }
    struct stat info {};
    const bool exists = ::stat(QFile::encodeName(target).constData(), &info) == 0;
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 && exists)
        ::fchmod(fd, info.st_mode & 07777);
    return fd;
}

// Writes the table into a temporary file, flushes it to the disk and renames
// it over the table, so that the table is replaced whole or not at all. When
// no new file can be made in the folder, a table that exists is rewritten in
// place instead. A file that cannot be made or opened at all is an error
// unless `uncreatable` says to ignore it.
void saveTable(const Ttop& top, quint8 game, Uncreatable uncreatable)
{
    const QString path = scorefiles::scoreFilePath(game);
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return;
    const bool exists = info.exists();
    makeTableFolder(info);
    if (exists) {
        // Renaming over a read-only file would succeed, so look first.
        if (!info.isFile() || !mayWrite(info))
            return;
    } else if (!mayWrite(QFileInfo(info.absolutePath()))) {
        return;
    }

    QByteArray data;
    data.reserve(kFileSize);
    for (const TTopEntry& entry : top.Entries)
        data += record(entry);

    // A link stays a link: the file it points to is the one replaced.
    const QFileInfo target(exists ? info.canonicalFilePath() : info.absoluteFilePath());
    const QString dir = target.absolutePath();
    // A writable table in a folder made read-only is rewritten in place: the
    // folder itself must stay as it is, even for root.
    if (!mayWrite(QFileInfo(dir))) {
        writeInPlace(target.filePath(), data, uncreatable);
        return;
    }
    removeLeftovers(dir, target.fileName());

    const QString temporaryPath =
        dir + QStringLiteral("/.") + target.fileName() + kTemporaryInfix + QString::number(::getpid());
    const QByteArray temporary = QFile::encodeName(temporaryPath);
    Descriptor fd(createTemporary(temporary, target.filePath()));
    if (fd.get() < 0) {
        const int error = errno;
        if (exists) {
            writeInPlace(target.filePath(), data, uncreatable);
            return;
        }
        if (uncreatable == Uncreatable::Ignore)
            return;
        throwWriteError(path, error);
    }
    int error = writeWhole(fd.get(), data);
    if (!error)
        error = syncData(fd.get());
    const int closeError = fd.close();
    if (!error)
        error = closeError;
    if (!error && ::rename(temporary.constData(), QFile::encodeName(target.filePath()).constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        throwWriteError(path, error);
    }
    // The rename itself reaches the disk with the folder.
    Descriptor folder(::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

// Reads the table at `path` into `entries`. Only a regular file we may also
// write is read: a pipe or a device could block or never end, and a
// read-only table is left alone for the defaults, like a file that cannot be
// opened; for those it returns false and leaves `entries` as they were.
// Throws EError when the open file cannot be read.
bool readTable(const QString& path, quint8 game, std::array<TTopEntry, kRanks>& entries)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !mayWrite(info) || !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    const QByteArray data = file.read(kFileSize);
    if (file.error() != QFileDevice::NoError)
        throw EError(QStringLiteral("Cannot read file %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    for (int i = 0; i < kRanks; ++i)
        entries[i] = readRecord(data, i, game);
    return true;
}

// Keeps the other copies of the program out of a table from the moment one
// reads it until its save is done. The lock is a file beside the table,
// "<table>.lock", which QLockFile takes over as stale once the copy that made
// it is gone, or once it is older than any save can take. Where no file can
// be made beside the table (a folder without write permission, no free
// inodes), the table itself is locked instead: such a table is always
// rewritten in place, so every copy locks the very file it writes.
class TableLock {
public:
    enum Outcome {
        Held,
        Busy,     // another copy holds it
        Unlocked, // there is nothing to lock: no save can write the table either
    };

    explicit TableLock(const QString& path)
        : m_path(path)
    {
    }

    Outcome acquire(std::chrono::milliseconds wait)
    {
        const QFileInfo info(m_path);
        const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
        const QString dir = QFileInfo(target).absolutePath();
        makeTableFolder(info);
        if (mayWrite(QFileInfo(dir))) {
            m_file = std::make_unique<QLockFile>(target + QStringLiteral(".lock"));
            m_file->setStaleLockTime(kStaleLock);
            if (m_file->tryLock(wait))
                return Held;
            if (m_file->error() == QLockFile::LockFailedError)
                return Busy;
            m_file.reset();
        }
        if (!QFileInfo(target).isFile())
            return Unlocked;
        // Non-blocking, should a pipe have taken the file's place meanwhile.
        m_table = std::make_unique<Descriptor>(
            ::open(QFile::encodeName(target).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (m_table->get() < 0)
            return Unlocked;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            if (::flock(m_table->get(), LOCK_EX | LOCK_NB) == 0)
                return Held;
            if (errno != EWOULDBLOCK && errno != EINTR)
                return Unlocked;
            if (std::chrono::steady_clock::now() >= deadline)
                return Busy;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_file;     // unlocks when it goes
    std::unique_ptr<Descriptor> m_table;   // closing it releases the lock
};

} // namespace

void LoadTop(Ttop& top, quint8 game)
{
    const QString path = scorefiles::scoreFilePath(game);
    if (readTable(path, game, top.Entries))
        return;
    top.Entries = scorefiles::defaultTop(game).Entries;
    // The defaults are built again on the next load, so a folder that takes
    // no new file loses nothing worth a message here.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        saveTable(top, game, Uncreatable::Ignore);
        return;
    }
    // No table yet: another copy of the program may be saving its first
    // one this moment, which the defaults must not replace. A copy that holds
    // the lock is making a table, so there is nothing to default then.
    TableLock lock(path);
    if (lock.acquire(std::chrono::milliseconds(0)) == TableLock::Busy)
        return;
    if (readTable(path, game, top.Entries))
        return;
    saveTable(top, game, Uncreatable::Ignore);
}

void SaveTop(const Ttop& top, quint8 game)
{
    saveTable(top, game, Uncreatable::Report);
}

void InsertTop(Ttop& top, quint8 game)
{
    const QString path = scorefiles::scoreFilePath(game);
    // Read, rank and save as one step that no other copy of the program can
    // enter: the result goes into the table as it is on the disk now, so a
    // record another copy entered since this one last read the table stays.
    TableLock lock(path);
    if (lock.acquire(kLockWait) == TableLock::Busy)
        throwWriteError(path, QStringLiteral("another running copy of the program keeps it locked"));
    Ttop ranked = top;
    if (!readTable(path, game, ranked.Entries))
        ranked.Entries = scorefiles::defaultTop(game).Entries;
    auto& entries = ranked.Entries;
    const auto place = std::find_if(entries.begin(), entries.end(),
                                    [&](const TTopEntry& entry) { return entry.Score > top.NewScore; });
    if (place != entries.end()) {
        std::move_backward(place, entries.end() - 1, entries.end());
        *place = TTopEntry{limitName(top.NewName), top.NewScore};
    }
    SaveTop(ranked, game);
    // The table in memory changes only once the save has not failed, so that
    // entering the same result again after an error enters it once; then it
    // is what was saved.
    top.Entries = ranked.Entries;
}
