// The high-score tables: each game's ten best results (lowest score first),
// kept in a 260-byte file beside the program.
#pragma once

#include <QString>

#include <array>

struct TTopEntry {
    QString Name; // at most 20 characters
    qint32 Score = 0;
};

struct Ttop {
    // Entries[i - 1] is rank i; rank 1 holds the best (lowest) score.
    std::array<TTopEntry, 10> Entries;
    // The result a record dialog is about to enter.
    QString NewName;
    qint32 NewScore = 0;
};

// Fills Entries from the game's score file. A file that cannot be opened for
// reading and writing (missing, read-only, not a regular file) gives the
// default table, which is then written with SaveTop. NewName and NewScore are
// left alone. Throws EError when the open file cannot be read.
void LoadTop(Ttop& top, quint8 game);

// Replaces the game's score file with Entries: a temporary file beside it is
// written and renamed over it, so the old table survives a failed save. A
// read-only file, or a file that cannot be created, is left as it is without
// a word. Throws EError when writing or replacing fails after the temporary
// file has been opened.
void SaveTop(const Ttop& top, quint8 game);

// Ranks NewName/NewScore into Entries below every entry with a score not
// greater than it (the old rank 10 drops out), then saves. A score that beats
// no entry changes nothing but is still followed by the save.
void InsertTop(Ttop& top, quint8 game);

namespace scorefiles {

// The path the score file names are made from; empty restores the running
// program's own path. Tests point it into a temporary directory.
void setProgramPath(const QString& path);
QString programPath();

// The program path with its extension replaced by "." and the game number,
// or with that appended when the file name has no extension.
QString scoreFilePath(quint8 game);

// The table a game starts with: ten "Неизвестный" with the game's scores.
Ttop defaultTop(quint8 game);

} // namespace scorefiles
