// The score files: ten 26-byte records, each a length byte, a 20-byte
// Windows-1251 name and a five-character score; and the load, save and
// insert of a table.
#include "ttop.h"

#include "eerror.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr int kRanks = 10;
constexpr int kNameMax = 20;
constexpr int kRecordSize = 26;
constexpr int kScoreOffset = 1 + kNameMax;
constexpr int kScoreWidth = 5;
constexpr qint64 kFileSize = kRanks * kRecordSize;
constexpr qint32 kUnreadableScore = 100;

QString g_programPath;

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

void setProgramPath(const QString& path)
{
    g_programPath = path;
}

QString programPath()
{
    return g_programPath.isEmpty() ? QCoreApplication::applicationFilePath() : g_programPath;
}

QString scoreFilePath(quint8 game)
{
    const QString program = programPath();
    const qsizetype slash = program.lastIndexOf(u'/');
    const qsizetype dot = program.lastIndexOf(u'.');
    // A dot that begins the file name marks a hidden file, not an extension.
    const QString base = dot > slash + 1 ? program.left(dot) : program;
    return base + u'.' + QString::number(game);
}

Ttop defaultTop(quint8 game)
{
    Ttop top;
    for (int i = 0; i < kRanks; ++i)
        top.Entries[i] = defaultEntry(game, i + 1);
    return top;
}

} // namespace scorefiles

void LoadTop(Ttop& top, quint8 game)
{
    const QString path = scorefiles::scoreFilePath(game);
    const QFileInfo info(path);
    QFile file(path);
    // Only a regular file we may also write is read: a pipe or a device could
    // block or never end, and a read-only table is left alone for the
    // defaults, like a file that cannot be opened.
    if (!info.isFile() || !mayWrite(info) || !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        top.Entries = scorefiles::defaultTop(game).Entries;
        SaveTop(top, game);
        return;
    }
    const QByteArray data = file.read(kFileSize);
    if (file.error() != QFileDevice::NoError)
        throw EError(QStringLiteral("Cannot read file %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    for (int i = 0; i < kRanks; ++i)
        top.Entries[i] = readRecord(data, i, game);
}

void SaveTop(const Ttop& top, quint8 game)
{
    const QString path = scorefiles::scoreFilePath(game);
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return;
    if (info.exists()) {
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

    QSaveFile file(path);
    // In a folder that takes no new files, a writable table is still
    // rewritten in place rather than the result being lost.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return;
    // commit() would rename a file whose buffered bytes failed to reach the
    // disk (it only minds errors of write() itself), so flush and look first.
    // Leaving by an exception drops the temporary file.
    if (file.write(data) != data.size() || !file.flush() || !file.commit())
        throw EError(QStringLiteral("Cannot write file %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

void InsertTop(Ttop& top, quint8 game)
{
    auto& entries = top.Entries;
    const auto place = std::find_if(entries.begin(), entries.end(),
                                    [&](const TTopEntry& entry) { return entry.Score > top.NewScore; });
    if (place != entries.end()) {
        std::move_backward(place, entries.end() - 1, entries.end());
        *place = TTopEntry{limitName(top.NewName), top.NewScore};
    }
    SaveTop(top, game);
}
